#pragma once
// Whether bytes are UTF-8, for the files a person writes by hand or a spreadsheet saves
// (tank files, registers), which are taken as UTF-8 only when they are.

#include <cstddef>
#include <string_view>

namespace kelvora::persist {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The length of the well-formed UTF-8 prefix of s (shortest forms, no surrogates, at most
// U+10FFFF); s.size() when all of it is UTF-8.
inline std::size_t utf8ValidLength(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        if (c < 0x80)
            n = 1;
        else if (c >= 0xC2 && c <= 0xDF)
            n = 2;
        else if (c >= 0xE0 && c <= 0xEF)
            n = 3, lo = c == 0xE0 ? 0xA0 : 0x80, hi = c == 0xED ? 0x9F : 0xBF;
        else if (c >= 0xF0 && c <= 0xF4)
            n = 4, lo = c == 0xF0 ? 0x90 : 0x80, hi = c == 0xF4 ? 0x8F : 0xBF;
        else
            return i;
        if (i + n > s.size()) return i;
        for (std::size_t k = 1; k < n; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if (t < (k == 1 ? lo : 0x80) || t > (k == 1 ? hi : 0xBF)) return i;
        }
        i += n;
    }
    return s.size();
}

inline bool isUtf8(std::string_view s) {
    return utf8ValidLength(s) == s.size();
}

} // namespace kelvora::persist
