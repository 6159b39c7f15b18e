// A fit of the "变位识别" page never stands beside inputs it was not made from: any change
// of an input it read takes it away and bars "采用", as do 新建 and opening another tank
// file; what "采用" writes leaves it, marked "已采用"; and "取消" ends a running fit with
// no result.

#include "ui/Unit1.h"
#include "ui/identify_page.h"
#include "ui/tank_file_menu.h"

#include "identify_fixture.h"
#include "recording_services.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using kelvora::test::RecordingServices;
using kelvora::ui::TFrmMain;

class IdentifyStaleTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFrmMain> window;
    RecordingServices* services = nullptr;
    QTemporaryDir dir;

    std::string path(const char* name) const { return dir.filePath(QLatin1String(name)).toStdString(); }
    QPushButton* button(const char* name) const {
        return window->findChild<QPushButton*>(QLatin1String(name));
    }
    kelvora::ui::IdentifyPage* page() const { return window->identifyPage(); }

    // A fresh window with the tank described and fitted to 300 records.
    void fitted() {
        window = kelvora::test::recordedWindow(services);
        kelvora::test::describeInclinedTank(*window);
        window->setText("RecordsFile", kelvora::test::writeInclinedRecords(path("records.csv"), 300));
        QTest::mouseClick(button("IdentifyFit"), Qt::LeftButton);
        QVERIFY(kelvora::test::fitEnded(*window));
        QVERIFY(page()->fit());
        QVERIFY(button("IdentifyAdopt")->isEnabled());
    }

    void expectCleared(const char* what) {
        QVERIFY2(!page()->fit(), what);
        QVERIFY2(!button("IdentifyAdopt")->isEnabled(), what);
        QVERIFY2(page()->resultLine()->text().isEmpty(), what);
    }

private slots:
    void cleanup() { window.reset(); }

    void aChangedInputTakesTheFitAway() {
        struct Case {
            const char* input;
            const char* value;
            bool clears;
        };
        const Case cases[] = {
            {"Edit40", "2001", true},     // the section
            {"Edit39", "1600", true},     // the probe's place, typed
            {"RadioButton4", "1", true},  // the low end, clicked
            {"Edit29", "1.5", true},      // α typed by hand
            {"ExactGeometry", "1", true}, // the method
            {"Edit13", "5", true},        // the dead volume
            {"RecordsFile", "other.csv", true},
            {"LevelColumn", "显示油高/mm", true},
            {"OutColumn", "出油量/L", true},
            {"BetaZero", "1", true},
            {"TankNumber", "T-9", false}, // read by no fit
            {"Edit6", "10", false},       // the table's levels
            {"Edit35", "500", false},     // the quick level
        };
        for (const Case& c : cases) {
            fitted();
            if (std::string_view(c.input).starts_with("Radio") ||
                c.input == std::string_view("ExactGeometry") || c.input == std::string_view("BetaZero"))
                window->setChecked(c.input, true);
            else
                window->setText(c.input, c.value);
            if (c.clears) {
                expectCleared(c.input);
            } else {
                QVERIFY2(page()->fit(), c.input);
                QVERIFY2(button("IdentifyAdopt")->isEnabled(), c.input);
            }
        }
        // The structure page.
        fitted();
        window->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(0);
        expectCleared("PageControl1");
    }

    void newTankAndAnotherTankFileTakeTheFitAway() {
        fitted();
        window->tankFileMenu().newTank();
        expectCleared("新建");

        // A tank file holding exactly the inputs of the fit is still another tank.
        fitted();
        services->dialogAnswers.push_back(path("same"));
        QVERIFY(window->tankFileMenu().saveAs());
        QVERIFY(page()->fit());
        window->tankFileMenu().openFile(path("same.tank"));
        expectCleared("打开");
    }

    void adoptingKeepsTheResultAsAdopted() {
        fitted();
        QTest::mouseClick(button("IdentifyAdopt"), Qt::LeftButton);
        QVERIFY(page()->fit());
        QVERIFY(page()->adopted());
        QVERIFY(!button("IdentifyAdopt")->isEnabled());
        QVERIFY(page()->resultLine()->text().contains(QStringLiteral("已采用")));
        QCOMPARE(window->text("Edit29"), std::string("2.0000"));
        QVERIFY(window->checked("RadioButton4"));
        // A later change of what the fit read still takes it away.
        window->setText("Edit42", "6100");
        expectCleared("after 采用");
    }

    void cancelLeavesNoResult() {
        window = kelvora::test::recordedWindow(services);
        kelvora::test::describeInclinedTank(*window);
        window->setChecked("ExactGeometry", true);
        window->setText("RecordsFile", kelvora::test::writeInclinedRecords(path("long.csv"), 40000));
        QTest::mouseClick(button("IdentifyFit"), Qt::LeftButton);
        QVERIFY(page()->fitting());
        QVERIFY(button("IdentifyCancel")->isVisible() || !window->isVisible());
        QVERIFY(!button("IdentifyFit")->isEnabled());
        QTest::mouseClick(button("IdentifyCancel"), Qt::LeftButton);
        QVERIFY(kelvora::test::fitEnded(*window));
        QVERIFY(!page()->fit());
        QVERIFY(!button("IdentifyAdopt")->isEnabled());
        QVERIFY(button("IdentifyFit")->isEnabled());
        QVERIFY(services->shown.empty());
        QCOMPARE(window->text("Edit29"), std::string("1"));
    }
};

QTEST_MAIN(IdentifyStaleTest)
#include "identify_stale_test.moc"
