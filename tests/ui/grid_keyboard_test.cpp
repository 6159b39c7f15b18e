// StringGrid1 from the keyboard: points typed in row after row land in their own rows,
// Tab and Shift+Tab pass over the row numbers and headings.

#include "capacity/calibration_grid.h"
#include "ui/Unit1.h"

#include "recording_services.h"

#include <QLineEdit>
#include <QTableView>
#include <QtTest>

using kelvora::test::RecordingServices;

class GridKeyboardTest : public QObject {
    Q_OBJECT

    struct Cell {
        int row, col;
        const char* text;
    };
    struct Case {
        const char* what;
        int row, col;       // the current cell before typing
        const char* keys;   // "\t" Tab, "<" Shift+Tab, anything else typed as it is
        std::vector<Cell> cells;
        int endRow, endCol; // the current cell after typing
    };

    // Each key goes where a user's key goes: into the open cell editor, else to the grid.
    static void type(QTableView* view, const char* keys) {
        for (const char* k = keys; *k; ++k) {
            QWidget* target = view->indexWidget(view->currentIndex());
            if (!target) target = view;
            if (*k == '\t')
                QTest::keyClick(target, Qt::Key_Tab);
            else if (*k == '<')
                QTest::keyClick(target, Qt::Key_Backtab, Qt::ShiftModifier);
            else
                QTest::keyClick(target, *k);
            QCoreApplication::processEvents(); // the view commits and moves on queued calls
        }
    }

private slots:
    void typedPointsLandInTheirOwnRows() {
        // clang-format off
        const Case cases[] = {
            {"from a row number: level and volume of two points", 1, 0, "0\t0\t500\t1200\t",
             {{1, 1, "0"}, {1, 2, "0"}, {2, 1, "500"}, {2, 2, "1200"}}, 3, 1},
            {"a key on a row number goes into that row, whatever the column holds", 5, 0, "1\t2\t",
             {{5, 1, "1"}, {5, 2, "2"}, {1, 1, ""}, {2, 1, ""}}, 6, 1},
            {"Shift+Tab passes back over the row number", 2, 1, "7<9\t",
             {{2, 1, "7"}, {1, 2, "9"}}, 2, 1},
            {"Tab on a row number enters its row", 3, 0, "\t4\t",
             {{3, 1, "4"}}, 3, 2},
            {"Tab after the last point wraps to the first", 8, 2, "3\t",
             {{8, 2, "3"}}, 1, 1},
            {"a key on the headings goes nowhere", 0, 1, "5",
             {{0, 1, "高度 mm"}, {1, 1, ""}}, 0, 1},
        };
        // clang-format on
        for (const auto& c : cases) {
            RecordingServices* services = nullptr;
            auto window = kelvora::test::recordedWindow(services);
            kelvora::capacity::setUpCalibrationGrid(*window);
            auto* view = window->findChild<QTableView*>(QStringLiteral("StringGrid1"));
            view->setCurrentIndex(view->model()->index(c.row, c.col));
            type(view, c.keys);
            for (const auto& cell : c.cells)
                QVERIFY2(window->grid().cell(cell.col, cell.row) == cell.text,
                         qPrintable(QStringLiteral("%1: row %2, column %3 holds \"%4\"")
                                        .arg(QLatin1String(c.what)).arg(cell.row).arg(cell.col)
                                        .arg(QString::fromStdString(window->grid().cell(cell.col, cell.row)))));
            QVERIFY2(view->currentIndex().row() == c.endRow && view->currentIndex().column() == c.endCol,
                     qPrintable(QStringLiteral("%1: ends on row %2, column %3").arg(QLatin1String(c.what))
                                    .arg(view->currentIndex().row()).arg(view->currentIndex().column())));
        }
    }
};

QTEST_MAIN(GridKeyboardTest)
#include "grid_keyboard_test.moc"
