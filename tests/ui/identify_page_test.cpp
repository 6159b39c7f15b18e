// The "变位识别" page: a station's records read from the file chosen in the open dialog,
// the fit shown, "采用" writing the angles into the inclined page, and a refusal shown as a
// message.

#include "identify/tilt_fit.h"
#include "ui/Unit1.h"
#include "ui/identify_page.h"

#include "identify_fixture.h"
#include "recording_services.h"

#include <QChart>
#include <QLabel>
#include <QPushButton>
#include <QScatterSeries>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

using kelvora::test::RecordingServices;
using kelvora::ui::TFrmMain;

class IdentifyPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFrmMain> window;
    RecordingServices* services = nullptr;
    QTemporaryDir dir;

    void click(const char* button) {
        QTest::mouseClick(window->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }

    void describeTank() { kelvora::test::describeInclinedTank(*window); }

    std::string writeRecords(int count) {
        return kelvora::test::writeInclinedRecords(dir.filePath(QStringLiteral("records.csv")).toStdString(),
                                                   count);
    }

private slots:
    void init() { window = kelvora::test::recordedWindow(services); }
    void cleanup() { window.reset(); }

    void fitAndAdopt() {
        describeTank();
        services->openAnswers.push_back(writeRecords(300));
        click("IdentifyOpen");
        QCOMPARE(QString::fromStdString(window->text("RecordsFile")),
                 dir.filePath(QStringLiteral("records.csv")));
        click("IdentifyFit");
        QVERIFY(kelvora::test::fitEnded(*window));
        QVERIFY(services->shown.empty());
        auto* page = window->identifyPage();
        QVERIFY(page->fit());
        QVERIFY(page->fit()->lowerEndRight);
        QVERIFY(std::fabs(page->fit()->alpha - 2) < 1e-3);
        QVERIFY(std::fabs(page->fit()->beta - 4) < 1e-2);
        QVERIFY(page->resultLine()->text().contains(QStringLiteral("低端在右封头")));
        QVERIFY(page->resultLine()->text().contains(QStringLiteral("用了 300 条记录，跳过 0 条")));
        QCOMPARE(page->chart()->series().size(), 2);
        QCOMPARE(static_cast<QScatterSeries*>(page->chart()->series()[1])->count(), 300);
        click("IdentifyAdopt");
        QCOMPARE(window->text("Edit29"), std::string("2.0000"));
        QCOMPARE(window->text("Edit30"), std::string("4.0000"));
        QVERIFY(window->checked("RadioButton4"));
        QVERIFY(!window->checked("RadioButton3"));
        QCOMPARE(window->text("Edit39"), std::string("4500")); // L − F, flat heads
        // The result stays, adopted, and cannot be adopted twice.
        QVERIFY(page->fit());
        QVERIFY(page->adopted());
        QVERIFY(page->resultLine()->text().contains(QStringLiteral("已采用")));
        QVERIFY(page->resultLine()->text().contains(QStringLiteral("按公式")));
        QVERIFY(!window->findChild<QPushButton*>(QStringLiteral("IdentifyAdopt"))->isEnabled());
    }

    void refusalIsAMessage() {
        describeTank();
        window->setText("RecordsFile", writeRecords(9));
        click("IdentifyRead");
        click("IdentifyFit");
        QVERIFY(kelvora::test::fitEnded(*window));
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(services->shown[0].text, std::string(kelvora::identify::messages::kTooFewRecords));
        QVERIFY(!window->findChild<QPushButton*>(QStringLiteral("IdentifyAdopt"))->isEnabled());
        QCOMPARE(window->text("Edit29"), std::string("1"));
    }
};

QTEST_MAIN(IdentifyPageTest)
#include "identify_page_test.moc"
