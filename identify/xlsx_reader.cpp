// An Excel workbook's first worksheet through libzip and expat, streamed so that no
// member is held whole: the shared strings kept once in a pool that the cells refer to,
// the cells straight into the sheet. Elements nest at most kMaxXmlDepth deep, a document
// type (and with it every entity) is refused, and nothing is thrown through expat: a
// failure in a handler stops the parser and is thrown once it has returned.

#include "identify/sheet.h"

#include "kernel/errors.h"
#include "kernel/number_text.h"

#include <expat.h>
#include <zip.h>

#include <array>
#include <memory>
#include <new>
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

// ---- Excel workbook -------------------------------------------------------------------

// The shared strings together; a station's records are numbers under a few headings.
constexpr std::size_t kMaxPoolBytes = 64u << 20;
constexpr std::size_t kMaxSharedStrings = 16'000'000;

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
// through the parser, and the parser stopped.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    virtual void start(std::string_view name, const XML_Char** attributes) = 0;
    virtual void end(std::string_view name) = 0;
    virtual void text(std::string_view) {}
    std::string failure;
    XML_Parser parser = nullptr;
    int depth = 0;
    void fail(std::string message) {
        if (failure.empty()) failure = std::move(message);
        XML_StopParser(parser, XML_FALSE);
    }
    // Runs a handler's step unless the member has already failed; whatever it throws
    // becomes the failure.
    template <class Step> void guarded(Step step) noexcept {
        if (!failure.empty()) return;
        try {
            step();
        } catch (const IoError& e) {
            fail(e.what());
        } catch (const std::bad_alloc&) {
            fail(messages::kOutOfMemory);
        } catch (...) {
            fail(messages::kWorkbook);
        }
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
            auto* h = static_cast<XmlHandler*>(data);
            h->guarded([&] {
                if (++h->depth > kMaxXmlDepth) throw IoError(messages::kTooDeep);
                h->start(localName(el), attributes);
            });
        },
        [](void* data, const XML_Char* el) {
            auto* h = static_cast<XmlHandler*>(data);
            h->guarded([&] {
                --h->depth;
                h->end(localName(el));
            });
        });
    XML_SetCharacterDataHandler(expat.parser, [](void* data, const XML_Char* s, int len) {
        auto* h = static_cast<XmlHandler*>(data);
        h->guarded([&] { h->text(std::string_view(s, static_cast<std::size_t>(len))); });
    });
    // A workbook's parts have no document type; one could only declare entities.
    XML_SetStartDoctypeDeclHandler(expat.parser,
                                   [](void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
                                       static_cast<XmlHandler*>(data)->fail(messages::kWorkbook);
                                   });
    std::array<char, 1 << 16> buffer;
    std::size_t total = 0;
    for (;;) {
        const zip_int64_t n = zip_fread(member.file, buffer.data(), buffer.size());
        if (n < 0) throw IoError(messages::kWorkbook);
        total += static_cast<std::size_t>(n);
        if (total > kMaxMemberBytes) throw IoError(messages::kMemberTooLarge);
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

// sharedStrings.xml: each <si>'s text, its runs joined, phonetic runs left out, into one
// pool.
struct SharedStrings : XmlHandler {
    std::shared_ptr<StringPool> pool = std::make_shared<StringPool>();
    std::size_t begin = 0; // of the current string in the pool
    bool inText = false;
    int phonetic = 0;
    void start(std::string_view name, const XML_Char**) override {
        if (name == "si")
            begin = pool->chars.size();
        else if (name == "rPh")
            ++phonetic;
        else if (name == "t")
            inText = phonetic == 0;
    }
    void end(std::string_view name) override {
        if (name == "t")
            inText = false;
        else if (name == "rPh")
            --phonetic;
        else if (name == "si") {
            if (pool->size() >= kMaxSharedStrings) throw IoError(messages::kTooManySharedStrings);
            pool->ends.push_back(static_cast<std::uint32_t>(pool->chars.size()));
            begin = pool->chars.size();
        }
    }
    void text(std::string_view s) override {
        if (!inText) return;
        if (pool->chars.size() - begin + s.size() > kMaxTextBytes) throw IoError(messages::kTooLongText);
        if (pool->chars.size() + s.size() > kMaxPoolBytes) throw IoError(messages::kTooManyStrings);
        pool->chars.append(s);
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
    SheetBuilder builder;
    std::size_t rowNumber = 0, column = 0;
    std::string type, value, inlineText;
    bool inRow = false, inCell = false, formula = false, inValue = false, inInline = false,
         inInlineText = false;

    void start(std::string_view name, const XML_Char** attributes) override {
        if (name == "row") {
            if (inRow) throw IoError(messages::kWorkbook);
            const auto r = attribute(attributes, "r");
            std::size_t next = rowNumber + 1;
            if (r) {
                const auto parsed = kernel::tryStrToInt(*r);
                if (!parsed || *parsed <= static_cast<std::int32_t>(rowNumber))
                    throw IoError(messages::kWorkbook);
                next = static_cast<std::size_t>(*parsed);
            }
            rowNumber = next;
            column = 0;
            inRow = true;
        } else if (name == "c") {
            if (!inRow || inCell) throw IoError(messages::kWorkbook);
            if (const auto r = attribute(attributes, "r")) {
                const auto c = columnOf(*r);
                if (!c) throw IoError(messages::kWorkbook);
                column = *c;
            }
            if (column >= kMaxColumns) throw IoError(messages::kTooManyColumns);
            const auto t = attribute(attributes, "t");
            type = t ? std::string(*t) : "n";
            value.clear();
            inlineText.clear();
            formula = false;
            inCell = true;
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
        if (name == "v")
            inValue = false;
        else if (name == "is")
            inInline = false;
        else if (name == "t")
            inInlineText = false;
        else if (name == "c" && inCell) {
            addCell();
            inCell = false;
            ++column;
        } else if (name == "row" && inRow) {
            builder.endRow(rowNumber);
            inRow = false;
        }
    }

    void text(std::string_view s) override {
        std::string* into = inValue ? &value : inInlineText ? &inlineText : nullptr;
        if (!into) return;
        if (into->size() + s.size() > kMaxTextBytes) throw IoError(messages::kTooLongText);
        into->append(s);
    }

    // A formula counts by the value the file holds for it; without one it is a formula.
    void addCell() {
        if (formula && value.empty()) return builder.add(column, Cell{Cell::Kind::Formula, 0, {}});
        if (type == "s") {
            const auto index = kernel::tryStrToInt(value);
            if (!index || *index < 0) throw IoError(messages::kWorkbook);
            return builder.addPooled(column, static_cast<std::size_t>(*index));
        }
        if (type == "inlineStr") return builder.add(column, cellFromText(inlineText));
        if (type == "n") {
            if (value.empty()) return;
            if (const auto x = kernel::tryStrToFloat(value)) return builder.add(column, numberCell(*x));
        }
        // A formula's text result reads as any text does.
        if (type == "str") return builder.add(column, cellFromText(value));
        // A boolean, an error value, or a number that is not one.
        builder.add(column, Cell{Cell::Kind::Text, 0, value});
    }
};

std::string memberPath(std::string target) {
    if (target.starts_with('/')) return target.substr(1);
    while (target.starts_with("./"))
        target = target.substr(2);
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
    shared.pool->chars.shrink_to_fit();
    Worksheet sheet;
    sheet.builder.setPool(shared.pool);
    if (!parseMember(archive.zip, sheetName, sheet)) throw IoError(messages::kWorkbook);
    return sheet.builder.finish();
}

} // namespace kelvora::identify
