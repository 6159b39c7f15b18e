#include "capacity/uncertainty.h"

#include "capacity/display.h"
#include "capacity/full_volume.h"
#include "capacity/head_components.h"
#include "capacity/input_error.h"
#include "capacity/level_for.h"
#include "capacity/requests.h"
#include "capacity/vertical_description.h"
#include "capacity/volume.h"
#include "kernel/number_text.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <cstdio>
#include <limits>

namespace kelvora::capacity {

namespace {

using LD = long double;

// One measured quantity of the description and its standard uncertainty.
struct Quantity {
    std::function<double&(TTankDescription&)> field;
    double u;
    bool positive; // a dimension: it never reaches 0
};

std::vector<Quantity> quantities(const TTankDescription& d, const StandardUncertainties& u) {
    std::vector<Quantity> out;
    auto add = [&](std::function<double&(TTankDescription&)> field, double ui, bool positive) {
        if (ui > 0) out.push_back({std::move(field), ui, positive});
    };
    switch (d.kind) {
    case TStructureKind::skHorizontal:
        if (d.section == TSectionShape::ssCircle) {
            add([](TTankDescription& t) -> double& { return t.D; }, u.section, true);
        } else {
            add([](TTankDescription& t) -> double& { return t.A; }, u.section, true);
            add([](TTankDescription& t) -> double& { return t.B; }, u.section, true);
        }
        add([](TTankDescription& t) -> double& { return t.L; }, u.length, true);
        break;
    case TStructureKind::skInclined:
        add([](TTankDescription& t) -> double& { return t.A; }, u.section, true);
        add([](TTankDescription& t) -> double& { return t.B; }, u.section, true);
        add([](TTankDescription& t) -> double& { return t.L; }, u.length, true);
        add([](TTankDescription& t) -> double& { return t.alpha; }, u.angle, true);
        add([](TTankDescription& t) -> double& { return t.beta; }, u.angle, false);
        add([](TTankDescription& t) -> double& { return t.F; }, u.F, false);
        break;
    case TStructureKind::skSphere:
        add([](TTankDescription& t) -> double& { return t.D; }, u.section, true);
        break;
    case TStructureKind::skVertical:
        break; // refused by UncertaintyTable
    case TStructureKind::skCalibration:
        for (std::size_t i = 0; i < d.pointLevels.size(); ++i) {
            add([i](TTankDescription& t) -> double& { return t.pointLevels[i]; }, u.pointLevel, false);
            add([i](TTankDescription& t) -> double& { return t.pointVolumes[i]; },
                u.pointVolume / 100 * std::fabs(d.pointVolumes[i]), false);
        }
        break;
    }
    // The heads count on the shells they close; a sphere and measured points have none.
    if (d.kind == TStructureKind::skHorizontal || d.kind == TStructureKind::skInclined) {
        for (THeadSpec TTankDescription::*side : {&TTankDescription::left, &TTankDescription::right}) {
            const THeadSpec& chosen = d.*side;
            if (!chosen.kind) continue;
            for (const auto& head : headComponents()) {
                if (head.kind != *chosen.kind) continue;
                for (const auto& field : head.left.fieldList()) {
                    auto dim = field.dim;
                    add([side, dim](TTankDescription& t) -> double& { return (t.*side).dims.*dim; }, u.head, true);
                }
            }
        }
    }
    return out;
}

// The non-standard dished head's ratio follows its own dimensions and the diameter.
bool prepare(TTankDescription& d) {
    try {
        for (THeadSpec* side : {&d.left, &d.right})
            if (side->kind == THeadKind::hkNonStandardDished) side->dishedRatio = kernel::dishedRatio(side->dims, d.D);
    } catch (...) {
        return false;
    }
    return true;
}

// The level stays inside the tank: measured points extrapolate, so only level 0 bounds them.
// Above the top level only where the tank is not full there (an inclined tank's top gauge
// reading), whose volume goes on rising past it.
bool inside(const TTankDescription& d, double x, bool aboveTop) {
    if (d.kind == TStructureKind::skCalibration) return x >= 0;
    const auto range = levelRange(d);
    return range && x >= range->bottom && (aboveTop || x <= range->top);
}

// The volume, or NaN where the perturbed tank or level cannot be evaluated.
double volumeOrNaN(const TTankDescription& d, double x, bool aboveTop) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    if (!inside(d, x, aboveTop)) return nan;
    return VolumeAtLevel(d, x, nan);
}

// Central where both neighbours are inside, otherwise one-sided; 0 where neither is.
template <typename Volume> double sensitivity(Volume&& volume, double value, double at, double step) {
    const double below = volume(value - step), above = volume(value + step);
    if (!std::isnan(below) && !std::isnan(above)) return static_cast<double>((static_cast<LD>(above) - below) / (2 * step));
    if (!std::isnan(above)) return static_cast<double>((static_cast<LD>(above) - at) / step);
    if (!std::isnan(below)) return static_cast<double>((static_cast<LD>(at) - below) / step);
    return 0;
}

double stepFor(double value) { return 1e-5 * std::max(std::fabs(value), 1.0); }

} // namespace

