#pragma once
// From a computed volume to the text shown or exported: litres, or kilograms with the
// density of the density row.

#include "capacity/named_inputs.h"

#include <optional>
#include <string>

namespace kelvora::capacity {

// The density in kg/m^3 from Edit37 and the unit in ComboBox1 ("Kg/m^3", or "g/cm^3"
// times 1000). Any other unit text, the prompt "单位" included, is set to "Kg/m^3".
// A density that is not a number throws ConvertError; one the double range cannot hold
// throws ArithmeticError.
double MiDu(NamedInputs& inputs);

namespace messages {
inline constexpr const char* kNoDensity = "呵呵，按重量计算要先输入密度！";
inline constexpr const char* kDensityNotPositive = "呵呵，密度必须大于零！";
inline constexpr const char* kNoDensityUnit = "呵呵，请选择密度的单位（Kg/m^3 或 g/cm^3）！";
} // namespace messages

// Densities of liquids kept in tanks lie within these, in kg/m^3; a value outside is a
// slip such as 850 typed with the unit g/cm^3.
inline constexpr double kMinDensity = 100, kMaxDensity = 3000;

// The weight option's density row before any value is turned into kilograms: Edit37
// filled with a number greater than zero, a unit chosen in ComboBox1 (not empty, not the
// prompt "单位"), and the density in kg/m^3 within kMinDensity..kMaxDensity. Empty when
// it may be used, otherwise the message.
std::string checkDensity(NamedInputs& inputs);

// x rounded to two decimals as text; with the weight option (CheckBox1) on, x is first
// multiplied by the density. A product the double range cannot hold throws
// ArithmeticError: a table never shows INF or NAN.
std::string VtoEdit(NamedInputs& inputs, double x);

// V in cubic metres as litres, rounded to two decimals: the value of a row without the
// weight option.
std::string litresText(double V);

// VtoEdit for a whole request: the weight option is read once and the density the first
// time a value needs it, so a table of a million rows converts the density once.
class ValueText {
public:
    explicit ValueText(NamedInputs& inputs);
    bool weight() const { return weight_; }
    // V in cubic metres: kilograms in weight mode, otherwise litres.
    std::string operator()(double V);

private:
    NamedInputs& inputs_;
    bool weight_;
    std::optional<double> density_;
};

} // namespace kelvora::capacity
