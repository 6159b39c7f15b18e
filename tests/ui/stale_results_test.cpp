// A result never stands beside inputs it was not made from: the quick result and the
// level from a volume go as soon as an input they were made from changes, or when their
// request is refused; other inputs leave them, and so does the start-up that restores them.

#include "ui/Unit1.h"

#include "recording_services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using kelvora::test::RecordingServices;
using kelvora::ui::TFrmMain;

class StaleResultsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFrmMain> window;
    RecordingServices* services = nullptr;

    template <typename T = QWidget> T* w(const char* name) {
        return window->findChild<T*>(QLatin1String(name));
    }
    void click(const char* name) { QTest::mouseClick(w<QAbstractButton>(name), Qt::LeftButton); }
    void type(const char* name, const char* text) {
        QTest::keyClicks(w<QLineEdit>(name), QString::fromUtf8(text));
    }

    // A circular tank with flat heads, both results made from it.
    void bothResults() {
        window->setChecked("RadioButton1", true);
        window->setChecked("RadioButton21", true);
        window->setChecked("RadioButton14", true);
        window->setItemIndex("ComboBox3", 0);
        window->setItemIndex("ComboBox4", 0);
        for (auto [name, text] : {std::pair{"Edit1", "2000"},
                                  {"Edit2", "5000"},
                                  {"Edit13", "0"},
                                  {"Edit31", "0"},
                                  {"Edit32", "0"},
                                  {"Edit33", "0"},
                                  {"Edit35", "500"},
                                  {"LevelForValue", "7853.85"},
                                  {"Edit37", "850"},
                                  {"ComboBox1", "Kg/m^3"}})
            window->setText(name, text);
        click("Button2");
        click("LevelForButton");
        QVERIFY(!window->text("Edit36").empty());
        QVERIFY(!window->text("LevelForResult").empty());
    }

private slots:
    void init() { window = kelvora::test::recordedWindow(services); }
    void cleanup() { window.reset(); }

    void resultsGoWithTheInputsTheyWereMadeFrom() {
        struct Case {
            const char* what;
            std::function<void(StaleResultsTest&)> change;
            bool quickGoes, levelGoes;
        };
        const Case cases[] = {
            {"a diameter typed", [](StaleResultsTest& t) { t.type("Edit1", "5"); }, true, true},
            {"a head chosen", [](StaleResultsTest& t) { t.click("RadioButton15"); }, true, true},
            {"a head's volume subtracted",
             [](StaleResultsTest& t) { t.window->setItemIndex("ComboBox4", 1); }, true, true},
            {"the dead volume", [](StaleResultsTest& t) { t.type("Edit13", "5"); }, true, true},
            {"the attachment's height", [](StaleResultsTest& t) { t.type("Edit33", "1"); }, true, true},
            {"the weight switch", [](StaleResultsTest& t) { t.click("CheckBox1"); }, true, true},
            {"the weight switch by the keyboard",
             [](StaleResultsTest& t) { QTest::keyClick(t.w("CheckBox1"), Qt::Key_Space); }, true, true},
            {"the method", [](StaleResultsTest& t) { t.window->setChecked("ExactGeometry", true); }, true,
             true},
            {"another structure tab",
             [](StaleResultsTest& t) { t.w<QTabWidget>("PageControl1")->setCurrentIndex(2); }, true, true},
            {"the quick level", [](StaleResultsTest& t) { t.type("Edit35", "0"); }, true, false},
            {"the known volume", [](StaleResultsTest& t) { t.type("LevelForValue", "1"); }, false, true},
            {"the kind of the known amount",
             [](StaleResultsTest& t) { t.window->setItemIndex("LevelForMode", 1); }, false, true},
            {"the density in litres mode", [](StaleResultsTest& t) { t.type("Edit37", "1"); }, false, false},
            {"the table's levels", [](StaleResultsTest& t) { t.type("Edit8", "10"); }, false, false},
            {"the rows per column", [](StaleResultsTest& t) { t.type("Edit9", "10"); }, false, false},
            {"the tank's number", [](StaleResultsTest& t) { t.type("TankNumber", "T-1"); }, false, false},
            {"the sphere's diameter, on another tab", [](StaleResultsTest& t) { t.type("Edit34", "3000"); },
             false, false},
            {"a calibration point, on another tab",
             [](StaleResultsTest& t) {
                 auto* grid = t.w<QTableView>("StringGrid1")->model();
                 grid->setData(grid->index(1, 1), QStringLiteral("5"));
             },
             false, false},
        };
        for (const auto& c : cases) {
            window = kelvora::test::recordedWindow(services);
            bothResults();
            c.change(*this);
            QVERIFY2(window->text("Edit36").empty() == c.quickGoes, c.what);
            QVERIFY2(window->text("LevelForResult").empty() == c.levelGoes, c.what);
        }
        // In weight mode the density counts.
        window = kelvora::test::recordedWindow(services);
        window->setChecked("CheckBox1", true);
        bothResults();
        type("Edit37", "1");
        QVERIFY(window->text("Edit36").empty() && window->text("LevelForResult").empty());
    }

    void aRefusedRequestTakesItsOwnResult() {
        bothResults();
        window->setText("Edit35", "");
        window->setText("Edit36", "1"); // as a settings file may hold it
        click("Button2");
        QCOMPARE(services->shown.back().text, std::string("呵呵，数据还没输完呢！"));
        QCOMPARE(window->text("Edit36"), std::string());
        QVERIFY(!window->text("LevelForResult").empty());
        window->setText("LevelForValue", "99999");
        window->setText("LevelForResult", "1");
        click("LevelForButton");
        QVERIFY(services->shown.back().text.starts_with("呵呵，超过油罐的容量了！"));
        QCOMPARE(window->text("LevelForResult"), std::string());
    }

    void startUpRestoresResultsWithTheirInputs() {
        QTemporaryDir dir;
        QFile ini(dir.filePath(QStringLiteral("Config.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(
            "[FrmMainPro]\r\nEdit1=2000\r\nEdit2=5000\r\nEdit35=500\r\nEdit36=3070.92\r\nCheckBox1=0\r\n"
            "[Kelvora]\r\nLevelForValue=7853.85\r\nLevelForResult=999.99\r\n");
        ini.close();
        kelvora::ui::ProgramDir = dir.path().toStdString();
        window->FormActivate();
        QCOMPARE(window->text("Edit1"), std::string("2000"));
        QCOMPARE(window->text("Edit36"), std::string("3070.92"));
        QCOMPARE(window->text("LevelForResult"), std::string("999.99"));
        type("Edit2", "0");
        QCOMPARE(window->text("Edit36"), std::string());
    }
};

QTEST_MAIN(StaleResultsTest)
#include "stale_results_test.moc"
