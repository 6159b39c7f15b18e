#include "capacity/result_inputs.h"

#include "capacity/page_inputs.h"

#include <utility>

namespace kelvora::capacity {

namespace {

// The container of each structure kind's own inputs, by tab index.
constexpr std::pair<std::string_view, int> kKindContainers[] = {
    {"GroupBox1", 0}, {"TabSheet2", 1}, {"TabSheet3", 2}, {"TabSheet4", 3}, {kVerticalPageName, 4}};

} // namespace

bool resultReads(std::string_view result, std::string_view input, const NamedInputs& inputs) {
    if (input == kStructureTabsInput) return true;
    if (input == kGridInput) return inputs.activePage() == 3;
    const InputInfo* info = findAnyInput(input);
    if (!info || input == kQuickResult || input == kLevelForResult) return false;
    if (input == "Edit35") return result == kQuickResult;
    if (input == "LevelForValue" || input == "LevelForMode") return result == kLevelForResult;
    if (input == "Edit37" || input == "ComboBox1") return inputs.checked("CheckBox1");
    if (input == "TankNumber" || input == "TankOwner" || input == "CertificateNumber" ||
        input == "IssuingBody" || input == "ValidUntil" || input == "CalculationBasis" ||
        input == "PerMillimetre" || input.starts_with("Uncertainty"))
        return false;
    // The identification's records and columns are read by the fit alone.
    if (info->container == kIdentifyPageName) return false;
    // The 20 °C quantities read the quick calculation, never the other way round.
    if (info->container == kQuantityPageName) return false;
    if (info->container == "GroupBox4")
        return input == "Edit13" || input == "Edit31" || input == "Edit32" || input == "Edit33";
    for (const auto& [container, page] : kKindContainers)
        if (info->container == container) return inputs.activePage() == page;
    return true; // the heads, the weight switch, the method
}

} // namespace kelvora::capacity
