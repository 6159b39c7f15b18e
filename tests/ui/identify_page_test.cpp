// The "变位识别" page: a station's records read from the file chosen in the open dialog,
// the fit shown, "采用" writing the angles into the inclined page, and a refusal shown as a
// message.

#include "identify/tilt_fit.h"
#include "ui/Unit1.h"
#include "ui/identify_page.h"

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

    // The inclined tank of the page, left end low at 1° and β 1°, probe F 1500.
    void describeTank() {
        window->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
        window->setChecked("RadioButton3", true);
        window->setChecked("RadioButton21", true);
        window->setChecked("RadioButton14", true);
        const std::pair<const char*, const char*> fields[] = {
            {"Edit29", "1"},    {"Edit30", "1"},    {"Edit39", "1500"}, {"Edit40", "2000"}, {"Edit41", "2000"},
            {"Edit42", "6000"}, {"Edit13", "0"},    {"Edit31", "0"},    {"Edit32", "0"},    {"Edit33", "0"}};
        for (auto [name, text] : fields) window->setText(name, text);
    }

    // Records of the same tank with the right end low at 2° and β 4°: a level column, the
    // litres dispensed per record, and `count` rows.
    std::string writeRecords(int count) {
        kelvora::capacity::TTankDescription d;
        d.kind = kelvora::capacity::TStructureKind::skInclined;
        d.A = d.B = 2000, d.L = 6000, d.F = 1500, d.alpha = 1;
        const kelvora::identify::TiltModel model(d);
        const std::string path = dir.filePath(QStringLiteral("records.csv")).toStdString();
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

private slots:
    void init() { window = kelvora::test::recordedWindow(services); }
    void cleanup() { window.reset(); }

    void fitAndAdopt() {
        describeTank();
        services->openAnswers.push_back(writeRecords(300));
        click("IdentifyOpen");
        QCOMPARE(QString::fromStdString(window->text("RecordsFile")), dir.filePath(QStringLiteral("records.csv")));
        click("IdentifyFit");
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
    }

    void refusalIsAMessage() {
        describeTank();
        window->setText("RecordsFile", writeRecords(9));
        click("IdentifyRead");
        click("IdentifyFit");
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(services->shown[0].text, std::string(kelvora::identify::messages::kTooFewRecords));
        QVERIFY(!window->findChild<QPushButton*>(QStringLiteral("IdentifyAdopt"))->isEnabled());
        QCOMPARE(window->text("Edit29"), std::string("1"));
    }
};

QTEST_MAIN(IdentifyPageTest)
#include "identify_page_test.moc"
