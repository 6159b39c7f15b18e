#pragma once
// A tank number as the stem of a file name, the same for the register's tables and for the
// names the window proposes, so a tank's files are named alike wherever they are made.

#include <string>
#include <string_view>

namespace kelvora::persist {

// No separators, no characters the common desktops refuse, no leading point, no name
// Windows reserves for a device (CON, PRN, AUX, NUL, COM1 … COM9, LPT1 … LPT9, in any case,
// also before an ending: "con.1" becomes "con_.1"), at most 120 bytes without splitting a
// character. Every replaced or added character is "_".
std::string safeFileName(std::string_view number);

// The name proposed for one of a tank's files: "<number> <kind>" ("3号罐 油罐容积表") with the
// number made safe, or the number alone for an empty `kind`; `kind` alone, or `unnamed` for an
// empty `kind`, when the tank has no number (blanks only count as none).
std::string proposedFileName(std::string_view number, std::string_view kind, std::string_view unnamed = {});

} // namespace kelvora::persist
