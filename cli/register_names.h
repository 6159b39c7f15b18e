#pragma once
// The names a register writes under: a tank number made a file name, and the key under
// which two names are the same file on the file systems the tables are copied to (Windows
// and macOS ignore letter case and, on macOS, the Unicode normalisation form).

#include <string>
#include <string_view>

namespace kelvora::cli {

// A tank number as a file name: no separators, no characters the common desktops refuse,
// no leading point, no name Windows reserves for a device (CON, PRN, AUX, NUL, COM1 … COM9,
// LPT1 … LPT9, in any case, also before an ending: "con.1" becomes "con_.1"), at most 120
// bytes without splitting a character. Every replaced or added character is "_".
std::string safeFileName(std::string_view number);

// The name in Unicode normalisation form C, case-folded: two names with the same key are
// one file somewhere.
std::string clashKey(std::string_view name);

} // namespace kelvora::cli
