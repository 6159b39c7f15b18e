#include "identify/records.h"

#include "kernel/errors.h"
#include "kernel/number_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <string_view>

namespace kelvora::identify {

namespace {

enum Role { kLevel, kIn, kOut, kCumulativeIn, kCumulativeOut, kRoles };

bool containsAny(std::string_view text, std::initializer_list<std::string_view> words) {
    return std::any_of(words.begin(), words.end(),
                       [&](std::string_view w) { return text.find(w) != std::string_view::npos; });
}

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(c < 0x80 ? std::tolower(c) : c); });
    return out;
}

// The role a heading names, by the words station exports use; the unit after "/" or in
// brackets does not matter.
std::optional<Role> roleOf(std::string_view heading) {
    const std::string h = lower(heading);
    const bool cumulative = containsAny(h, {"累加", "累计", "累积", "cumulative", "total"});
    const bool in =
        containsAny(h, {"进油", "进液", "入库", "收油", "卸油", "进货", "inflow", "delivery", "delivered"}) ||
        h == "in" || h.starts_with("in/") || h.starts_with("in(");
    const bool out =
        containsAny(h, {"出油", "出液", "付油", "发油", "销售", "加油量", "outflow", "dispensed", "sales"}) ||
        h == "out" || h.starts_with("out/") || h.starts_with("out(");
    if (in && !out) return cumulative ? kCumulativeIn : kIn;
    if (out && !in) return cumulative ? kCumulativeOut : kOut;
    if (!cumulative && !containsAny(h, {"水"}) &&
        containsAny(h, {"油高", "油位", "液位", "液高", "油面", "level", "height"}))
        return kLevel;
    return std::nullopt;
}

} // namespace

std::string missingColumnMessage(const std::string& name) {
    return "记录文件中没有“" + name + "”列！";
}

ColumnChoice chooseColumns(const std::vector<std::string>& heading, const ColumnNames& names) {
    std::array<std::optional<std::size_t>, kRoles> chosen;
    const std::array<const std::string*, kRoles> given{&names.level, &names.in, &names.out,
                                                       &names.cumulativeIn, &names.cumulativeOut};
    bool amountByHand = false;
    for (int role = 0; role < kRoles; ++role) {
        const std::string& name = *given[role];
        if (name.empty()) continue;
        const auto it = std::find(heading.begin(), heading.end(), name);
        if (it == heading.end()) throw IoError(missingColumnMessage(name));
        chosen[role] = static_cast<std::size_t>(it - heading.begin());
        amountByHand = amountByHand || role != kLevel;
    }
    std::array<std::optional<std::size_t>, kRoles> recognised;
    for (std::size_t i = 0; i < heading.size(); ++i)
        if (const auto role = roleOf(heading[i]); role && !recognised[*role]) recognised[*role] = i;
    if (!chosen[kLevel]) chosen[kLevel] = recognised[kLevel];
    if (!amountByHand) {
        chosen[recognised[kIn] ? kIn : kCumulativeIn] = recognised[recognised[kIn] ? kIn : kCumulativeIn];
        chosen[recognised[kOut] ? kOut : kCumulativeOut] =
            recognised[recognised[kOut] ? kOut : kCumulativeOut];
    }
    if (!chosen[kLevel]) throw IoError(messages::kNoLevelColumn);
    if (!chosen[kIn] && !chosen[kOut] && !chosen[kCumulativeIn] && !chosen[kCumulativeOut])
        throw IoError(messages::kNoAmountColumn);
    return {chosen[kLevel], chosen[kIn], chosen[kOut], chosen[kCumulativeIn], chosen[kCumulativeOut]};
}

std::string columnsUsedText(const std::vector<std::string>& heading, const ColumnChoice& columns) {
    const std::array<std::pair<const std::optional<std::size_t>*, const char*>, kRoles> roles{
        {{&columns.level, "液位"},
         {&columns.in, "进油量"},
         {&columns.out, "出油量"},
         {&columns.cumulativeIn, "累加进油量"},
         {&columns.cumulativeOut, "累加出油量"}}};
    std::string text;
    for (const auto& [column, role] : roles) {
        if (!*column || **column >= heading.size()) continue;
        if (!text.empty()) text += "，";
        text += std::string(role) + "“" + heading[**column] + "”";
    }
    return text;
}

