// After "'…' is not a valid floating point value." the offending field has the focus with
// its text selected (a calibration point: its cell is the grid's current cell), whichever
// request stopped on it and whichever page it is on.

#include "ui/Unit1.h"

#include "recording_services.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

using kelvora::test::RecordingServices;
using kelvora::ui::TFrmMain;

class ConversionFocusTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFrmMain> window;
    RecordingServices* services = nullptr;

    void describeTank() {
        window->setActivePage(0);
        for (auto name : {"RadioButton1", "RadioButton21", "RadioButton14"})
            window->setChecked(name, true);
        window->setItemIndex("ComboBox3", 0);
        window->setItemIndex("ComboBox4", 0);
        const std::pair<const char*, const char*> fields[] = {
            {"Edit1", "2000"}, {"Edit2", "5000"}, {"Edit6", "0"},    {"Edit7", "2000"},
            {"Edit8", "500"},  {"Edit9", "3"},    {"Edit13", "0"},   {"Edit31", "0"},
            {"Edit32", "0"},   {"Edit33", "0"},   {"Edit35", "500"}, {"LevelForValue", "1000"}};
        for (auto [name, text] : fields)
            window->setText(name, text);
    }

    void click(const char* button) {
        auto* b = window->findChild<QPushButton*>(QLatin1String(button));
        QVERIFY2(b, button);
        b->click();
    }

private slots:
    void init() {
        window = kelvora::test::recordedWindow(services);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }

    void theBadFieldHasTheFocusWithItsTextSelected() {
        struct Case {
            const char* field;
            const char* text;
            const char* button;
        };
        const Case cases[] = {
            {"Edit2", "1.2.3", "Button2"},    {"Edit2", "1.2.3", "Button1"},
            {"Edit6", "1..5", "Button1"},     {"Edit8", "5.5.", "Button1"},
            {"Edit35", "500.0.1", "Button2"}, {"Edit13", "0.0.0", "Button2"},
            {"Edit1", "20 00", "Button1"},    {"LevelForValue", "1.0.0", "LevelForButton"},
        };
        for (const auto& c : cases) {
            describeTank();
            services->shown.clear();
            // Another field with the focus and a selection of its own.
            auto* other = window->findChild<QLineEdit*>(QStringLiteral("Edit7"));
            other->setFocus();
            other->selectAll();
            window->setText(c.field, c.text);
            click(c.button);
            const std::string what = std::string(c.field) + " " + c.button;
            QVERIFY2(services->shown.size() == 1, what.c_str());
            QCOMPARE(services->shown[0].text,
                     "'" + std::string(c.text) + "' is not a valid floating point value.");
            auto* field = window->findChild<QLineEdit*>(QLatin1String(c.field));
            QVERIFY2(QApplication::focusWidget() == field, what.c_str());
            QCOMPARE(field->selectedText(), QString::fromUtf8(c.text));
            QVERIFY2(field->isVisible(), what.c_str()); // its page came to the front
        }
    }

    void aBadCalibrationPointIsTheCurrentCell() {
        describeTank();
        window->setActivePage(3);
        window->setText("ComboBox2", "3");
        window->ComboBox2Change();
        const char* cells[3][2] = {{"0", "0"}, {"1000", "1.5.0"}, {"2000", "3000"}};
        for (int row = 1; row <= 3; ++row)
            for (int col = 1; col <= 2; ++col)
                window->grid().setCell(col, row, cells[row - 1][col - 1]);
        window->gridChanged();
        click("Button2");
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(services->shown[0].text, std::string("'1.5.0' is not a valid floating point value."));
        auto* grid = window->findChild<QTableView*>(QStringLiteral("StringGrid1"));
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(grid->currentIndex().row(), 2);
        QCOMPARE(grid->currentIndex().column(), 2);
    }

    // Other failures leave the focus where it was.
    void otherErrorsMoveNothing() {
        describeTank();
        window->setText("Edit2", "1e308");
        window->setText("Edit35", "2000");
        auto* other = window->findChild<QLineEdit*>(QStringLiteral("Edit7"));
        other->setFocus();
        click("Button2");
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(QApplication::focusWidget(), other);
    }
};

QTEST_MAIN(ConversionFocusTest)
#include "conversion_focus_test.moc"