bool StandardUncertainties::any() const {
    return section > 0 || length > 0 || head > 0 || angle > 0 || F > 0 || level > 0 || pointVolume > 0 || pointLevel > 0;
}

double volumeUncertainty(const TTankDescription& d, double x, const StandardUncertainties& u) {
    const double at = VolumeAtLevel(d, x);
    // A full tank's top row: a section measured larger or smaller moves the top level with
    // it, rather than leave a sliver above the liquid or a level outside the tank, and
    // differences there are one-sided. Any other row, an inclined tank's top gauge reading
    // included, gets central differences.
    const bool full = fullAtLevel(d, x, at);
    LD variance = 0;
    if (u.level > 0) {
        const double c =
            sensitivity([&](double level) { return volumeOrNaN(d, level, !full); }, x, at, stepFor(x));
        variance += static_cast<LD>(c) * c * u.level * u.level;
    }
    auto levelIn = [&](const TTankDescription& t) {
        if (!full) return x;
        const auto top = levelRange(t);
        return top ? top->top : x;
    };
    TTankDescription perturbed = d;
    for (const Quantity& q : quantities(d, u)) {
        double& field = q.field(perturbed);
        const double value = field;
        auto shifted = [&](double v) {
            field = v;
            const bool ok = (!q.positive || v > 0) && prepare(perturbed);
            const double V = ok ? volumeOrNaN(perturbed, levelIn(perturbed), !full)
                                : std::numeric_limits<double>::quiet_NaN();
            field = value;
            return V;
        };
        const double c = sensitivity(shifted, value, at, stepFor(value));
        prepare(perturbed);
        variance += static_cast<LD>(c) * c * q.u * q.u;
    }
    return static_cast<double>(std::sqrt(variance));
}

std::optional<double> RowUncertainty::relative() const {
    if (value == 0) return std::nullopt;
    return U / std::fabs(value) * 100;
}

std::vector<RowUncertainty> tableUncertainty(const TTankDescription& d, const StandardUncertainties& u, double scale) {
    std::vector<RowUncertainty> rows;
    forEachTableLevel(d, [&](double x) {
        const double V = VolumeAtLevel(d, x);
        rows.push_back({x, V, V * scale, kCoverageFactor * volumeUncertainty(d, x, u) * scale});
    });
    return rows;
}

std::optional<UncertaintySummary> summarizeUncertainty(const std::vector<RowUncertainty>& rows) {
    if (rows.empty()) return std::nullopt;
    const double threshold = 0.1 * rows.back().value;
    std::optional<UncertaintySummary> summary;
    for (const RowUncertainty& row : rows) {
        const auto relative = row.relative();
        if (!relative || row.value < threshold) continue;
        if (!summary) summary = UncertaintySummary{*relative, row.level};
        summary->maxRelative = std::max(summary->maxRelative, *relative);
    }
    return summary;
}

std::string uncertaintyStatement(const UncertaintySummary& summary) {
    // A bound: the percentage is rounded up to the hundredth it is stated in.
    const double bound = std::ceil(summary.maxRelative * 100 * (1 - 1e-12)) / 100;
    char percent[32];
    std::snprintf(percent, sizeof percent, "%.2f", bound);
    return std::string("扩展不确定度 U_rel ≤ ") + percent + " %（k = 2），液位 " + levelText(summary.fromLevel) + " cm 以上";
}

