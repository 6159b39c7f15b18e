// 新建: every result and page of the earlier tank cleared; a tank begun with it and typed
// into since asks before 退出 loses it; a level looked up in 快捷计算 is no change.

#include "ui/Unit1.h"
#include "ui/identify_page.h"
#include "ui/table_page.h"
#include "ui/tank_file_menu.h"

#include "persist/tank_file.h"
#include "recording_services.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using kelvora::test::RecordingServices;
using kelvora::ui::SaveChanges;
using kelvora::ui::TFrmMain;

class NewTankTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::string path(const char* name) const { return dir.filePath(QString::fromUtf8(name)).toStdString(); }

    static void trigger(TFrmMain& window, const char* action) {
        auto* a = window.findChild<QAction*>(QLatin1String(action));
        QVERIFY2(a, action);
        a->trigger();
    }
    static void click(TFrmMain& window, const char* button) {
        auto* b = window.findChild<QPushButton*>(QLatin1String(button));
        QVERIFY2(b, button);
        b->click();
    }

    static void describeTank(TFrmMain& w) {
        w.setActivePage(0);
        for (auto name : {"RadioButton1", "RadioButton21", "RadioButton14"})
            w.setChecked(name, true);
        const std::pair<const char*, const char*> fields[] = {
            {"Edit1", "2000"}, {"Edit2", "5000"}, {"Edit6", "0"},    {"Edit7", "2000"},
            {"Edit8", "100"},  {"Edit9", "50"},   {"Edit13", "0"},   {"Edit31", "0"},
            {"Edit32", "0"},   {"Edit33", "0"},   {"Edit35", "500"}, {"LevelForValue", "1000"}};
        for (auto [name, text] : fields)
            w.setText(name, text);
    }

private slots:
    void clearsEveryResult() {
        RecordingServices* services = nullptr;
        auto window = kelvora::test::recordedWindow(services);
        describeTank(*window);
        click(*window, "Button1"); // the workbook's dialog cancelled
        click(*window, "Button2");
        click(*window, "LevelForButton");
        QFile records(dir.filePath(QStringLiteral("records.csv")));
        QVERIFY(records.open(QIODevice::WriteOnly));
        records.write("液位,出油量\n1000,0\n900,100\n");
        records.close();
        window->setText("RecordsFile", records.fileName().toStdString());
        click(*window, "IdentifyRead");
        QVERIFY(!window->rows().empty());
        QVERIFY(!window->text("Edit36").empty());
        QVERIFY(!window->text("LevelForResult").empty());
        auto* preview = window->findChild<QTableView*>(QStringLiteral("IdentifyPreview"));
        QVERIFY(preview->model()->rowCount() > 0);
        QVERIFY2(services->shown.empty(), services->shown.empty() ? "" : services->shown[0].text.c_str());

        trigger(*window, "NewTankAction");
        QVERIFY(window->rows().empty());
        QCOMPARE(window->tablePage()->rowsModel()->rowCount(), 0);
        QVERIFY(!window->findChild<QLabel*>(QStringLiteral("TableHint"))->isHidden());
        QVERIFY(window->findChild<QWidget*>(QStringLiteral("TableSplitter"))->isHidden());
        for (auto name : {"Edit1", "Edit35", "Edit36", "LevelForValue", "LevelForResult", "RecordsFile"})
            QVERIFY2(window->text(name).empty(), name);
        QCOMPARE(preview->model()->rowCount(), 0);
        QVERIFY(!window->identifyPage()->fit());
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("IdentifySummary"))
                    ->text()
                    .startsWith(QStringLiteral("还没有读取记录")));
        QVERIFY(!window->findChild<QPushButton*>(QStringLiteral("IdentifyAdopt"))->isEnabled());
        QCOMPARE(window->windowTitle(), QStringLiteral("Kelvora"));
        QVERIFY(window->close()); // nothing typed since 新建: nothing to ask
        QVERIFY(services->saveChangesAsked.empty());
    }

    void aNewTankTypedIntoAsksOnQuit() {
        struct Case {
            SaveChanges answer;
            bool closes, saved;
        };
        const Case cases[] = {
            {SaveChanges::Cancel, false, false},
            {SaveChanges::Discard, true, false},
            {SaveChanges::Save, true, true},
        };
        int n = 0;
        for (const auto& c : cases) {
            RecordingServices* services = nullptr;
            auto window = kelvora::test::recordedWindow(services);
            trigger(*window, "NewTankAction");
            window->setText("TankNumber", "3号罐");
            window->setText("Edit1", "2600");
            window->tankFileMenu().refreshTitle();
            QCOMPARE(window->windowTitle(), QStringLiteral("新油罐（罐号 3号罐） * - Kelvora"));
            const std::string file = path("new") + std::to_string(++n);
            services->saveChangesAnswers = {c.answer};
            services->dialogAnswers.push_back(file);
            window->show();
            trigger(*window, "QuitAction");
            QCOMPARE(services->saveChangesAsked, std::vector<std::string>{"3号罐.tank"});
            QCOMPARE(window->isVisible(), !c.closes);
            QCOMPARE(QFile::exists(QString::fromStdString(file + ".tank")), c.saved);
            if (c.saved) {
                QCOMPARE(services->dialogs.back().fileName, std::string("3号罐"));
                const auto saved = kelvora::persist::readTankFile(file + ".tank");
                QVERIFY(std::any_of(saved.begin(), saved.end(),
                                    [](auto& a) { return a.name == "D" && a.value == "2600"; }));
            }
        }
    }

    void aQuickLevelIsNoChange() {
        RecordingServices* services = nullptr;
        auto window = kelvora::test::recordedWindow(services);
        // A tank begun with 新建, and one opened from its file.
        trigger(*window, "NewTankAction");
        window->setText("Edit35", "750");
        QVERIFY(!window->tankFileMenu().changed());
        window->tankFileMenu().refreshTitle();
        QCOMPARE(window->windowTitle(), QStringLiteral("Kelvora"));
        window->setText("Edit35", "");
        describeTank(*window);
        services->dialogAnswers.push_back(path("quick.tank"));
        trigger(*window, "SaveTankAction");
        QVERIFY(!window->tankFileMenu().changed());
        for (auto level : {"1200", "", "1999.5"}) {
            window->setText("Edit35", level);
            click(*window, "Button2");
            QVERIFY2(!window->tankFileMenu().changed(), level);
        }
        window->setText("Edit8", "50");
        QVERIFY(window->tankFileMenu().changed());
        services->saveChangesAnswers = {SaveChanges::Discard};
        QVERIFY(window->close());
        QCOMPARE(services->saveChangesAsked, std::vector<std::string>{"quick.tank"});
    }
};

QTEST_MAIN(NewTankTest)
#include "new_tank_test.moc"
