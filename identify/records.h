#pragma once
// A station's records as the identification needs them: the probe's level at each record
// and the cumulative net volume moved up to and including it, from the columns of a sheet
// chosen by their headings.

#include "identify/sheet.h"
#include "kernel/errors.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kelvora::identify {

// The columns used, as indexes into the sheet's heading; nothing where a role is unused.
struct ColumnChoice {
    std::optional<std::size_t> level, in, out, cumulativeIn, cumulativeOut;
};

// The roles of a column, for choosing by hand: the heading text of each role, empty when
// the role is left to the recognition.
struct ColumnNames {
    std::string level, in, out, cumulativeIn, cumulativeOut;
};

// The columns by their headings: the names given by hand, the others recognised from
// common headings (显示油高/mm, 油位高度, 液位; 进油量/L, 出油量/L, 累加进油量/L,
// 累加出油量/L, ...). Unless an amount column was chosen by hand, every amount recognised
// is used: inflow and outflow each from its per-record column, or from its cumulative one
// when there is no per-record column for it (both would count it twice). Throws IoError
// when a named column is not there, or when no level or no amount column can be found.
ColumnChoice chooseColumns(const std::vector<std::string>& heading, const ColumnNames& names = {});

// "液位“显示油高/mm”，进油量“进油量/L”，累加出油量“累计出油量/L”": each column used,
// by its role and heading, as the batch tool and the page "变位识别" show them.
std::string columnsUsedText(const std::vector<std::string>& heading, const ColumnChoice& columns);

struct Records {
    std::vector<double> level;     // mm
    std::vector<double> net;       // litres, in minus out, cumulative up to and including the record
    std::size_t skipped = 0;       // rows left out for holding nothing in the columns used
    std::vector<std::size_t> line; // the file's line of each record
};

// A records file whose cells cannot be taken as records: a validation refusal, its message
// naming the row and the column.
class RecordsRefusal : public IoError {
public:
    using IoError::IoError;
};

// Numbers beyond this size are no level nor volume of a tank.
inline constexpr double kMaxRecordMagnitude = 1e15;

// Each row with a number in the level column is a record. An empty amount cell moved
// nothing (a cumulative column keeps its last value); a row empty in every column used is
// left out and counted. Throws RecordsRefusal for a cell of a column used that is not a
// plain decimal (text, a formula without a computed value, NaN, an infinity or beyond
// kMaxRecordMagnitude), and for a row with an amount but no level, since leaving it out
// would lose its amount.
Records extractRecords(const Sheet& sheet, const ColumnChoice& columns);

namespace messages {
inline constexpr const char* kNoLevelColumn = "记录文件中找不到液位列（如“显示油高/mm”），请指定液位列！";
inline constexpr const char* kNoAmountColumn = "记录文件中找不到进油量或出油量列，请指定油量列！";
} // namespace messages

// "记录文件中没有“name”列！"
std::string missingColumnMessage(const std::string& name);

} // namespace kelvora::identify