StandardUncertainties readUncertainties(const NamedInputs& inputs) {
    auto read = [&](std::string_view name) {
        const std::string text = inputs.text(name);
        return text.empty() ? 0.0 : convertInput(name, 0, [&] { return kernel::strToFloat(text); });
    };
    return {read("UncertaintySection"), read("UncertaintyLength"), read("UncertaintyHead"), read("UncertaintyAngle"),
            read("UncertaintyF"),       read("UncertaintyLevel"),  read("UncertaintyPointVolume"),
            read("UncertaintyPointLevel")};
}

std::string uncertaintyRefusal(const TTankDescription& d, const StandardUncertainties& u) {
    auto larger = [](double ui, double dimension) { return ui > 0 && ui > dimension; };
    auto refusal = [](const char* uncertainty, const char* dimension) {
        return std::string("呵呵，") + uncertainty + "大于" + dimension + "本身，请检查！";
    };
    const bool shell = d.kind == TStructureKind::skHorizontal || d.kind == TStructureKind::skInclined;
    if (d.kind == TStructureKind::skCalibration) {
        if (u.pointVolume > 100) return refusal("标定点容积的相对标准不确定度", "100 %");
        if (!d.pointLevels.empty() &&
            larger(u.pointLevel, *std::max_element(d.pointLevels.begin(), d.pointLevels.end())))
            return refusal("标定点高度的标准不确定度", "最高标定点的高度");
        return {};
    }
    const bool circle = d.kind == TStructureKind::skSphere ||
                        (d.kind == TStructureKind::skHorizontal && d.section == TSectionShape::ssCircle);
    if (larger(u.section, circle ? d.D : std::min(d.A, d.B)))
        return refusal("截面尺寸的标准不确定度", "截面尺寸");
    if (shell && larger(u.length, d.L)) return refusal("长度L的标准不确定度", "长度L");
    if (d.kind == TStructureKind::skInclined && larger(u.F, d.L)) return refusal("F的标准不确定度", "长度L");
    if (const auto range = levelRange(d); range && larger(u.level, range->top))
        return refusal("液位读数的标准不确定度", "罐的高度");
    if (shell && u.head > 0) {
        // Against the largest dimension of the chosen heads: a head is never smaller than that.
        double largest = 0;
        for (const THeadSpec* side : {&d.left, &d.right})
            if (side->kind)
                for (const auto& head : headComponents())
                    if (head.kind == *side->kind)
                        for (const auto& field : head.left.fieldList())
                            largest = std::max(largest, side->dims.*field.dim);
        if (largest > 0 && larger(u.head, largest)) return refusal("封头尺寸的标准不确定度", "封头尺寸");
    }
    return {};
}

RequestOutcome UncertaintyTable(NamedInputs& inputs, std::vector<RowUncertainty>& rows) {
    const StandardUncertainties u = readUncertainties(inputs);
    for (double value : {u.section, u.length, u.head, u.angle, u.F, u.level, u.pointVolume, u.pointLevel})
        if (value < 0) return {messages::kNegativeUncertainty};
    if (Jgxs(inputs) == TStructureKind::skVertical) return {messages::kVerticalNoUncertainty};
    if (!u.any()) return {messages::kNoUncertainty};
    ReadResult read = ReadTankDescription(inputs, RequestType::Table);
    if (!read.description) return {read.message};
    if (std::string refused = uncertaintyRefusal(*read.description, u); !refused.empty()) return {refused};
    std::size_t expected = 0;
    if (auto refused = checkTableLevels(*read.description, expected); refused.stopped()) return refused;
    const double scale = inputs.checked("CheckBox1") ? MiDu(inputs) : 1000;
    rows = tableUncertainty(*read.description, u, scale);
    return {};
}

std::string uncertaintyLine(const RowUncertainty& row, const std::string& valueText) {
    char U[64], relative[64] = "";
    std::snprintf(U, sizeof U, "%.2f", row.U);
    if (const auto r = row.relative()) std::snprintf(relative, sizeof relative, "%.3f", *r);
    return levelText(row.level) + "," + valueText + "," + U + "," + relative;
}

} // namespace kelvora::capacity
