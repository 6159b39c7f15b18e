#pragma once
// The vertical cylindrical tank ("立式圆筒") from its strapping: the courses (圈板) from the
// bottom up, the tilt, the measured bottom, the deadwood and a floating roof; and its
// three tables: the main table, the millimetre table (小数表) and the increase of capacity
// under the liquid's pressure (静压力容量增大值表). Levels are millimetres above the gauge's
// datum, the bottom's height on the tank's axis; volumes are litres.

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace kelvora::vertical {

struct Course {
    double height = 0;        // vertical height, mm
    double circumference = 0; // external, the mean of the straps on the course, mm
    double thickness = 0;     // plate, mm
    double correction = 0;    // signed sum of the tape's corrections to the circumference, mm
};

struct BottomPoint {
    double level = 0, litres = 0;
};

// Positive litres fill with the tank (a manhole, a sump), negative ones are taken by
// objects inside it (pipes, a heating coil); spread linearly over from … to.
struct DeadwoodBand {
    double from = 0, to = 0, litres = 0;
};

struct FloatingRoof {
    double mass = 0;       // kg
    double floatLevel = 0; // mm, the level at which it floats
    double restLevel = 0;  // mm, the level at which it rests on its legs
};

struct VerticalTank {
    std::vector<Course> courses;
    double tilt = 0; // degrees
    std::vector<BottomPoint> bottom;
    std::vector<DeadwoodBand> deadwood;
    std::optional<FloatingRoof> roof;
    std::optional<double> density;         // kg/m^3
    std::optional<double> referenceHeight; // 参照高度, mm
};

inline constexpr std::size_t kMaxCourses = 50;
inline constexpr double kMaxTilt = 5;             // degrees, exclusive
inline constexpr double kSteelModulus = 2.06e11;  // Pa
inline constexpr double kGravity = 9.80665;       // m/s^2
inline constexpr double kAirDensity = 1.1;        // kg/m^3
inline constexpr double kMinLiquidDensity = 100;  // kg/m^3
inline constexpr double kMaxLiquidDensity = 3000; // kg/m^3

// (circumference + correction)/(2π) − thickness, mm.
double internalRadius(const Course& course);

// The sum of the course heights, mm: the highest level of a table.
double shellHeight(const VerticalTank& tank);

// 1/cos θ: a horizontal section of the tilted shell is an ellipse this much larger than
// the course's circle, wherever the liquid covers the whole bottom.
double tiltFactor(const VerticalTank& tank);

// The main table's volume at `level`: the bottom points (interpolated linearly up to the
// last one), the courses' sections above the last point times the tilt factor, and the
// deadwood below the level. The roof is never subtracted. For a checked tank.
double mainLitres(const VerticalTank& tank, double level);

// ΔV at `level` for a liquid of density rho (kg/m^3): each course widens by its hoop
// strain under the liquid's pressure, π g (ρ − 1.1) r³/(E δ) × [(h − z_lo)₊² − (h − z_hi)₊²]
// in metres, as litres; without the tilt factor.
double hydrostaticLitres(const VerticalTank& tank, double rho, double level);

// The litres in 1 … 9 mm of each course, π r² k / cos θ.
std::vector<std::array<double, 9>> millimetreLitres(const VerticalTank& tank);

// The roof's displacement, mass/ρ, in litres; 0 without a roof or a density.
double roofDisplacementLitres(const VerticalTank& tank);

// Whether `level` lies where the roof is neither resting nor floating: from the rest
// level up to, not including, the floating level ("浮盘起浮区").
bool inRoofZone(const VerticalTank& tank, double level);

} // namespace kelvora::vertical
