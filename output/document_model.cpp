#include "output/document_model.h"

#include "capacity/full_volume.h"
#include "capacity/head_components.h"
#include "capacity/input_table.h"
#include "capacity/page_inputs.h"
#include "capacity/requests.h"
#include "capacity/row_columns.h"
#include "capacity/tank_check.h"
#include "capacity/uncertainty.h"
#include "capacity/vertical_description.h"
#include "capacity/vertical_tables.h"
#include "kernel/errors.h"
#include "kernel/number_text.h"
#include "output/table_columns.h"
#include "output/vertical_sheets.h"
#include "vertical/vertical_check.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

namespace kelvora::output {

namespace {

// A vertical tank's millimetre and hydrostatic tables as the document prints them: values
// with two decimals, the levels lined up as the main table's are. None without the liquid
// density, which the document's refusal asks for first.
std::vector<DocumentTable> verticalTables(const capacity::TTankDescription& d) {
    if (d.kind != capacity::TStructureKind::skVertical || !d.vertical.density) return {};
    DocumentTable millimetre{kMillimetreSheetName, {"圈板"}, {}};
    for (int k = 1; k <= 9; ++k)
        millimetre.headings.push_back(std::to_string(k) + " mm");
    for (auto& row : capacity::millimetreRows(d)) {
        for (std::size_t c = 1; c < row.size(); ++c)
            row[c] = capacity::fixedDecimals(row[c]);
        millimetre.rows.push_back(std::move(row));
    }
    DocumentTable hydrostatic{kHydrostaticSheetName, {"高度cm", "增大值L"}, {}};
    const capacity::RowList rows = capacity::hydrostaticRows(d);
    std::vector<std::string> levels = alignedLevelTexts(rows);
    hydrostatic.rows.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string_view row = rows[i];
        hydrostatic.rows.push_back({std::move(levels[i]), capacity::fixedDecimals(row.substr(row.find(',') + 1))});
    }
    std::vector<DocumentTable> tables;
    tables.push_back(std::move(millimetre));
    tables.push_back(std::move(hydrostatic));
    return tables;
}

using capacity::TSectionShape;
using capacity::TStructureKind;

std::string number(double x) {
    return kernel::formatGeneral(x);
}

std::string length(std::string_view name, double x) {
    return std::string(name) + " = " + number(x) + " mm";
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const auto& part : parts) {
        if (!text.empty()) text += "，";
        text += part;
    }
    return text;
}

std::string structureWords(const capacity::TTankDescription& d) {
    switch (d.kind) {
    case TStructureKind::skHorizontal:
        if (d.section == TSectionShape::ssCircle) return "水平圆筒（正圆）";
        if (d.section == TSectionShape::ssEllipse) return "水平圆筒（椭圆）";
        return "水平圆筒";
    case TStructureKind::skInclined:
        return "倾斜圆筒";
    case TStructureKind::skSphere:
        return "球罐";
    case TStructureKind::skCalibration:
        return "罐容标定（标定点插值）";
    case TStructureKind::skVertical:
        return "立式圆筒";
    }
    return {};
}

std::string shellWords(const capacity::TTankDescription& d) {
    switch (d.kind) {
    case TStructureKind::skHorizontal:
        if (d.section == TSectionShape::ssCircle) return joined({length("D", d.D), length("L", d.L)});
        if (d.section == TSectionShape::ssEllipse)
            return joined({length("B", d.B), length("A", d.A), length("L", d.L)});
        return "无";
    case TStructureKind::skInclined:
        return joined({length("B", d.B), length("A", d.A), length("L", d.L)});
    case TStructureKind::skSphere:
        return length("D", d.D);
    case TStructureKind::skCalibration: {
        std::string text = std::to_string(d.pointCount) + " 个标定点";
        if (!d.pointLevels.empty()) {
            const auto [low, high] = std::minmax_element(d.pointLevels.begin(), d.pointLevels.end());
            text += "，高度 " + number(*low) + " ~ " + number(*high) + " mm";
        }
        return text;
    }
    case TStructureKind::skVertical:
        return std::to_string(d.vertical.courses.size()) + " 圈板，总高 " +
               number(vertical::shellHeight(d.vertical)) + " mm";
    }
    return {};
}

