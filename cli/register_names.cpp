#include "cli/register_names.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cctype>

namespace kelvora::cli {

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

std::string clashKey(std::string_view name) {
    const QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    // Folding can leave a decomposed form (and decomposing can change the fold): normalise
    // on both sides.
    return text.normalized(QString::NormalizationForm_C)
        .toCaseFolded()
        .normalized(QString::NormalizationForm_C)
        .toStdString();
}

} // namespace kelvora::cli
