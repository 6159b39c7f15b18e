#pragma once
// kelvora-table --register: the tables of a whole tank register in one command.

#include <iosfwd>

namespace kelvora::cli {

// kelvora-table --register FILE --out-dir DIR [--formats pdf,xlsx,xls,csv] [--jobs N]
// For every row of the register (persist/register_file.h) the table in each format,
// named by the row's tank number made safe for a file name, then DIR/summary.csv.
// Exit kOk when every row succeeded, kValidation when a row or the register was refused,
// kErrorReport on an error (a file that cannot be read or written), kUsage for a wrong
// command line.
int runRegister(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace kelvora::cli
