#pragma once
// The persistent inputs of the "容积表" page, in keyboard order: the level-from-volume
// fields, the exact-geometry check and the tank's identification for documents. They are
// kept apart from the window's 72 inputs (inputTable), which the settings file's
// [FrmMainPro] section holds exactly; these go to a [Kelvora] section of their own.
// Window, settings, batch tool and tests read this one table.

#include "capacity/input_table.h"
#include "capacity/named_inputs.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora::capacity {

// The page's component name, the container of every input below.
inline constexpr std::string_view kTablePageName = "TabSheet7";
// The "变位识别" page: the records file, its columns chosen by heading (empty: recognised)
// and the fit's β option. Its inputs follow those of the "容积表" page in the table below.
inline constexpr std::string_view kIdentifyPageName = "TabSheet8";
// The "油量计算" page: ρ20, VCF20, litres at 20 °C, the mass, and the delivery check.
inline constexpr std::string_view kQuantityPageName = "TabSheet9";
// The "立式圆筒" structure page: the vertical tank's courses, bottom points and deadwood
// (each one list, capacity/vertical_description.h), tilt, density, roof and reference height.
inline constexpr std::string_view kVerticalPageName = "TabSheet10";

std::span<const InputInfo> pageInputTable();

// nullptr when the name is not one of the page's inputs.
const InputInfo* findPageInput(std::string_view name);

// One of the 72 inputs or one of the page's; nullptr for any other name.
const InputInfo* findAnyInput(std::string_view name);

// The fixed items of a pick list of the page (LevelForMode), or of the 72 inputs.
std::vector<std::string> fixedItems(std::string_view name);

// The two ways of giving the known amount in LevelForValue, item index of LevelForMode.
inline constexpr int kLevelForByVolume = 0;  // litres, or kilograms in weight mode
inline constexpr int kLevelForByPercent = 1; // percent of the capacity

// The tank's number and owner head every page of a document: a number of at most 64
// characters and an owner of at most 128 (Unicode code points) fit their boxes.
inline constexpr std::size_t kMaxTankNumberLength = 64;
inline constexpr std::size_t kMaxTankOwnerLength = 128;

// The most characters the input `name` takes; 0 for no limit.
std::size_t maxTextLength(std::string_view name);

// "呵呵，罐号最多64个字符！" for the first input holding more characters than it takes,
// or "" when none does (a settings file can hold a longer text than the window lets type).
std::string textLengthRefusal(const NamedInputs& inputs);

} // namespace kelvora::capacity
