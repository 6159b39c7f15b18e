#include "vertical/vertical_check.h"

#include "kernel/number_text.h"

#include <cmath>
#include <numbers>

namespace kelvora::vertical {

namespace {

using kernel::formatGeneral;

std::string course(std::size_t i) {
    return "呵呵，第 " + std::to_string(i + 1) + " 圈板的";
}

std::string checkCourses(const VerticalTank& tank) {
    if (tank.courses.empty() || tank.courses.size() > kMaxCourses) return messages::kCourseCount;
    for (std::size_t i = 0; i < tank.courses.size(); ++i) {
        const Course& c = tank.courses[i];
        if (!(c.height > 0) || !std::isfinite(c.height)) return course(i) + "高度必须大于零！";
        if (!(c.circumference > 0) || !std::isfinite(c.circumference)) return course(i) + "周长必须大于零！";
        if (!(c.thickness > 0)) return course(i) + "板厚必须大于零！";
        if (!std::isfinite(c.correction)) return course(i) + "周长修正值不是有限的数！";
        if (!(c.thickness < c.circumference / (2 * std::numbers::pi)))
            return course(i) + "板厚必须小于外半径（周长/2π）！";
        // A correction larger than the circumference itself leaves no shell.
        if (!(internalRadius(c) > 0)) return course(i) + "内半径必须大于零（请检查周长修正值）！";
    }
    return {};
}

std::string checkBottom(const VerticalTank& tank) {
    const auto& points = tank.bottom;
    if (points.empty()) return {};
    if (points.front().level != 0) return messages::kFirstBottomPoint;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const std::string point = "呵呵，第 " + std::to_string(i + 1) + " 个罐底点的";
        if (!(points[i].level > points[i - 1].level)) return point + "高度不大于上一个点！";
        if (!(points[i].litres >= points[i - 1].litres)) return point + "容积小于上一个点！";
    }
    if (!std::isfinite(points.back().litres) || !std::isfinite(points.front().litres))
        return "呵呵，罐底点的容积不是有限的数！";
    if (points.back().level > tank.courses.front().height)
        return "呵呵，罐底点不能高于第 1 圈板的顶（" + formatGeneral(tank.courses.front().height) +
               " 毫米）！";
    return {};
}

std::string checkTilt(const VerticalTank& tank) {
    if (!(tank.tilt >= 0 && tank.tilt < kMaxTilt)) return messages::kTilt;
    return {};
}

std::string checkTiltReach(const VerticalTank& tank) {
    if (tank.tilt == 0) return {};
    // Below r₁·tan θ the liquid does not yet cover the tilted bottom: only measured points
    // can say what it holds there.
    const double reach = internalRadius(tank.courses.front()) * std::tan(tank.tilt * std::numbers::pi / 180);
    if (tank.bottom.empty() || tank.bottom.back().level < reach)
        return "呵呵，立式圆筒倾斜时，罐底点必须至少到 " + kernel::RoundToStr(reach) + " 毫米（r₁·tanθ）！";
    return {};
}

std::string checkDeadwood(const VerticalTank& tank) {
    for (std::size_t i = 0; i < tank.deadwood.size(); ++i) {
        const DeadwoodBand& band = tank.deadwood[i];
        const std::string name = "呵呵，第 " + std::to_string(i + 1) + " 段罐内附件的";
        if (!(band.from < band.to)) return name + "起点高度必须低于终点高度！";
        if (!std::isfinite(band.from) || !std::isfinite(band.to) || !std::isfinite(band.litres))
            return name + "数据不是有限的数！";
    }
    return {};
}

std::string checkRoof(const VerticalTank& tank) {
    if (!tank.roof) return {};
    if (!(tank.roof->mass > 0) || !std::isfinite(tank.roof->mass)) return messages::kRoofMass;
    if (!(tank.roof->restLevel < tank.roof->floatLevel)) return messages::kRoofLevels;
    return {};
}

} // namespace

std::string checkVerticalTank(const VerticalTank& tank) {
    for (auto check : {checkCourses, checkTilt, checkBottom, checkTiltReach, checkDeadwood, checkRoof})
        if (std::string problem = check(tank); !problem.empty()) return problem;
    return {};
}

std::string checkLiquidDensity(const VerticalTank& tank, bool needed) {
    if (!tank.density) return needed ? messages::kNoDensity : std::string();
    if (!(*tank.density >= kMinLiquidDensity && *tank.density <= kMaxLiquidDensity))
        return messages::kDensityRange;
    return {};
}

std::string checkLevelInShell(const VerticalTank& tank, double level) {
    const double top = shellHeight(tank);
    if (level > top) return "呵呵，液位不能高于圈板高度之和（" + formatGeneral(top) + " 毫米）！";
    return {};
}

} // namespace kelvora::vertical
