#include "persist/tank_file.h"

#include "capacity/memory_inputs.h"
#include "kernel/number_text.h"
#include "persist/atomic_file.h"
#include "persist/bounded_read.h"
#include "persist/gbk_text.h"
#include "persist/utf8_text.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <optional>
#include <set>

namespace kelvora::persist {

namespace {

constexpr std::string_view kVersionPrefix = "# Kelvora tank file, version ";

[[noreturn]] void refuse(int line, const std::string& text) {
    throw TankFileError("第" + std::to_string(line) + "行：" + text);
}

// The term each component stands for, from the listing of --inputs ("Edit21 (ellipsoidal),
// Edit23 (cone)"), so that a file naming components is read as one naming terms.
const std::map<std::string, const capacity::Term*, std::less<>>& termsByComponent() {
    static const auto map = [] {
        std::map<std::string, const capacity::Term*, std::less<>> m;
        for (const auto& listing : capacity::vocabularyListing()) {
            std::string_view rest = listing.components;
            while (!rest.empty()) {
                const auto comma = rest.find(", ");
                std::string_view item = rest.substr(0, comma);
                rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 2);
                item = item.substr(0, item.find(" ("));
                if (!item.empty()) m.emplace(std::string(item), capacity::findTerm(listing.name));
            }
        }
        return m;
    }();
    return map;
}

const capacity::Term* termOf(std::string_view name) {
    if (const capacity::Term* term = capacity::findTerm(name)) return term;
    const auto& map = termsByComponent();
    const auto it = map.find(name);
    return it == map.end() ? nullptr : it->second;
}

// The one decoder of a tank file that is not UTF-8: GBK, as registers are read.
std::string decodeNonUtf8(std::string_view bytes) {
    return gbkToUtf8(bytes);
}

// One line as UTF-8, or nothing when it is neither UTF-8 nor GBK.
std::optional<std::string> lineText(std::string_view line, bool gbk) {
    if (!gbk) return isUtf8(line) ? std::optional<std::string>(line) : std::nullopt;
    std::string text = decodeNonUtf8(line);
    if (text.find("\xEF\xBF\xBD") != std::string::npos) return std::nullopt; // U+FFFD: no GBK character
    return text;
}

// A control character as the document shows it: C0 (tab and line ends included), DEL and
// C1 become a blank.
std::string withoutControls(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        const auto next = i + 1 < value.size() ? static_cast<unsigned char>(value[i + 1]) : 0;
        if (c < 0x20 || c == 0x7F) {
            out.push_back(' ');
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            out.push_back(' ');
            ++i;
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

bool needsQuotes(std::string_view value) {
    if (value.empty()) return false;
    const bool blankAtEnd =
        value.front() == ' ' || value.front() == '\t' || value.back() == ' ' || value.back() == '\t';
    const bool enclosed = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    return blankAtEnd || enclosed;
}

} // namespace

std::vector<capacity::Assignment> parseTankFile(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
    // The whole file is one or the other, as a register is.
    const bool gbk = !isUtf8(bytes);
    std::vector<capacity::Assignment> assignments;
    int number = 0;
    while (!bytes.empty()) {
        ++number;
        const auto end = bytes.find('\n');
        std::string_view raw = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (raw.ends_with('\r')) raw.remove_suffix(1);
        const auto decoded = lineText(raw, gbk);
        if (!decoded) refuse(number, "既不是UTF-8也不是GBK文本");
        std::string_view line = *decoded;
        for (const char c : line)
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F)
                refuse(number, "含有控制字符");
        line = capacity::trimBlanks(line);
        if (number == 1 && line.starts_with(kVersionPrefix)) {
            const std::string_view version = capacity::trimBlanks(line.substr(kVersionPrefix.size()));
            if (version != "1") refuse(number, "不支持的罐文件版本“" + std::string(version) + "”");
            continue;
        }
        if (line.empty() || line.starts_with('#')) continue;
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) refuse(number, "应为“名称 = 值”");
        std::string_view value = capacity::trimBlanks(line.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        const std::string_view name = capacity::trimBlanks(line.substr(0, eq));
        // An empty field is allowed, as in the window; any other text must be a number.
        if (const capacity::Term* term = termOf(name); term && capacity::takesNumber(*term) &&
                                                       !capacity::trimBlanks(value).empty() &&
                                                       !kernel::tryStrToFloat(value))
            refuse(number, "“" + std::string(name) + "”应为数字，不是“" + std::string(value) + "”");
        assignments.push_back({std::string(name), std::string(value), number});
    }
    return assignments;
}

std::string tankFileText(const capacity::NamedInputs& inputs) {
    std::string text(kTankFileHeading);
    text.push_back('\n');
    for (auto [name, value] : capacity::describeInputs(inputs)) {
        // A line break inside a value would end the line and forge the next one, and no
        // other control character would load again.
        value = withoutControls(value);
        text.append(name).append(" = ");
        if (needsQuotes(value))
            text.append("\"").append(value).append("\"");
        else
            text.append(value);
        text.push_back('\n');
    }
    return text;
}

void saveTankFile(const std::filesystem::path& path, const capacity::NamedInputs& inputs) {
    writeFileAtomically(path, tankFileText(inputs));
}

std::vector<capacity::Assignment> readTankFile(const std::filesystem::path& path) {
    const auto read = readFilePrefix(path, kMaxTankFileBytes);
    if (!read) throw IoError("找不到罐文件“" + path.string() + "”");
    if (read->truncated) throw TankFileError("罐文件“" + path.string() + "”太大，不是罐文件");
    try {
        auto assignments = parseTankFile(read->bytes);
        // Checked on a copy first, so a refused name leaves the caller's inputs untouched.
        capacity::MemoryInputs check = capacity::MemoryInputs::afterStartup();
        capacity::applyAssignments(check, assignments);
        return assignments;
    } catch (const capacity::VocabularyError& e) {
        throw TankFileError("罐文件“" + path.string() + "”第" + std::to_string(e.line()) + "行：" + e.what());
    } catch (const TankFileError& e) {
        throw TankFileError("罐文件“" + path.string() + "”" + e.what());
    }
}

std::vector<std::string> loadTankFile(const std::filesystem::path& path, capacity::NamedInputs& inputs) {
    const auto assignments = readTankFile(path);
    capacity::resetToStartup(inputs);
    capacity::applyAssignments(inputs, assignments);
    return namesNotGiven(inputs, assignments);
}

std::vector<std::string> namesNotGiven(const capacity::NamedInputs& inputs,
                                       std::span<const capacity::Assignment> assignments) {
    std::set<std::string_view> given;
    for (const auto& a : assignments)
        if (const capacity::Term* term = termOf(a.name)) given.insert(term->name);
    std::vector<std::string> missing;
    for (auto& [name, value] : capacity::describeInputs(inputs))
        if (!given.contains(name) && std::find(missing.begin(), missing.end(), name) == missing.end())
            missing.push_back(std::move(name));
    return missing;
}

void keepNotGiven(std::vector<std::string>& names, const capacity::NamedInputs& inputs,
                  std::span<const capacity::Assignment> assignments) {
    if (names.empty() || assignments.empty()) return;
    const std::vector<std::string> left = namesNotGiven(inputs, assignments);
    std::erase_if(names, [&](const std::string& name) {
        return std::find(left.begin(), left.end(), name) == left.end();
    });
}

std::string defaultsNote(const std::vector<std::string>& names) {
    if (names.empty()) return {};
    std::string note = "罐文件没有给出，按默认值：";
    for (std::size_t i = 0; i < names.size(); ++i)
        note.append(i ? "、" : "").append(names[i]);
    return note;
}

} // namespace kelvora::persist
