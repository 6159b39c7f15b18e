#include "capacity/vocabulary.h"

#include "capacity/calibration_grid.h"
#include "capacity/head_components.h"
#include "capacity/memory_inputs.h"
#include "capacity/page_inputs.h"
#include "vertical/vertical_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <set>

namespace kelvora::capacity {

namespace {

using T = TermKind;

constexpr std::array<TermValue, 5> kStructures{{{"horizontal", {}, 0, {}},
                                                {"inclined", {}, 1, {}},
                                                {"sphere", {}, 2, {}},
                                                {"points", {}, 3, {}},
                                                {"vertical", {}, 4, {}}}};
constexpr std::array<TermValue, 2> kSections{
    {{"circle", "RadioButton1", -1, {}}, {"ellipse", "RadioButton2", -1, {}}}};
constexpr std::array<TermValue, 2> kLowEnds{
    {{"left", "RadioButton3", -1, {}}, {"right", "RadioButton4", -1, {}}}};
constexpr std::array<TermValue, 2> kHeadVolumes{{{"add", {}, 0, {}}, {"subtract", {}, 1, {}}}};
constexpr std::array<TermValue, 2> kYesNo{{{"yes", {}, 1, {}}, {"no", {}, 0, {}}}};
// By the items' texts, so the words follow the items wherever they stand in the list.
constexpr std::array<TermValue, 6> kProducts{{{"A", {}, -1, "原油"},
                                              {"B", {}, -1, "成品油"},
                                              {"D", {}, -1, "润滑油"},
                                              {"原油", {}, -1, "原油"},
                                              {"成品油", {}, -1, "成品油"},
                                              {"润滑油", {}, -1, "润滑油"}}};
constexpr std::array<TermValue, 2> kVcfModes{{{"table", {}, -1, "查表"}, {"formula", {}, -1, "公式"}}};
constexpr std::array<TermValue, 2> kDensityUnits{{{"kg/m3", {}, -1, "Kg/m^3"}, {"g/cm3", {}, -1, "g/cm^3"}}};

constexpr std::string_view kMm = "mm";

// The order is the order of a tank file, and of applying: a head's shape before its sizes.
const std::array<Term, 82> kTerms{{
    {"structure", T::Structure, "PageControl1", "油罐结构", {}, kStructures},
    {"section", T::Choice, {}, "截面", {}, kSections},
    {"D", T::Text, "Edit1", "圆柱体直径D", kMm, {}},
    {"L", T::Text, "Edit2", "圆柱体长度L", kMm, {}},
    {"ellipse.B", T::Text, "Edit3", "椭圆柱体B", kMm, {}},
    {"ellipse.A", T::Text, "Edit4", "椭圆柱体A", kMm, {}},
    {"ellipse.L", T::Text, "Edit5", "椭圆柱体长度L", kMm, {}},
    {"inclined.alpha", T::Text, "Edit29", "倾斜角α", "°", {}},
    {"inclined.beta", T::Text, "Edit30", "液位计横向倾角β", "°", {}},
    {"inclined.F", T::Text, "Edit39", "液位计到高端焊缝的距离F", kMm, {}},
    {"inclined.B", T::Text, "Edit40", "倾斜圆筒B", kMm, {}},
    {"inclined.A", T::Text, "Edit41", "倾斜圆筒A", kMm, {}},
    {"inclined.L", T::Text, "Edit42", "倾斜圆筒长度L", kMm, {}},
    {"inclined.low_end", T::Choice, {}, "低端", {}, kLowEnds},
    {"sphere.D", T::Text, "Edit34", "球罐内直径", kMm, {}},
    {"left.shape", T::HeadShape, {}, "左封头形状", {}, {}, 0},
    {"left.h", T::HeadSize, {}, "左封头h", kMm, {}, 0},
    {"left.H", T::HeadSize, {}, "左封头H", kMm, {}, 0},
    {"left.H2", T::HeadSize, {}, "左封头H2", kMm, {}, 0},
    {"left.D2", T::HeadSize, {}, "左封头D2", kMm, {}, 0},
    {"left.Ri", T::HeadSize, {}, "左封头Ri", kMm, {}, 0},
    {"left.volume", T::Pick, "ComboBox3", "左封头容积加上或减去", {}, kHeadVolumes},
    {"right.shape", T::HeadShape, {}, "右封头形状", {}, {}, 1},
    {"right.h", T::HeadSize, {}, "右封头h", kMm, {}, 1},
    {"right.H", T::HeadSize, {}, "右封头H", kMm, {}, 1},
    {"right.H2", T::HeadSize, {}, "右封头H2", kMm, {}, 1},
    {"right.D2", T::HeadSize, {}, "右封头D2", kMm, {}, 1},
    {"right.Ri", T::HeadSize, {}, "右封头Ri", kMm, {}, 1},
    {"right.volume", T::Pick, "ComboBox4", "右封头容积加上或减去", {}, kHeadVolumes},
    {"from", T::Text, "Edit6", "液位高度从", kMm, {}},
    {"to", T::Text, "Edit7", "液位高度到", kMm, {}},
    {"step", T::Text, "Edit8", "液位间隔", kMm, {}},
    {"rows_per_column", T::Text, "Edit9", "Excel容积表每列行数", "count", {}},
    {"dead_volume", T::Text, "Edit13", "罐底死量", "L", {}},
    {"attachment.volume", T::Text, "Edit31", "附件体积", "L", {}},
    {"attachment.bottom", T::Text, "Edit32", "附件最下端距离罐底", kMm, {}},
    {"attachment.height", T::Text, "Edit33", "附件高度", kMm, {}},
    {"quick.level", T::Text, "Edit35", "快速计算液位", kMm, {}},
    {"weight", T::Flag, "CheckBox1", "重量输入密度", {}, kYesNo},
    {"density", T::Text, "Edit37", "密度", "density_unit", {}},
    {"density_unit", T::Pick, "ComboBox1", "密度单位", {}, kDensityUnits},
    {"point", T::Points, "ComboBox2", "标定点（液位,容积）", "mm,L", {}},
    {"exact", T::Flag, "ExactGeometry", "按精确几何计算", {}, kYesNo},
    {"tank_number", T::Text, "TankNumber", "罐号", {}, {}},
    {"owner", T::Text, "TankOwner", "使用单位", {}, {}},
    {"certificate", T::Text, "CertificateNumber", "证书编号", {}, {}},
    {"issued_by", T::Text, "IssuingBody", "编制单位", {}, {}},
    {"valid_until", T::Text, "ValidUntil", "有效期至", "YYYY-MM-DD", {}},
    {"basis", T::Text, "CalculationBasis", "计算依据", {}, {}},
    {"per_mm", T::Flag, "PerMillimetre", "附毫米容量", {}, kYesNo},
    {"u.section", T::Text, "UncertaintySection", "截面尺寸的标准不确定度", kMm, {}},
    {"u.length", T::Text, "UncertaintyLength", "长度L的标准不确定度", kMm, {}},
    {"u.head", T::Text, "UncertaintyHead", "封头尺寸的标准不确定度", kMm, {}},
    {"u.angle", T::Text, "UncertaintyAngle", "角度α、β的标准不确定度", "°", {}},
    {"u.F", T::Text, "UncertaintyF", "F的标准不确定度", kMm, {}},
    {"u.level", T::Text, "UncertaintyLevel", "液位读数的标准不确定度", kMm, {}},
    {"u.point_volume", T::Text, "UncertaintyPointVolume", "标定点容积的相对标准不确定度", "%", {}},
    {"u.point_level", T::Text, "UncertaintyPointLevel", "标定点高度的标准不确定度", kMm, {}},
    // The 20 °C quantities: of these a tank file holds the product alone (isStationReading).
    {"product", T::Pick, "ProductGroup", "油品", {}, kProducts},
    {"vcf.mode", T::Pick, "VcfMode", "计算方式（查表或公式）", {}, kVcfModes},
    {"rho20", T::Text, "Rho20", "标准密度ρ20", "kg/m3", {}},
    {"sample.density", T::Text, "SampleDensity", "试样视密度", "kg/m3", {}},
    {"sample.temperature", T::Text, "SampleTemperature", "试验温度", "℃", {}},
    {"oil.temperature", T::Text, "OilTemperature", "油温", "℃", {}},
    {"quantity.level", T::Text, "QuantityLevel", "油量计算液位（空着时用快速计算液位）", kMm, {}},
    {"delivery.before.level", T::Text, "DeliveryBeforeLevel", "卸油前液位", kMm, {}},
    {"delivery.before.temperature", T::Text, "DeliveryBeforeTemperature", "卸油前油温", "℃", {}},
    {"delivery.after.level", T::Text, "DeliveryAfterLevel", "卸油后液位", kMm, {}},
    {"delivery.after.temperature", T::Text, "DeliveryAfterTemperature", "卸油后油温", "℃", {}},
    {"delivery.dispensed", T::Text, "DeliveryDispensed", "卸油期间付油量", "L", {}},
    {"delivery.ticket", T::Text, "DeliveryTicket", "交接单20 ℃体积", "L", {}},
    {"delivery.ticket_mass", T::Text, "DeliveryTicketMass", "交接单质量", "kg", {}},
    {"delivery.limit", T::Text, "DeliveryLimit", "允差（默认3）", "‰", {}},
    {"vertical.course", T::Entries, "VerticalCourses", "圈板（高度,周长,板厚[,修正值]）", kMm, {}},
    {"vertical.bottom_point", T::Entries, "VerticalBottom", "罐底点（高度,容积）", "mm,L", {}},
    {"vertical.deadwood", T::Entries, "VerticalDeadwood", "罐内附件（起点,终点,容积）", "mm,mm,L", {}},
    {"vertical.tilt", T::Text, "VerticalTilt", "立式圆筒倾斜角θ", "°", {}},
    {"vertical.density", T::Text, "VerticalDensity", "液体密度", "kg/m3", {}},
    {"vertical.roof_mass", T::Text, "VerticalRoofMass", "浮顶质量", "kg", {}},
    {"vertical.roof_float_level", T::Text, "VerticalRoofFloat", "浮顶起浮高度", kMm, {}},
    {"vertical.roof_rest_level", T::Text, "VerticalRoofRest", "浮顶落底高度", kMm, {}},
    {"vertical.reference_height", T::Text, "VerticalReferenceHeight", "参照高度", kMm, {}},
}};

// The readings of the "油量计算" page belong to a day at the station, not to the tank: a
// tank file neither holds them nor resets them. The product is the tank's.
bool isStationReading(const Term& term) {
    const InputInfo* input = findPageInput(term.component);
    return input && input->container == kQuantityPageName && term.name != "product";
}

constexpr int kMinPoints = 2;
constexpr int kMaxPoints = 200;

[[noreturn]] void refuse(const Assignment& a, const std::string& text) {
    throw VocabularyError(a.line, text);
}

std::string quoted(std::string_view s) {
    return "“" + std::string(s) + "”";
}

// "h", "H", "H2", "D2", "Ri": the label of the dimension's field without its colon.
std::string_view sizeName(std::string_view edit) {
    std::string_view label = findInput(edit)->label;
    if (label.ends_with(':')) label.remove_suffix(1);
    return label;
}

std::string_view sizeOfTerm(const Term& term) {
    return term.name.substr(term.name.find('.') + 1);
}

const HeadSide& sideOf(const HeadComponents& head, int side) {
    return side == 0 ? head.left : head.right;
}

const HeadComponents* chosenHead(const NamedInputs& inputs, int side) {
    for (const auto& head : headComponents())
        if (inputs.checked(sideOf(head, side).radio)) return &head;
    return nullptr;
}

const HeadField* sizeField(const HeadComponents& head, int side, std::string_view size) {
    for (const auto& field : sideOf(head, side).fieldList())
        if (sizeName(field.edit) == size) return &field;
    return nullptr;
}

std::string wordList(const Term& term) {
    std::string list;
    auto add = [&](std::string_view word) { list.append(list.empty() ? "" : ", ").append(word); };
    if (term.kind == T::HeadShape)
        for (const auto& head : headComponents())
            add(head.word);
    for (const auto& value : term.values)
        add(value.word);
    return list;
}

const TermValue& valueOf(const Term& term, const Assignment& a) {
    for (const auto& value : term.values)
        if (value.word == a.value) return value;
    refuse(a, quoted(a.name) + "不接受" + quoted(a.value) + "（可取：" + wordList(term) + "）");
}

void applyPoints(NamedInputs& inputs, const std::vector<std::pair<std::string, std::string>>& points,
                 const Assignment& first) {
    const int n = static_cast<int>(points.size());
    if (n < kMinPoints || n > kMaxPoints)
        refuse(first, "标定点须有" + std::to_string(kMinPoints) + "到" + std::to_string(kMaxPoints) +
                          "个，给了" + std::to_string(n) + "个");
    inputs.setText("ComboBox2", std::to_string(n));
    applyPointCount(inputs);
    for (int i = 0; i < n; ++i) {
        inputs.grid().setCell(1, i + 1, points[i].first);
        inputs.grid().setCell(2, i + 1, points[i].second);
    }
    inputs.gridChanged();
}

void applyTerm(NamedInputs& inputs, const Term& term, const Assignment& a) {
    switch (term.kind) {
    case T::Structure:
        inputs.setActivePage(valueOf(term, a).index);
        break;
    case T::Choice:
        inputs.setChecked(valueOf(term, a).component, true);
        break;
    case T::Flag:
        inputs.setChecked(term.component, valueOf(term, a).index == 1);
        break;
    case T::Pick: {
        const TermValue& value = valueOf(term, a);
        if (value.text.empty())
            inputs.setItemIndex(term.component, value.index);
        else
            inputs.setText(term.component, value.text);
        break;
    }
    case T::Text:
        inputs.setText(term.component, a.value);
        break;
    case T::HeadShape:
        for (const auto& head : headComponents())
            if (head.word == a.value) return inputs.setChecked(sideOf(head, term.side).radio, true);
        refuse(a, quoted(a.name) + "不接受" + quoted(a.value) + "（可取：" + wordList(term) + "）");
    case T::HeadSize: {
        const HeadComponents* head = chosenHead(inputs, term.side);
        const HeadField* field = head ? sizeField(*head, term.side, sizeOfTerm(term)) : nullptr;
        if (!field)
            refuse(a, quoted(a.name) + "：" +
                          (head ? "封头形状" + quoted(head->word) + "没有这个尺寸"
                                : std::string("没有选定封头形状")));
        inputs.setText(field->edit, a.value);
        break;
    }
    case T::Points:
    case T::Entries:
        break; // gathered over all of the name's assignments by applyAssignments
    }
}

// A component name, as the window's settings and the batch tool have always taken it.
void applyComponent(NamedInputs& inputs, const Assignment& a) {
    const InputInfo* info = findAnyInput(a.name);
    if (!info) refuse(a, "未知的名称" + quoted(a.name));
    switch (info->kind) {
    case InputKind::Edit:
    case InputKind::ComboBox:
        inputs.setText(a.name, a.value);
        break;
    case InputKind::PickList:
        inputs.setText(a.name, a.value);
        // Every item has a text: an empty value would leave the list on no item, which no
        // readable name can say back.
        if (a.value.empty() || inputs.text(a.name) != a.value)
            refuse(a, quoted(a.name) + "没有选项" + quoted(a.value));
        if (a.name == "ComboBox2") applyPointCount(inputs);
        break;
    case InputKind::CheckBox:
    case InputKind::RadioButton:
        if (a.value != "0" && a.value != "1") refuse(a, quoted(a.name) + "只取1或0");
        inputs.setChecked(a.name, a.value == "1");
        break;
    }
}

} // namespace

std::span<const Term> vocabulary() {
    return kTerms;
}

const Term* findTerm(std::string_view name) {
    for (const auto& term : kTerms)
        if (term.name == name) return &term;
    return nullptr;
}

bool takesNumber(const Term& term) {
    constexpr std::array<std::string_view, 5> kCertificateTexts{
        "TankNumber", "TankOwner", "CertificateNumber", "IssuingBody", "ValidUntil"};
    if (term.kind == T::HeadSize) return true;
    return term.kind == T::Text && std::find(kCertificateTexts.begin(), kCertificateTexts.end(),
                                             term.component) == kCertificateTexts.end();
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::vector<std::pair<std::string, std::string>> splitPoints(std::string_view value) {
    std::vector<std::pair<std::string, std::string>> points;
    while (!value.empty()) {
        const auto semicolon = value.find(';');
        std::string_view point = value.substr(0, semicolon);
        value = semicolon == std::string_view::npos ? std::string_view() : value.substr(semicolon + 1);
        const auto comma = point.find(',');
        if (comma == std::string_view::npos)
            points.emplace_back(trimBlanks(point), std::string());
        else
            points.emplace_back(trimBlanks(point.substr(0, comma)), trimBlanks(point.substr(comma + 1)));
    }
    return points;
}

void applyAssignments(NamedInputs& inputs, std::span<const Assignment> assignments) {
    std::set<std::string_view> seen;
    for (const auto& a : assignments) {
        if (a.name == "point") {
            if (a.value.find_first_of(",;") == std::string::npos) refuse(a, "“point”取“液位,容积”");
        } else if (const Term* term = findTerm(a.name); term && term->kind == T::Entries) {
            continue;
        } else if (!seen.insert(a.name).second)
            refuse(a, quoted(a.name) + "给了两次");
    }
    for (const auto& term : kTerms) {
        if (term.kind == T::Points) {
            std::vector<std::pair<std::string, std::string>> points;
            const Assignment* first = nullptr;
            for (const auto& a : assignments)
                if (a.name == term.name) {
                    if (!first) first = &a;
                    for (auto& point : splitPoints(a.value))
                        points.push_back(std::move(point));
                }
            if (first) applyPoints(inputs, points, *first);
            continue;
        }
        if (term.kind == T::Entries) {
            std::string list;
            bool given = false;
            for (const auto& a : assignments)
                if (a.name == term.name) {
                    given = true;
                    const std::string entries = vertical::joinEntries(vertical::splitEntries(a.value));
                    if (!entries.empty()) list.append(list.empty() ? "" : ";").append(entries);
                }
            if (given) inputs.setText(term.component, list);
            continue;
        }
        for (const auto& a : assignments)
            if (a.name == term.name) applyTerm(inputs, term, a);
    }
    for (const auto& a : assignments)
        if (!findTerm(a.name)) applyComponent(inputs, a);
}

void resetToStartup(NamedInputs& inputs) {
    const MemoryInputs fresh = MemoryInputs::afterStartup();
    auto reset = [&](const InputInfo& input) {
        switch (input.kind) {
        case InputKind::Edit:
        case InputKind::ComboBox:
            inputs.setText(input.name, fresh.text(input.name));
            break;
        case InputKind::CheckBox:
        case InputKind::RadioButton:
            inputs.setChecked(input.name, fresh.checked(input.name));
            break;
        case InputKind::PickList:
            inputs.setItemIndex(input.name, fresh.itemIndex(input.name));
            break;
        }
    };
    for (const auto& input : inputTable())
        reset(input);
    for (const auto& term : kTerms)
        if (const InputInfo* input = findPageInput(term.component); input && !isStationReading(term))
            reset(*input);
    for (int row = 1; row <= kMaxPoints; ++row)
        for (int col = 1; col <= 2; ++col)
            inputs.grid().setCell(col, row, "");
    setUpCalibrationGrid(inputs);
    inputs.setActivePage(fresh.activePage());
    inputs.gridChanged();
}

std::vector<std::pair<std::string, std::string>> describeInputs(const NamedInputs& inputs) {
    std::vector<std::pair<std::string, std::string>> lines;
    auto add = [&](const Term& term, std::string value) {
        lines.emplace_back(std::string(term.name), std::move(value));
    };
    for (const auto& term : kTerms) {
        if (isStationReading(term)) continue;
        switch (term.kind) {
        case T::Structure:
            for (const auto& value : term.values)
                if (value.index == inputs.activePage()) add(term, std::string(value.word));
            break;
        case T::Choice:
            for (const auto& value : term.values)
                if (inputs.checked(value.component)) {
                    add(term, std::string(value.word));
                    break;
                }
            break;
        case T::Flag:
            add(term, inputs.checked(term.component) ? "yes" : "no");
            break;
        case T::Pick:
            for (const auto& value : term.values)
                if (value.text.empty() ? inputs.itemIndex(term.component) == value.index
                                       : inputs.text(term.component) == value.text) {
                    add(term, std::string(value.word)); // the first of a value's words
                    break;
                }
            break;
        case T::Text:
            add(term, inputs.text(term.component));
            break;
        case T::HeadShape:
            if (const HeadComponents* head = chosenHead(inputs, term.side))
                add(term, std::string(head->word));
            break;
        case T::HeadSize:
            if (const HeadComponents* head = chosenHead(inputs, term.side))
                if (const HeadField* field = sizeField(*head, term.side, sizeOfTerm(term)))
                    add(term, inputs.text(field->edit));
            break;
        case T::Entries:
            for (const auto& entry : vertical::splitEntries(inputs.text(term.component)))
                add(term, vertical::joinEntries({entry}));
            break;
        case T::Points: {
            const std::string count = inputs.text(term.component);
            int n = 0;
            std::from_chars(count.data(), count.data() + count.size(), n);
            bool empty = true;
            for (int row = 1; row <= n; ++row)
                empty = empty && inputs.grid().cell(1, row).empty() && inputs.grid().cell(2, row).empty();
            if (empty && n == 8) break;
            for (int row = 1; row <= n; ++row)
                add(term, inputs.grid().cell(1, row) + "," + inputs.grid().cell(2, row));
            break;
        }
        }
    }
    return lines;
}

std::vector<TermListing> vocabularyListing() {
    std::vector<TermListing> listing;
    for (const auto& term : kTerms) {
        TermListing l{std::string(term.name), std::string(term.component), std::string(term.caption),
                      std::string(term.unit), wordList(term)};
        auto addComponent = [&](std::string_view component, std::string_view note) {
            l.components.append(l.components.empty() ? "" : ", ").append(component);
            if (!note.empty()) l.components.append(" (").append(note).append(")");
        };
        switch (term.kind) {
        case T::Choice:
            for (const auto& value : term.values)
                addComponent(value.component, value.word);
            break;
        case T::HeadShape:
            for (const auto& head : headComponents())
                addComponent(sideOf(head, term.side).radio, head.word);
            break;
        case T::HeadSize:
            for (const auto& head : headComponents())
                if (const HeadField* field = sizeField(head, term.side, sizeOfTerm(term)))
                    addComponent(field->edit, head.word);
            l.values = "number";
            break;
        case T::Points:
            l.components = "StringGrid1, ComboBox2";
            l.values = "LEVEL,VOLUME (repeatable, in order; the count follows)";
            break;
        case T::Entries:
            l.values =
                std::string(term.name == "vertical.course" ? "HEIGHT,CIRCUMFERENCE,THICKNESS[,CORRECTION]"
                            : term.name == "vertical.bottom_point" ? "LEVEL,LITRES"
                                                                   : "FROM,TO,LITRES") +
                " (repeatable, from the bottom up; a list replaces the whole list)";
            break;
        case T::Text:
            l.values = takesNumber(term) ? "number" : "text";
            break;
        default:
            break;
        }
        listing.push_back(std::move(l));
    }
    return listing;
}

} // namespace kelvora::capacity
