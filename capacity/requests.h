#pragma once
// The two requests of the window: the capacity table ("生成容积表") and the quick
// calculation ("计算"). Both run to completion on the caller's thread. A validation stop
// comes back as a message for the plain message box; any other failure is thrown
// (kelvora::Error and its kinds) for the general error report.

#include "capacity/named_inputs.h"
#include "capacity/row_list.h"
#include "capacity/tank_description.h"

#include <optional>
#include <string>

namespace kelvora::capacity {

// More rows than this would exhaust memory before the table could be saved.
inline constexpr double kMaxTableRows = 10'000'000;

namespace messages {
inline constexpr const char* kBadStep = "呵呵，液位间隔必须大于零！";
inline constexpr const char* kStepTooSmall = "呵呵，液位间隔太小了，容积表到不了终点！";
inline constexpr const char* kTooManyRows = "呵呵，容积表超过10000000行，请加大液位间隔！";
} // namespace messages

struct RequestOutcome {
    std::string message; // empty: the request ran to its end
    bool stopped() const { return !message.empty(); }
};

// The table's levels are refused when they could never end or never fit; otherwise
// `expected` is the number of rows.
RequestOutcome checkTableLevels(const TTankDescription& d, std::size_t& expected);

// Calls visit(x) for every level of a checked table: from levelFrom by levelStep, the last
// exactly at levelTo.
template <typename Visit> void forEachTableLevel(const TTankDescription& d, Visit&& visit) {
    double x = d.levelFrom;
    while (x <= d.levelTo) {
        visit(x);
        if (x == d.levelTo) break;
        x = x + d.levelStep;
        if (x > d.levelTo) x = d.levelTo;
    }
}

// Fills `rows` with "level,value" for every level from Edit6 to Edit7 by Edit8, the last
// row exactly at the (limited) top level. A validation stop leaves `rows` as it was; any
// other failure leaves it emptied.
RequestOutcome GenerateCapacityTable(NamedInputs& inputs, RowList& rows);

// Writes the value at the level of Edit35 into Edit36; a stop or failure leaves Edit36.
RequestOutcome QuickCalculation(NamedInputs& inputs);

// The level part of a row: x millimetres in centimetres, general format.
std::string levelText(double x);

} // namespace kelvora::capacity
