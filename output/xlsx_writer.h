#pragma once
// The .xlsx workbook, written as a stream: each sheet's XML is made row by row from the
// cells' texts and compressed chunk by chunk into its zip part as it is made, so nothing
// of the sheet's size is held in memory or in a temporary file. The package has the
// parts a spreadsheet application gives a new workbook (content types, relationships,
// workbook, styles, theme, document properties).
//
// Every write is checked as it happens, so what is read back after saving is the zip's
// own structure: the directory and each part's local header against what was written,
// the small parts inflated whole, and each sheet's end, which the writer leaves
// inflatable on its own, closing the document; and the cells the writer wrote are
// counted against the layout's.

#include "output/cfb_writer.h"
#include "output/deflate_stream.h"
#include "output/document_model.h"
#include "output/sheet_layout.h"
#include "output/text_sheet.h"
#include "output/zip_writer.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::output {

inline constexpr std::uint64_t kXlsxMaxRows = 1048576;
inline constexpr std::uint64_t kXlsxMaxColumns = 16384;

// The most bytes a sheet's XML may have: a zip part without zip64 extensions stays below
// 4 GiB. Tests lower it (0 restores it) instead of writing gigabytes.
std::uint64_t xlsxSheetByteLimit();
void setXlsxSheetByteLimit(std::uint64_t bytes);

// Throws Error, naming the limit, when the layout does not fit an .xlsx sheet: too many
// rows or columns, or a sheet whose XML would pass xlsxSheetByteLimit().
void checkXlsxLimits(const SheetLayout& layout);

// The first character of a UTF-8 text that XML 1.0 does not allow in a document and the
// format's escapes cannot carry either (U+FFFE, U+FFFF); nothing when there is none.
std::optional<char32_t> xmlForbiddenCharacter(std::string_view utf8);
// "呵呵，“罐号”中含有字符U+FFFE，…": the refusal naming the character (and the field).
std::string forbiddenCharacterMessage(char32_t c, std::string_view label);
// Throws Error with that message when a label or value of the tank's fields holds such a
// character; the table's own cells are numbers and fixed headings.
void checkXlsxTexts(std::span<const DocumentField> tank);

// What a finished package holds, for the check after saving.
struct XlsxPackage {
    std::vector<ZipEntry> entries;
    std::uint64_t bytes = 0;
    std::uint64_t cells = 0; // written into all sheets
};

// A workbook of one or more sheets, each a stream of rows in ascending order with their
// cells in ascending column order. A cell whose number is set holds that number, written
// as its own text where that is a plain decimal; any other cell holds its text as an
// inline string. Throws Error (a cell text longer than the format allows, a part beyond
// 4 GiB) or what the sink throws; the package is then incomplete.
class XlsxWorkbookWriter {
public:
    // Writes the package's other parts at once, so that content types and relationships
    // lead the zip as readers that sniff the format expect; the sheets follow in order.
    XlsxWorkbookWriter(ByteSink& sink, std::vector<std::string> sheetNames,
                       DeflateEngine engine = preferredDeflateEngine());
    ~XlsxWorkbookWriter();
    XlsxWorkbookWriter(const XlsxWorkbookWriter&) = delete;
    XlsxWorkbookWriter& operator=(const XlsxWorkbookWriter&) = delete;

    // Starts the next sheet; lastRow and lastColumn give its extent (its "dimension"), 0
    // for an empty sheet.
    void beginSheet(std::uint64_t lastRow, std::uint64_t lastColumn);
    void writeRow(std::uint64_t row, std::span<const Cell> cells);
    void endSheet();

    // The zip directory, once every sheet is written.
    XlsxPackage finish();

    class SheetXml;

private:
    ZipWriter zip_;
    std::unique_ptr<SheetXml> sheet_;
    std::size_t sheetCount_ = 0;
    std::size_t sheetsWritten_ = 0;
    std::uint64_t cells_ = 0;
};

// Writes the capacity table as the workbook's sheet "容积表" and, when `tank` is not
// empty, the tank's label/value pairs in columns A and B of the sheet "罐体数据" after it.
// The `extra` sheets follow it.
XlsxPackage writeXlsx(const SheetLayout& layout, ByteSink& sink, std::span<const DocumentField> tank = {},
                      std::span<const TextSheet> extra = {});

// Reads back a package just written to packagePath and compares it with what the writer
// recorded, which must count expectedCells cells in its first sheet and tankCells more in
// the others. Throws IoError, naming the file shownAs
// (packagePath when empty), when the file does not hold it.
void checkWrittenXlsx(const std::string& packagePath, const XlsxPackage& written, std::uint64_t expectedCells,
                      const std::string& shownAs, std::uint64_t tankCells = 0);

// Reads an .xlsx package front to back: every member inflates to the CRC and size its
// central-directory entry records, every XML member ends by closing its root element, and
// the worksheet holds exactly expectedCells cells. Throws IoError, naming the file shownAs
// (packagePath when empty), when it does not. While writerDone is false the file is
// followed as another thread writes it, waiting for its bytes.
void checkXlsxPackage(const std::string& packagePath, std::uint64_t expectedCells, const std::string& shownAs,
                      const std::atomic<bool>& writerDone);

} // namespace kelvora::output