// The density's unit as printed: "Kg/m^3" typed as kg/m³.
std::string densityUnit(std::string_view unit) {
    if (unit == "g/cm^3") return "g/cm³";
    if (unit == "Kg/m^3") return "kg/m³";
    return std::string(unit);
}

// The whole tank's volume in the table's unit, two decimals as a row's value; "" when it
// cannot be composed.
std::string fullVolumeText(const capacity::TTankDescription& d, const capacity::NamedInputs& inputs) {
    const capacity::LevelVolume whole = capacity::fullTankVolume(d);
    if (!whole.ok()) return {};
    const long double value = static_cast<long double>(whole.V) * tableValueScale(inputs);
    if (!std::isfinite(value)) return {};
    return kernel::RoundToStr(static_cast<double>(value));
}

// "椭圆(椭球)封头，h = 25 mm，H = 525 mm，容积加上": the caption without its figure number,
// the dimensions under the labels the window shows beside them.
std::string headWords(const capacity::THeadSpec& head, bool left) {
    if (!head.kind) return "无";
    for (const auto& components : capacity::headComponents()) {
        if (components.kind != *head.kind) continue;
        std::string_view caption = components.caption;
        if (const auto space = caption.find(' '); space != std::string_view::npos)
            caption.remove_prefix(space + 1);
        std::vector<std::string> parts{std::string(caption)};
        const capacity::HeadSide& side = left ? components.left : components.right;
        for (const auto& field : side.fieldList()) {
            std::string_view label = capacity::findInput(field.edit)->label;
            if (label.ends_with(':')) label.remove_suffix(1);
            parts.push_back(length(label, head.dims.*field.dim));
        }
        parts.push_back(head.subtract ? "容积减去" : "容积加上");
        return joined(parts);
    }
    return "无";
}

bool hasHeads(TStructureKind kind) {
    return kind == TStructureKind::skHorizontal || kind == TStructureKind::skInclined;
}

} // namespace

std::string documentRefusal(std::size_t rows) {
    return rows > kMaxDocumentRows ? messages::kDocumentTooLong : "";
}

std::string documentInputsRefusal(capacity::NamedInputs& inputs) {
    const std::string date = inputs.text("ValidUntil");
    if (!date.empty()) {
        bool valid = date.size() == 10 && date[4] == '-' && date[7] == '-';
        for (std::size_t i = 0; valid && i < date.size(); ++i)
            valid = i == 4 || i == 7 || (date[i] >= '0' && date[i] <= '9');
        if (valid) {
            const std::chrono::year_month_day day{std::chrono::year(std::stoi(date.substr(0, 4))),
                                                  std::chrono::month(static_cast<unsigned>(std::stoi(date.substr(5, 2)))),
                                                  std::chrono::day(static_cast<unsigned>(std::stoi(date.substr(8, 2))))};
            valid = day.ok();
        }
        if (!valid) return "呵呵，有效期至“" + documentText(date) + "”不是有效日期，请按 YYYY-MM-DD 输入，如 2027-12-31！";
        if (date < "1900") return "呵呵，有效期至“" + date + "”早于1900年，不是有效日期！";
    }
    const capacity::StandardUncertainties u = capacity::readUncertainties(inputs);
    for (double x : {u.section, u.length, u.head, u.angle, u.F, u.level, u.pointVolume, u.pointLevel})
        if (x < 0) return capacity::messages::kNegativeUncertainty;
    if (u.any()) {
        try {
            const auto read = capacity::ReadTankDescription(inputs, capacity::RequestType::Table);
            if (read.description) return capacity::uncertaintyRefusal(*read.description, u);
        } catch (const Error&) {
            // A tank the table request refuses is refused there, with its own message.
        }
    }
    // A vertical tank's document and workbook carry its hydrostatic table.
    if (capacity::Jgxs(inputs) == capacity::TStructureKind::skVertical) {
        try {
            const auto read = capacity::ReadTankDescription(inputs, capacity::RequestType::Table);
            if (read.description) return vertical::checkLiquidDensity(read.description->vertical, true);
        } catch (const Error&) {
        }
    }
    return {};
}