namespace {

std::string rowText(const Sheet& sheet, std::size_t row) {
    return "记录文件第 " + std::to_string(sheet.lines[row]) + " 行";
}

std::string shown(const Cell& cell) {
    if (cell.kind == Cell::Kind::Number) {
        if (std::isnan(cell.number)) return "NaN";
        if (std::isinf(cell.number)) return cell.number < 0 ? "-inf" : "inf";
        return kernel::formatGeneral(cell.number);
    }
    // At most 40 characters of a text, cut between characters.
    std::size_t end = 0, chars = 0;
    while (end < cell.text.size() && chars < 40) {
        ++end;
        while (end < cell.text.size() && (static_cast<unsigned char>(cell.text[end]) & 0xC0) == 0x80)
            ++end;
        ++chars;
    }
    return end < cell.text.size() ? cell.text.substr(0, end) + "…" : cell.text;
}

// The cell's number; a refusal naming the row and the column when it holds none.
double numberIn(const Sheet& sheet, std::size_t row, std::size_t column, const Cell& cell) {
    const std::string where = rowText(sheet, row) + "“" + sheet.heading[column] + "”列";
    if (cell.kind == Cell::Kind::Formula) throw RecordsRefusal(where + "是没有计算结果的公式！");
    if (cell.kind != Cell::Kind::Number) throw RecordsRefusal(where + "的“" + shown(cell) + "”不是数！");
    if (!std::isfinite(cell.number) || std::fabs(cell.number) > kMaxRecordMagnitude)
        throw RecordsRefusal(where + "的数 " + shown(cell) + " 超出范围！");
    return cell.number;
}

} // namespace

Records extractRecords(const Sheet& sheet, const ColumnChoice& columns) {
    Records records;
    records.skipped = sheet.emptyRows;
    long double movedIn = 0, movedOut = 0, cumulativeIn = 0, cumulativeOut = 0;
    using Kind = Cell::Kind;
    struct Amount {
        std::optional<std::size_t> column;
        long double* total;
        bool cumulative;
    };
    const std::array<Amount, 4> amounts{{{columns.in, &movedIn, false},
                                         {columns.out, &movedOut, false},
                                         {columns.cumulativeIn, &cumulativeIn, true},
                                         {columns.cumulativeOut, &cumulativeOut, true}}};
    for (std::size_t r = 0; r < sheet.rowCount(); ++r) {
        const Cell level = sheet.cell(r, *columns.level);
        std::array<Cell, 4> cells;
        std::optional<std::size_t> filledAmount;
        for (std::size_t k = 0; k < amounts.size(); ++k) {
            if (!amounts[k].column) continue;
            cells[k] = sheet.cell(r, *amounts[k].column);
            if (cells[k].kind != Kind::Empty && !filledAmount) filledAmount = *amounts[k].column;
        }
        if (level.kind == Kind::Empty && !filledAmount) {
            ++records.skipped;
            continue;
        }
        // An amount per record adds to its running total; a cumulative one replaces it.
        for (std::size_t k = 0; k < amounts.size(); ++k) {
            if (!amounts[k].column || cells[k].kind == Kind::Empty) continue;
            const double x = numberIn(sheet, r, *amounts[k].column, cells[k]);
            *amounts[k].total = amounts[k].cumulative ? x : *amounts[k].total + x;
        }
        if (level.kind == Kind::Empty)
            throw RecordsRefusal(rowText(sheet, r) + "有油量而没有液位（“" + sheet.heading[*filledAmount] +
                                 "”列有数，“" + sheet.heading[*columns.level] + "”列是空的）！");
        records.level.push_back(numberIn(sheet, r, *columns.level, level));
        records.line.push_back(sheet.lines[r]);
        records.net.push_back(static_cast<double>(movedIn - movedOut + cumulativeIn - cumulativeOut));
    }
    return records;
}

} // namespace kelvora::identify
