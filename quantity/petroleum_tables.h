#pragma once
// The density at 20 °C (ρ20) and the volume correction factor to 20 °C (VCF20) of crude
// oil (group A), refined products (group B) and lubricating oils (group D), from the 1980
// petroleum measurement tables' formulas referred to 20 °C, in the two ways a station
// counts: "查表" as the printed tables are read, "公式" at full precision. Plain functions
// of numbers: no inputs, no window.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvora::quantity {

enum class Group { A, B, D };
enum class Mode { Table, Formula };

// "A", "B", "D" or "原油", "成品油", "润滑油"; nullopt for any other word.
std::optional<Group> groupFromWord(std::string_view word);
std::string_view groupLetter(Group g); // "A"
std::string_view groupName(Group g);   // "原油"
std::string_view modeName(Mode m);     // "查表", "公式"

// The densities each group's tables cover, kg/m3, and the temperatures, °C.
struct DensityRange {
    double low, high;
};
DensityRange densityRange(Group g);
inline constexpr double kMinTemperature = -18, kMaxTemperature = 90;

// The formulas, at full precision.
double alpha15(Group g, double rho15);
double ctl15(Group g, double rho15, double t);
// ρ′ read on a soda-lime glass hydrometer at t′, as the density at t′.
double hydrometerDensity(double reading, double t);

// The solution of ρ15 = numerator / CTL15(ρ15, t) by x ← f(x) from x = numerator: the
// last value once two successive ones differ by less than 1e-9 kg/m3; where the values
// keep alternating between two bands of group B, or after 100 rounds, the mean of the
// last two values.
struct Rho15 {
    double value = 0;
    int rounds = 0;
    bool alternated = false;
};
Rho15 solveRho15(Group g, double numerator, double t);

double rho20FromReading(Group g, double reading, double t);
double vcf20FromRho20(Group g, double rho20, double t);

// A number as shown: units of 10^-decimals.
struct Shown {
    std::int64_t units = 0;
    int decimals = 0;
    double value() const;
    std::string text() const;
};
// x to `decimals` places, halves up (away from zero for a negative x).
Shown roundShown(long double x, int decimals);

// ρ20 of a reading at t′ as shown: the table's cells interpolated ("查表", 1 decimal) or
// the formula (4 decimals). Neither checks its range: see densityRefusal.
Shown rho20Shown(Group g, Mode m, double reading, double t);
// VCF20 at t of ρ20 as shown: the nearest cell (4 decimals) or the formula (6 decimals).
Shown vcf20Shown(Group g, Mode m, double rho20, double t);

// The refusals: "" when the value may be used.
std::string densityRefusal(Group g, double rho, std::string_view what);
std::string temperatureRefusal(double t, std::string_view what);

namespace messages {
inline constexpr const char* kNoDensity = "呵呵，请输入标准密度ρ20，或者试样的视密度和试验温度！";
inline constexpr const char* kNoOilTemperature = "呵呵，请输入油温！";
inline constexpr const char* kNoLevel = "呵呵，请输入液位！";
inline constexpr const char* kBadTicket = "呵呵，交接单的数量必须大于零！";
inline constexpr const char* kNoTicket = "呵呵，请输入交接单的数量（20 ℃体积或质量）！";
inline constexpr const char* kTwoTickets = "呵呵，交接单的数量只填一个：20 ℃体积或质量！";
inline constexpr const char* kBadLimit = "呵呵，允差不能小于零！";
inline constexpr const char* kBadDispensed = "呵呵，卸油期间的付油量不能小于零！";
} // namespace messages

} // namespace kelvora::quantity
