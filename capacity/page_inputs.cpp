#include "capacity/page_inputs.h"

#include <algorithm>
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

std::size_t maxTextLength(std::string_view name) {
    if (name == "TankNumber") return kMaxTankNumberLength;
    if (name == "TankOwner") return kMaxTankOwnerLength;
    return 0;
}

std::string textLengthRefusal(const NamedInputs& inputs) {
    for (const auto& input : kPageInputs) {
        const std::size_t limit = maxTextLength(input.name);
        if (limit == 0) continue;
        // Every byte but a UTF-8 continuation byte starts a character.
        const std::string text = inputs.text(input.name);
        const auto characters = std::count_if(
            text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
        if (static_cast<std::size_t>(characters) > limit)
            return "呵呵，" + std::string(input.label) + "最多" + std::to_string(limit) + "个字符！";
    }
    return {};
}

std::vector<std::string> fixedItems(std::string_view name) {
    if (name == "LevelForMode") return {"容积", "百分比"};
    return fixedComboItems(name);
}

} // namespace kelvora::capacity
