#include "capacity/table_curve.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kelvora::capacity {

std::optional<CurvePoint> parseRow(std::string_view row) {
    const auto comma = row.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    CurvePoint p;
    const char* end = row.data() + row.size();
    const auto level = std::from_chars(row.data(), row.data() + comma, p.x);
    if (level.ec != std::errc() || level.ptr != row.data() + comma) return std::nullopt;
    const auto value = std::from_chars(row.data() + comma + 1, end, p.y);
    if (value.ec != std::errc() || value.ptr != end) return std::nullopt;
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return std::nullopt;
    return p;
}

CurveReducer::CurveReducer(double x0, double x1, int columns)
    : x0_(x0), scale_(x1 > x0 ? columns / (x1 - x0) : 0), columns_(std::max(columns, 1)) {}

void CurveReducer::add(CurvePoint p) {
    long column = static_cast<long>(std::floor((p.x - x0_) * scale_));
    column = std::clamp<long>(column, 0, columns_ - 1);
    const Kept k{index_++, p};
    if (column != column_) {
        flush();
        column_ = column;
        first_ = low_ = high_ = last_ = k;
        return;
    }
    if (p.y < low_.p.y) low_ = k;
    if (p.y > high_.p.y) high_ = k;
    last_ = k;
}

void CurveReducer::flush() {
    if (column_ < 0) return;
    Kept kept[] = {first_, low_, high_, last_};
    std::sort(std::begin(kept), std::end(kept),
              [](const Kept& a, const Kept& b) { return a.index < b.index; });
    std::size_t previous = static_cast<std::size_t>(-1);
    for (const Kept& k : kept) {
        if (k.index == previous) continue;
        out_.push_back(k.p);
        previous = k.index;
    }
}

std::vector<CurvePoint> CurveReducer::finish() {
    flush();
    column_ = -1;
    return std::move(out_);
}

std::vector<CurvePoint> reduceCurve(std::span<const CurvePoint> points, int columns) {
    if (points.empty()) return {};
    CurveReducer reducer(points.front().x, points.back().x, columns);
    for (const CurvePoint& p : points)
        reducer.add(p);
    return reducer.finish();
}

TableSummary summarizeTable(const RowList& rows, int columns) {
    TableSummary s;
    std::optional<CurvePoint> first, last;
    for (std::size_t i = 0; i < rows.size() && !first; ++i)
        first = parseRow(rows[i]);
    for (std::size_t i = rows.size(); i-- > 0 && !last;)
        last = parseRow(rows[i]);
    if (!first || !last) return s;
    s.firstLevel = first->x;
    s.lastLevel = last->x;
    s.topValue = last->y;
    s.minValue = s.maxValue = first->y;

    CurveReducer reducer(first->x, last->x, columns);
    std::optional<double> previous;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto p = parseRow(rows[i]);
        if (!p) continue;
        ++s.rows;
        if (previous && p->y < *previous && !s.firstFall) s.firstFall = p->x;
        previous = p->y;
        s.minValue = std::min(s.minValue, p->y);
        s.maxValue = std::max(s.maxValue, p->y);
        reducer.add(*p);
    }
    s.curve = reducer.finish();
    return s;
}

double niceStep(double span, int intervals) {
    if (!(span > 0) || !std::isfinite(span) || intervals < 1) return 1;
    const double raw = span / intervals;
    double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (;; power *= 10)
        for (double mantissa : {1.0, 2.0, 5.0})
            // A relative tolerance: 0.3 / 3 is a hair above 0.1 in binary.
            if (mantissa * power >= raw * (1 - 1e-9)) return mantissa * power;
}

int labelDecimals(double step) {
    if (!(step > 0) || !std::isfinite(step)) return 0;
    for (int decimals = 0; decimals < 15; ++decimals) {
        const double scaled = step * std::pow(10.0, decimals);
        if (std::fabs(scaled - std::round(scaled)) <= 1e-6 * scaled) return decimals;
    }
    return 15;
}

} // namespace kelvora::capacity