std::string validUntilPassedNote(capacity::NamedInputs& inputs, std::string_view today) {
    const std::string date = inputs.text("ValidUntil");
    // Dates of the form YYYY-MM-DD compare as texts.
    if (date.size() != 10 || today.size() != 10 || !documentInputsRefusal(inputs).empty() || !(date < today))
        return {};
    return "有效期至 " + date + " 已早于今天（" + std::string(today) + "），容积表证书已过期。";
}

std::vector<std::string> alignedLevelTexts(const capacity::RowList& rows) {
    auto levelOf = [&](std::size_t i) {
        const std::string_view row = rows[i];
        return row.substr(0, row.find(','));
    };
    auto plain = [](std::string_view level) {
        return !level.empty() && level.find_first_not_of("-0123456789.") == std::string_view::npos;
    };
    std::size_t decimals = 0;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (const std::string_view level = levelOf(i); plain(level))
            if (const auto point = level.find('.'); point != std::string_view::npos)
                decimals = std::max(decimals, level.size() - point - 1);
    std::vector<std::string> texts;
    texts.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::string level(levelOf(i));
        if (plain(level) && decimals > 0) {
            const auto point = level.find('.');
            const std::size_t have = point == std::string::npos ? 0 : level.size() - point - 1;
            if (point == std::string::npos) level.push_back('.');
            level.append(decimals - have, '0');
        }
        texts.push_back(std::move(level));
    }
    return texts;
}

std::string documentText(std::string_view text) {
    std::string shown(text);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const auto c = static_cast<unsigned char>(shown[i]);
        const auto next = i + 1 < shown.size() ? static_cast<unsigned char>(shown[i + 1]) : 0;
        const auto third = i + 2 < shown.size() ? static_cast<unsigned char>(shown[i + 2]) : 0;
        if (c < 0x20 || c == 0x7F) {
            shown[i] = ' ';
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) { // U+0080 - U+009F
            shown.replace(i, 2, " ");
        } else if (c == 0xE2 && next == 0x80 && (third == 0xA8 || third == 0xA9)) { // U+2028, U+2029
            shown.replace(i, 3, " ");
        }
    }
    return shown;
}

