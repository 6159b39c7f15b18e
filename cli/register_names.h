#pragma once
// The names a register writes under: a tank number made a file name, and the key under
// which two names are the same file on the file systems the tables are copied to (Windows
// and macOS ignore letter case and, on macOS, the Unicode normalisation form).

#include "persist/file_name.h"

#include <string>
#include <string_view>

namespace kelvora::cli {

// A tank number as a file name (persist/file_name.h).
using persist::safeFileName;

// The name in Unicode normalisation form C, case-folded: two names with the same key are
// one file somewhere.
std::string clashKey(std::string_view name);

} // namespace kelvora::cli
