#include "persist/register_file.h"

#include "capacity/vocabulary.h"
#include "persist/bounded_read.h"
#include "persist/gbk_text.h"
#include "persist/utf8_text.h"

#include <algorithm>

namespace kelvora::persist {

namespace {

char separatorOf(std::string_view text) {
    std::size_t commas = 0, semicolons = 0;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == '\n')
            break;
        else if (!quoted && c == ',')
            ++commas;
        else if (!quoted && c == ';')
            ++semicolons;
    }
    return semicolons > commas ? ';' : ',';
}

std::string trimmed(const std::string& s) {
    return std::string(capacity::trimBlanks(s));
}

} // namespace

RegisterTable parseRegister(std::string_view bytes) {
    std::string text;
    if (bytes.starts_with(kUtf8Bom)) {
        text = bytes.substr(kUtf8Bom.size());
        // The mark says UTF-8: a byte that is not is damage, not another code page.
        if (const std::size_t valid = utf8ValidLength(text); valid < text.size())
            throw RegisterError(
                "第" +
                std::to_string(
                    1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(valid), '\n')) +
                "行不是UTF-8文本");
    } else if (isUtf8(bytes))
        text = bytes;
    else
        text = gbkToUtf8(bytes);
    const char separator = separatorOf(text);

    std::vector<RegisterRow> lines;
    RegisterRow row{1, {}};
    std::string cell;
    bool quoted = false, wasQuoted = false;
    int line = 1;
    auto endCell = [&] {
        row.cells.push_back(wasQuoted ? cell : trimmed(cell));
        cell.clear();
        wasQuoted = false;
    };
    auto endRow = [&] {
        endCell();
        lines.push_back(std::move(row));
        row = RegisterRow{line, {}};
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                cell.push_back('"'), ++i;
            else if (c == '"')
                quoted = false;
            else {
                if (c == '\n') ++line;
                cell.push_back(c);
            }
        } else if (c == '"' && trimmed(cell).empty()) {
            cell.clear();
            quoted = wasQuoted = true;
        } else if (c == separator)
            endCell();
        else if (c == '\n') {
            ++line;
            if (!cell.empty() && cell.back() == '\r') cell.pop_back();
            endRow();
        } else if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r')
            throw RegisterError("第" + std::to_string(line) + "行含有控制字符");
        else
            cell.push_back(c);
    }
    if (quoted) throw RegisterError("第" + std::to_string(row.line) + "行的引号没有结束");
    if (!cell.empty() || !row.cells.empty()) endRow();

    RegisterTable table;
    bool headingSeen = false;
    for (auto& r : lines) {
        bool empty = true;
        for (const auto& c : r.cells)
            empty = empty && c.empty();
        if (empty) continue;
        if (!headingSeen)
            table.heading = std::move(r.cells), headingSeen = true;
        else
            table.rows.push_back(std::move(r));
    }
    if (!headingSeen) throw RegisterError("登记表是空的，没有标题行");
    return table;
}

RegisterTable readRegister(const std::filesystem::path& path) {
    const auto read = readFilePrefix(path, kMaxRegisterBytes);
    if (!read) throw IoError("找不到登记表“" + path.string() + "”");
    if (read->truncated) throw RegisterError("登记表“" + path.string() + "”太大");
    try {
        return parseRegister(read->bytes);
    } catch (const RegisterError& e) {
        throw RegisterError("登记表“" + path.string() + "”" + e.what());
    }
}

} // namespace kelvora::persist