TableDocument describeTable(const capacity::TTankDescription& d, const capacity::NamedInputs& inputs,
                            const capacity::RowList& rows, std::string date, bool withRows) {
    TableDocument doc;
    doc.tankNumber = documentText(inputs.text("TankNumber"));
    doc.certificateNumber = documentText(inputs.text("CertificateNumber"));
    const bool weight = inputs.checked("CheckBox1");
    if (weight) doc.valueHeading = "重量Kg";
    const std::string unit = weight ? "kg" : "L";

    auto add = [&](std::string label, std::string_view value, bool startsLine = false) {
        doc.fields.push_back({std::move(label), documentText(value), startsLine});
    };
    add("罐号", doc.tankNumber, true);
    add("使用单位", inputs.text("TankOwner"));
    add("结构形式", structureWords(d), true);
    // Calibration points are the volumes themselves, whatever the check box says.
    add("计算方法", d.kind == TStructureKind::skCalibration ? "标定点插值" : d.exactGeometry ? "精确几何" : "规定公式");
    // The regulation the table is computed under; its label stands even before it is filled in.
    add("计算依据", inputs.text("CalculationBasis"), true);
    add("参考温度", "20 ℃");
    add("主体尺寸", shellWords(d), true);
    if (d.kind == TStructureKind::skInclined) {
        add("倾斜", joined({"α = " + number(d.alpha) + "°", "β = " + number(d.beta) + "°", length("F", d.F),
                            d.lowerEndRight ? "低端在右" : "低端在左"}),
            true);
    }
    if (hasHeads(d.kind)) {
        add("左封头", headWords(d.left, true), true);
        add("右封头", headWords(d.right, false));
    }
    // A vertical tank's bottom points and deadwood take the place of these two.
    for (auto& field : verticalFields(d))
        doc.fields.push_back(std::move(field));
    if (d.kind != TStructureKind::skVertical) {
        add("罐底死量", number(d.deadVolume) + " L", true);
        if (d.attachmentVolume == 0 && d.attachmentHeight == 0)
            add("附件", "无");
        else
            add("附件", joined({"体积 " + number(d.attachmentVolume) + " L",
                                "最下端距离罐底 " + number(d.attachmentBottom) + " mm",
                                "附件高度 " + number(d.attachmentHeight) + " mm"}));
    }
    add("液位范围",
        capacity::levelText(d.levelFrom) + " ~ " + capacity::levelText(d.levelTo) + " cm，间隔 " +
            capacity::levelText(d.levelStep) + " cm",
        true);
    add("计量方式",
        weight ? "重量（kg），密度 " + inputs.text("Edit37") + " " + densityUnit(inputs.text("ComboBox1"))
               : "容积（L）",
        true);
    // The whole tank by the table's method; the top row beside it where that differs (an
    // inclined tank's top gauge reading, a table ending below the top level).
    std::string top;
    if (!rows.empty()) {
        const std::string_view last = rows[rows.size() - 1];
        if (const auto comma = last.find(','); comma != std::string_view::npos)
            top = capacity::fixedDecimals(last.substr(comma + 1));
    }
    const std::string whole =
        d.kind == TStructureKind::skCalibration ? std::string() : fullVolumeText(d, inputs);
    if (!whole.empty() || !top.empty()) {
        const std::string full = whole.empty() ? top : capacity::fixedDecimals(whole);
        add("满罐容量", full + " " + unit);
        if (!top.empty() && top != full) add("最高液位容积", top + " " + unit);
    }
    if (d.kind == TStructureKind::skCalibration) {
        doc.pointsAfter = doc.fields.size();
        const std::size_t n = std::min(d.pointLevels.size(), d.pointVolumes.size());
        for (std::size_t i = 0; i < n; ++i)
            doc.points.push_back({number(d.pointLevels[i]), number(d.pointVolumes[i])});
    }
    if (std::string note = capacity::extrapolationNote(d, d.levelFrom, d.levelTo); !note.empty())
        add(d.kind == TStructureKind::skVertical ? "浮盘起浮区" : "外推",
            d.kind == TStructureKind::skVertical
                ? note.substr(note.find("：") + std::string_view("：").size())
                : note,
            true);
    bool certificate = true;
    for (const auto& [name, label] : {std::pair{"CertificateNumber", "证书编号"}, std::pair{"IssuingBody", "编制单位"},
                                      std::pair{"ValidUntil", "有效期至"}}) {
        if (const std::string value = inputs.text(name); !value.empty()) {
            add(label, value, certificate);
            certificate = false;
        }
    }
    add("生成日期", date, certificate);

    const auto uncertainty =
        withRows || rows.size() <= kMaxDocumentRows ? tableUncertaintyOf(d, inputs) : std::nullopt;
    if (uncertainty)
        if (const auto summary = capacity::summarizeUncertainty(*uncertainty))
            add("不确定度", capacity::uncertaintyStatement(*summary), true);

    if (!withRows) {
        if (inputs.checked("PerMillimetre")) doc.extraHeadings.push_back(kPerMillimetreHeading);
        if (uncertainty)
            doc.extraHeadings.insert(doc.extraHeadings.end(),
                                     {weight ? "U (kg)" : "U (L)", kRelativeUncertaintyHeading});
        if (!capacity::roofZoneRows(d).empty()) doc.extraHeadings.push_back(capacity::kRemarkHeading);
        return doc;
    }
    doc.appendices = verticalTables(d);
    TableColumns columns = tableColumns(d, inputs, rows.size(), uncertainty);
    doc.extraHeadings = std::move(columns.headings);
    std::vector<std::string> levels = alignedLevelTexts(rows);
    doc.rows.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string_view row = rows[i];
        const auto comma = row.find(',');
        DocumentRow shown;
        shown.level = std::move(levels[i]);
        if (comma != std::string_view::npos) shown.value = capacity::fixedDecimals(row.substr(comma + 1));
        for (auto& column : columns.cells)
            shown.extra.push_back(std::move(column[i]));
        doc.rows.push_back(std::move(shown));
    }
    return doc;
}

