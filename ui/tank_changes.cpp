#include "ui/tank_changes.h"

#include "capacity/vocabulary.h"
#include "persist/tank_file.h"
#include "ui/Unit1.h"
#include "ui/identify_page.h"
#include "ui/table_page.h"

#include <string_view>

namespace kelvora::ui {

namespace {

// The readable name of the quick calculation's level field.
std::string_view quickLevelName() {
    for (const auto& term : capacity::vocabulary())
        if (term.component == "Edit35") return term.name;
    return {};
}

} // namespace

std::string tankContent(const TFrmMain& window) {
    const std::string text = persist::tankFileText(window);
    if (quickLevelName().empty()) return text;
    const std::string skipped = std::string(quickLevelName()) + " =";
    std::string kept;
    kept.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string_view line(text.data() + at, end - at);
        if (line.substr(0, skipped.size()) != skipped) kept.append(line);
        at = end;
    }
    return kept;
}

void clearResults(TFrmMain& window) {
    window.clearRows();
    window.tablePage()->showNoTable();
    window.identifyPage()->clear();
    // The level request's amount asks about the earlier tank like the quick level does, and
    // the station's records are that tank's.
    for (const char* result : {"Edit36", "LevelForValue", "LevelForResult", "RecordsFile"})
        window.setText(result, "");
}

} // namespace kelvora::ui
