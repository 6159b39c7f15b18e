#pragma once
// Where the capacity table lands on the worksheet "容积表". The table is cut into column
// groups of N rows (N from Edit9): group k holds entries k·N … (k+1)·N − 1 in columns
// wk+1 (level) and wk+2 (value), then the chosen columns (每毫米容量, U (L), U/V) in
// wk+3 …, from row 3 down, w being 2 plus the chosen columns; row 2 carries the headings
// of every group and the title sits at (1, G), G being the number of groups. Without
// chosen columns the groups are the level/value pairs. Rows and columns count from 1.
//
// Both workbook writers read the cells from here, so the two formats cannot disagree.

#include "capacity/row_list.h"
#include "output/table_columns.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

namespace kelvora::output {

inline constexpr std::string_view kTableTitle = "油罐容积表";
inline constexpr std::string_view kTableSheetName = "容积表";
inline constexpr std::string_view kLevelHeading = "高度cm";
inline constexpr std::string_view kVolumeHeading = "容积L";
inline constexpr std::string_view kWeightHeading = "重量Kg";

// The most characters (UTF-16 units) a cell holds, in either format.
inline constexpr std::size_t kMaxCellTextLength = 32767;

// N when Edit9 does not hold a usable whole number.
inline constexpr std::int32_t kDefaultRowsPerGroup = 9999;

// N from Edit9's text: a whole number in the 32-bit range, 9999 otherwise. Zero gives
// 9999 as well; so does a negative number, which the field's key filter keeps out and
// which would give no meaningful layout.
std::int32_t rowsPerGroupFromText(std::string_view edit9Text);

struct Cell {
    std::uint64_t row = 0;
    std::uint64_t column = 0;
    std::string_view text;
    // Set when the text is a plain decimal number: the cell then holds that number, as a
    // spreadsheet stores a typed-in number, and shows the text in the general format.
    std::optional<double> number;
};

// An entry split at its first comma into level and value. Without a comma the level is
// empty and the value is the whole entry.
struct EntryParts {
    std::string_view level;
    std::string_view value;
};
EntryParts splitEntry(std::string_view entry);

// The number a level or value part holds, exactly as kernel::tryStrToFloat reads it.
// Row texts are short plain decimals, which are read here without the general
// conversion: a mantissa below 10^15 divided by a power of ten up to 10^15 is one
// correctly rounded division, the same double the general conversion gives.
std::optional<double> cellNumber(std::string_view part);

class SheetLayout {
public:
    // Keeps references to rows and columns: both must outlive the layout. `columns` holds
    // one text per entry in each of its columns.
    SheetLayout(const capacity::RowList& rows, std::string_view edit9Text, bool weight,
                const TableColumns& columns = kNoColumns);

    std::int32_t rowsPerGroup() const { return rowsPerGroup_; }
    std::uint64_t groupCount() const { return groups_; }
    std::uint64_t entryCount() const { return rows_.size(); }
    std::string_view valueHeading() const { return weight_ ? kWeightHeading : kVolumeHeading; }

    // Extent of the sheet: the last row and column that the layout reaches.
    std::uint64_t lastRow() const;
    std::uint64_t lastColumn() const { return width_ * groups_; }
    // Columns of one group: level, value and the chosen ones.
    std::uint64_t groupWidth() const { return width_; }

    // At least the bytes of all the cells' texts together, headings and title included.
    std::uint64_t textBytesBound() const;

    // At least the number of cells forEachRow visits, without reading the entries.
    std::uint64_t cellBound() const { return 1 + width_ * (groups_ + rows_.size()); }

    // The cells forEachRow visits: the title, the headings of every group and every
    // non-empty part and chosen column's text, counted from the entries alone.
    std::uint64_t cellCount() const;

    using RowVisitor = std::function<void(std::uint64_t row, std::span<const Cell> cells)>;

    // Visits every row that holds a cell, in ascending order, with its cells in ascending
    // column order (the order a streaming writer needs). An empty level or value part
    // writes no cell, as a spreadsheet leaves a cell empty when it is given an empty text.
    void forEachRow(const RowVisitor& visit) const;

    inline static const TableColumns kNoColumns{};

private:
    const capacity::RowList& rows_;
    const TableColumns& columns_;
    std::int32_t rowsPerGroup_;
    std::uint64_t groups_;
    std::uint64_t width_;
    bool weight_;
};

} // namespace kelvora::output
