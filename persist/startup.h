#pragma once
// What the window does with its two files when it first comes up and when it closes; the
// batch tool calls the same so that a saved tank can be tabled from a script.

#include "capacity/named_inputs.h"
#include "persist/data_folder.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kelvora::persist {

// What start-up found, for the close.
struct StartupLoad {
    // bd.txt as read at start-up.
    std::filesystem::path gridFile;
    // It is there but could not be loaded (unreadable, or a count that is no number):
    // the close never replaces it with the empty grid shown instead, and when the points
    // were changed keeps it as bd.txt.bak first.
    bool gridKept = false;
    // The grid's file bytes right after the start-up set-up.
    std::string gridAtStart;
};

// Config.ini and then bd.txt from the program directory `dir`, each inside a trap that
// discards every error; then, whatever happened, the calibration grid set-up (ComboBox2
// on the stored count, else "8", with as many rows, row numbers and headings) and
// ComboBox3 and ComboBox4 on their stored item, else their first. The window then shows or
// hides the density row for the restored CheckBox1.
StartupLoad loadStartupFiles(capacity::NamedInputs& inputs, const std::string& dir);
// The same, each file read where the data folder rule says (startupFilePath).
StartupLoad loadStartupFiles(capacity::NamedInputs& inputs, const DataFolder& folder, const std::string& exeDir);

// The message for a start whose bd.txt is kept; empty when there is none.
std::string startupMessage(const StartupLoad& load);

// Config.ini and then bd.txt into `dir` (made first when missing), each on its own; each
// file is either replaced whole or left as it was, and bd.txt as `startup` asks.
struct ShutdownSave {
    std::vector<std::string> notes;    // for the user: a Config.ini too large to keep whole
    std::vector<std::string> failures; // a file that could not be saved, named, with the reason
};
ShutdownSave saveShutdownFilesReporting(const capacity::NamedInputs& inputs, const std::string& dir,
                                        const StartupLoad& startup = {});
// The same, the failures discarded: the notes.
std::vector<std::string> saveShutdownFiles(const capacity::NamedInputs& inputs, const std::string& dir,
                                           const StartupLoad& startup = {});

} // namespace kelvora::persist
