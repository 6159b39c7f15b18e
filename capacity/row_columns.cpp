#include "capacity/row_columns.h"

#include "kernel/number_text.h"

#include <cstdio>

namespace kelvora::capacity {

namespace {

struct Row {
    double level = 0, value = 0; // level in cm
};

std::optional<Row> parse(std::string_view row) {
    const auto comma = row.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const auto level = kernel::tryStrToFloat(row.substr(0, comma));
    const auto value = kernel::tryStrToFloat(row.substr(comma + 1));
    if (!level || !value) return std::nullopt;
    return Row{*level, *value};
}

std::string printed(const char* format, double x) {
    char text[400];
    std::snprintf(text, sizeof text, format, x);
    return text;
}

} // namespace

std::string fixedDecimals(std::string_view valueText) {
    const auto value = kernel::tryStrToFloat(valueText);
    if (!value) return std::string(valueText);
    // The value was rounded to two decimals already: printing it with two decimals gives
    // back those digits, whatever the general format made of them.
    return printed("%.2f", *value);
}

std::optional<double> perMillimetre(const RowList& rows, std::size_t i) {
    if (i + 1 >= rows.size()) return std::nullopt;
    const auto row = parse(rows[i]), next = parse(rows[i + 1]);
    if (!row || !next || !(next->level > row->level)) return std::nullopt;
    return (static_cast<long double>(next->value) - row->value) / ((static_cast<long double>(next->level) - row->level) * 10);
}

std::string perMillimetreText(std::optional<double> value) {
    if (!value) return {};
    return printed("%.3f", *value == 0 ? 0.0 : *value); // never "-0.000"
}

} // namespace kelvora::capacity
