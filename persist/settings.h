#pragma once
// Config.ini: every input of the main window between runs. One section, the form's
// component name followed by "Pro"; two header keys; then one key per input, named by
// its component, in the order of the input table.

#include "capacity/named_inputs.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kelvora::persist {

inline constexpr std::string_view kSettingsSection = "FrmMainPro";
// The inputs of the "容积表" page (capacity::pageInputTable), which the Windows program
// does not have; it ignores sections it does not know.
inline constexpr std::string_view kKelvoraSection = "Kelvora";
inline constexpr std::string_view kVersionKey = "程序版本";
inline constexpr std::string_view kVersionValue = "2017";
inline constexpr std::string_view kModuleKey = "计算模块";
// The main window's caption, stored under kModuleKey.
inline constexpr std::string_view kMainFormCaption = "Kelvora";

// The settings file in the program directory `dir`.
std::filesystem::path ConfigPath(const std::string& dir);

// Writes the header keys and every input: an edit field's or combo box's text, or "0"
// when it trims to nothing (a pick list stores the text it shows); "1" or "0" for a check
// box or radio button. Keys that exist are updated in place, everything else in the file
// stays; the file is replaced in one step, so a failing save (IoError) leaves it as it was.
// The page's inputs go to kKelvoraSection, written after kSettingsSection, keyed by name:
// texts as they are (empty included, quoted when blanks at an end or enclosing quotes would
// otherwise be lost), "1" or "0" for a check box.
// The inputs are always saved: a file that is, or with the update would be, too large to
// load back whole (ProfileFile::kMaxBytes) is kept as Config.ini.bak, and a new file holds
// the two sections alone; the answer is then the backup's path, otherwise empty.
std::filesystem::path SaveSettings(const capacity::NamedInputs& inputs, const std::filesystem::path& path);

// Applies every input's stored value in the order of the input table, through the
// ordinary setters: a text as stored (empty when missing); a check box or radio button
// checked when its value is a non-zero 32-bit whole number. Radio buttons are applied one
// by one, so of two checked in one group the later one wins, as in the window. A missing
// or unreadable file gives every input its empty default. Of the page's inputs only those
// stored in kKelvoraSection are applied; the others keep what they have.
void LoadSettings(capacity::NamedInputs& inputs, const std::filesystem::path& path);

} // namespace kelvora::persist
