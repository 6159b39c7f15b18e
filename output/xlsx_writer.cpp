#include "output/xlsx_writer.h"

#include "output/xlsx_parts.h"

#include "kernel/errors.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <functional>
#include <stdexcept>

namespace kelvora::output {

namespace {

std::atomic<std::uint64_t> sheetByteLimit{0};

constexpr std::string_view kSheetHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">";
constexpr std::string_view kSheetTail =
    "</sheetData><pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" "
    "footer=\"0.3\"/></worksheet>";

// Longest markup of one cell besides its text and number: reference, type and elements.
constexpr std::uint64_t kCellMarkupBound = 80;
constexpr std::uint64_t kRowMarkupBound = 24;
// Escaping makes at most seven bytes of one ("\x01" becomes "_x0001_").
constexpr std::uint64_t kEscapeGrowth = 7;

// Cell texts too long for a sheet cell, counted in UTF-16 units as the format counts them.
[[noreturn]] void tooLongText() {
    throw Error("单元格文字超过 " + std::to_string(kMaxCellTextLength) + " 个字符，无法保存");
}

// A text a cell's <v> takes as it is: an optional minus, digits, and optionally a point
// with digits after it. Anything else a number cell holds ("1E15", ".5", "5.") is written
// as the shortest text of the same double.
bool plainDecimal(std::string_view s) {
    std::size_t i = s.starts_with('-') ? 1 : 0;
    const std::size_t intStart = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9')
        ++i;
    if (i == intStart) return false;
    if (i == s.size()) return true;
    if (s[i] != '.') return false;
    const std::size_t fracStart = ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9')
        ++i;
    return i == s.size() && i > fracStart;
}

std::string columnName(std::uint64_t column) {
    char letters[16];
    char* begin = letters + sizeof letters;
    for (; column > 0; column = (column - 1) / 26)
        *--begin = static_cast<char>('A' + (column - 1) % 26);
    return std::string(begin, letters + sizeof letters);
}

} // namespace

std::uint64_t xlsxSheetByteLimit() {
    const std::uint64_t lowered = sheetByteLimit.load(std::memory_order_relaxed);
    return lowered ? lowered : kZipPartLimit;
}

void setXlsxSheetByteLimit(std::uint64_t bytes) {
    sheetByteLimit.store(bytes, std::memory_order_relaxed);
}

// One sheet's XML, made into a buffer that is handed on whenever it fills.
class XlsxWorkbookWriter::SheetXml {
public:
    using Flush = std::function<void(std::string_view)>;

    SheetXml(Flush flush, std::uint64_t lastRow, std::uint64_t lastColumn, bool selected = true)
        : flush_(std::move(flush)) {
        buffer_.reserve(kBuffer + 4096);
        buffer_ += kSheetHead;
        if (lastRow > 0 && lastColumn > 0) {
            buffer_ += "<dimension ref=\"A1";
            if (lastRow > 1 || lastColumn > 1) {
                buffer_ += ':';
                buffer_ += columnName(lastColumn);
                buffer_ += std::to_string(lastRow);
            }
            buffer_ += "\"/>";
        }
        // Only the first sheet is selected: a workbook opening with several selected sheets
        // groups them, and an entry typed into one lands in all.
        buffer_ += selected ? "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
                            : "<sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>";
        buffer_ += "<sheetFormatPr defaultRowHeight=\"15\"/><sheetData>";
    }

