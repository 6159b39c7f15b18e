#pragma once
// The batch tool's 20 °C quantities: --rho20 and --vcf20 on their own, --quantity and
// --delivery over a tank's inputs, and their lines of the usage text.

#include "capacity/named_inputs.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace kelvora::cli {

// The usage text's part for the options below (Chinese).
std::string_view quantityUsageText();

// True for --rho20 and --vcf20, which take the whole command line.
bool isStandardDensityOption(std::string_view arg);

// kelvora-table --rho20|--vcf20 PRODUCT DENSITY TEMPERATURE [--formula]: one line, ρ20 or
// VCF20 with the decimals of the mode. An unknown product word or a missing argument is
// a wrong command line, a text where a number belongs an error report, a value out of
// range a refusal.
int runStandardDensity(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

enum class QuantityRequest { Quantity, Delivery };

// --quantity or --delivery over `inputs` already set from the tank and the command line;
// `formula` (--formula) chooses the formula mode as vcf.mode=formula does. Prints the
// lines, or with --delivery and `pdf` writes the A4 record there and prints 保存成功！; a
// refusal goes to `err` (kValidation). Other failures throw.
int runQuantityRequest(capacity::NamedInputs& inputs, QuantityRequest request, bool formula,
                       const std::optional<std::string>& pdf, std::ostream& out, std::ostream& err);

} // namespace kelvora::cli
