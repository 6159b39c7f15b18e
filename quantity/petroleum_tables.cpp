#include "quantity/petroleum_tables.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace kelvora::quantity {

namespace {

constexpr long double kPow10[] = {1.0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L, 1e9L};

// The rows of both tables are every 0.25 °C; a temperature halfway between two rows
// takes the higher. Quarters are exact in binary, so the halfway case is seen exactly.
double nearestRow(double t) {
    return std::floor(t * 4 + 0.5) / 4;
}

std::string trimmedNumber(double x) {
    std::string s = std::to_string(x);
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

} // namespace

std::optional<Group> groupFromWord(std::string_view word) {
    if (word == "A" || word == "原油") return Group::A;
    if (word == "B" || word == "成品油") return Group::B;
    if (word == "D" || word == "润滑油") return Group::D;
    return std::nullopt;
}

std::string_view groupLetter(Group g) {
    switch (g) {
    case Group::A:
        return "A";
    case Group::B:
        return "B";
    case Group::D:
        return "D";
    }
    return {};
}

std::string_view groupName(Group g) {
    switch (g) {
    case Group::A:
        return "原油";
    case Group::B:
        return "成品油";
    case Group::D:
        return "润滑油";
    }
    return {};
}

std::string_view modeName(Mode m) {
    return m == Mode::Table ? "查表" : "公式";
}

DensityRange densityRange(Group g) {
    switch (g) {
    case Group::A:
        return {610, 1075};
    case Group::B:
        return {653, 1075};
    case Group::D:
        return {800, 1164};
    }
    return {0, 0};
}

double alpha15(Group g, double rho15) {
    const double sq = rho15 * rho15;
    switch (g) {
    case Group::A:
        return 613.9723 / sq;
    case Group::D:
        return 0.6278 / rho15;
    case Group::B:
        if (rho15 < 770.5) return 346.4228 / sq + 0.4388 / rho15;
        if (rho15 < 787.5) return -0.00336312 + 2680.3206 / sq;
        if (rho15 < 838.5) return 594.5418 / sq;
        return 186.9696 / sq + 0.4862 / rho15;
    }
    return 0;
}

double ctl15(Group g, double rho15, double t) {
    const double a = alpha15(g, rho15);
    const double dt = t - 15;
    return std::exp(-a * dt * (1 + 0.8 * a * dt));
}

double hydrometerDensity(double reading, double t) {
    const double d = t - 20;
    return reading * (1 - 23e-6 * d - 2e-8 * d * d);
}

Rho15 solveRho15(Group g, double numerator, double t) {
    double before = numerator, x = numerator;
    for (int round = 1; round <= 100; ++round) {
        const double next = numerator / ctl15(g, x, t);
        if (std::fabs(next - x) < 1e-9) return {next, round, false};
        // Two bands of group B whose coefficients do not meet at their edge: each value
        // sends the next into the other band, and the values repeat two by two.
        if (round > 1 && std::fabs(next - before) < 1e-9) return {(x + next) / 2, round, true};
        before = x;
        x = next;
    }
    return {(before + x) / 2, 100, true};
}

double rho20FromReading(Group g, double reading, double t) {
    const double rho15 = solveRho15(g, hydrometerDensity(reading, t), t).value;
    return rho15 * ctl15(g, rho15, 20);
}

double vcf20FromRho20(Group g, double rho20, double t) {
    const double rho15 = solveRho15(g, rho20, 20).value;
    return ctl15(g, rho15, t) / ctl15(g, rho15, 20);
}

double Shown::value() const {
    return static_cast<double>(units / kPow10[decimals]);
}

std::string Shown::text() const {
    const std::uint64_t magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units) : units;
    std::string digits = std::to_string(magnitude);
    if (decimals > 0) {
        if (digits.size() <= static_cast<std::size_t>(decimals))
            digits.insert(0, decimals + 1 - digits.size(), '0');
        digits.insert(digits.size() - decimals, ".");
    }
    return units < 0 ? "-" + digits : digits;
}

Shown roundShown(long double x, int decimals) {
    const long double scaled = x * kPow10[decimals];
    const long double r = scaled < 0 ? -std::floor(-scaled + 0.5L) : std::floor(scaled + 0.5L);
    return {static_cast<std::int64_t>(r), decimals};
}

Shown rho20Shown(Group g, Mode m, double reading, double t) {
    if (m == Mode::Formula) return roundShown(rho20FromReading(g, reading, t), 4);
    const double row = nearestRow(t);
    const double low = 2 * std::floor(reading / 2);
    const Shown left = roundShown(rho20FromReading(g, low, row), 1);
    if (reading == low) return left;
    const Shown right = roundShown(rho20FromReading(g, low + 2, row), 1);
    // On the cells' decimal values, in tenths: a reading of a few decimals lands a half
    // within far less than 1e-9 of a tenth, so the half is taken as the half it stands for.
    const long double tenths =
        left.units + static_cast<long double>(reading - low) / 2 * (right.units - left.units);
    return {static_cast<std::int64_t>(std::floor(tenths + 0.5L + 1e-9L)), 1};
}

Shown vcf20Shown(Group g, Mode m, double rho20, double t) {
    if (m == Mode::Formula) return roundShown(vcf20FromRho20(g, rho20, t), 6);
    const double column = 2 * std::floor(rho20 / 2 + 0.5);
    return roundShown(vcf20FromRho20(g, column, nearestRow(t)), 4);
}

std::string densityRefusal(Group g, double rho, std::string_view what) {
    const DensityRange r = densityRange(g);
    if (rho >= r.low && rho <= r.high) return {};
    return "呵呵，" + std::string(groupName(g)) + "的" + std::string(what) + "须在" + trimmedNumber(r.low) +
           "到" + trimmedNumber(r.high) + " kg/m3之间！";
}

std::string temperatureRefusal(double t, std::string_view what) {
    if (t >= kMinTemperature && t <= kMaxTemperature) return {};
    return "呵呵，" + std::string(what) + "须在-18到90 ℃之间！";
}

} // namespace kelvora::quantity
