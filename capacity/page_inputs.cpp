#include "capacity/page_inputs.h"

#include <algorithm>
#include <array>

namespace kelvora::capacity {

namespace {

using K = InputKind;
using F = KeyFilter;

constexpr std::array<InputInfo, 50> kPageInputs{{
    {"LevelForValue", K::Edit, kTablePageName, "已知容积", {}, F::DigitsPoint},
    {"LevelForMode", K::PickList, kTablePageName, "", {}, F::None},
    {"LevelForResult", K::Edit, kTablePageName, "液位", "毫米", F::None},
    {"ExactGeometry", K::CheckBox, kTablePageName, "按精确几何计算", {}, F::None},
    {"TankNumber", K::Edit, kTablePageName, "罐号", {}, F::None},
    {"TankOwner", K::Edit, kTablePageName, "使用单位", {}, F::None},
    // The certificate the table is issued with, and the per-millimetre column of its rows.
    {"CertificateNumber", K::Edit, kTablePageName, "证书编号", {}, F::None},
    {"IssuingBody", K::Edit, kTablePageName, "编制单位", {}, F::None},
    {"ValidUntil", K::Edit, kTablePageName, "有效期至", "日期，如 2027-12-31", F::None},
    {"CalculationBasis", K::Edit, kTablePageName, "计算依据", "容积表依据的检定规程或标准（印在文档的表头）", F::None},
    {"PerMillimetre", K::CheckBox, kTablePageName, "附毫米容量", "每行附上到下一行的每毫米容量，便于按毫米读数插值", F::None},
    // Standard uncertainties (k = 1) of the measured quantities, for the table's uncertainty.
    {"UncertaintySection", K::Edit, kTablePageName, "截面尺寸", "毫米，D 或 A、B 或球罐直径的标准不确定度", F::DigitsPoint},
    {"UncertaintyLength", K::Edit, kTablePageName, "长度 L", "毫米，罐长的标准不确定度", F::DigitsPoint},
    {"UncertaintyHead", K::Edit, kTablePageName, "封头尺寸", "毫米，每个封头尺寸的标准不确定度", F::DigitsPoint},
    {"UncertaintyAngle", K::Edit, kTablePageName, "角度 α、β", "度，α 和 β 各自的标准不确定度", F::DigitsPoint},
    {"UncertaintyF", K::Edit, kTablePageName, "F", "毫米，液位计位置 F 的标准不确定度", F::DigitsPoint},
    {"UncertaintyLevel", K::Edit, kTablePageName, "液位读数", "毫米，液位读数的标准不确定度", F::DigitsPoint},
    {"UncertaintyPointVolume", K::Edit, kTablePageName, "标定点容积", "%，每个标定点容积的相对标准不确定度", F::DigitsPoint},
    {"UncertaintyPointLevel", K::Edit, kTablePageName, "标定点高度", "毫米，每个标定点高度的标准不确定度", F::DigitsPoint},
    {"RecordsFile", K::Edit, kIdentifyPageName, "记录文件", {}, F::None},
    {"LevelColumn", K::ComboBox, kIdentifyPageName, "液位", "毫米；空着时按标题识别", F::None},
    {"InColumn", K::ComboBox, kIdentifyPageName, "进油量", "升，每条记录的量", F::None},
    {"OutColumn", K::ComboBox, kIdentifyPageName, "出油量", "升，每条记录的量", F::None},
    {"CumulativeInColumn", K::ComboBox, kIdentifyPageName, "累加进油量", "升", F::None},
    {"CumulativeOutColumn", K::ComboBox, kIdentifyPageName, "累加出油量", "升", F::None},
    {"BetaZero", K::CheckBox, kIdentifyPageName, "β固定为0", {}, F::None},
    // The "油量计算" page: litres at 20 °C and kilograms, and the delivery check.
    {"ProductGroup", K::PickList, kQuantityPageName, "油品", "成品油（B）、原油（A）或润滑油（D）", F::None},
    {"VcfMode", K::PickList, kQuantityPageName, "计算方式", "查表：如印刷的石油计量表；公式：全精度计算", F::None},
    {"Rho20", K::Edit, kQuantityPageName, "标准密度ρ20", "kg/m3；空着时由试样的视密度求得", F::DigitsPoint},
    {"SampleDensity", K::Edit, kQuantityPageName, "视密度", "kg/m3，密度计读数", F::DigitsPoint},
    {"SampleTemperature", K::Edit, kQuantityPageName, "试验温度", "℃，读密度计时试样的温度", F::None},
    {"OilTemperature", K::Edit, kQuantityPageName, "油温", "℃，罐内油品的温度", F::None},
    {"QuantityLevel", K::Edit, kQuantityPageName, "液位", "mm", F::DigitsPoint},
    {"DeliveryBeforeLevel", K::Edit, kQuantityPageName, "卸油前液位", "mm", F::DigitsPoint},
    {"DeliveryBeforeTemperature", K::Edit, kQuantityPageName, "卸油前油温", "℃", F::None},
    {"DeliveryAfterLevel", K::Edit, kQuantityPageName, "卸油后液位", "mm", F::DigitsPoint},
    {"DeliveryAfterTemperature", K::Edit, kQuantityPageName, "卸油后油温", "℃", F::None},
    {"DeliveryDispensed", K::Edit, kQuantityPageName, "卸油期间付油量", "L，卸油期间加油机付出的油量", F::DigitsPoint},
    {"DeliveryTicket", K::Edit, kQuantityPageName, "交接单20 ℃体积", "L，交接单（随车单）上的标准体积", F::DigitsPoint},
    {"DeliveryTicketMass", K::Edit, kQuantityPageName, "交接单质量", "kg，交接单上的质量；与20 ℃体积只填一个", F::DigitsPoint},
    {"DeliveryLimit", K::Edit, kQuantityPageName, "允差", "‰，空着时为3", F::DigitsPoint},
    {"VerticalCourses", K::Edit, kVerticalPageName, "圈板",
     "从下往上每圈：高度,周长,板厚[,修正值]（毫米），以分号隔开", F::None},
    {"VerticalBottom", K::Edit, kVerticalPageName, "罐底点", "从0起每点：高度（毫米）,容积（升），以分号隔开",
     F::None},
    {"VerticalDeadwood", K::Edit, kVerticalPageName, "罐内附件",
     "每段：起点高度,终点高度（毫米）,容积（升，罐内物体为负），以分号隔开", F::None},
    {"VerticalTilt", K::Edit, kVerticalPageName, "倾斜角θ", "度，0 ≤ θ < 5", F::DigitsPoint},
    {"VerticalDensity", K::Edit, kVerticalPageName, "液体密度", "kg/m3，静压力容量增大值和浮顶排液量用",
     F::DigitsPoint},
    {"VerticalRoofMass", K::Edit, kVerticalPageName, "浮顶质量", "kg", F::DigitsPoint},
    {"VerticalRoofFloat", K::Edit, kVerticalPageName, "浮顶起浮高度", "毫米", F::DigitsPoint},
    {"VerticalRoofRest", K::Edit, kVerticalPageName, "浮顶落底高度", "毫米", F::DigitsPoint},
    {"VerticalReferenceHeight", K::Edit, kVerticalPageName, "参照高度", "毫米", F::DigitsPoint},
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
    if (name == "TankOwner" || name == "IssuingBody" || name == "CalculationBasis") return kMaxTankOwnerLength;
    if (name == "CertificateNumber") return kMaxTankNumberLength;
    if (name == "ValidUntil") return 10;
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
    if (name == "ProductGroup") return {"成品油", "原油", "润滑油"};
    if (name == "VcfMode") return {"查表", "公式"};
    return fixedComboItems(name);
}

} // namespace kelvora::capacity
