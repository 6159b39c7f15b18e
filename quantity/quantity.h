#pragma once
// Litres at 20 °C and kilograms in air of the oil in a tank, and the delivery check at the
// tank ("卸油交接"): the arithmetic on shown values, and the requests that read the inputs
// of the "油量计算" page by component name, for the window, the batch tool and the register
// alike. The tank's litres at a level are the quick calculation's, always in litres; a
// vertical tank's add the hydrostatic increase and take off a floating roof's displacement.

#include "capacity/named_inputs.h"
#include "quantity/petroleum_tables.h"

#include <optional>
#include <string>
#include <string_view>

namespace kelvora::quantity {

// The page's inputs (container kQuantityPageName in the page input table).
namespace inputs {
inline constexpr const char* kProduct = "ProductGroup"; // pick list: 原油, 成品油, 润滑油
inline constexpr const char* kMode = "VcfMode";         // pick list: 查表, 公式
inline constexpr const char* kRho20 = "Rho20";
inline constexpr const char* kSampleDensity = "SampleDensity";
inline constexpr const char* kSampleTemperature = "SampleTemperature";
inline constexpr const char* kOilTemperature = "OilTemperature";
inline constexpr const char* kLevel = "QuantityLevel"; // empty: the quick calculation's Edit35
inline constexpr const char* kBeforeLevel = "DeliveryBeforeLevel";
inline constexpr const char* kBeforeTemperature = "DeliveryBeforeTemperature";
inline constexpr const char* kAfterLevel = "DeliveryAfterLevel";
inline constexpr const char* kAfterTemperature = "DeliveryAfterTemperature";
inline constexpr const char* kDispensed = "DeliveryDispensed";
inline constexpr const char* kTicket = "DeliveryTicket";
inline constexpr const char* kTicketMass = "DeliveryTicketMass";
inline constexpr const char* kLimit = "DeliveryLimit"; // ‰, empty: 3
} // namespace inputs

inline constexpr double kDefaultLimit = 3;

// V20 = Vt × VCF20 to 0.01 L, and the mass in air V20 / 1000 × (ρ20 − 1.1) to 0.01 kg, on
// the shown values' exact decimals, halves up.
Shown volume20(Shown litres, Shown vcf20);
Shown massInAir(Shown volume20, Shown rho20);
// Litres at 20 °C that weigh `kilograms` in air at ρ20, to 0.01 L.
Shown litresOfMass(double kilograms, Shown rho20);

struct DeliveryFigures {
    Shown before, after; // the tank's litres before and after unloading
    double beforeTemperature = 0, afterTemperature = 0;
    Shown dispensed;                          // litres dispensed while unloading, at the oil's temperature
    std::optional<double> ticket, ticketMass; // L at 20 °C, or kg
    double limit = kDefaultLimit;             // ‰
};

struct DeliveryResult {
    std::string message; // a refusal, the rest then unset
    Shown vcfBefore, vcfAfter;
    Shown before20, after20, dispensed20, received20, ticket20, difference, permille;
    long double exactPermille = 0;
    bool within = false;
};
DeliveryResult checkDelivery(Group g, Mode m, Shown rho20, const DeliveryFigures& f);

// --- The requests over the page's inputs ---

// The group and the mode chosen on the page, by the items' texts (no choice: 成品油, 查表).
Group chosenGroup(const capacity::NamedInputs& in);
Mode chosenMode(const capacity::NamedInputs& in);

// ρ20 as shown: the one given, or the sample's reading at its temperature through the
// tables; a message when neither is given or a value is out of its range. A text where a
// number belongs throws ConvertError.
struct DensityOutcome {
    std::string message;
    Shown rho20;
};
DensityOutcome standardDensity(const capacity::NamedInputs& in);

// The tank's litres at `level` (text, mm) as the quick calculation gives them, in litres
// whatever the weight option; the quick calculation's refusal as the message. For a
// vertical tank, Vt: those litres plus the hydrostatic increase at its liquid density,
// less the roof's displacement at and above its floating level; a level in "浮盘起浮区"
// and a tank without liquid density are refused.
struct LitresOutcome {
    std::string message;
    Shown litres;
};
LitresOutcome litresAtLevel(capacity::NamedInputs& in, std::string_view level);

struct QuantityOutcome {
    std::string message;
    std::string level; // the level used, as given
    Mode mode = Mode::Table;
    Shown litres, rho20, vcf20, volume20, mass;
};
QuantityOutcome computeQuantity(capacity::NamedInputs& in);

struct DeliveryOutcome {
    std::string message;
    Mode mode = Mode::Table;
    Shown rho20;
    DeliveryFigures figures;
    DeliveryResult result;
};
DeliveryOutcome computeDelivery(capacity::NamedInputs& in);

// "在允差内" or "超出允差".
std::string_view verdictText(bool within);

} // namespace kelvora::quantity
