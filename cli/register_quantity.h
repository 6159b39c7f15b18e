#pragma once
// The 20 °C quantities of a register's tanks (a stock-take in one command): when the
// heading names an input of the quantity (product, oil.temperature, rho20, ...), every
// tank's V20 and mass join its summary line, and a last line "合计" holds their sums.

#include "capacity/named_inputs.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvora::cli {

// Whether `heading` names an input of the "油量计算" page, by readable or component name.
bool namesQuantityInputs(const std::vector<std::string>& heading);

struct QuantityCells {
    std::string volume20, mass;                 // empty when refused
    long long volume20Units = 0, massUnits = 0; // hundredths
};

// The tank's quantity over its inputs; a refusal or a number that is no number sets
// `status` to "refused" and adds the message to `message`.
QuantityCells registerQuantity(capacity::NamedInputs& inputs, std::string& status, std::string& message);

// `summary` (the CSV text, one line per tank after the heading) with the columns volume20
// and mass and the line "合计"; `cells` in the order of the tanks, nothing for a tank
// whose inputs were refused.
std::string withQuantityColumns(const std::string& summary,
                                const std::vector<std::optional<QuantityCells>>& cells);

} // namespace kelvora::cli
