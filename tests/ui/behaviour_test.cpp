// The window's reactions to typing and clicking, on the events that trigger them and on
// no others.

#include "capacity/head_components.h"
#include "ui/Unit1.h"

#include "recording_services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

using kelvora::test::RecordingServices;
using kelvora::ui::TFrmMain;

class BehaviourTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFrmMain> window;
    RecordingServices* services = nullptr;

    template <typename T = QWidget> T* w(const char* name) { return window->findChild<T*>(QLatin1String(name)); }
    QString textOf(const char* name) { return w<QLineEdit>(name)->text(); }
    bool excludableEnabled(bool expected) {
        for (auto name : kelvora::capacity::excludableHeadButtons())
            if (w(std::string(name).c_str())->isEnabled() != expected) return false;
        return true;
    }
    void pickTab(int index) {
        auto* bar = w<QTabWidget>("PageControl1")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

private slots:
    void init() {
        window = kelvora::test::recordedWindow(services);
    }
    void cleanup() { window.reset(); }

    void keyFiltersDropEverythingButDigitsAndThePoint() {
        // The count of rows per column is the one field without the point.
        QTest::keyClicks(w<QLineEdit>("Edit9"), QStringLiteral("1-2,3e4.5 x"));
        QCOMPARE(textOf("Edit9"), QStringLiteral("12345"));
        QTest::keyClick(w<QLineEdit>("Edit9"), Qt::Key_Backspace);
        QCOMPARE(textOf("Edit9"), QStringLiteral("1234"));
        QTest::keyClicks(w<QLineEdit>("Edit6"), QStringLiteral("1..5-e"));
        QCOMPARE(textOf("Edit6"), QStringLiteral("1..5"));
        // Paste shortcuts are dropped; text put in by the program is not filtered.
        QTest::keyClick(w<QLineEdit>("Edit6"), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(textOf("Edit6"), QStringLiteral("1..5"));
        window->setText("Edit6", "-1,5");
        QCOMPARE(textOf("Edit6"), QStringLiteral("-1,5"));
    }

    void densityMessageOnEveryChangeToANonNumber() {
        QTest::keyClicks(w<QLineEdit>("Edit37"), QStringLiteral("0.85"));
        QVERIFY(services->shown.empty());
        QTest::keyClicks(w<QLineEdit>("Edit37"), QStringLiteral("."));
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(services->shown[0].text, std::string("输入内容不是数字"));
        window->setText("Edit37", "7");
        QTest::keyClick(w<QLineEdit>("Edit37"), Qt::Key_End);
        QTest::keyClick(w<QLineEdit>("Edit37"), Qt::Key_Backspace);
        QCOMPARE(services->shown.size(), std::size_t(2));
        QCOMPARE(textOf("Edit37"), QString());
    }

    void weightRowFollowsTheMouseNotTheKeyboard() {
        window->ShowWeightLabel();
        QVERIFY(w("Edit37")->isHidden() && w("ComboBox1")->isHidden() && w("Label46")->isHidden());
        QVERIFY(!w("Label47")->isHidden());
        QTest::mouseClick(w<QCheckBox>("CheckBox1"), Qt::LeftButton);
        QVERIFY(window->checked("CheckBox1"));
        QVERIFY(!w("Edit37")->isHidden() && !w("ComboBox1")->isHidden() && !w("Label46")->isHidden());
        QVERIFY(w("Label47")->isHidden());
        QTest::keyClick(w<QCheckBox>("CheckBox1"), Qt::Key_Space);
        QVERIFY(!window->checked("CheckBox1"));
        QVERIFY(!w("Edit37")->isHidden()); // the row follows at the next mouse release
    }

    void sectionShapeResetsHeadsOnMouseReleaseOnly() {
        window->setChecked("RadioButton16", true);
        window->setChecked("RadioButton9", true);
        QTest::keyClick(w<QRadioButton>("RadioButton2"), Qt::Key_Space);
        QVERIFY(window->checked("RadioButton2"));
        QVERIFY(window->checked("RadioButton16") && window->checked("RadioButton9"));
        QVERIFY(excludableEnabled(true));
        QTest::mouseClick(w<QRadioButton>("RadioButton2"), Qt::LeftButton);
        QVERIFY(window->checked("RadioButton21") && window->checked("RadioButton14"));
        QVERIFY(excludableEnabled(false));
        QTest::mouseClick(w<QRadioButton>("RadioButton1"), Qt::LeftButton);
        QVERIFY(window->checked("RadioButton1"));
        QVERIFY(excludableEnabled(true));
    }

    void tabChangesSetHeadsAndFigures() {
        window->setChecked("RadioButton16", true);
        pickTab(1);
        QVERIFY(window->checked("RadioButton21") && window->checked("RadioButton14"));
        QVERIFY(!window->checked("RadioButton16"));
        QVERIFY(excludableEnabled(false));
        QCOMPARE(w<QTabWidget>("PageControl2")->currentIndex(), 1);
        pickTab(2);
        QVERIFY(!w("GroupBox2")->isEnabled() && !w("GroupBox3")->isEnabled());
        QCOMPARE(w<QTabWidget>("PageControl2")->currentIndex(), 1);
        window->setChecked("RadioButton2", false);
        window->setChecked("RadioButton1", true);
        pickTab(0);
        QVERIFY(w("GroupBox2")->isEnabled() && w("GroupBox3")->isEnabled());
        QVERIFY(excludableEnabled(true));
        QVERIFY(window->checked("RadioButton21") && window->checked("RadioButton14"));
        QCOMPARE(w<QTabWidget>("PageControl2")->currentIndex(), 0);
        pickTab(3);
        QVERIFY(!w("GroupBox3")->isEnabled());
    }

    void calibrationGridKeepsHiddenRows() {
        window->setItems("ComboBox2", {"2", "3", "4", "5", "6", "7", "8"});
        window->setItemIndex("ComboBox2", 6);
        window->ComboBox2Change();
        for (int r = 1; r <= 8; ++r) {
            window->grid().setCell(1, r, std::to_string(r * 100));
            window->grid().setCell(2, r, std::to_string(r * 10));
        }
        auto* combo = w<QComboBox>("ComboBox2");
        combo->setCurrentIndex(3); // "5", as a pick
        emit combo->activated(3);
        QCOMPARE(window->grid().rowCount(), 6);
        QCOMPARE(w<QTableView>("StringGrid1")->model()->rowCount(), 6);
        QTest::mouseClick(w<QPushButton>("Button5"), Qt::LeftButton);
        QCOMPARE(window->grid().cell(1, 5), std::string());
        QCOMPARE(window->grid().cell(0, 5), std::string("5"));
        combo->setCurrentIndex(6);
        emit combo->activated(6);
        QCOMPARE(window->grid().rowCount(), 9);
        QCOMPARE(window->grid().cell(1, 6), std::string("600")); // hidden rows kept their texts
        QCOMPARE(window->grid().cell(2, 8), std::string("80"));
    }

    void gridCellsTakeDigitsAndThePointAndDropEnter() {
        window->setItems("ComboBox2", {"2", "3"});
        window->setItemIndex("ComboBox2", 0);
        window->ComboBox2Change();
        auto* view = w<QTableView>("StringGrid1");
        view->setCurrentIndex(view->model()->index(1, 1));
        auto editor = [view] { return view->findChild<QLineEdit*>(); };
        QTest::keyClick(view, Qt::Key_Return);
        QVERIFY(!editor());
        QTest::keyClicks(view, QStringLiteral("x"));
        QVERIFY(!editor());
        QTest::keyClicks(view, QStringLiteral("1"));
        QVERIFY(editor());
        QTest::keyClicks(editor(), QStringLiteral("2.5-e"));
        QCOMPARE(editor()->text(), QStringLiteral("12.5"));
        // Enter inside the open editor neither commits nor closes it.
        for (auto key : {Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(editor(), key);
            QCoreApplication::processEvents(); // the view commits and closes on a queued call
            QVERIFY(view->indexWidget(view->currentIndex()));
            QCOMPARE(editor()->text(), QStringLiteral("12.5"));
            QCOMPARE(window->grid().cell(1, 1), std::string());
        }
    }
};

QTEST_MAIN(BehaviourTest)
#include "behaviour_test.moc"
