#pragma once
// The table's measurement uncertainty, by the law of propagation for uncorrelated inputs:
// u(V)² = Σ (∂V/∂xᵢ)² u(xᵢ)², each sensitivity a central difference through VolumeAtLevel,
// so it follows the method the table uses (required formulas or exact geometry). The
// expanded uncertainty is U = 2u (k = 2).

#include "capacity/named_inputs.h"
#include "capacity/requests.h"
#include "capacity/tank_description.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvora::capacity {

// Standard uncertainties (k = 1) of the measured quantities; 0 where not given.
struct StandardUncertainties {
    double section = 0;     // mm: D, or A and B each, or the sphere's diameter
    double length = 0;      // mm: L
    double head = 0;        // mm: every dimension of each chosen head
    double angle = 0;       // degrees: α and β each
    double F = 0;           // mm: the gauge's distance (inclined tank)
    double level = 0;       // mm: the level reading
    double pointVolume = 0; // percent of each calibration point's volume
    double pointLevel = 0;  // mm: each calibration point's level
    bool any() const;
};

inline constexpr double kCoverageFactor = 2;

// The standard uncertainty u(V), in cubic metres, of VolumeAtLevel(d, x). Differences are
// one-sided only where a central one would leave the tank: at level 0, and where the tank
// is full at the level (a horizontal tank or a sphere at its top level, whose top moves
// with a section measured larger or smaller). An inclined tank's top gauge reading is not
// full and gets central differences like any row.
double volumeUncertainty(const TTankDescription& d, double x, const StandardUncertainties& u);

// The expanded uncertainty of each table level, in the table's unit (`scale` per cubic
// metre: 1000 for litres, the density for kilograms).
struct RowUncertainty {
    double level = 0;  // mm
    double volume = 0; // m³, as VolumeAtLevel gives it
    double value = 0;  // the unrounded value in the table's unit
    double U = 0;     // expanded, k = 2, in the table's unit
    // U / value in percent; none where the value is 0.
    std::optional<double> relative() const;
};
std::vector<RowUncertainty> tableUncertainty(const TTankDescription& d, const StandardUncertainties& u, double scale);

// The header's statement: the largest U/V over the rows holding at least 10 % of the value
// at the top row, and the lowest level of those rows. None when no row qualifies.
struct UncertaintySummary {
    double maxRelative = 0; // percent
    double fromLevel = 0;   // mm
};
std::optional<UncertaintySummary> summarizeUncertainty(const std::vector<RowUncertainty>& rows);

// "扩展不确定度 U_rel ≤ x.xx %（k = 2），液位 y cm 以上"
std::string uncertaintyStatement(const UncertaintySummary& summary);

namespace messages {
inline constexpr const char* kNoUncertainty = "呵呵，还没输入任何测量不确定度！";
inline constexpr const char* kNegativeUncertainty = "呵呵，测量不确定度不能是负数！";
} // namespace messages

// The refusal of an uncertainty larger than the dimension it is of: the section, L, F
// (against L), the level reading (against the top level), the largest dimension of the
// chosen heads, the highest calibration point's level, or a point volume's 100 %; "" when
// none is.
std::string uncertaintyRefusal(const TTankDescription& d, const StandardUncertainties& u);

// The page's inputs UncertaintySection … UncertaintyPointLevel; an empty field is 0. A field
// that is not a number throws ConvertError.
StandardUncertainties readUncertainties(const NamedInputs& inputs);

// The table request with its uncertainty: the table's description, levels and checks, then
// the expanded uncertainty of every row in litres, or kilograms in weight mode. Stops with a
// message when no uncertainty is given or one is negative.
RequestOutcome UncertaintyTable(NamedInputs& inputs, std::vector<RowUncertainty>& rows);

// "level,value,U,U_rel": the level and the value as the table's row, U to two decimals in
// the table's unit, U/V in percent to three decimals, empty where the value is 0.
std::string uncertaintyLine(const RowUncertainty& row, const std::string& valueText);

} // namespace kelvora::capacity