ShownTable describeShownTable(capacity::NamedInputs& inputs, const capacity::RowList& rows) {
    if (std::string refusal = documentRefusal(rows.size()); !refusal.empty()) return {std::nullopt, refusal};
    if (std::string refusal = capacity::textLengthRefusal(inputs); !refusal.empty())
        return {std::nullopt, refusal};
    if (std::string refusal = documentInputsRefusal(inputs); !refusal.empty()) return {std::nullopt, refusal};
    capacity::RowList again;
    const auto outcome = capacity::GenerateCapacityTable(inputs, again);
    if (outcome.stopped()) return {std::nullopt, outcome.message};
    bool same = again.size() == rows.size();
    for (std::size_t i = 0; same && i < rows.size(); ++i)
        same = again[i] == rows[i];
    if (!same) return {std::nullopt, messages::kTableNotCurrent};
    auto read = capacity::ReadTankDescription(inputs, capacity::RequestType::Table);
    return {std::move(read.description), std::move(read.message)};
}

std::vector<DocumentField> tankSheetFields(const TableDocument& doc) {
    std::vector<DocumentField> pairs{{"标题", doc.title}};
    for (std::size_t i = 0; i <= doc.fields.size(); ++i) {
        if (i == doc.pointsAfter && !doc.points.empty()) {
            pairs.push_back({"标定点", "高度 mm，容积 L"});
            for (std::size_t k = 0; k < doc.points.size(); ++k)
                pairs.push_back({"标定点 " + std::to_string(k + 1), doc.points[k].level + "，" + doc.points[k].volume});
        }
        if (i < doc.fields.size()) pairs.push_back({doc.fields[i].label, doc.fields[i].value});
    }
    return pairs;
}

std::string todayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

int PageGrid::pageCount(std::size_t rowCount) const {
    if (rowCount <= firstCapacity()) return 1;
    return 1 + static_cast<int>((rowCount - firstCapacity() + capacity() - 1) / capacity());
}

std::size_t PageGrid::firstRowOf(int page, std::size_t rowCount) const {
    if (page <= 0) return 0;
    const std::size_t first = firstCapacity() + static_cast<std::size_t>(page - 1) * capacity();
    return std::min(first, rowCount);
}

PageGrid pageGridFor(const PageMetrics& m) {
    auto rowsIn = [&](double height) {
        return std::max(1, static_cast<int>(std::floor((height + 1e-9) / m.row)));
    };
    const double table = m.height - m.runningHead - m.signOff - m.headingRow;
    PageGrid g;
    g.pairs = std::max(1, static_cast<int>(std::floor((m.width + 1e-9) / std::max(m.minPairWidth, 1e-9))));
    g.rows = rowsIn(table);
    g.firstRows = std::min(g.rows, rowsIn(table - m.headerBlock));
    return g;
}

} // namespace kelvora::output
