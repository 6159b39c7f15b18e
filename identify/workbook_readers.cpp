// The two workbook forms of a station's records: Excel 97-2003 through FreeXL, and the
// Excel workbook's first worksheet through libzip and expat, streamed so that neither the
// archive's members nor the shared strings are held whole beyond what the cells need.

#include "identify/sheet.h"

#include "kernel/errors.h"
#include "kernel/number_text.h"

#include <expat.h>
#include <freexl.h>
#include <zip.h>

#include <array>
#include <memory>
#include <optional>
#include <string_view>

namespace kelvora::identify {

namespace {

Cell numberCell(double x) {
    Cell cell;
    cell.kind = Cell::Kind::Number;
    cell.number = x;
    return cell;
}

// ---- Excel 97-2003 -------------------------------------------------------------------

struct XlsHandle {
    const void* handle = nullptr;
    ~XlsHandle() {
        if (handle) freexl_close(handle);
    }
};

} // namespace

Sheet readXls(const std::filesystem::path& path) {
    XlsHandle xls;
    unsigned int rowCount = 0;
    unsigned short columnCount = 0;
    if (freexl_open(path.c_str(), &xls.handle) != FREEXL_OK || freexl_select_active_worksheet(xls.handle, 0) != FREEXL_OK ||
        freexl_worksheet_dimensions(xls.handle, &rowCount, &columnCount) != FREEXL_OK)
        throw IoError(messages::kWorkbook);
    if (rowCount > kMaxRecords + 1) throw IoError(messages::kTooManyRows);
    if (columnCount > kMaxColumns) throw IoError(messages::kTooManyColumns);
    std::vector<SheetRow> rows(rowCount, SheetRow(columnCount));
    std::vector<std::size_t> lines(rowCount);
    for (unsigned int r = 0; r < rowCount; ++r) {
        lines[r] = r + 1;
        for (unsigned short c = 0; c < columnCount; ++c) {
            FreeXL_CellValue value;
            if (freexl_get_cell_value(xls.handle, r, c, &value) != FREEXL_OK) throw IoError(messages::kWorkbook);
            Cell& cell = rows[r][c];
            switch (value.type) {
            case FREEXL_CELL_INT: cell = numberCell(value.value.int_value); break;
            case FREEXL_CELL_DOUBLE: cell = numberCell(value.value.double_value); break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT: cell = cellFromText(value.value.text_value ? value.value.text_value : ""); break;
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                cell.kind = Cell::Kind::Text;
                cell.text = value.value.text_value ? value.value.text_value : "";
                break;
            default: break;
            }
        }
    }
    return sheetFromRows(std::move(rows), lines);
}

namespace {

// ---- Excel workbook -------------------------------------------------------------------

// More XML than this in one member is not a station's records.
constexpr zip_int64_t kMaxMemberBytes = 512ll << 20;

std::string_view localName(const XML_Char* name) {
    std::string_view s(name);
    const auto colon = s.rfind(':');
    return colon == std::string_view::npos ? s : s.substr(colon + 1);
}

std::optional<std::string_view> attribute(const XML_Char** attributes, std::string_view name) {
    for (int i = 0; attributes[i]; i += 2)
        if (localName(attributes[i]) == name) return std::string_view(attributes[i + 1]);
    return std::nullopt;
}

// Receives one member's elements; a failure is recorded, since nothing may be thrown
// through the parser.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    virtual void start(std::string_view name, const XML_Char** attributes) = 0;
    virtual void end(std::string_view name) = 0;
    virtual void text(std::string_view) {}
    std::string failure;
    XML_Parser parser = nullptr;
    void fail(std::string message) {
        if (failure.empty()) failure = std::move(message);
        XML_StopParser(parser, XML_FALSE);
    }
};

struct ZipArchive {
    zip_t* zip = nullptr;
    ~ZipArchive() {
        if (zip) zip_discard(zip);
    }
};

struct ZipMember {
    zip_file_t* file = nullptr;
    ~ZipMember() {
        if (file) zip_fclose(file);
    }
};

struct ExpatParser {
    XML_Parser parser = XML_ParserCreate("UTF-8");
    ~ExpatParser() {
        if (parser) XML_ParserFree(parser);
    }
};

// False when the archive has no such member.
bool parseMember(zip_t* zip, const std::string& name, XmlHandler& handler) {
    ZipMember member;
    member.file = zip_fopen(zip, name.c_str(), 0);
    if (!member.file) return false;
    ExpatParser expat;
    if (!expat.parser) throw IoError(messages::kWorkbook);
    handler.parser = expat.parser;
    XML_SetUserData(expat.parser, &handler);
    XML_SetElementHandler(
        expat.parser,
        [](void* data, const XML_Char* el, const XML_Char** attributes) {
            static_cast<XmlHandler*>(data)->start(localName(el), attributes);
        },
        [](void* data, const XML_Char* el) { static_cast<XmlHandler*>(data)->end(localName(el)); });
    XML_SetCharacterDataHandler(expat.parser, [](void* data, const XML_Char* s, int len) {
        static_cast<XmlHandler*>(data)->text(std::string_view(s, static_cast<std::size_t>(len)));
    });
    std::array<char, 1 << 16> buffer;
    zip_int64_t total = 0;
    for (;;) {
        const zip_int64_t n = zip_fread(member.file, buffer.data(), buffer.size());
        if (n < 0) throw IoError(messages::kWorkbook);
        total += n;
        if (total > kMaxMemberBytes) throw IoError(messages::kTooLarge);
        const bool last = n == 0;
        const auto status = XML_Parse(expat.parser, buffer.data(), static_cast<int>(n), last);
        if (!handler.failure.empty()) throw IoError(handler.failure);
        if (status != XML_STATUS_OK) throw IoError(messages::kWorkbook);
        if (last) break;
    }
    return true;
}

// workbook.xml: the relationship id of the first worksheet.
struct FirstSheet : XmlHandler {
    std::string id;
    void start(std::string_view name, const XML_Char** attributes) override {
        if (name == "sheet" && id.empty())
            if (auto rid = attribute(attributes, "id")) id = *rid;
    }
    void end(std::string_view) override {}
};

// workbook.xml.rels: the member a relationship id names.
struct Relationship : XmlHandler {
    std::string id, target;
    void start(std::string_view name, const XML_Char** attributes) override {
        if (name != "Relationship" || !target.empty()) return;
        const auto rid = attribute(attributes, "Id"), to = attribute(attributes, "Target");
        if (rid && to && *rid == id) target = *to;
    }
    void end(std::string_view) override {}
};

// sharedStrings.xml: each <si>'s text, its runs joined, phonetic runs left out.
struct SharedStrings : XmlHandler {
    std::vector<std::string> strings;
    std::string current;
    bool inText = false;
    int phonetic = 0;
    void start(std::string_view name, const XML_Char**) override {
        if (name == "si") current.clear();
        else if (name == "rPh") ++phonetic;
        else if (name == "t") inText = phonetic == 0;
    }
    void end(std::string_view name) override {
        if (name == "t") inText = false;
        else if (name == "rPh") --phonetic;
        else if (name == "si") {
            if (strings.size() >= 16 * kMaxRecords) return fail(messages::kTooManyRows);
            strings.push_back(std::move(current));
            current.clear();
        }
    }
    void text(std::string_view s) override {
        if (inText) current.append(s);
    }
};

// "BC12" → column 54 (0-based); nothing for a reference without letters.
std::optional<std::size_t> columnOf(std::string_view reference) {
    std::size_t column = 0, letters = 0;
    for (char c : reference) {
        if (c < 'A' || c > 'Z') break;
        column = column * 26 + static_cast<std::size_t>(c - 'A' + 1);
        if (++letters > 3) return std::nullopt;
    }
    if (letters == 0) return std::nullopt;
    return column - 1;
}

struct Worksheet : XmlHandler {
    const std::vector<std::string>* shared = nullptr;
    std::vector<SheetRow> rows;
    std::vector<std::size_t> lines;
    std::size_t rowNumber = 0, column = 0;
    std::string type, value, inlineText;
    bool formula = false, inValue = false, inInline = false, inInlineText = false;

