// The 文件 menu: every input through a tank file and back in the window, the title, the
// question before unsaved changes are lost, and the gauge chart's export.

#include "ui/Unit1.h"
#include "ui/tank_file_menu.h"

#include "capacity/head_components.h"
#include "capacity/input_table.h"
#include "capacity/page_inputs.h"
#include "capacity/vocabulary.h"
#include "persist/tank_file.h"
#include "recording_services.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using kelvora::test::RecordingServices;
using kelvora::ui::SaveChanges;
using kelvora::ui::TFrmMain;
namespace capacity = kelvora::capacity;

class TankFileMenuTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::string path(const char* name) const { return dir.filePath(QString::fromUtf8(name)).toStdString(); }

    static void trigger(TFrmMain& window, const char* action) {
        auto* a = window.findChild<QAction*>(QLatin1String(action));
        QVERIFY2(a, action);
        a->trigger();
    }

    // Every input's state as text: the window's own record of itself.
    static std::string state(const TFrmMain& w) {
        std::string s = std::to_string(w.activePage());
        auto add = [&](std::string_view name) {
            s += "|" + std::string(name) + "=" + w.text(name) + (w.checked(name) ? "+" : "-") +
                 std::to_string(w.itemIndex(name));
        };
        for (const auto& input : capacity::inputTable())
            add(input.name);
        for (const auto& term : capacity::vocabulary())
            if (capacity::findPageInput(term.component)) add(term.component);
        for (int row = 1; row <= 12; ++row)
            s += "|" + w.grid().cell(1, row) + "," + w.grid().cell(2, row);
        return s;
    }

    // Every input set, of the heads the given shape on both sides.
    static void fill(TFrmMain& w, int page, const capacity::HeadComponents& head, bool second) {
        w.setActivePage(page);
        int n = 1;
        for (const auto& input : capacity::inputTable())
            if (input.kind == capacity::InputKind::Edit && input.name != "Edit36")
                w.setText(input.name, std::to_string(n++));
        w.setChecked(second ? "RadioButton2" : "RadioButton1", true);
        w.setChecked(second ? "RadioButton4" : "RadioButton3", true);
        w.setChecked(head.left.radio, true);
        w.setChecked(head.right.radio, true);
        w.setItemIndex("ComboBox3", second ? 1 : 0);
        w.setItemIndex("ComboBox4", 1);
        w.setChecked("CheckBox1", second);
        w.setText("ComboBox1", second ? "g/cm^3" : "Kg/m^3");
        w.setChecked("ExactGeometry", second);
        w.setText("TankNumber", "T-07");
        w.setText("TankOwner", "某某油库");
        w.setText("ComboBox2", "12");
        w.ComboBox2Change();
        for (int row = 1; row <= 12; ++row) {
            w.grid().setCell(1, row, std::to_string(row * 100));
            w.grid().setCell(2, row, std::to_string(row * 9));
        }
        w.gridChanged();
        // The shape's own fields only: the file keeps no other head's.
        for (const auto& other : capacity::headComponents())
            if (other.word != head.word)
                for (const auto* side : {&other.left, &other.right})
                    for (const auto& field : side->fieldList()) {
                        bool own = false;
                        for (const auto* mine : {&head.left, &head.right})
                            for (const auto& f : mine->fieldList())
                                own = own || f.edit == field.edit;
                        if (!own) w.setText(field.edit, "");
                    }
    }

