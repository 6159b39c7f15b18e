#include "persist/file_name.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace kelvora::persist {

namespace {

// Windows takes these, with or without an ending, for devices, whatever the folder.
bool reservedByWindows(std::string_view base) {
    std::string upper(base);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    constexpr std::array<std::string_view, 4> kDevices{"CON", "PRN", "AUX", "NUL"};
    if (std::find(kDevices.begin(), kDevices.end(), upper) != kDevices.end()) return true;
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) && upper[3] >= '1' &&
           upper[3] <= '9';
}

} // namespace

std::string safeFileName(std::string_view number) {
    std::string name;
    for (const char c : number) {
        const auto u = static_cast<unsigned char>(c);
        const bool refused =
            u < 0x20 || u == 0x7F || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
        name.push_back(refused ? '_' : c);
    }
    if (!name.empty() && name.front() == '.') name.front() = '_';
    const std::string_view base = std::string_view(name).substr(0, name.find('.'));
    if (reservedByWindows(base)) name = std::string(base) + "_" + name.substr(base.size());
    if (name.size() > 120) {
        std::size_t cut = 120;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    return name;
}

std::string proposedFileName(std::string_view number, std::string_view kind, std::string_view unnamed) {
    const auto first = number.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::string(kind.empty() ? unnamed : kind);
    number = number.substr(first, number.find_last_not_of(" \t") - first + 1);
    std::string name = safeFileName(number);
    if (!kind.empty()) name.append(" ").append(kind);
    return name;
}

} // namespace kelvora::persist
