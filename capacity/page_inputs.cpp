#include "capacity/page_inputs.h"

#include <array>

namespace kelvora::capacity {

namespace {

using K = InputKind;
using F = KeyFilter;

constexpr std::array<InputInfo, 13> kPageInputs{{
    {"LevelForValue", K::Edit, kTablePageName, "已知容积", {}, F::DigitsPoint},
    {"LevelForMode", K::PickList, kTablePageName, "", {}, F::None},
    {"LevelForResult", K::Edit, kTablePageName, "液位", "毫米", F::None},
    {"ExactGeometry", K::CheckBox, kTablePageName, "按精确几何计算", {}, F::None},
    {"TankNumber", K::Edit, kTablePageName, "罐号", {}, F::None},
    {"TankOwner", K::Edit, kTablePageName, "使用单位", {}, F::None},
    {"RecordsFile", K::Edit, kIdentifyPageName, "记录文件", {}, F::None},
    {"LevelColumn", K::ComboBox, kIdentifyPageName, "液位", "毫米；空着时按标题识别", F::None},
    {"InColumn", K::ComboBox, kIdentifyPageName, "进油量", "升，每条记录的量", F::None},
    {"OutColumn", K::ComboBox, kIdentifyPageName, "出油量", "升，每条记录的量", F::None},
    {"CumulativeInColumn", K::ComboBox, kIdentifyPageName, "累加进油量", "升", F::None},
    {"CumulativeOutColumn", K::ComboBox, kIdentifyPageName, "累加出油量", "升", F::None},
    {"BetaZero", K::CheckBox, kIdentifyPageName, "β固定为0", {}, F::None},
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