    void row(std::uint64_t row, std::span<const Cell> cells) {
        if (row <= lastRow_) throw std::logic_error("sheet rows out of order");
        lastRow_ = row;
        char digits[24];
        const auto rowEnd = std::to_chars(digits, digits + sizeof digits, row).ptr;
        const std::string_view rowText(digits, static_cast<std::size_t>(rowEnd - digits));
        buffer_ += "<row r=\"";
        buffer_ += rowText;
        buffer_ += "\">";
        std::uint64_t lastColumn = 0;
        for (const Cell& c : cells) {
            if (c.column <= lastColumn) throw std::logic_error("sheet cells out of order");
            lastColumn = c.column;
            buffer_ += "<c r=\"";
            buffer_ += column(c.column);
            buffer_ += rowText;
            if (c.number) {
                buffer_ += "\"><v>";
                number(c.text, *c.number);
                buffer_ += "</v></c>";
            } else {
                const bool spaced = !c.text.empty() && (isSpace(c.text.front()) || isSpace(c.text.back()));
                buffer_ += spaced ? "\" t=\"inlineStr\"><is><t xml:space=\"preserve\">"
                                  : "\" t=\"inlineStr\"><is><t>";
                text(c.text);
                buffer_ += "</t></is></c>";
            }
            ++cells_;
        }
        buffer_ += "</row>";
        if (buffer_.size() >= kBuffer) handOn();
    }

    // Everything before the sheet's closing markup; the caller may then mark the tail.
    void flushRows() {
        buffer_ += "</sheetData>";
        handOn();
    }
    void close() {
        buffer_ += std::string_view(kSheetTail).substr(std::string_view("</sheetData>").size());
        handOn();
    }

    std::uint64_t cells() const { return cells_; }

private:
    static constexpr std::size_t kBuffer = 1 << 18;

    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    void handOn() {
        flush_(buffer_);
        buffer_.clear();
    }

    std::string_view column(std::uint64_t c) {
        if (c > kXlsxMaxColumns) throw std::logic_error("sheet column beyond the format");
        if (c > columns_.size())
            for (std::uint64_t k = columns_.size() + 1; k <= c; ++k)
                columns_.push_back(columnName(k));
        return columns_[c - 1];
    }

    void number(std::string_view text, double value) {
        if (plainDecimal(text)) {
            buffer_ += text;
            return;
        }
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        buffer_.append(digits, static_cast<std::size_t>(end - digits));
    }

    // The text escaped for XML; a control character the document cannot carry is written
    // as the format's "_xHHHH_", a byte that starts no valid UTF-8 sequence as U+FFFD, and
    // the "_" that starts a literal "_xHHHH_" as "_x005F_", so that it reads back as typed.
    // A character XML forbids (U+FFFE, U+FFFF) throws: checkXlsxTexts refuses it first.
    void text(std::string_view s) {
        std::size_t units = 0;
        std::size_t i = 0;
        while (i < s.size()) {
            const auto b = static_cast<unsigned char>(s[i]);
            if (b >= 0x80) {
                const std::size_t length = utf8Length(s, i);
                if (length == 0) {
                    buffer_ += "\xEF\xBF\xBD";
                    ++units, ++i;
                } else if (const auto forbidden = xmlForbiddenCharacter(s.substr(i, length))) {
                    throw Error(forbiddenCharacterMessage(*forbidden, {}));
                } else {
                    buffer_.append(s.data() + i, length);
                    units += length == 4 ? 2 : 1;
                    i += length;
                }
                continue;
            }
            ++units, ++i;
            switch (b) {
            case '&':
                buffer_ += "&amp;";
                break;
            case '<':
                buffer_ += "&lt;";
                break;
            case '>':
                buffer_ += "&gt;";
                break;
            case '\t':
            case '\n':
                buffer_.push_back(static_cast<char>(b));
                break;
            case '\r':
                buffer_ += "&#13;";
                break;
            case '_':
                buffer_ += escapeLike(s.substr(i - 1)) ? "_x005F_" : "_";
                break;
            default:
                if (b < 0x20 || b == 0x7F) {
                    static constexpr char kHex[] = "0123456789ABCDEF";
                    buffer_ += "_x00";
                    buffer_.push_back(kHex[b >> 4]);
                    buffer_.push_back(kHex[b & 15]);
                    buffer_.push_back('_');
                } else {
                    buffer_.push_back(static_cast<char>(b));
                }
            }
        }
        if (units > kMaxCellTextLength) tooLongText();
    }

    // Whether s starts with "_xHHHH_", which a reader takes for an escaped character.
    static bool escapeLike(std::string_view s) {
        if (s.size() < 7 || s[1] != 'x' || s[6] != '_') return false;
        for (std::size_t k = 2; k < 6; ++k)
            if (!std::isxdigit(static_cast<unsigned char>(s[k]))) return false;
        return true;
    }

