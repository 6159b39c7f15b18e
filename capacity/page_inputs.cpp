#include "capacity/page_inputs.h"

#include <array>

namespace kelvora::capacity {

namespace {

using K = InputKind;
using F = KeyFilter;

constexpr std::array<InputInfo, 6> kPageInputs{{
    {"LevelForValue", K::Edit, kTablePageName, "已知容积", {}, F::DigitsPoint},
    {"LevelForMode", K::PickList, kTablePageName, "", {}, F::None},
    {"LevelForResult", K::Edit, kTablePageName, "液位", "毫米", F::None},
    {"ExactGeometry", K::CheckBox, kTablePageName, "按精确几何计算", {}, F::None},
    {"TankNumber", K::Edit, kTablePageName, "罐号", {}, F::None},
    {"TankOwner", K::Edit, kTablePageName, "使用单位", {}, F::None},
}};

} // namespace

std::span<const InputInfo> pageInputTable() {
    return kPageInputs;
}

const InputInfo* findPageInput(std::string_view name) {
    for (const auto& input : kPageInputs)
        if (input.name == name) return &input;
    return nullptr;
}

const InputInfo* findAnyInput(std::string_view name) {
    if (const InputInfo* input = findInput(name)) return input;
    return findPageInput(name);
}

std::vector<std::string> fixedItems(std::string_view name) {
    if (name == "LevelForMode") return {"容积", "百分比"};
    return fixedComboItems(name);
}

} // namespace kelvora::capacity