private slots:
    void everyInputRoundTrips() {
        RecordingServices* services = nullptr;
        auto window = kelvora::test::recordedWindow(services);
        capacity::resetToStartup(*window); // as after a first start without Config.ini
        int count = 0;
        for (int page = 0; page < 4; ++page)
            for (const auto& head : capacity::headComponents())
                for (bool second : {false, true}) {
                    fill(*window, page, head, second);
                    const std::string before = state(*window);
                    const std::string file = path("t") + std::to_string(++count);
                    services->dialogAnswers.push_back(file);
                    trigger(*window, "SaveTankAsAction");
                    QCOMPARE(window->tankFileMenu().currentFile(), file + ".tank");
                    trigger(*window, "NewTankAction");
                    QVERIFY(state(*window) != before);
                    services->openAnswers.push_back(file + ".tank");
                    trigger(*window, "OpenTankAction");
                    QCOMPARE(state(*window), before);
                }
        QVERIFY2(services->shown.empty(), services->shown.empty() ? "" : services->shown[0].text.c_str());
        QCOMPARE(window->tankFileMenu().recentFiles().size(), std::size_t{5});
    }

    void titleAndUnsavedChanges() {
        RecordingServices* services = nullptr;
        auto window = kelvora::test::recordedWindow(services);
        QCOMPARE(window->windowTitle(), QStringLiteral("Kelvora"));
        window->setText("Edit1", "2600");
        QVERIFY(window->close()); // no tank file open: never asks
        QVERIFY(services->saveChangesAsked.empty());

        window = kelvora::test::recordedWindow(services);
        window->setText("TankNumber", "T-07");
        services->dialogAnswers.push_back(path("a.tank"));
        trigger(*window, "SaveTankAction"); // without a file, 保存 is 另存为
        QCOMPARE(window->windowTitle(), QStringLiteral("a.tank（罐号 T-07） - Kelvora"));
        window->setText("Edit1", "2600");
        window->tankFileMenu().refreshTitle();
        QCOMPARE(window->windowTitle(), QStringLiteral("a.tank（罐号 T-07） * - Kelvora"));
        services->saveChangesAnswers = {SaveChanges::Cancel};
        QVERIFY(!window->close());
        QCOMPARE(services->saveChangesAsked, std::vector<std::string>{"a.tank"});
        services->saveChangesAnswers = {SaveChanges::Save};
        QVERIFY(window->close());
        std::vector<capacity::Assignment> saved = kelvora::persist::readTankFile(path("a.tank"));
        QVERIFY(std::any_of(saved.begin(), saved.end(),
                            [](auto& a) { return a.name == "D" && a.value == "2600"; }));

        window = kelvora::test::recordedWindow(services);
        window->tankFileMenu().openFile(path("a.tank"));
        window->setText("Edit1", "1");
        services->saveChangesAnswers = {SaveChanges::Discard};
        trigger(*window, "NewTankAction");
        QCOMPARE(window->windowTitle(), QStringLiteral("Kelvora"));
        QCOMPARE(window->text("Edit1"), std::string());

        // A file that cannot be taken leaves the window as it was, with the report.
        QFile bad(QString::fromStdString(path("bad.tank")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("D = 1\nsection = square\n");
        bad.close();
        window->setText("Edit2", "5000");
        // The tank begun with 新建 has been typed into: its changes are given up first.
        services->saveChangesAnswers = {SaveChanges::Discard};
        services->openAnswers.push_back(path("bad.tank"));
        trigger(*window, "OpenTankAction");
        QCOMPARE(services->saveChangesAsked.back(), std::string("油罐.tank"));
        QCOMPARE(window->text("Edit2"), std::string("5000"));
        // Opening a.tank above said which inputs it left to their defaults (this window was
        // never started, so its head volume choices were unset when a.tank was saved).
        QCOMPARE(services->shown.size(), std::size_t{2});
        QVERIFY(services->shown[0].text.starts_with("罐文件没有给出，按默认值："));
        QVERIFY(services->shown[1].text.find("第2行") != std::string::npos);
    }

    void gaugeChart() {
        RecordingServices* services = nullptr;
        auto window = kelvora::test::recordedWindow(services);
        window->tankFileMenu().openFile(path("a.tank"));
        for (auto [name, value] : {std::pair{"Edit1", "2000"},
                                   {"Edit2", "5000"},
                                   {"Edit13", "0"},
                                   {"Edit31", "0"},
                                   {"Edit32", "0"},
                                   {"Edit33", "0"}})
            window->setText(name, value);
        for (auto name : {"RadioButton1", "RadioButton21", "RadioButton14"})
            window->setChecked(name, true);
        services->numberAnswer = 4;
        services->dialogAnswers.push_back(path("chart.csv"));
        auto* button = window->findChild<QPushButton*>(QStringLiteral("GaugeChartButton"));
        QVERIFY(button);
        button->click();
        QFile chart(QString::fromStdString(path("chart.csv")));
        QVERIFY(chart.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(chart.readAll());
        QVERIFY2(
            text.endsWith(QStringLiteral("0,0\n500,3070.92\n1000,7853.98\n1500,12637.04\n2000,15707.96\n")),
            qPrintable(text));
        QVERIFY(text.startsWith(QStringLiteral("# tank_number: T-07\n")));
    }
};

QTEST_MAIN(TankFileMenuTest)
#include "tank_file_menu_test.moc"
