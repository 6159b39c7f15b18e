#include "persist/tank_file.h"

#include "capacity/memory_inputs.h"
#include "persist/atomic_file.h"
#include "persist/bounded_read.h"
#include "persist/utf8_text.h"

#include <cerrno>

namespace kelvora::persist {

namespace {

constexpr std::string_view kVersionPrefix = "# Kelvora tank file, version ";

[[noreturn]] void refuse(int line, const std::string& text) {
    throw TankFileError("第" + std::to_string(line) + "行：" + text);
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
    std::vector<capacity::Assignment> assignments;
    int number = 0;
    while (!bytes.empty()) {
        ++number;
        const auto end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (!isUtf8(line)) refuse(number, "不是UTF-8文本");
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
        assignments.push_back(
            {std::string(capacity::trimBlanks(line.substr(0, eq))), std::string(value), number});
    }
    return assignments;
}

std::string tankFileText(const capacity::NamedInputs& inputs) {
    std::string text(kTankFileHeading);
    text.push_back('\n');
    for (auto [name, value] : capacity::describeInputs(inputs)) {
        // A line break inside a value would end the line and forge the next one.
        for (char& c : value)
            if (c == '\n' || c == '\r') c = ' ';
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

void loadTankFile(const std::filesystem::path& path, capacity::NamedInputs& inputs) {
    const auto assignments = readTankFile(path);
    capacity::resetToStartup(inputs);
    capacity::applyAssignments(inputs, assignments);
}

} // namespace kelvora::persist
