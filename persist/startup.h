#pragma once
// What the window does with its two files when it first comes up and when it closes; the
// batch tool calls the same so that a saved tank can be tabled from a script.

#include "capacity/named_inputs.h"
#include "persist/data_folder.h"

#include <string>

namespace kelvora::persist {

// Config.ini and then bd.txt from the program directory `dir`, both inside one trap that
// discards every error (a settings error skips the grid); then, whatever happened, the
// calibration grid set-up (ComboBox2 on "8", 9 rows, row numbers, headings) and both
// head choices (ComboBox3, ComboBox4) on their first item. The window then shows or hides
// the density row for the restored CheckBox1.
void loadStartupFiles(capacity::NamedInputs& inputs, const std::string& dir);
// The same, each file read where the data folder rule says (startupFilePath).
void loadStartupFiles(capacity::NamedInputs& inputs, const DataFolder& folder, const std::string& exeDir);

// Config.ini and then bd.txt into `dir` (made first when missing), each on its own, errors
// discarded; each file is either replaced whole or left as it was.
void saveShutdownFiles(const capacity::NamedInputs& inputs, const std::string& dir);

} // namespace kelvora::persist