    void start(std::string_view name, const XML_Char** attributes) override {
        if (name == "row") {
            const auto r = attribute(attributes, "r");
            std::size_t next = rowNumber + 1;
            if (r) {
                const auto parsed = kernel::tryStrToInt(*r);
                if (!parsed || *parsed <= static_cast<std::int32_t>(rowNumber)) return fail(messages::kWorkbook);
                next = static_cast<std::size_t>(*parsed);
            }
            if (rows.size() > kMaxRecords) return fail(messages::kTooManyRows);
            rowNumber = next;
            rows.emplace_back();
            lines.push_back(rowNumber);
            column = 0;
        } else if (name == "c") {
            if (rows.empty()) return fail(messages::kWorkbook);
            if (const auto r = attribute(attributes, "r")) {
                const auto c = columnOf(*r);
                if (!c) return fail(messages::kWorkbook);
                column = *c;
            }
            if (column >= kMaxColumns) return fail(messages::kTooManyColumns);
            const auto t = attribute(attributes, "t");
            type = t ? std::string(*t) : "n";
            value.clear();
            inlineText.clear();
            formula = false;
        } else if (name == "f") {
            formula = true;
        } else if (name == "v") {
            inValue = true;
        } else if (name == "is") {
            inInline = true;
        } else if (name == "t" && inInline) {
            inInlineText = true;
        }
    }

