// The "变位识别" page read clearly: the residual chart scaled to the fitted series with the
// series before the fit on demand, the level axis over the tank's height, a β held at 0
// said as such, column pickers as wide as their headings, and the result saved as CSV and
// printed.

#include "identify/identification.h"
#include "identify/tilt_model.h"
#include "ui/Unit1.h"
#include "ui/identify_page.h"
#include "ui/identify_report.h"

#include "../output/pdf_text.h"
#include "identify_fixture.h"
#include "recording_services.h"

#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QScatterSeries>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

using kelvora::test::RecordingServices;
using kelvora::ui::TFrmMain;

namespace {

// Records of the page's inclined tank (a section `size` across) with the right end low at 2°
// and β `beta`, each reading off by up to ±`noise` litres in a fixed pattern.
std::string writeRecords(const std::string& path, double beta, double noise, double size = 2000) {
    kelvora::capacity::TTankDescription d;
    d.kind = kelvora::capacity::TStructureKind::skInclined;
    d.A = d.B = size, d.L = 6000, d.F = 1500, d.alpha = 1;
    const kelvora::identify::TiltModel model(d);
    std::ofstream csv(path);
    csv.precision(17);
    csv << "时间,显示油高/mm,出油量/L\n";
    double previous = 0;
    for (int i = 0; i < 300; ++i) {
        const double h = 1800 - 1500.0 * i / 299;
        const double V = model.volume(-2, beta, h) + noise * std::sin(i * 1.7);
        csv << i << "," << h << "," << (i == 0 ? 0 : previous - V) << "\n";
        previous = V;
    }
    return path;
}

std::pair<double, double> extent(const std::vector<double>& values) {
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return {*low, *high};
}

} // namespace

class IdentifyReportTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFrmMain> window;
    RecordingServices* services = nullptr;
    QTemporaryDir dir;

    kelvora::ui::IdentifyPage* page() { return window->identifyPage(); }
    std::string path(const char* name) { return dir.filePath(QLatin1String(name)).toStdString(); }
    void click(const char* button) {
        QTest::mouseClick(window->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }
    void fit(double beta, bool betaZero, double noise = 2, double size = 2000) {
        kelvora::test::describeInclinedTank(*window);
        window->setText("Edit40", QString::number(size).toStdString());
        window->setText("Edit41", QString::number(size).toStdString());
        window->setChecked("BetaZero", betaZero);
        window->setText("RecordsFile", writeRecords(path("records.csv"), beta, noise, size));
        click("IdentifyRead");
        click("IdentifyFit");
        QVERIFY(kelvora::test::fitEnded(*window));
        QVERIFY(services->shown.empty());
        QVERIFY(page()->fit());
    }

private slots:
    void init() { window = kelvora::test::recordedWindow(services); }
    void cleanup() { window.reset(); }

    void chartFollowsTheFittedResiduals() {
        QVERIFY(!window->findChild<QPushButton*>(QStringLiteral("IdentifySave"))->isEnabled());
        QVERIFY(!window->findChild<QPushButton*>(QStringLiteral("IdentifyPrint"))->isEnabled());
        fit(4, false);
        const auto& f = *page()->fit();
        const auto [afterLow, afterHigh] = extent(f.residualsAfter);
        const auto [beforeLow, beforeHigh] = extent(f.residualsBefore);
        QVERIFY(afterHigh - afterLow > 1);     // the noise is seen
        QVERIFY(beforeHigh - beforeLow > 100); // 1° and β 1° against 2° and 4°
        auto* axis = page()->residualAxis();
        auto* before = static_cast<QScatterSeries*>(page()->chart()->series()[0]);
        auto* shown = window->findChild<QCheckBox*>(QStringLiteral("IdentifyShowBefore"));
        const struct {
            bool showBefore;
            double low, high; // the residuals the axis must hold
            double span;      // the widest the axis may be
        } cases[] = {
            {false, afterLow, afterHigh, 4 * (afterHigh - afterLow) + 2},
            {true, std::min(beforeLow, afterLow), std::max(beforeHigh, afterHigh),
             2 * (beforeHigh - beforeLow)},
            {false, afterLow, afterHigh, 4 * (afterHigh - afterLow) + 2},
        };
        QVERIFY(!shown->isChecked()); // the fitted series alone at first
        for (const auto& c : cases) {
            shown->setChecked(c.showBefore);
            QCOMPARE(before->isVisible(), c.showBefore);
            QVERIFY(axis->min() < c.low && axis->max() > c.high);
            QVERIFY(axis->max() - axis->min() <= c.span);
        }
        // The level axis is the tank's height, A (Edit41), whatever the records' levels.
        QCOMPARE(page()->levelAxis()->min(), 0.0);
        QCOMPARE(page()->levelAxis()->max(), 2000.0);
        fit(4, false, 2, 2600);
        QCOMPARE(page()->levelAxis()->min(), 0.0);
        QCOMPARE(page()->levelAxis()->max(), 2600.0);
    }

    void fixedBetaSaidAsSuch_data() {
        QTest::addColumn<double>("beta");
        QTest::addColumn<bool>("betaZero");
        QTest::addColumn<QString>("said");
        QTest::addColumn<std::string>("line");
        QTest::newRow("fitted") << 4.0 << false << QStringLiteral("β = ") << std::string("beta,");
        QTest::newRow("held by the option")
            << 0.0 << true << QStringLiteral("β 固定为 0（已勾选“β固定为0”）") << std::string("beta,0.0000,");
    }
    void fixedBetaSaidAsSuch() {
        QFETCH(double, beta);
        QFETCH(bool, betaZero);
        QFETCH(QString, said);
        QFETCH(std::string, line);
        fit(beta, betaZero, 0);
        const QString text = page()->resultLine()->text();
        QVERIFY2(text.contains(said), qPrintable(text));
        QCOMPARE(text.contains(QStringLiteral("固定为 0")), betaZero);
        const auto lines = kelvora::identify::resultLines(*page()->fit());
        QVERIFY(lines[3].starts_with(line));
    }

    void columnPickersHoldTheirHeadings() {
        fit(4, false);
        for (const char* name :
             {"LevelColumn", "InColumn", "OutColumn", "CumulativeInColumn", "CumulativeOutColumn"}) {
            auto* combo = window->findChild<QComboBox*>(QLatin1String(name));
            QVERIFY(combo->minimumSizeHint().width() >
                    combo->fontMetrics().horizontalAdvance(QStringLiteral("累加出油量/L")));
        }
    }

    void savedCsv() {
        fit(4, false);
        window->setText("TankNumber", "3号罐");
        services->dialogAnswers.push_back(std::nullopt); // cancelled: nothing written
        click("IdentifySave");
        QVERIFY(services->shown.empty());
        const std::string saved = path("result.csv");
        services->dialogAnswers.push_back(saved);
        click("IdentifySave");
        QCOMPARE(services->dialogs.back().defaultExtension, std::string("csv"));
        QCOMPARE(services->dialogs.back().fileName, std::string("3号罐 变位识别"));
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(services->shown[0].text, std::string("保存成功！"));

        std::ifstream in(saved, std::ios::binary);
        std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        QVERIFY(content.starts_with("\xEF\xBB\xBF"));
        std::vector<std::string> lines;
        std::istringstream text(content.substr(3));
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        const auto& f = *page()->fit();
        const auto result = kelvora::identify::resultLines(f);
        QCOMPARE(lines.size(), result.size() + 2 + 300);
        for (std::size_t i = 0; i < result.size(); ++i)
            QCOMPARE(lines[i], result[i]);
        QCOMPARE(lines[result.size()], std::string());
        QCOMPARE(lines[result.size() + 1], std::string("line,level,residual_before,residual_after"));
        const struct {
            std::size_t record;
            std::string line, level;
        } rows[] = {{0, "2", "1800"}, {299, "301", "300"}};
        for (const auto& r : rows)
            QCOMPARE(lines[result.size() + 2 + r.record],
                     r.line + "," + r.level + "," +
                         kelvora::identify::fixedText(f.residualsBefore[r.record], 2) + "," +
                         kelvora::identify::fixedText(f.residualsAfter[r.record], 2));
    }

    void printed() {
        // The page as the user sees it, at 1024×768.
        window->findChild<QTabWidget*>(QStringLiteral("PageControl2"))->setCurrentWidget(page());
        window->resize(1024, 768);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        fit(4, false);
        const std::string pdf = path("printed.pdf");
        services->printAnswer = [&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf));
            return true;
        };
        click("IdentifyPrint");
        QCOMPARE(services->printDialogs, 1);
        const auto pages = kelvora::test::pagesOf(pdf);
        QCOMPARE(pages.size(), std::size_t(1));
        const std::string text = kelvora::test::withoutBlanks(pages[0]);
        for (const char* expected : {"变位识别结果", "低端在右封头", "残差均方根", "容积表最大变化"})
            QVERIFY2(text.find(expected) != std::string::npos, text.c_str());
        // The chart below the text, as a picture.
        const std::string images = kelvora::test::run("pdfimages -list '" + pdf + "' 2>&1");
        QVERIFY2(std::count(images.begin(), images.end(), '\n') == 3, images.c_str()); // 2 heading lines
        services->printAnswer = {}; // cancelled: nothing printed
        QFile::remove(QString::fromStdString(pdf));
        click("IdentifyPrint");
        QCOMPARE(services->printDialogs, 2);
        QVERIFY(!QFile::exists(QString::fromStdString(pdf)));
    }
};

QTEST_MAIN(IdentifyReportTest)
#include "identify_report_test.moc"
