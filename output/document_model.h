#pragma once
// The capacity-table document in words, before any page is drawn: the title, the header
// block in reading order (tank number, owner, structure, method, every dimension the
// request used with its unit, the heads, dead volume, attachment, level range, weight mode,
// full capacity, a calibration tank's points, the certificate, the date, the uncertainty)
// and the rows of ListBox1: the level as the row has it, the value with two decimals, and
// the optional columns beside it; a vertical tank's millimetre and hydrostatic tables
// after it. Built by plain code so it can be checked without a
// display; output/table_document lays it out.

#include "capacity/named_inputs.h"
#include "capacity/row_list.h"
#include "capacity/tank_description.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::output {

// A document of more rows would run to thousands of pages; the workbook still takes them.
inline constexpr std::size_t kMaxDocumentRows = 100'000;

namespace messages {
inline constexpr const char* kDocumentTooLong = "呵呵，容积表超过100000行，不能生成文档，请加大液位间隔！";
inline constexpr const char* kTableNotCurrent = "呵呵，请先用当前数据生成容积表！";
} // namespace messages

struct DocumentField {
    std::string label; // "罐号", "主体尺寸", ...
    std::string value;
    bool startsLine = false; // never shares a line with the field before it
};

struct DocumentRow {
    std::string level; // the row's level with as many decimals as the table's levels have at most
    std::string value; // two decimals
    std::vector<std::string> extra; // one text per extra heading
};

// A calibration tank's points as the header lists them.
struct DocumentPoint {
    std::string level, volume;
};

// A table after the main one, on pages of its own under its title (a vertical tank's
// 小数表 and 静压力容量增大值表): its headings and each row's texts, one per heading.
struct DocumentTable {
    std::string title;
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;
};

struct TableDocument {
    std::string title = "油罐容积表";
    std::string tankNumber;
    std::string certificateNumber; // on every page beside the tank number, when set
    std::vector<DocumentField> fields;
    std::string levelHeading = "高度cm";
    std::string valueHeading = "容积L";
    std::vector<std::string> extraHeadings; // "每毫米容量", "U (L)", "U/V", as chosen (table_columns)
    std::vector<DocumentRow> rows;
    std::vector<DocumentPoint> points; // a calibration tank's, listed after fields[pointsAfter - 1]
    std::size_t pointsAfter = 0;
    std::vector<DocumentTable> appendices; // after the main table, before the sign-off
};

// The message refusing a document of `rows` rows, or "" when it may be made.
std::string documentRefusal(std::size_t rows);

// The message refusing a document of these page inputs: a ValidUntil that is not a date
// "YYYY-MM-DD" or lies before 1900, a negative uncertainty, or one larger than the
// dimension it is of (capacity::uncertaintyRefusal), a vertical tank without the liquid
// density its hydrostatic table needs; "" when they may be printed. The tank is read as a
// table request reads it.
std::string documentInputsRefusal(capacity::NamedInputs& inputs);

// The note before a document whose ValidUntil lies before `today` ("2026-03-01"): the
// certificate would be out of date on the day it is made. "" for none (no date, a date
// not before today, or one that is no date, which documentInputsRefusal refuses).
std::string validUntilPassedNote(capacity::NamedInputs& inputs, std::string_view today);

// The level texts of a document's column: every level with as many decimals as the
// longest of them ("293" beside "292.9" becomes "293.0"), so the decimal points line up.
// A text in exponent form, or no number, is left as it is.
std::vector<std::string> alignedLevelTexts(const capacity::RowList& rows);

// A text as a document shows it on one line: every control character (line breaks and
// tabs included) and every line or paragraph separator becomes a blank.
std::string documentText(std::string_view text);

// The document of a table just generated from `inputs` (the request's description `d`
// and the rows of ListBox1). `date` is the generation date as shown. Every text taken
// from the inputs is a documentText. The header always has 计算依据 (CalculationBasis,
// possibly empty) and 参考温度; the level range is given in centimetres, the unit of the
// level column.
// With `withRows` false only the header is made (the workbook's tank sheet): no row is
// copied, and a table longer than a document may be gets no uncertainty statement, whose
// every row would have to be computed for it.
TableDocument describeTable(const capacity::TTankDescription& d, const capacity::NamedInputs& inputs,
                            const capacity::RowList& rows, std::string date, bool withRows = true);

// The description for a document of the table shown (ListBox1's `rows`): the inputs are
// read again and must still make exactly these rows, so the header cannot describe
// another tank than the table. Otherwise a message: the refusal above the limit, a tank
// number or owner longer than it may be, a validation message of the inputs, or
// kTableNotCurrent. Other failures of the inputs
// throw as the table request does.
struct ShownTable {
    std::optional<capacity::TTankDescription> description;
    std::string message;
};
ShownTable describeShownTable(capacity::NamedInputs& inputs, const capacity::RowList& rows);

// The header block as label/value pairs for the workbook's sheet "罐体数据": the title,
// the fields in order and a calibration tank's points, one a pair, where the document
// lists them.
std::vector<DocumentField> tankSheetFields(const TableDocument& doc);

// Today's local date, "2026-03-01".
std::string todayText();

// How a document's rows fall onto pages: `pairs` level/value column pairs across every
// page, read down each pair then across; the first page, below the header block, holds
// `firstRows` rows per pair, every later page `rows`.
struct PageGrid {
    int pairs = 4;
    int firstRows = 40;
    int rows = 50;

    std::size_t firstCapacity() const { return static_cast<std::size_t>(pairs) * firstRows; }
    std::size_t capacity() const { return static_cast<std::size_t>(pairs) * rows; }
    // At least one page: an empty table still gets its header and an empty grid.
    int pageCount(std::size_t rowCount) const;
    // Index of the first row on page `page` (0-based); rowCount past the last page.
    std::size_t firstRowOf(int page, std::size_t rowCount) const;
};

// Distances on a page in millimetres, chosen for a 9 pt table.
struct PageMetrics {
    double width = 180, height = 267; // inside the margins
    double headerBlock = 0;           // title and header fields, first page only
    double runningHead = 7;           // tank number and page number above the table
    double signOff = 24;              // reserved at the foot of every page, used on the last
    double headingRow = 6;            // "高度cm" / "容积L"
    double row = 4.5;
    double minPairWidth = 44;
};

// The grid for a page of that size; at least one pair and one row per page. A pair of more
// columns (the optional ones) sets a wider minPairWidth, and fewer pairs fit across.
PageGrid pageGridFor(const PageMetrics& m);

} // namespace kelvora::output
