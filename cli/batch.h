#pragma once
// kelvora-table: the table request or the quick calculation from the command line, over
// the same inputs, by the same code as the window.

#include <iosfwd>

namespace kelvora::cli {

// Exit statuses.
inline constexpr int kOk = 0;
inline constexpr int kValidation = 1; // a validation message, as the plain message box shows it
inline constexpr int kErrorReport = 2; // an error, as the general error report shows it
inline constexpr int kUsage = 3;       // the command line itself is wrong

int runBatch(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace kelvora::cli
