#include "output/table_columns.h"

#include "capacity/requests.h"
#include "capacity/vertical_description.h"
#include "capacity/volume.h"
#include "kernel/number_text.h"

#include <cstdio>

namespace kelvora::output {

double tableValueScale(const capacity::NamedInputs& inputs) {
    if (!inputs.checked("CheckBox1")) return 1000;
    double scale = kernel::strToFloat(inputs.text("Edit37"));
    if (inputs.text("ComboBox1") == "g/cm^3") scale *= 1000;
    return scale;
}

namespace {

std::string printed(const char* format, double x) {
    char text[400];
    std::snprintf(text, sizeof text, format, x);
    return text;
}

} // namespace

std::optional<std::vector<capacity::RowUncertainty>> tableUncertaintyOf(const capacity::TTankDescription& d,
                                                                        const capacity::NamedInputs& inputs) {
    const capacity::StandardUncertainties u = capacity::readUncertainties(inputs);
    if (!u.any()) return std::nullopt;
    return capacity::tableUncertainty(d, u, tableValueScale(inputs));
}

std::string perMillimetreColumnText(std::optional<double> value) {
    if (!value) return {};
    const std::string text = printed("%.2f", *value);
    return text == "-0.00" ? "0.00" : text;
}

TableColumns tableColumns(const capacity::TTankDescription& d, const capacity::NamedInputs& inputs,
                          std::size_t rowCount,
                          const std::optional<std::vector<capacity::RowUncertainty>>& uncertainty) {
    TableColumns columns;
    if (inputs.checked("PerMillimetre")) {
        // The unrounded values: the uncertainty's rows hold them already.
        std::vector<double> levels, values;
        levels.reserve(rowCount);
        values.reserve(rowCount);
        if (uncertainty) {
            for (const auto& row : *uncertainty) {
                levels.push_back(row.level);
                values.push_back(row.value);
            }
        } else {
            const double scale = tableValueScale(inputs);
            capacity::forEachTableLevel(d, [&](double x) {
                levels.push_back(x);
                values.push_back(static_cast<double>(
                    static_cast<long double>(capacity::checkedVolumeAtLevel(d, x).V) * scale));
            });
        }
        std::vector<std::string> cells(rowCount);
        for (std::size_t i = 0; i + 1 < rowCount && i + 1 < levels.size(); ++i)
            if (levels[i + 1] > levels[i])
                cells[i] = perMillimetreColumnText((static_cast<long double>(values[i + 1]) - values[i]) /
                                                   (static_cast<long double>(levels[i + 1]) - levels[i]));
        columns.headings.push_back(kPerMillimetreHeading);
        columns.cells.push_back(std::move(cells));
    }
    if (uncertainty) {
        std::vector<std::string> U(rowCount), relative(rowCount);
        for (std::size_t i = 0; i < rowCount && i < uncertainty->size(); ++i) {
            const auto& row = (*uncertainty)[i];
            U[i] = printed("%.2f", row.U);
            if (const auto r = row.relative()) relative[i] = printed("%.3f", *r) + "%";
        }
        columns.headings.push_back(inputs.checked("CheckBox1") ? "U (kg)" : "U (L)");
        columns.headings.push_back(kRelativeUncertaintyHeading);
        columns.cells.push_back(std::move(U));
        columns.cells.push_back(std::move(relative));
    }
    if (const std::vector<bool> zone = capacity::roofZoneRows(d); !zone.empty()) {
        std::vector<std::string> remarks(rowCount);
        for (std::size_t i = 0; i < rowCount && i < zone.size(); ++i)
            if (zone[i]) remarks[i] = capacity::kRoofZoneRemark;
        columns.headings.push_back(capacity::kRemarkHeading);
        columns.cells.push_back(std::move(remarks));
    }
    return columns;
}

} // namespace kelvora::output
