#include "capacity/tank_check.h"

#include "capacity/vertical_description.h"
#include "kernel/number_text.h"

#include <cmath>
#include <string_view>

namespace kelvora::capacity {

namespace {

using kernel::formatGeneral;

// "呵呵，中间圆筒的 L 必须大于零！"; !(x > 0) so that no comparison lets a NaN through.
std::string positive(std::string_view part, std::initializer_list<std::pair<const char*, double>> dims) {
    for (const auto& [name, value] : dims)
        if (!(value > 0)) return "呵呵，" + std::string(part) + "的 " + name + " 必须大于零！";
    return {};
}

std::string headProblem(const char* side, const char* reason) {
    return std::string("呵呵，") + side + "尺寸不能构成封头（" + reason + "）！";
}

// The head on a section of height D (a circle: D = W) or an ellipse, inclined tank
// included, where only the ellipsoidal head and the spherical cap take a shape and every
// other kind only lengthens the shell by its h.
std::string checkHead(const THeadSpec& s, const char* side, double D, bool circle, bool exact) {
    if (!s.kind) return {};
    const HeadDims& h = s.dims;
    if (!(h.h >= 0)) return headProblem(side, "直边 h 不能小于零");
    const double depth = h.H - h.h;
    switch (*s.kind) {
    case THeadKind::hkEllipsoidal:
        if (!(depth > 0)) return headProblem(side, "深度 H - h 必须大于零");
        break;
    case THeadKind::hkSphericalCap:
        if (!(h.H > 0)) return headProblem(side, "球缺高度 H 必须大于零");
        break;
    case THeadKind::hkCone:
        if (circle && !(depth > 0)) return headProblem(side, "深度 H2 - h 必须大于零");
        break;
    case THeadKind::hkFrustum:
        if (!circle) break;
        if (!(depth > 0)) return headProblem(side, "深度 H - h 必须大于零");
        if (!(h.D2 >= 0 && h.D2 < D)) return headProblem(side, "D2 必须小于筒体直径");
        break;
    case THeadKind::hkNonStandardDished:
        if (!circle) break;
        if (!(depth > 0)) return headProblem(side, "深度 H - h 必须大于零");
        if (!(h.Ri >= D / 2)) return headProblem(side, "Ri 不能小于筒体直径的一半");
        // The formulas scale an ellipsoidal head by the ratio, which needs the knuckle joining
        // a crown of this radius to the shell at this depth; exact geometry checks its own.
        if (!exact && (!(s.dishedRatio > 0) || !std::isfinite(s.dishedRatio)))
            return headProblem(side, "Ri 与深度 H - h 不相容");
        break;
    case THeadKind::hkStandardDished:
    case THeadKind::hkHemispherical:
    case THeadKind::hkFlat:
        break;
    }
    return {};
}

std::string checkShellAndHeads(const TTankDescription& d) {
    std::string problem;
    bool circle = false;
    double D = 0;
    switch (d.kind) {
    case TStructureKind::skHorizontal:
        circle = d.section == TSectionShape::ssCircle;
        problem = circle ? positive("中间圆筒", {{"D", d.D}, {"L", d.L}})
                         : positive("中间圆筒", {{"B", d.B}, {"A", d.A}, {"L", d.L}});
        D = circle ? d.D : d.A;
        break;
    case TStructureKind::skInclined:
        problem = positive("倾斜圆筒", {{"B", d.B}, {"A", d.A}, {"L", d.L}});
        // From 45° on the level conversion yields no usable level (80° made hundreds of
        // thousands of negative litres); a negative angle would be read as a level tank.
        if (problem.empty() && !(d.alpha >= 0 && d.alpha < 45)) problem = messages::kInclinedAngle;
        D = d.A;
        break;
    case TStructureKind::skSphere:
        return d.D > 0 ? std::string() : messages::kSphereDiameter;
    case TStructureKind::skCalibration:
        return checkCalibrationPoints(d);
    case TStructureKind::skVertical:
        return {}; // checkVerticalDescription, with the request's levels
    }
    if (problem.empty()) problem = checkHead(d.left, "左封头", D, circle, d.exactGeometry);
    if (problem.empty()) problem = checkHead(d.right, "右封头", D, circle, d.exactGeometry);
    return problem;
}

} // namespace

std::string checkCalibrationPoints(const TTankDescription& d) {
    const std::size_t n = std::min(d.pointLevels.size(), d.pointVolumes.size());
    for (std::size_t i = 1; i < n; ++i) {
        const std::string point = "呵呵，第 " + std::to_string(i + 1) + " 个标定点的";
        if (!(d.pointLevels[i] > d.pointLevels[i - 1])) return point + "高度不大于上一个点！";
        if (!(d.pointVolumes[i] >= d.pointVolumes[i - 1])) return point + "容积小于上一个点！";
    }
    return {};
}

std::string checkTank(const TTankDescription& d, RequestType type) {
    if (std::string problem = checkShellAndHeads(d); !problem.empty()) return problem;
    if (d.kind == TStructureKind::skVertical)
        if (std::string problem = checkVerticalDescription(d, type); !problem.empty()) return problem;
    if (type == RequestType::Table) {
        if (!(d.levelFrom >= 0)) return messages::kFirstLevelNegative;
        if (d.levelFrom > d.levelTo) return messages::kFirstLevelAboveLast;
    } else if (type == RequestType::Quick) {
        if (!(d.quickLevel >= 0)) return messages::kQuickLevelNegative;
    }
    return {};
}

std::string levelFailedMessage(const TTankDescription& d, double x, bool negative) {
    const std::string at = "呵呵，液位 " + formatGeneral(x) + " 毫米";
    if (!negative) return at + "处的容积算不出来（尺寸超出了公式能算的范围）！";
    if (d.kind == TStructureKind::skCalibration && !d.pointLevels.empty() && x < d.pointLevels.front())
        return at + "低于第一个标定点，外推的容积为负数！";
    return at + "处的容积为负数，请检查尺寸和封头的加减！";
}

std::string extrapolationNote(const TTankDescription& d, double low, double high) {
    if (d.kind == TStructureKind::skVertical) return roofZoneNote(d, low, high);
    if (d.kind != TStructureKind::skCalibration || d.pointLevels.empty()) return {};
    const double first = d.pointLevels.front(), last = d.pointLevels.back();
    auto span = [](double a, double b) {
        return a == b ? formatGeneral(a) + " mm" : formatGeneral(a) + " ~ " + formatGeneral(b) + " mm";
    };
    std::string outside;
    if (low < first) outside = span(low, std::fmin(high, first));
    if (high > last) outside += (outside.empty() ? "" : "、") + span(std::fmax(low, last), high);
    if (outside.empty()) return {};
    return "液位 " + outside + " 超出标定点范围（" + span(first, last) + "），按外推计算";
}

} // namespace kelvora::capacity
