// The GBK conversions over glibc's iconv. glibc's "CP936" is the Windows table (0x80 is
// the euro sign, 0xA1AA the em dash) without the end-user-defined areas, which Windows
// maps to private-use characters and which no text of this program contains.

#include "persist/gbk_text.h"

#include "kernel/errors.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace kelvora::persist {

namespace {

bool isAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw Error(std::string("No conversion from ") + from + " to " + to + " is available");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts until the end of `in` (true) or a byte it cannot convert (false, `in` then
    // starts at that byte); appends to `out`.
    bool convert(std::string_view& in, std::string& out) {
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        // A fixed buffer, not a grown string: a file of nothing but broken bytes stops
        // here once per byte, and each stop must cost no more than the call itself.
        char buffer[4096];
        for (;;) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            const std::size_t result = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            const int error = errno;
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            in = std::string_view(src, srcLeft);
            if (result != static_cast<std::size_t>(-1)) return true;
            if (error != E2BIG) return false;
        }
    }

    void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

// Length of the well-formed UTF-8 sequence at the start of s, or 1 when it is malformed,
// so that an unmappable character is replaced as a whole and a stray byte on its own.
std::size_t utf8SequenceSize(std::string_view s) {
    const auto b = [&](std::size_t i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0u; };
    const auto cont = [&](std::size_t i, unsigned lo = 0x80, unsigned hi = 0xBF) {
        return b(i) >= lo && b(i) <= hi;
    };
    const unsigned lead = b(0);
    if (lead >= 0xC2 && lead <= 0xDF) return cont(1) ? 2 : 1;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const bool second = lead == 0xE0 ? cont(1, 0xA0) : lead == 0xED ? cont(1, 0x80, 0x9F) : cont(1);
        return second && cont(2) ? 3 : 1;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const bool second = lead == 0xF0 ? cont(1, 0x90) : lead == 0xF4 ? cont(1, 0x80, 0x8F) : cont(1);
        return second && cont(2) && cont(3) ? 4 : 1;
    }
    return 1;
}

// Bytes replaced by one U+FFFD where decoding stopped: a lead byte and a non-ASCII trail
// byte that have the form of a character but no entry in the table go together, any other
// byte alone, so an ASCII byte after a broken lead byte is decoded on its own.
std::size_t brokenSize(std::string_view s) {
    const auto lead = static_cast<unsigned char>(s[0]);
    const auto trail = s.size() > 1 ? static_cast<unsigned char>(s[1]) : 0u;
    return lead >= 0x81 && lead <= 0xFE && trail >= 0x80 && trail <= 0xFE ? 2 : 1;
}

} // namespace

std::string gbkToUtf8(std::string_view gbk) {
    if (isAscii(gbk)) return std::string(gbk);
    thread_local Converter decoder("UTF-8", "CP936");
    decoder.reset();
    std::string out;
    out.reserve(gbk.size() * 3 / 2 + 4);
    while (!decoder.convert(gbk, out)) {
        out.append("\xEF\xBF\xBD");
        if (gbk.empty()) break;
        gbk.remove_prefix(brokenSize(gbk));
    }
    return out;
}

std::string utf8ToGbk(std::string_view utf8) {
    if (isAscii(utf8)) return std::string(utf8);
    thread_local Converter encoder("CP936", "UTF-8");
    encoder.reset();
    std::string out;
    out.reserve(utf8.size());
    while (!encoder.convert(utf8, out)) {
        out.push_back('?');
        if (utf8.empty()) break;
        utf8.remove_prefix(utf8SequenceSize(utf8));
    }
    return out;
}

} // namespace kelvora::persist
