#pragma once
// What the "容积表" page shows of a generated table besides its rows: the curve of value
// against level, reduced to what a screen can show without losing a peak or a dip, and the
// summary (rows, level range, top value, where the values first fall).

#include "capacity/row_list.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kelvora::capacity {

struct CurvePoint {
    double x = 0, y = 0;
    bool operator==(const CurvePoint&) const = default;
};

// The level (cm) and value of a row "level,value"; nothing for a row that does not read so.
std::optional<CurvePoint> parseRow(std::string_view row);

// Reduces a series of non-decreasing x to what `columns` pixel columns over [x0, x1] can
// show: of the points falling into one column it keeps the first, the lowest, the highest
// and the last, in their original order, so every column shows its exact vertical extent
// and the lines between columns join where they did. A series of no more points than four
// per column comes through whole.
class CurveReducer {
public:
    CurveReducer(double x0, double x1, int columns);
    void add(CurvePoint p);
    std::vector<CurvePoint> finish();

private:
    void flush();

    double x0_, scale_;
    int columns_;
    long column_ = -1;
    std::size_t index_ = 0;
    struct Kept {
        std::size_t index;
        CurvePoint p;
    };
    Kept first_{}, low_{}, high_{}, last_{};
    std::vector<CurvePoint> out_;
};

std::vector<CurvePoint> reduceCurve(std::span<const CurvePoint> points, int columns);

struct TableSummary {
    std::size_t rows = 0;
    double firstLevel = 0, lastLevel = 0; // cm
    double topValue = 0;                  // the value of the last row
    double minValue = 0, maxValue = 0;
    std::optional<double> firstFall; // the first level (cm) whose value is below the row before
    std::vector<CurvePoint> curve;   // reduced to `columns`
};

// One pass over the rows: the summary and the reduced curve. Rows that do not parse are
// left out of both.
TableSummary summarizeTable(const RowList& rows, int columns);

// An axis's tick step: 1, 2 or 5 times a power of ten, the smallest that divides `span`
// into no more than `intervals` steps; 1 for an empty span.
double niceStep(double span, int intervals);

// How many decimals labels need to show ticks `step` apart exactly, in plain decimals
// ("0.0000001", "2000000", never "1e-07" or "2e+06").
int labelDecimals(double step);

} // namespace kelvora::capacity
