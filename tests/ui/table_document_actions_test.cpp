// "导出PDF…" and "打印…" on the "容积表" page of the window: the dialogs they ask for, the
// document they produce from ListBox1, and what a refusal, a stale table, a cancel or a
// failure leaves behind.

#include "capacity/row_columns.h"
#include "ui/Unit1.h"
#include "ui/table_page.h"

#include "output/document_model.h"

#include "../output/pdf_text.h"
#include "recording_services.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using kelvora::test::RecordingServices;
using kelvora::ui::TFrmMain;

class TableDocumentActionsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFrmMain> window;
    RecordingServices* services = nullptr;
    QTemporaryDir dir;

    std::string path(const char* name) const { return dir.filePath(QString::fromUtf8(name)).toStdString(); }

    void click(const char* button) {
        auto* b = window->findChild<QPushButton*>(QLatin1String(button));
        QVERIFY2(b, button);
        QTest::mouseClick(b, Qt::LeftButton);
    }

    // A circular tank 0 to 2000 mm by `step`, generated with "生成容积表" (the workbook's
    // save dialog cancelled).
    void generate(const char* step, bool run = true) {
        for (auto [name, value] : {std::pair{"Edit1", "2000"},
                                   {"Edit2", "5000"},
                                   {"Edit6", "0"},
                                   {"Edit7", "2000"},
                                   {"Edit9", "10"},
                                   {"Edit13", "0"},
                                   {"Edit31", "0"},
                                   {"Edit32", "0"},
                                   {"Edit33", "0"},
                                   {"TankNumber", "T-07"},
                                   {"TankOwner", "某某油库"}})
            window->setText(name, value);
        window->setText("Edit8", step);
        for (auto name : {"RadioButton1", "RadioButton21", "RadioButton14"})
            window->setChecked(name, true);
        if (run) click("Button1");
        services->dialogs.clear();
    }

    // The rows shown, as the document prints them: the levels' decimals lined up, the
    // values with two decimals.
    std::string shownRows() const {
        std::string text;
        const std::vector<std::string> levels = kelvora::output::alignedLevelTexts(window->rows());
        for (std::size_t i = 0; i < window->rows().size(); ++i) {
            const std::string_view row = window->rows()[i];
            const auto comma = row.find(',');
            text += levels[i] + "," + kelvora::capacity::fixedDecimals(row.substr(comma + 1)) + "\n";
        }
        return text;
    }
    static std::string rowsOf(const std::string& pdf) {
        std::string text;
        for (const auto& [level, value] : kelvora::test::tableOf(kelvora::test::pagesOf(pdf)))
            text += level + "," + value + "\n";
        return text;
    }

