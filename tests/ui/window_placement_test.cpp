// Where the window first opens: the designed bounds where the screen holds them, moved
// and shrunk into the available area where it does not.

#include "ui/Unit1.h"
#include "ui/window_placement.h"

#include "recording_services.h"

#include <QtTest>

using kelvora::ui::clampToArea;
using kelvora::ui::kDesignedBounds;

class WindowPlacementTest : public QObject {
    Q_OBJECT

private slots:
    void designedBoundsClampedToTheAvailableArea() {
        struct Case {
            const char* screen;
            QRect available;
            QRect placed;
        };
        const Case cases[] = {
            {"full HD", {0, 0, 1920, 1040}, kDesignedBounds},
            {"exactly the window's corner", {0, 0, 1381, 942}, kDesignedBounds},
            {"laptop, bottom panel", {0, 0, 1366, 728}, {183, 0, 1183, 728}},
            {"laptop, top panel", {0, 32, 1366, 736}, {183, 32, 1183, 736}},
            {"one pixel short", {0, 0, 1381, 941}, {198, 143, 1183, 798}},
            {"smaller than the window", {0, 0, 1024, 600}, {0, 0, 1024, 600}},
            {"second screen on the left", {-1280, 0, 1280, 1024}, {-1183, 144, 1183, 798}},
            {"area right of the window", {1500, 0, 1920, 1080}, {1500, 144, 1183, 798}},
            {"no screen known", {}, kDesignedBounds},
        };
        for (const auto& c : cases) {
            const QRect placed = clampToArea(kDesignedBounds, c.available);
            QVERIFY2(placed == c.placed, c.screen);
            if (c.available.isValid()) QVERIFY2(c.available.contains(placed), c.screen);
        }
    }

    void windowOpensInsideALaptopScreen() {
        kelvora::ui::TFrmMain window(std::make_unique<kelvora::test::RecordingServices>());
        kelvora::ui::placeWindow(window, {0, 0, 1366, 728});
        QCOMPARE(window.pos(), QPoint(183, 0));
        QCOMPARE(window.size(), QSize(1167, 690));
        // Where the screen holds the designed bounds, they stay as designed.
        kelvora::ui::placeWindow(window, {0, 0, 1920, 1040});
        QCOMPARE(window.pos(), QPoint(198, 144));
        QCOMPARE(window.size(), QSize(1167, 760));
    }
};

QTEST_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