    void end(std::string_view name) override {
        if (name == "v") inValue = false;
        else if (name == "is") inInline = false;
        else if (name == "t") inInlineText = false;
        else if (name == "c") {
            SheetRow& row = rows.back();
            if (row.size() <= column) row.resize(column + 1);
            row[column] = cell();
            ++column;
        }
    }

    void text(std::string_view s) override {
        if (inValue) value.append(s);
        else if (inInlineText) inlineText.append(s);
    }

    Cell cell() {
        Cell c;
        if (formula) {
            c.kind = Cell::Kind::Formula;
            c.text = "=";
            return c;
        }
        if (type == "s") {
            const auto index = kernel::tryStrToInt(value);
            if (!index || *index < 0 || static_cast<std::size_t>(*index) >= shared->size()) {
                fail(messages::kWorkbook);
                return c;
            }
            return cellFromText((*shared)[static_cast<std::size_t>(*index)]);
        }
        if (type == "inlineStr") return cellFromText(inlineText);
        if (type == "n") {
            if (value.empty()) return c;
            if (const auto x = kernel::tryStrToFloat(value)) return numberCell(*x);
        }
        c.kind = Cell::Kind::Text;
        c.text = value;
        return c;
    }
};

std::string memberPath(std::string target) {
    if (target.starts_with('/')) return target.substr(1);
    while (target.starts_with("./")) target = target.substr(2);
    return "xl/" + target;
}

} // namespace

Sheet readXlsx(const std::filesystem::path& path) {
    ZipArchive archive;
    int error = 0;
    archive.zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!archive.zip) throw IoError(messages::kWorkbook);
    FirstSheet first;
    if (!parseMember(archive.zip, "xl/workbook.xml", first)) throw IoError(messages::kWorkbook);
    std::string sheetName = "xl/worksheets/sheet1.xml";
    Relationship relationship;
    relationship.id = first.id;
    if (!first.id.empty() && parseMember(archive.zip, "xl/_rels/workbook.xml.rels", relationship) &&
        !relationship.target.empty())
        sheetName = memberPath(relationship.target);
    SharedStrings shared;
    parseMember(archive.zip, "xl/sharedStrings.xml", shared);
    Worksheet sheet;
    sheet.shared = &shared.strings;
    if (!parseMember(archive.zip, sheetName, sheet)) throw IoError(messages::kWorkbook);
    return sheetFromRows(std::move(sheet.rows), sheet.lines);
}

} // namespace kelvora::identify
