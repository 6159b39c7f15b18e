#include "persist/file_name.h"

namespace kelvora::persist {

std::string safeFileName(std::string_view number) {
    std::string name;
    for (const char c : number) {
        const auto u = static_cast<unsigned char>(c);
        const bool refused =
            u < 0x20 || u == 0x7F || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
        name.push_back(refused ? '_' : c);
    }
    if (!name.empty() && name.front() == '.') name.front() = '_';
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
