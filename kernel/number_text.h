#pragma once
// Numbers as the user sees them: the two-decimal rounding of every shown volume, the
// general 15-significant-digit format, and the text-to-number conversions every input
// goes through. All of it is locale-independent: the decimal separator is ".".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvora::kernel {

// x rounded to two decimals (ties to even, on an extended-precision quotient), as text
// in the general format: 1234.5678 → "1234.57", 2.675 → "2.67", 0.125 → "0.12".
std::string RoundToStr(double x);

// The general format with 15 significant digits: "12.5", "3", "0.07", "1E15", "1.5E-6".
std::string formatGeneral(long double x);

// Plain decimal text to a number: blanks trimmed, an optional sign, digits with at most
// one ".", an optional exponent. Anything else throws ConvertError
// "'<text>' is not a valid floating point value", the text cut to its first 64
// characters and "…" when longer.
double strToFloat(std::string_view text);
std::optional<double> tryStrToFloat(std::string_view text);

// The density field's check: after trimming blanks and control characters, an optional
// sign, digits with at most one point (a lone point counts, as zero), then optionally
// E or e, an optional sign and any number of digits. The empty text is not a number.
bool isNumberText(std::string_view text);

// Whole numbers in the 32-bit range: leading blanks skipped, an optional sign, decimal
// digits, or hexadecimal digits after "$", "x" or "0x". strToInt throws ConvertError
// "'<text>' is not a valid integer value", the text cut as above.
std::optional<std::int32_t> tryStrToInt(std::string_view text);
std::int32_t strToInt(std::string_view text);
std::int32_t strToIntDef(std::string_view text, std::int32_t fallback);

} // namespace kelvora::kernel
