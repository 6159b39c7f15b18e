#include "cli/register_quantity.h"

#include "capacity/page_inputs.h"
#include "capacity/vocabulary.h"
#include "quantity/quantity.h"

#include <algorithm>
#include <exception>

namespace kelvora::cli {

namespace {

bool isQuantityInput(std::string_view name) {
    if (const capacity::Term* term = capacity::findTerm(name)) name = term->component;
    const capacity::InputInfo* input = capacity::findPageInput(name);
    return input && input->container == capacity::kQuantityPageName;
}

// The CSV lines of `text`, a line break inside a quoted cell kept in its line.
std::vector<std::string> csvLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') quoted = !quoted;
        if (c == '\n' && !quoted) {
            lines.push_back(std::move(line));
            line.clear();
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

} // namespace

bool namesQuantityInputs(const std::vector<std::string>& heading) {
    for (const auto& name : heading)
        if (isQuantityInput(name)) return true;
    return false;
}

QuantityCells registerQuantity(capacity::NamedInputs& inputs, std::string& status, std::string& message) {
    std::string refusal;
    try {
        const quantity::QuantityOutcome q = quantity::computeQuantity(inputs);
        if (q.message.empty())
            return {q.volume20.text(), q.mass.text(), static_cast<long long>(q.volume20.units),
                    static_cast<long long>(q.mass.units)};
        refusal = q.message;
    } catch (const std::exception& e) {
        refusal = e.what();
    }
    status = "refused";
    message += (message.empty() ? "" : "；") + std::string("油量：") + refusal;
    return {};
}

std::string withQuantityColumns(const std::string& summary,
                                const std::vector<std::optional<QuantityCells>>& cells) {
    const std::vector<std::string> lines = csvLines(summary);
    std::string text;
    long long volume = 0, mass = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i == 0) {
            text += ",volume20,mass\n";
            continue;
        }
        const std::optional<QuantityCells>& c = i - 1 < cells.size() ? cells[i - 1] : std::nullopt;
        text += "," + (c ? c->volume20 : std::string()) + "," + (c ? c->mass : std::string()) + "\n";
        if (c) volume += c->volume20Units, mass += c->massUnits;
    }
    const int commas =
        lines.empty() ? 0 : static_cast<int>(std::count(lines[0].begin(), lines[0].end(), ','));
    text += "合计" + std::string(static_cast<std::size_t>(commas), ',') + "," +
            quantity::Shown{volume, 2}.text() + "," + quantity::Shown{mass, 2}.text() + "\n";
    return text;
}

} // namespace kelvora::cli
