#include "kernel/number_text.h"

#include "kernel/errors.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace kelvora::kernel {

namespace {

bool isBlank(char c) { return c == ' '; }

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Sign, digits with at most one point (at least one digit), optional exponent with digits.
bool isPlainDecimal(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool digits = false, point = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) digits = true;
        else if (s[i] == '.' && !point) point = true;
        else break;
    }
    if (!digits) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        bool expDigits = false;
        for (; i < s.size() && isDigit(s[i]); ++i) expDigits = true;
        if (!expDigits) return false;
    }
    return i == s.size();
}

locale_t cLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

// Digits and decimal exponent of |x| rounded to `digits` significant digits:
// |x| ≈ 0.d1d2…dn × 10^exponent is avoided; here |x| ≈ d1.d2…dn × 10^exponent.
struct Decimal {
    std::string digits; // no trailing zeros, at least one digit
    int exponent = 0;
    bool negative = false;
};

// Correctly rounded digits from the C library, for any value.
Decimal toDecimalExact(long double x, int digits) {
    Decimal d;
    d.negative = std::signbit(x) && x != 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*Le", digits - 1, std::fabs(x));
    // buf: d.ddddde±XX
    std::string_view s(buf);
    const auto e = s.find('e');
    for (char c : s.substr(0, e))
        if (isDigit(c)) d.digits.push_back(c);
    d.exponent = std::atoi(buf + e + 1);
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

constexpr long double kPow10[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
                                  1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
                                  1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

// Fifteen significant digits by scaling into [1e14, 1e15) with an exact power of ten:
// the 64-bit mantissa leaves four spare digits, so the result equals the exact one
// unless the scaled value lies next to a rounding tie, which goes to the exact path.
Decimal toDecimal15(long double x) {
    const long double a = std::fabs(x);
    int e2;
    std::frexp(a, &e2);
    // a lies in [2^(e2-1), 2^e2): its decimal exponent is this estimate or one more.
    // floor((e2 - 1) · log10 2) in whole numbers, without the x87 rounding-mode switches.
    const int t = (e2 - 1) * 30103;
    int e10 = t >= 0 ? t / 100000 : -((-t + 99999) / 100000);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int shift = 14 - e10;
        if (shift > 27 || shift < -27) break;
        const long double scaled = shift >= 0 ? a * kPow10[shift] : a / kPow10[-shift];
        if (scaled >= 1e15L) { ++e10; continue; }
        if (scaled < 1e14L) { --e10; continue; }
        const long double whole = std::rint(scaled);
        if (std::fabs(scaled - whole) > 0.5L - 1e-4L) break;
        auto n = static_cast<std::uint64_t>(std::llrint(whole));
        int exponent = e10;
        if (n >= 1000000000000000ull) n /= 10, ++exponent;
        Decimal d;
        d.negative = std::signbit(x);
        while (n % 10 == 0) n /= 10; // n ≥ 1e14: never 0
        char buf[24];
        char* p = buf + sizeof buf;
        for (; n; n /= 10) *--p = static_cast<char>('0' + n % 10);
        d.digits.assign(p, buf + sizeof buf);
        d.exponent = exponent;
        return d;
    }
    return toDecimalExact(x, 15);
}

// The input as the conversion message quotes it: a pasted page of text is cut after its
// first 64 characters, never inside a UTF-8 sequence.
std::string quoted(std::string_view text) {
    constexpr int kShown = 64;
    int characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
        if (!continuation && ++characters > kShown) return "'" + std::string(text.substr(0, i)) + "…'";
    }
    return "'" + std::string(text) + "'";
}

} // namespace

std::string RoundToStr(double x) {
    // The factor is stored as a double, so 2.675 / f falls below 267.5 and rounds to 267.
    const double f = 1 / (10.0 * 10.0);
    const long double q = static_cast<long double>(x) / static_cast<long double>(f);
    // rint rounds in the current mode, to nearest with ties to even.
    const double rounded = static_cast<double>(std::rint(q) * static_cast<long double>(f));
    return formatGeneral(rounded);
}

std::string formatGeneral(long double x) {
    if (x == 0) return "0";
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return x < 0 ? "-INF" : "INF";
    const Decimal d = toDecimal15(x);
    std::string out;
    if (d.negative) out.push_back('-');
    const int n = static_cast<int>(d.digits.size());
    if (d.exponent >= 15 || d.exponent < -5) {
        out.push_back(d.digits[0]);
        if (n > 1) {
            out.push_back('.');
            out.append(d.digits, 1);
        }
        out.push_back('E');
        out.append(std::to_string(d.exponent));
        return out;
    }
    if (d.exponent < 0) {
        out.append("0.");
        out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
        out.append(d.digits);
        return out;
    }
    const int intDigits = d.exponent + 1;
    if (n <= intDigits) {
        out.append(d.digits);
        out.append(static_cast<std::size_t>(intDigits - n), '0');
    } else {
        out.append(d.digits, 0, intDigits);
        out.push_back('.');
        out.append(d.digits, intDigits);
    }
    return out;
}

std::optional<double> tryStrToFloat(std::string_view text) {
    const std::string_view s = trimBlanks(text);
    if (!isPlainDecimal(s)) return std::nullopt;
    const std::string copy(s);
    errno = 0;
    char* end = nullptr;
    const double value = strtod_l(copy.c_str(), &end, cLocale());
    if (end != copy.c_str() + copy.size()) return std::nullopt;
    // Overflow fails; an underflow to zero or a denormal is a value.
    if (std::isinf(value)) return std::nullopt;
    return value;
}

double strToFloat(std::string_view text) {
    if (auto v = tryStrToFloat(text)) return *v;
    throw ConvertError(quoted(text) + " is not a valid floating point value");
}

bool isNumberText(std::string_view text) {
    auto control = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && control(text.front())) text.remove_prefix(1);
    while (!text.empty() && control(text.back())) text.remove_suffix(1);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool mantissa = false, point = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i])) mantissa = true;
        else if (text[i] == '.' && !point) point = mantissa = true;
        else break;
    }
    if (!mantissa) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        while (i < text.size() && isDigit(text[i])) ++i;
    }
    return i == text.size();
}

std::optional<std::int32_t> tryStrToInt(std::string_view text) {
    std::string_view s = text;
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (!s.empty() && s.front() == '$') {
        base = 16;
        s.remove_prefix(1);
    } else if (!s.empty() && (s.front() == 'x' || s.front() == 'X')) {
        base = 16;
        s.remove_prefix(1);
    } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return std::nullopt;
    std::uint64_t magnitude = 0;
    for (char c : s) {
        int digit;
        if (isDigit(c)) digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > 0xFFFFFFFFull) return std::nullopt;
    }
    if (base == 16) {
        // Hexadecimal covers the full 32 bits, as the bit pattern of the value.
        auto bits = static_cast<std::uint32_t>(magnitude);
        if (negative) bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }
    const std::int64_t value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t strToInt(std::string_view text) {
    if (auto v = tryStrToInt(text)) return *v;
    throw ConvertError(quoted(text) + " is not a valid integer value");
}

std::int32_t strToIntDef(std::string_view text, std::int32_t fallback) {
    return tryStrToInt(text).value_or(fallback);
}

} // namespace kelvora::kernel
