#pragma once
// kelvora-table --register: the tables of a whole tank register in one command.

#include <cstddef>
#include <iosfwd>

namespace kelvora::cli {

// A register of more rows is refused before any row is read further.
inline constexpr std::size_t kMaxRegisterTanks = 10000;

// kelvora-table --register FILE --out-dir DIR [--formats pdf,xlsx,xls,csv] [--jobs N]
// For every row of the register (persist/register_file.h) the table in each format,
// named by the row's tank number made safe for a file name (cli/register_names.h), by the
// same path as the batch tool's --out (cli/table_files.h). Refused before anything is
// written: more than kMaxRegisterTanks rows, a row without a tank number, two rows whose
// files would be one, a file that would be summary.csv or the register itself. Then,
// under the folder's lock (cli/register_lock.h), DIR/summary.csv with every row
// "进行中", the rows' files (a symbolic link at a file's name replaced, not followed; the
// files of a row refused or failed removed), each row refused or failed named on
// standard error, and DIR/summary.csv again with every row's status.
// Exit kOk when every row succeeded, kValidation when a row or the register was refused,
// kErrorReport on an error (a file that cannot be read or written, summary.csv among
// them, or a folder another register is writing), kUsage for a wrong command line.
int runRegister(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace kelvora::cli