    // The length of the well-formed UTF-8 sequence at s[i], or 0.
    static std::size_t utf8Length(std::string_view s, std::size_t i) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t length = 0;
        char32_t cp = 0;
        if (b >= 0xC2 && b <= 0xDF)
            length = 2, cp = b & 0x1F;
        else if (b >= 0xE0 && b <= 0xEF)
            length = 3, cp = b & 0x0F;
        else if (b >= 0xF0 && b <= 0xF4)
            length = 4, cp = b & 0x07;
        else
            return 0;
        if (i + length > s.size()) return 0;
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return 0;
            cp = cp << 6 | (c & 0x3F);
        }
        if ((length == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
            return 0;
        return length;
    }

    Flush flush_;
    std::string buffer_;
    std::vector<std::string> columns_;
    std::uint64_t lastRow_ = 0;
    std::uint64_t cells_ = 0;
};

namespace {

// The sheet XML the layout gives, handed to flush piece by piece.
std::uint64_t sheetXml(const SheetLayout& layout, const XlsxWorkbookWriter::SheetXml::Flush& flush) {
    XlsxWorkbookWriter::SheetXml xml(flush, layout.lastRow(), layout.lastColumn());
    layout.forEachRow([&](std::uint64_t row, std::span<const Cell> cells) { xml.row(row, cells); });
    xml.flushRows();
    xml.close();
    return xml.cells();
}

} // namespace

std::optional<char32_t> xmlForbiddenCharacter(std::string_view utf8) {
    // In well-formed UTF-8 the surrogates cannot occur and the C0 controls are escaped, so
    // U+FFFE and U+FFFF (EF BF BE, EF BF BF) are what is left of XML 1.0's exclusions.
    for (std::size_t i = utf8.find('\xEF'); i != std::string_view::npos; i = utf8.find('\xEF', i + 1))
        if (i + 2 < utf8.size() && utf8[i + 1] == '\xBF' && (utf8[i + 2] == '\xBE' || utf8[i + 2] == '\xBF'))
            return utf8[i + 2] == '\xBE' ? U'\uFFFE' : U'\uFFFF';
    return std::nullopt;
}

std::string forbiddenCharacterMessage(char32_t c, std::string_view label) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    const std::string where = label.empty() ? std::string("文字") : "“" + std::string(label) + "”";
    return "呵呵，" + where + "中含有字符" + code + "，.xlsx 工作簿不能保存这个字符，请删去它！";
}

void checkXlsxTexts(std::span<const DocumentField> tank) {
    for (const DocumentField& field : tank)
        for (const std::string* text : {&field.label, &field.value})
            if (const auto c = xmlForbiddenCharacter(*text))
                throw Error(forbiddenCharacterMessage(*c, field.label));
}

void checkXlsxLimits(const SheetLayout& layout) {
    if (layout.lastRow() > kXlsxMaxRows)
        throw Error("容积表需要 " + std::to_string(layout.lastRow()) + " 行，超出 .xlsx 工作表的上限 " +
                    std::to_string(kXlsxMaxRows) + " 行；请减小每列条数");
    if (layout.lastColumn() > kXlsxMaxColumns)
        throw Error("容积表需要 " + std::to_string(layout.lastColumn()) + " 列，超出 .xlsx 工作表的上限 " +
                    std::to_string(kXlsxMaxColumns) + " 列；请增大每列条数");
    // The sheet's XML is measured, by making it without keeping it, only when a bound
    // from the text sizes does not already show that it fits.
    const std::uint64_t limit = xlsxSheetByteLimit();
    const std::uint64_t cells = layout.cellBound();
    const std::uint64_t bound = kSheetHead.size() + kSheetTail.size() + 512 +
                                kRowMarkupBound * layout.lastRow() + kCellMarkupBound * cells +
                                kEscapeGrowth * layout.textBytesBound();
    if (bound <= limit) return;
    std::uint64_t size = 0;
    sheetXml(layout, [&](std::string_view piece) { size += piece.size(); });
    if (size > limit)
        throw Error("容积表的 .xlsx 工作表有 " + std::to_string(size) +
                    " 字节，超出 .xlsx 文件单个部件的上限 " + std::to_string(limit) +
                    " 字节；请改用较大的步长");
}

