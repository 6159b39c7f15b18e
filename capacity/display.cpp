#include "capacity/display.h"

#include "kernel/fp_guard.h"
#include "kernel/number_text.h"

#include <cmath>

namespace kelvora::capacity {

using kernel::finiteOrThrow;

double MiDu(NamedInputs& inputs) {
    const std::string unit = inputs.text("ComboBox1");
    if (unit == "Kg/m^3") return kernel::strToFloat(inputs.text("Edit37"));
    if (unit == "g/cm^3") return finiteOrThrow(kernel::strToFloat(inputs.text("Edit37")) * 1000);
    inputs.setText("ComboBox1", "Kg/m^3");
    return kernel::strToFloat(inputs.text("Edit37"));
}

std::string checkDensity(NamedInputs& inputs) {
    const std::string text = inputs.text("Edit37");
    if (text.empty()) return messages::kNoDensity;
    const auto value = kernel::tryStrToFloat(text);
    if (!value) return "呵呵，密度“" + text + "”不是数字！";
    if (!(*value > 0)) return messages::kDensityNotPositive;
    const std::string unit = inputs.text("ComboBox1");
    if (unit.empty() || unit == "单位") return messages::kNoDensityUnit;
    const double density = unit == "g/cm^3" ? *value * 1000 : *value;
    if (!(density >= kMinDensity && density <= kMaxDensity)) {
        // A density past the double range in kg/m^3 is stated as typed.
        const std::string read = std::isfinite(density) ? kernel::formatGeneral(density) + " Kg/m^3"
                                                         : kernel::formatGeneral(*value) + " " + unit;
        return "呵呵，密度 " + read + " 不在 " + kernel::formatGeneral(kMinDensity) + " ~ " +
               kernel::formatGeneral(kMaxDensity) + " Kg/m^3 之间，请检查数值和单位！";
    }
    return {};
}

std::string VtoEdit(NamedInputs& inputs, double x) {
    if (inputs.checked("CheckBox1")) x = finiteOrThrow(x * MiDu(inputs));
    return kernel::RoundToStr(x);
}

std::string litresText(double V) {
    return kernel::RoundToStr(finiteOrThrow(static_cast<double>(static_cast<long double>(V) * 1000)));
}

ValueText::ValueText(NamedInputs& inputs) : inputs_(inputs), weight_(inputs.checked("CheckBox1")) {}

std::string ValueText::operator()(double V) {
    // The volume itself is always finite; its litres or kilograms may not be.
    if (!weight_) return litresText(V);
    if (!density_) density_ = MiDu(inputs_);
    return kernel::RoundToStr(finiteOrThrow(V * *density_));
}

} // namespace kelvora::capacity
