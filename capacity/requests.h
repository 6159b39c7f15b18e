#pragma once
// The two requests of the window: the capacity table ("生成容积表") and the quick
// calculation ("计算"). Both run to completion on the caller's thread. A validation stop
// comes back as a message for the plain message box; any other failure is thrown
// (kelvora::Error and its kinds) for the general error report.

#include "capacity/named_inputs.h"
#include "capacity/row_list.h"
#include "capacity/tank_description.h"

#include <cmath>
#include <optional>
#include <string>
#include <utility>

namespace kelvora::capacity {

// More rows than this would exhaust memory before the table could be saved.
inline constexpr double kMaxTableRows = 10'000'000;

namespace messages {
inline constexpr const char* kBadStep = "呵呵，液位间隔必须大于零！";
inline constexpr const char* kStepTooSmall = "呵呵，液位间隔太小了，容积表到不了终点！";
inline constexpr const char* kTooManyRows = "呵呵，容积表超过10000000行，请加大液位间隔！";
} // namespace messages

struct RequestOutcome {
    RequestOutcome() = default;
    RequestOutcome(std::string stop, std::string extrapolated = {})
        : message(std::move(stop)), note(std::move(extrapolated)) {}
    std::string message; // empty: the request ran to its end
    std::string note;    // of a request that ran: the levels extrapolated beyond calibration points
    bool stopped() const { return !message.empty(); }
};

// The table's levels are refused when they could never end or never fit; otherwise
// `expected` is the number of rows.
RequestOutcome checkTableLevels(const TTankDescription& d, std::size_t& expected);

// Calls visit(x) for every level of a checked table, none when levelFrom > levelTo. Each
// level is levelFrom + k × levelStep rounded once, so a fractional step gathers no error
// over the rows; a level a rounding error short of the top level, or past it, is the top
// level itself and the last row.
template <typename Visit> void forEachTableLevel(const TTankDescription& d, Visit&& visit) {
    if (d.levelFrom > d.levelTo) return;
    const long double snap = 1e-9L * d.levelStep;
    for (double k = 0;; ++k) {
        double x = std::fma(k, d.levelStep, d.levelFrom);
        const bool last = !(x < d.levelTo) || d.levelTo - static_cast<long double>(x) <= snap;
        if (last) x = d.levelTo;
        visit(x);
        if (last) break;
    }
}

// Fills `rows` with "level,value" for the levels Edit6 + k × Edit8 (k = 0, 1, 2, ...) below
// Edit7, then the (limited) top level Edit7 itself, which also stands for a level within
// 1e-9 of a step of it. A validation stop, a level whose volume cannot be composed or is
// negative included, leaves `rows` as it was; any other failure (a value the double range
// cannot hold included) leaves it emptied.
RequestOutcome GenerateCapacityTable(NamedInputs& inputs, RowList& rows);

// Writes the value at the level of Edit35 into Edit36; a stop or failure leaves Edit36.
// A level whose volume cannot be composed or is negative stops with the message naming it.
RequestOutcome QuickCalculation(NamedInputs& inputs);

// The level part of a row: x millimetres in centimetres, general format.
std::string levelText(double x);

} // namespace kelvora::capacity
