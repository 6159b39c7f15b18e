#pragma once
// The inclined tank of the "变位识别" page's tests and records a station would keep for it.

#include "identify/tilt_model.h"
#include "ui/Unit1.h"
#include "ui/identify_page.h"

#include <QTabWidget>
#include <QtTest>

#include <algorithm>
#include <fstream>
#include <string>

namespace kelvora::test {

// Left end low at 1° and β 1°, probe F 1500, D 2000 × 6000 with flat ends.
inline void describeInclinedTank(ui::TFrmMain& window) {
    window.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
    window.setChecked("RadioButton3", true);
    window.setChecked("RadioButton21", true);
    window.setChecked("RadioButton14", true);
    const std::pair<const char*, const char*> fields[] = {
        {"Edit29", "1"},    {"Edit30", "1"}, {"Edit39", "1500"}, {"Edit40", "2000"}, {"Edit41", "2000"},
        {"Edit42", "6000"}, {"Edit13", "0"}, {"Edit31", "0"},    {"Edit32", "0"},    {"Edit33", "0"}};
    for (auto [name, text] : fields)
        window.setText(name, text);
}

// Records of the same tank with the right end low at 2° and β 4° into `path`: a level
// column, the litres dispensed per record, and `count` rows.
inline std::string writeInclinedRecords(const std::string& path, int count) {
    capacity::TTankDescription d;
    d.kind = capacity::TStructureKind::skInclined;
    d.A = d.B = 2000, d.L = 6000, d.F = 1500, d.alpha = 1;
    const identify::TiltModel model(d);
    std::ofstream csv(path);
    csv.precision(17);
    csv << "时间,显示油高/mm,出油量/L\n";
    double previous = 0;
    for (int i = 0; i < count; ++i) {
        const double h = 1800 - 1500.0 * i / std::max(1, count - 1);
        const double V = model.volume(-2, 4, h);
        csv << i << "," << h << "," << (i == 0 ? 0 : previous - V) << "\n";
        previous = V;
    }
    return path;
}

// Waits for the page's fit to end.
inline bool fitEnded(ui::TFrmMain& window) {
    return QTest::qWaitFor([&] { return !window.identifyPage()->fitting(); }, 60000);
}

} // namespace kelvora::test
