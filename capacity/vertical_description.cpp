#include "capacity/vertical_description.h"

#include "capacity/requests.h"
#include "kernel/number_text.h"
#include "vertical/vertical_check.h"
#include "vertical/vertical_text.h"

namespace kelvora::capacity {

namespace {

std::optional<double> optionalNumber(const NamedInputs& in, std::string_view name) {
    const std::string text = in.text(name);
    if (text.find_first_not_of(" \t") == std::string::npos) return std::nullopt;
    return kernel::strToFloat(text);
}

} // namespace

std::string readVerticalTank(const NamedInputs& in, vertical::VerticalTank& tank) {
    using namespace vertical_input;
    const auto courses = vertical::splitEntries(in.text(kCourses));
    const auto bottom = vertical::splitEntries(in.text(kBottom));
    const auto deadwood = vertical::splitEntries(in.text(kDeadwood));
    for (auto [entries, shape] :
         {std::pair{&courses, &vertical::kCourseShape}, std::pair{&bottom, &vertical::kBottomShape},
          std::pair{&deadwood, &vertical::kDeadwoodShape}})
        if (std::string problem = vertical::entryShapeProblem(*entries, *shape); !problem.empty())
            return problem;
    tank.courses = vertical::readCourses(courses);
    tank.bottom = vertical::readBottom(bottom);
    tank.deadwood = vertical::readDeadwood(deadwood);
    tank.tilt = optionalNumber(in, kTilt).value_or(0);
    tank.density = optionalNumber(in, kDensity);
    tank.referenceHeight = optionalNumber(in, kReferenceHeight);
    const auto mass = optionalNumber(in, kRoofMass), floating = optionalNumber(in, kRoofFloat),
               rest = optionalNumber(in, kRoofRest);
    if (mass || floating || rest) {
        if (!mass || !floating || !rest) return messages::kVerticalRoof;
        tank.roof = vertical::FloatingRoof{*mass, *floating, *rest};
    }
    return {};
}

std::string checkVerticalDescription(const TTankDescription& d, RequestType type) {
    const vertical::VerticalTank& tank = d.vertical;
    if (std::string problem = vertical::checkVerticalTank(tank); !problem.empty()) return problem;
    if (std::string problem = vertical::checkLiquidDensity(tank, tank.roof.has_value()); !problem.empty())
        return problem;
    if (type == RequestType::Table) return vertical::checkLevelInShell(tank, d.levelTo);
    if (type == RequestType::Quick) return vertical::checkLevelInShell(tank, d.quickLevel);
    return {};
}

std::string roofZoneNote(const TTankDescription& d, double low, double high) {
    if (d.kind != TStructureKind::skVertical || !d.vertical.roof) return {};
    const auto& roof = *d.vertical.roof;
    if (high < roof.restLevel || low >= roof.floatLevel) return {};
    const double from = std::max(low, roof.restLevel);
    const std::string to = high < roof.floatLevel ? kernel::formatGeneral(high) + " mm"
                                                  : "不含 " + kernel::formatGeneral(roof.floatLevel) + " mm";
    return "浮盘起浮区：液位 " + kernel::formatGeneral(from) + " mm ~ " + to + "（浮顶落底高度 " +
           kernel::formatGeneral(roof.restLevel) + " mm，起浮高度 " + kernel::formatGeneral(roof.floatLevel) +
           " mm）";
}

std::vector<bool> roofZoneRows(const TTankDescription& d) {
    std::vector<bool> rows;
    if (d.kind != TStructureKind::skVertical || !d.vertical.roof) return rows;
    bool any = false;
    forEachTableLevel(d, [&](double level) {
        rows.push_back(vertical::inRoofZone(d.vertical, level));
        any = any || rows.back();
    });
    if (!any) rows.clear();
    return rows;
}

} // namespace kelvora::capacity
