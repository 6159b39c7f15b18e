#pragma once
// The window's 72 persistent inputs, in component order: the order of the settings file,
// the keyboard order inside each container, and the names every request reads.
// Window, settings, batch tool and tests all read this one table.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::capacity {

enum class InputKind { Edit, CheckBox, RadioButton, ComboBox, PickList };

// EditKeyPress lets digits through, EditKeyPressPoint digits and the point. Every length,
// level, volume, angle and density takes the point: a length of 2000.5 mm is typed as it
// reads. Only the count of rows per column takes digits alone.
enum class KeyFilter { None, Digits, DigitsPoint };

struct InputInfo {
    std::string_view name;
    InputKind kind;
    std::string_view container; // component name of the owning group or page
    std::string_view label;     // caption of a button, or the label beside an edit field
    std::string_view hint;      // the tooltip: "毫米" on a length, more where a length needs it
    KeyFilter filter;
};

std::span<const InputInfo> inputTable();

// nullptr when the name is not one of the 72 inputs.
const InputInfo* findInput(std::string_view name);

// The fixed items of a combo box ("Kg/m^3", ...); ComboBox2's list is filled at start-up.
std::vector<std::string> fixedComboItems(std::string_view name);

// Items "2" … "200" of ComboBox2, the number of calibration points.
std::vector<std::string> pointCountItems();

} // namespace kelvora::capacity
