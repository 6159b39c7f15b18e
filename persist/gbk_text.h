#pragma once
// Text in the files beside the executable is in the Chinese Windows code page 936 (GBK);
// inside the program every text is UTF-8. These two conversions are the only place that
// knows the code page table: gbk_text_iconv.cpp provides them over glibc's iconv, and a
// port to another platform replaces that one file.
//
// Neither conversion fails, because a damaged file must still load and the rest of it
// must survive:
// - Bytes that are not a valid GBK character become U+FFFD: a lead and a non-ASCII trail
//   byte without an entry in the table as one U+FFFD, any other broken byte on its own,
//   and decoding goes on right after them (the rule browsers use for GBK). U+FFFD rather
//   than keeping the byte as Latin-1: a Latin-1 guess shows plausible but wrong letters,
//   many of which have a GBK form of their own, so the next save would silently turn the
//   damage into different valid text; U+FFFD is visibly a damaged character. An ASCII
//   byte after a broken lead byte is decoded on its own, so a line end or a digit is
//   never swallowed.
// - A UTF-8 character without a GBK form (or a malformed UTF-8 byte) is written as "?",
//   which is what the Windows conversion writes as its default character.

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvora::persist {

std::string gbkToUtf8(std::string_view gbk);
std::string utf8ToGbk(std::string_view utf8);

// Bytes taken by the GBK character starting at s[i]: 2 for a lead byte (0x81..0xFE)
// followed by a trail byte (0x40..0xFE except 0x7F), otherwise 1. Scanning by characters
// keeps a trail byte that happens to equal an ASCII letter or "]" from being read as one.
inline std::size_t gbkCharSize(std::string_view s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x81 || lead == 0xFF || i + 1 >= s.size()) return 1;
    const auto trail = static_cast<unsigned char>(s[i + 1]);
    return trail >= 0x40 && trail != 0x7F && trail != 0xFF ? 2 : 1;
}

// The longest prefix of s of at most maxBytes bytes that does not split a character.
inline std::string_view gbkPrefix(std::string_view s, std::size_t maxBytes) {
    if (s.size() <= maxBytes) return s;
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t n = gbkCharSize(s, i);
        if (i + n > maxBytes) break;
        i += n;
    }
    return s.substr(0, i);
}

} // namespace kelvora::persist
