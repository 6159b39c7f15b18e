#include "output/vertical_sheets.h"

#include "capacity/vertical_tables.h"
#include "kernel/number_text.h"
#include "vertical/vertical_check.h"

namespace kelvora::output {

VerticalSheets verticalSheets(const capacity::TTankDescription& d) {
    VerticalSheets result;
    if (d.kind != capacity::TStructureKind::skVertical) return result;
    result.refusal = vertical::checkLiquidDensity(d.vertical, true);
    if (!result.refusal.empty()) return result;

    TextSheet millimetre{kMillimetreSheetName, {{"圈板"}}};
    for (int k = 1; k <= 9; ++k)
        millimetre.rows[0].push_back(std::to_string(k) + " mm");
    for (auto& row : capacity::millimetreRows(d))
        millimetre.rows.push_back(std::move(row));

    TextSheet hydrostatic{kHydrostaticSheetName, {{"高度cm", "增大值L"}}};
    const capacity::RowList rows = capacity::hydrostaticRows(d);
    hydrostatic.rows.reserve(rows.size() + 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string_view row = rows[i];
        const auto comma = row.find(',');
        hydrostatic.rows.push_back({std::string(row.substr(0, comma)), std::string(row.substr(comma + 1))});
    }
    result.sheets = {std::move(millimetre), std::move(hydrostatic)};
    return result;
}

std::vector<DocumentField> verticalFields(const capacity::TTankDescription& d) {
    std::vector<DocumentField> fields;
    if (d.kind != capacity::TStructureKind::skVertical) return fields;
    const vertical::VerticalTank& t = d.vertical;
    auto n = [](double x) { return kernel::formatGeneral(x); };
    for (std::size_t i = 0; i < t.courses.size(); ++i) {
        const vertical::Course& c = t.courses[i];
        std::string value = "高度 " + n(c.height) + " mm，周长 " + n(c.circumference) + " mm";
        if (c.correction != 0) value += "（修正 " + n(c.correction) + " mm）";
        value += "，板厚 " + n(c.thickness) + " mm，内直径 " +
                 kernel::RoundToStr(2 * vertical::internalRadius(c)) + " mm";
        fields.push_back({"第 " + std::to_string(i + 1) + " 圈板", value, true});
    }
    fields.push_back({"倾斜角", n(t.tilt) + "°", true});
    std::string bottom;
    for (const auto& p : t.bottom)
        bottom += (bottom.empty() ? "" : "；") + n(p.level) + " mm：" + n(p.litres) + " L";
    fields.push_back({"罐底点", bottom.empty() ? "无" : bottom, true});
    std::string deadwood;
    for (const auto& b : t.deadwood)
        deadwood +=
            (deadwood.empty() ? "" : "；") + n(b.from) + " ~ " + n(b.to) + " mm：" + n(b.litres) + " L";
    fields.push_back({"罐内附件", deadwood.empty() ? "无" : deadwood, true});
    if (t.roof) {
        fields.push_back({"浮顶",
                          "质量 " + n(t.roof->mass) + " kg，起浮高度 " + n(t.roof->floatLevel) +
                              " mm，落底高度 " + n(t.roof->restLevel) + " mm",
                          true});
        fields.push_back({"浮顶排液量", kernel::RoundToStr(vertical::roofDisplacementLitres(t)) + " L"});
    }
    if (t.density) fields.push_back({"液体密度", n(*t.density) + " kg/m³", true});
    if (t.referenceHeight) fields.push_back({"参照高度", n(*t.referenceHeight) + " mm", !t.density});
    return fields;
}

} // namespace kelvora::output
