#include "capacity/input_table.h"

#include <array>

namespace kelvora::capacity {

namespace {

using K = InputKind;
using F = KeyFilter;

constexpr std::string_view kRight = "GroupBox2";
constexpr std::string_view kLeft = "GroupBox3";
constexpr std::string_view kTable = "GroupBox4";
constexpr std::string_view kQuick = "GroupBox5";
constexpr std::string_view kDensity = "Panel3";
constexpr std::string_view kHorizontal = "GroupBox1";
constexpr std::string_view kInclined = "TabSheet2";
constexpr std::string_view kSphere = "TabSheet3";
constexpr std::string_view kCalibration = "TabSheet4";

constexpr std::string_view kMm = "毫米";

constexpr std::array<InputInfo, 72> kInputs{{
    {"Edit10", K::Edit, kRight, "h:", kMm, F::DigitsPoint},
    {"Edit11", K::Edit, kRight, "H:", kMm, F::DigitsPoint},
    {"RadioButton8", K::RadioButton, kRight, "图一 椭圆(椭球)封头", {}, F::None},
    {"RadioButton9", K::RadioButton, kRight, "图二 圆锥封头", {}, F::None},
    {"Edit12", K::Edit, kRight, "h:", kMm, F::DigitsPoint},
    {"Edit14", K::Edit, kRight, "H2:", kMm, F::DigitsPoint},
    {"RadioButton10", K::RadioButton, kRight, "图二 圆台封头", {}, F::None},
    {"Edit15", K::Edit, kRight, "h:", kMm, F::DigitsPoint},
    {"Edit16", K::Edit, kRight, "H:", kMm, F::DigitsPoint},
    {"RadioButton11", K::RadioButton, kRight, "图三 球缺封头", {}, F::None},
    {"Edit17", K::Edit, kRight, "H:", kMm, F::DigitsPoint},
    {"RadioButton12", K::RadioButton, kRight, "图四 标准碟形封头", {}, F::None},
    {"RadioButton13", K::RadioButton, kRight, "图五 半球形封头", {}, F::None},
    {"RadioButton14", K::RadioButton, kRight, "图六 平板封头", {}, F::None},
    {"Edit18", K::Edit, kRight, "D2:", kMm, F::DigitsPoint},
    {"Edit20", K::Edit, kRight, "h:", kMm, F::DigitsPoint},
    {"ComboBox4", K::PickList, kRight, "", {}, F::None},
    {"RadioButton6", K::RadioButton, kRight, "图四 非标碟形封头", {}, F::None},
    {"Edit45", K::Edit, kRight, "h:", kMm, F::DigitsPoint},
    {"Edit46", K::Edit, kRight, "H:", kMm, F::DigitsPoint},
    {"Edit47", K::Edit, kRight, "Ri:", kMm, F::DigitsPoint},
    {"Edit21", K::Edit, kLeft, "h:", kMm, F::DigitsPoint},
    {"Edit22", K::Edit, kLeft, "H:", kMm, F::DigitsPoint},
    {"RadioButton15", K::RadioButton, kLeft, "图一 椭圆(椭球)封头", {}, F::None},
    {"Edit23", K::Edit, kLeft, "h:", kMm, F::DigitsPoint},
    {"Edit24", K::Edit, kLeft, "H2:", kMm, F::DigitsPoint},
    {"RadioButton17", K::RadioButton, kLeft, "图二 圆台封头", {}, F::None},
    {"Edit25", K::Edit, kLeft, "h:", kMm, F::DigitsPoint},
    {"Edit26", K::Edit, kLeft, "H:", kMm, F::DigitsPoint},
    {"RadioButton18", K::RadioButton, kLeft, "图三 球缺封头", {}, F::None},
    {"Edit27", K::Edit, kLeft, "H:", kMm, F::DigitsPoint},
    {"RadioButton19", K::RadioButton, kLeft, "图四 标准碟形封头", {}, F::None},
    {"RadioButton20", K::RadioButton, kLeft, "图五 半球形封头", {}, F::None},
    {"RadioButton21", K::RadioButton, kLeft, "图六 平板封头", {}, F::None},
    {"Edit28", K::Edit, kLeft, "D2:", kMm, F::DigitsPoint},
    {"RadioButton16", K::RadioButton, kLeft, "图二 圆锥封头", {}, F::None},
    {"Edit19", K::Edit, kLeft, "h:", kMm, F::DigitsPoint},
    {"ComboBox3", K::PickList, kLeft, "", {}, F::None},
    {"RadioButton5", K::RadioButton, kLeft, "图四 非标碟形封头", {}, F::None},
    {"Edit38", K::Edit, kLeft, "h:", kMm, F::DigitsPoint},
    {"Edit43", K::Edit, kLeft, "H:", kMm, F::DigitsPoint},
    {"Edit44", K::Edit, kLeft, "Ri:", kMm, F::DigitsPoint},
    {"Edit6", K::Edit, kTable, "液位高度从", kMm, F::DigitsPoint},
    {"Edit7", K::Edit, kTable, "到", kMm, F::DigitsPoint},
    {"Edit8", K::Edit, kTable, "间隔", kMm, F::DigitsPoint},
    {"Edit9", K::Edit, kTable, "Excel容积表每列", {}, F::Digits},
    {"Edit13", K::Edit, kTable, "罐底死量", {}, F::DigitsPoint},
    {"Edit31", K::Edit, kTable, "附件体积", {}, F::DigitsPoint},
    {"Edit32", K::Edit, kTable, "升，最下端距离罐底", kMm, F::DigitsPoint},
    {"Edit33", K::Edit, kTable, "，附件高度", kMm, F::DigitsPoint},
    {"Edit35", K::Edit, kQuick, "液位", kMm, F::DigitsPoint},
    {"Edit36", K::Edit, kQuick, "", {}, F::DigitsPoint},
    {"CheckBox1", K::CheckBox, kDensity, "重量输入密度", {}, F::None},
    {"Edit37", K::Edit, kDensity, "", {}, F::DigitsPoint},
    {"ComboBox1", K::ComboBox, kDensity, "", {}, F::None},
    {"RadioButton1", K::RadioButton, kHorizontal, "图七 水平正直圆柱体", {}, F::None},
    {"Edit1", K::Edit, kHorizontal, "D:", kMm, F::DigitsPoint},
    {"Edit2", K::Edit, kHorizontal, "L:", kMm, F::DigitsPoint},
    {"Edit5", K::Edit, kHorizontal, "L:", kMm, F::DigitsPoint},
    {"Edit4", K::Edit, kHorizontal, "A:", kMm, F::DigitsPoint},
    {"Edit3", K::Edit, kHorizontal, "B:", kMm, F::DigitsPoint},
    {"RadioButton2", K::RadioButton, kHorizontal, "图八 水平椭圆柱体", {}, F::None},
    {"Edit39", K::Edit, kInclined, "F:", "毫米，液位计到高端焊缝的距离", F::DigitsPoint},
    {"Edit40", K::Edit, kInclined, "B:", kMm, F::DigitsPoint},
    {"Edit41", K::Edit, kInclined, "A:", kMm, F::DigitsPoint},
    {"RadioButton3", K::RadioButton, kInclined, "低端在左封头", {}, F::None},
    {"RadioButton4", K::RadioButton, kInclined, "低端在右封头", {}, F::None},
    {"Edit29", K::Edit, kInclined, "α:", {}, F::DigitsPoint},
    {"Edit30", K::Edit, kInclined, "β:", {}, F::DigitsPoint},
    {"Edit42", K::Edit, kInclined, "L:", kMm, F::DigitsPoint},
    {"Edit34", K::Edit, kSphere, "球罐内直径：", kMm, F::DigitsPoint},
    {"ComboBox2", K::PickList, kCalibration, "标定点数：", {}, F::None},
}};

} // namespace

std::span<const InputInfo> inputTable() { return kInputs; }

const InputInfo* findInput(std::string_view name) {
    for (const auto& input : kInputs)
        if (input.name == name) return &input;
    return nullptr;
}

std::vector<std::string> fixedComboItems(std::string_view name) {
    if (name == "ComboBox1") return {"Kg/m^3", "g/cm^3"};
    if (name == "ComboBox3") return {"加上左封头容积", "减去左封头容积"};
    if (name == "ComboBox4") return {"加上右封头容积", "减去右封头容积"};
    return {};
}

std::vector<std::string> pointCountItems() {
    std::vector<std::string> items;
    items.reserve(199);
    for (int n = 2; n <= 200; ++n) items.push_back(std::to_string(n));
    return items;
}

} // namespace kelvora::capacity
