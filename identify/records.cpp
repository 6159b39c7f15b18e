#include "identify/records.h"

#include "kernel/errors.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string_view>

namespace kelvora::identify {

namespace {

enum Role { kLevel, kIn, kOut, kCumulativeIn, kCumulativeOut, kRoles };

bool containsAny(std::string_view text, std::initializer_list<std::string_view> words) {
    return std::any_of(words.begin(), words.end(), [&](std::string_view w) { return text.find(w) != std::string_view::npos; });
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
    const bool in = containsAny(h, {"进油", "进液", "入库", "收油", "卸油", "进货", "inflow", "delivery", "delivered"}) ||
                    h == "in" || h.starts_with("in/") || h.starts_with("in(");
    const bool out = containsAny(h, {"出油", "出液", "付油", "发油", "销售", "加油量", "outflow", "dispensed", "sales"}) ||
                     h == "out" || h.starts_with("out/") || h.starts_with("out(");
    if (in && !out) return cumulative ? kCumulativeIn : kIn;
    if (out && !in) return cumulative ? kCumulativeOut : kOut;
    if (!cumulative && !containsAny(h, {"水"}) &&
        containsAny(h, {"油高", "油位", "液位", "液高", "油面", "level", "height"}))
        return kLevel;
    return std::nullopt;
}

} // namespace

std::string missingColumnMessage(const std::string& name) { return "记录文件中没有“" + name + "”列！"; }

ColumnChoice chooseColumns(const std::vector<std::string>& heading, const ColumnNames& names) {
    std::array<std::optional<std::size_t>, kRoles> chosen;
    const std::array<const std::string*, kRoles> given{&names.level, &names.in, &names.out, &names.cumulativeIn,
                                                        &names.cumulativeOut};
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
        const bool perRecord = recognised[kIn] || recognised[kOut];
        chosen[perRecord ? kIn : kCumulativeIn] = recognised[perRecord ? kIn : kCumulativeIn];
        chosen[perRecord ? kOut : kCumulativeOut] = recognised[perRecord ? kOut : kCumulativeOut];
    }
    if (!chosen[kLevel]) throw IoError(messages::kNoLevelColumn);
    if (!chosen[kIn] && !chosen[kOut] && !chosen[kCumulativeIn] && !chosen[kCumulativeOut])
        throw IoError(messages::kNoAmountColumn);
    return {chosen[kLevel], chosen[kIn], chosen[kOut], chosen[kCumulativeIn], chosen[kCumulativeOut]};
}

Records extractRecords(const Sheet& sheet, const ColumnChoice& columns) {
    Records records;
    long double movedIn = 0, movedOut = 0, cumulativeIn = 0, cumulativeOut = 0;
    using Kind = Cell::Kind;
    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
        const SheetRow& row = sheet.rows[r];
        bool usable = true;
        // An amount per record adds to its running total; a cumulative one replaces it.
        auto amount = [&](const std::optional<std::size_t>& column, long double& total, bool cumulative) {
            if (!column) return;
            const Cell& cell = row[*column];
            if (cell.kind == Kind::Number) total = cumulative ? cell.number : total + cell.number;
            else if (cell.kind != Kind::Empty) usable = false;
        };
        amount(columns.in, movedIn, false);
        amount(columns.out, movedOut, false);
        amount(columns.cumulativeIn, cumulativeIn, true);
        amount(columns.cumulativeOut, cumulativeOut, true);
        const Cell& level = row[*columns.level];
        if (level.kind != Kind::Number || !usable) {
            ++records.skipped;
            continue;
        }
        records.level.push_back(level.number);
        records.line.push_back(r < sheet.lines.size() ? sheet.lines[r] : r + 1);
        records.net.push_back(static_cast<double>(movedIn - movedOut + cumulativeIn - cumulativeOut));
    }
    return records;
}

} // namespace kelvora::identify
