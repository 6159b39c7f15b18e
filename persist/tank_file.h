#pragma once
// Tank files (.tank): one tank's inputs as UTF-8 text a person can read and edit, one
// "name = value" line per input in the readable names of capacity/vocabulary.h, "#" lines
// as comments. Beside Config.ini, not instead of it: the settings file keeps the window's
// last state, a tank file keeps one tank for as long as its owner wants.
//
//   # Kelvora tank file, version 1
//   structure = horizontal
//   D = 2600
//   left.shape = ellipsoidal
//   left.h = 650
//
// A value keeps its blanks inside; one with blanks at an end, or enclosed in double quotes,
// is written in double quotes, one pair of which reading removes; a control character
// (DEL and U+0080 … U+009F included) is written as a blank, as the document shows it, so
// that every saved file loads again. A file without the version line is read as
// version 1. A file whose bytes are not UTF-8 is read as GBK, the code page Notepad on a
// Chinese Windows saves in.

#include "capacity/named_inputs.h"
#include "capacity/vocabulary.h"
#include "kernel/errors.h"

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::persist {

inline constexpr std::string_view kTankFileHeading = "# Kelvora tank file, version 1";
inline constexpr std::string_view kTankFileExtension = ".tank";
// A file of every input and 200 points is below 10 KiB; the ceiling only bounds what a
// damaged or hostile file costs.
inline constexpr std::size_t kMaxTankFileBytes = std::size_t{1} << 20;

// A tank file whose content cannot be taken; the text names the line.
class TankFileError : public Error {
public:
    using Error::Error;
};

// The assignments of a tank file's bytes, each with its line number. A line that is
// neither UTF-8 nor GBK, a control character, a line without "=", a version other than 1,
// or a text where a number belongs (`inclined.L = 八千`) throws TankFileError naming the
// line.
std::vector<capacity::Assignment> parseTankFile(std::string_view bytes);


// The file's text for the inputs, heading first, lines ending in LF.
std::string tankFileText(const capacity::NamedInputs& inputs);

// Replaces the file at `path` in one step; IoError leaves it as it was.
void saveTankFile(const std::filesystem::path& path, const capacity::NamedInputs& inputs);

// Reads the file and applies its assignments over a first start's state
// (capacity::resetToStartup), so inputs the file does not name are as after a start
// without Config.ini. The file is checked whole before any input changes: a file that
// cannot be read throws IoError, one that cannot be taken TankFileError (the text names
// the file and the line), and the inputs stay as they were. Answers the readable names a
// saved file holds (capacity::describeInputs) that this file leaves out, in the
// vocabulary's order: the inputs left at their defaults.
std::vector<std::string> loadTankFile(const std::filesystem::path& path, capacity::NamedInputs& inputs);

// The readable names describeInputs gives for `inputs` that `assignments` set neither by
// readable name nor by a component of theirs.
std::vector<std::string> namesNotGiven(const capacity::NamedInputs& inputs,
                                       std::span<const capacity::Assignment> assignments);

// Removes from `names` those that `assignments` (given after the file) set.
void keepNotGiven(std::vector<std::string>& names, const capacity::NamedInputs& inputs,
                  std::span<const capacity::Assignment> assignments);

// "罐文件没有给出，按默认值：D、L、…" for the names loadTankFile answered; "" for none.
std::string defaultsNote(const std::vector<std::string>& names);

// The assignments of a file, read and parsed as loadTankFile does, without applying them.
std::vector<capacity::Assignment> readTankFile(const std::filesystem::path& path);

} // namespace kelvora::persist
