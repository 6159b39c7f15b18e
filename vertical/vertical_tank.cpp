#include "vertical/vertical_tank.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelvora::vertical {

namespace {

using LD = long double;

constexpr LD kPi = std::numbers::pi_v<long double>;

// The last bottom point's level and litres, (0, 0) without a bottom.
std::pair<double, double> bottomTop(const VerticalTank& tank) {
    if (tank.bottom.empty()) return {0.0, 0.0};
    return {tank.bottom.back().level, tank.bottom.back().litres};
}

LD bottomLitres(const VerticalTank& tank, double level) {
    const auto& points = tank.bottom;
    if (level <= points.front().level) return points.front().litres;
    const auto above = std::upper_bound(points.begin(), points.end(), level,
                                        [](double x, const BottomPoint& p) { return x < p.level; });
    const BottomPoint& hi = *above;
    const BottomPoint& lo = *(above - 1);
    const LD share = (static_cast<LD>(level) - lo.level) / (static_cast<LD>(hi.level) - lo.level);
    return lo.litres + share * (static_cast<LD>(hi.litres) - lo.litres);
}

LD deadwoodLitres(const VerticalTank& tank, double level) {
    LD sum = 0;
    for (const auto& band : tank.deadwood) {
        if (level <= band.from) continue;
        if (level >= band.to)
            sum += band.litres;
        else
            sum +=
                band.litres * (static_cast<LD>(level) - band.from) / (static_cast<LD>(band.to) - band.from);
    }
    return sum;
}

} // namespace

double internalRadius(const Course& course) {
    return static_cast<double>((static_cast<LD>(course.circumference) + course.correction) / (2 * kPi) -
                               course.thickness);
}

double shellHeight(const VerticalTank& tank) {
    LD sum = 0;
    for (const auto& course : tank.courses)
        sum += course.height;
    return static_cast<double>(sum);
}

double tiltFactor(const VerticalTank& tank) {
    return static_cast<double>(1 / std::cos(static_cast<LD>(tank.tilt) * kPi / 180));
}

double mainLitres(const VerticalTank& tank, double level) {
    const auto [hb, vb] = bottomTop(tank);
    LD litres = 0;
    if (!tank.bottom.empty() && level <= hb) {
        litres = bottomLitres(tank, level);
    } else {
        // mm^3 → litres; the courses count only above the last bottom point.
        LD shell = 0, lo = 0;
        for (const auto& course : tank.courses) {
            const LD hi = lo + course.height;
            const LD from = std::max<LD>(lo, hb), to = std::min<LD>(hi, level);
            if (to > from) {
                const LD r = internalRadius(course);
                shell += kPi * r * r * (to - from);
            }
            if (hi >= level) break;
            lo = hi;
        }
        litres = vb + shell * 1e-6L * tiltFactor(tank);
    }
    return static_cast<double>(litres + deadwoodLitres(tank, level));
}

double hydrostaticLitres(const VerticalTank& tank, double rho, double level) {
    const LD h = static_cast<LD>(level) * 1e-3L;
    const LD k = kPi * kGravity * (static_cast<LD>(rho) - kAirDensity) / kSteelModulus;
    LD sum = 0, lo = 0;
    for (const auto& course : tank.courses) {
        const LD hi = lo + static_cast<LD>(course.height) * 1e-3L;
        if (h <= lo) break;
        const LD r = static_cast<LD>(internalRadius(course)) * 1e-3L;
        const LD delta = static_cast<LD>(course.thickness) * 1e-3L;
        const LD below = h - lo, above = std::max<LD>(h - hi, 0);
        sum += k * r * r * r / delta * (below * below - above * above);
        lo = hi;
    }
    return static_cast<double>(sum * 1000);
}

std::vector<std::array<double, 9>> millimetreLitres(const VerticalTank& tank) {
    std::vector<std::array<double, 9>> table;
    table.reserve(tank.courses.size());
    const LD factor = tiltFactor(tank);
    for (const auto& course : tank.courses) {
        const LD r = internalRadius(course);
        std::array<double, 9> row{};
        for (int k = 1; k <= 9; ++k)
            row[k - 1] = static_cast<double>(kPi * r * r * k * 1e-6L * factor);
        table.push_back(row);
    }
    return table;
}

double roofDisplacementLitres(const VerticalTank& tank) {
    if (!tank.roof || !tank.density || !(*tank.density > 0)) return 0;
    return tank.roof->mass / *tank.density * 1000;
}

bool inRoofZone(const VerticalTank& tank, double level) {
    return tank.roof && level >= tank.roof->restLevel && level < tank.roof->floatLevel;
}

} // namespace kelvora::vertical