XlsxWorkbookWriter::XlsxWorkbookWriter(ByteSink& sink, std::vector<std::string> sheetNames,
                                       DeflateEngine engine)
    : zip_(sink, engine), sheetCount_(sheetNames.size()) {
    for (const XlsxPart& part : packageParts(sheetNames, std::time(nullptr)))
        zip_.addEntry(part.name, part.content);
}

XlsxWorkbookWriter::~XlsxWorkbookWriter() = default;

void XlsxWorkbookWriter::beginSheet(std::uint64_t lastRow, std::uint64_t lastColumn) {
    if (sheet_ || sheetsWritten_ == sheetCount_) throw std::logic_error("no sheet left to begin");
    zip_.beginEntry("xl/worksheets/sheet" + std::to_string(++sheetsWritten_) + ".xml");
    sheet_ = std::make_unique<SheetXml>([this](std::string_view piece) { zip_.write(piece); }, lastRow,
                                        lastColumn, sheetsWritten_ == 1);
}

void XlsxWorkbookWriter::writeRow(std::uint64_t row, std::span<const Cell> cells) {
    sheet_->row(row, cells);
}

void XlsxWorkbookWriter::endSheet() {
    sheet_->flushRows();
    zip_.markTail();
    sheet_->close();
    zip_.endEntry();
    cells_ += sheet_->cells();
    sheet_.reset();
}

XlsxPackage XlsxWorkbookWriter::finish() {
    if (sheet_ || sheetsWritten_ != sheetCount_) throw std::logic_error("sheets left unwritten");
    zip_.finish();
    return {zip_.entries(), zip_.bytesWritten(), cells_};
}

XlsxPackage writeXlsx(const SheetLayout& layout, ByteSink& sink, std::span<const DocumentField> tank,
                      std::span<const TextSheet> extra) {
    checkXlsxLimits(layout);
    for (const auto& sheet : extra)
        if (sheet.rows.size() > kXlsxMaxRows)
            throw Error("“" + sheet.name + "”需要 " + std::to_string(sheet.rows.size()) +
                        " 行，超出 .xlsx 工作表的上限");
    std::vector<std::string> names{std::string(kTableSheetName)};
    if (!tank.empty()) names.emplace_back("罐体数据");
    for (const auto& sheet : extra)
        names.push_back(sheet.name);
    XlsxWorkbookWriter book(sink, names);
    book.beginSheet(layout.lastRow(), layout.lastColumn());
    layout.forEachRow([&](std::uint64_t row, std::span<const Cell> cells) { book.writeRow(row, cells); });
    book.endSheet();
    if (!tank.empty()) {
        book.beginSheet(tank.size(), 2);
        for (std::size_t i = 0; i < tank.size(); ++i) {
            // An empty value leaves its cell empty.
            const Cell cells[] = {{i + 1, 1, tank[i].label, std::nullopt}, {i + 1, 2, tank[i].value, std::nullopt}};
            book.writeRow(i + 1, std::span(cells, tank[i].value.empty() ? 1 : 2));
        }
        book.endSheet();
    }
    for (const auto& sheet : extra) {
        std::uint64_t columns = 0;
        for (const auto& row : sheet.rows)
            columns = std::max<std::uint64_t>(columns, row.size());
        book.beginSheet(sheet.rows.size(), columns);
        std::vector<Cell> cells;
        for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
            cells.clear();
            for (std::size_t c = 0; c < sheet.rows[r].size(); ++c)
                if (const std::string& text = sheet.rows[r][c]; !text.empty())
                    cells.push_back({r + 1, c + 1, text, cellNumber(text)});
            if (!cells.empty()) book.writeRow(r + 1, cells);
        }
        book.endSheet();
    }
    return book.finish();
}

} // namespace kelvora::output
