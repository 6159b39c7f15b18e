#include "capacity/vertical_tables.h"

#include "capacity/tank_description.h"
#include "capacity/vertical_description.h"
#include "kernel/number_text.h"
#include "vertical/vertical_check.h"

namespace kelvora::capacity {

namespace {

// The vertical description a table of its own needs, or the message that stops it.
std::string readVertical(NamedInputs& inputs, std::optional<TTankDescription>& d, bool density) {
    if (Jgxs(inputs) != TStructureKind::skVertical) return messages::kNotVertical;
    ReadResult read = ReadTankDescription(inputs, RequestType::Table);
    if (!read.description) return read.message;
    if (density)
        if (std::string problem = vertical::checkLiquidDensity(read.description->vertical, true);
            !problem.empty())
            return problem;
    d = std::move(read.description);
    return {};
}

} // namespace

RowList hydrostaticRows(const TTankDescription& d) {
    RowList rows;
    std::size_t expected = 0;
    checkTableLevels(d, expected);
    rows.reserve(expected);
    const double rho = d.vertical.density.value_or(0);
    forEachTableLevel(d, [&](double x) {
        rows.append(levelText(x), kernel::RoundToStr(vertical::hydrostaticLitres(d.vertical, rho, x)));
    });
    return rows;
}

std::vector<std::vector<std::string>> millimetreRows(const TTankDescription& d) {
    std::vector<std::vector<std::string>> rows;
    int course = 0;
    for (const auto& litres : vertical::millimetreLitres(d.vertical)) {
        std::vector<std::string> row{std::to_string(++course)};
        for (double v : litres)
            row.push_back(kernel::RoundToStr(v));
        rows.push_back(std::move(row));
    }
    return rows;
}

RequestOutcome HydrostaticTable(NamedInputs& inputs, RowList& rows) {
    std::optional<TTankDescription> d;
    if (std::string stop = readVertical(inputs, d, true); !stop.empty()) return {stop};
    std::size_t expected = 0;
    if (auto refused = checkTableLevels(*d, expected); refused.stopped()) return refused;
    rows = hydrostaticRows(*d);
    return {{}, roofZoneNote(*d, d->levelFrom, d->levelTo)};
}

RequestOutcome MillimetreTable(NamedInputs& inputs, std::vector<std::vector<std::string>>& rows) {
    if (Jgxs(inputs) != TStructureKind::skVertical) return {messages::kNotVertical};
    ReadResult read = ReadTankDescription(inputs, RequestType::LevelFor);
    if (!read.description) return {read.message};
    rows = millimetreRows(*read.description);
    return {};
}

} // namespace kelvora::capacity