private slots:
    void init() {
        window = kelvora::test::recordedWindow(services);
    }
    void cleanup() { window.reset(); }

    void buttonsOnThePage() {
        for (auto [name, caption] : {std::pair{"ExportPdfButton", "导出PDF…"}, {"PrintButton", "打印…"}}) {
            auto* b = window->findChild<QPushButton*>(QLatin1String(name));
            QVERIFY2(b, name);
            QCOMPARE(b->text(), QString::fromUtf8(caption));
            QVERIFY(window->tablePage()->isAncestorOf(b));
        }
    }

    void exportProposesTheNameAndSaysSaved() {
        generate("10");
        click("ExportPdfButton"); // cancelled
        QCOMPARE(services->dialogs.size(), std::size_t(1));
        QCOMPARE(services->dialogs[0].fileName, std::string("T-07 油罐容积表")); // the tank's number first
        QCOMPARE(services->dialogs[0].defaultExtension, std::string("pdf"));
        QCOMPARE(services->dialogs[0].filters, std::vector<std::string>{"*.pdf"});
        QVERIFY(services->shown.empty());
        QVERIFY(QDir(dir.path()).isEmpty());

        services->dialogAnswers.push_back(path("油罐容积表.pdf"));
        click("ExportPdfButton");
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(services->shown[0].kind, std::string("information"));
        QCOMPARE(services->shown[0].text, std::string("保存成功！"));
        QCOMPARE(rowsOf(path("油罐容积表.pdf")), shownRows());

        services->dialogAnswers.push_back(path("missing/t.pdf"));
        click("ExportPdfButton");
        QCOMPARE(services->shown.size(), std::size_t(2));
        QCOMPARE(services->shown[1].kind, std::string("error"));
        QVERIFY(!QDir(dir.filePath(QStringLiteral("missing"))).exists());
    }

    // The dialog's paper and orientation, not A4, decide the pages; the rows are all there.
    void printLaysOutOnThePrintersPaper() {
        generate("5");
        const std::string printed = path("printed.pdf");
        services->printAnswer = [&](QPrinter& printer) {
            const QPageLayout offered = printer.pageLayout();
            if (offered.pageSize().id() != QPageSize::A4 || offered.orientation() != QPageLayout::Portrait)
                return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(printed));
            printer.setPageSize(QPageSize(QPageSize::A5));
            printer.setPageOrientation(QPageLayout::Landscape);
            return true;
        };
        click("PrintButton");
        QCOMPARE(services->printDialogs, 1);
        QVERIFY(services->shown.empty());
        const std::string info = kelvora::test::run("pdfinfo '" + printed + "'");
        QVERIFY2(info.find("Page size:       595 x 420 pts (A5)") != std::string::npos, info.c_str());
        QCOMPARE(rowsOf(printed), shownRows());

        services->printAnswer = {}; // cancelled: nothing printed
        QFile::remove(QString::fromStdString(printed));
        click("PrintButton");
        QVERIFY(!QFile::exists(QString::fromStdString(printed)));
        QVERIFY(services->shown.empty());

        services->printAnswer = [&](QPrinter& printer) { // a printer that cannot start
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(path("missing/p.pdf")));
            return true;
        };
        click("PrintButton");
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(services->shown[0].kind, std::string("error"));
    }

    // Nothing to say a document of: too long, not made yet, or made from other inputs.
    void messagesBeforeAnyDialog() {
        struct Case {
            const char* what;
            std::function<void()> prepare;
            const char* message;
        };
        const Case cases[] = {
            {"no table yet", [&] { generate("10", false); }, kelvora::output::messages::kTableNotCurrent},
            {"a field emptied since",
             [&] {
                 generate("10");
                 window->setText("Edit1", "");
             },
             "呵呵，中间圆筒数据还没输完呢！"},
            {"inputs changed since",
             [&] {
                 generate("10");
                 window->setText("Edit2", "6000");
             },
             kelvora::output::messages::kTableNotCurrent},
            {"about 200,000 rows", [&] { generate("0.01"); }, kelvora::output::messages::kDocumentTooLong},
            {"a longer tank number from the settings file",
             [&] {
                 generate("10");
                 window->setText("TankNumber", std::string(65, 'T'));
             },
             "呵呵，罐号最多64个字符！"},
            {"a character no font shows",
             [&] {
                 generate("10");
                 window->setText("TankOwner", "某某\U0001D11E油库");
             },
             "使用单位中的字符“\U0001D11E”（U+1D11E）无法在文档中显示！"},
            {"a validity that is no date",
             [&] {
                 generate("10");
                 window->setText("ValidUntil", "2027-02-30");
             },
             "呵呵，有效期至“2027-02-30”不是有效日期，请按 YYYY-MM-DD 输入，如 2027-12-31！"},
        };
        for (const auto& c : cases) {
            init();
            c.prepare();
            click("ExportPdfButton");
            click("PrintButton");
            QVERIFY2(services->dialogs.empty(), c.what);
            QCOMPARE(services->printDialogs, 0);
            QCOMPARE(services->shown.size(), std::size_t(2));
            for (const auto& shown : services->shown) {
                QCOMPARE(shown.kind, std::string("message"));
                QVERIFY2(shown.text == c.message, c.what);
            }
        }
    }
};

QTEST_MAIN(TableDocumentActionsTest)
#include "table_document_actions_test.moc"
