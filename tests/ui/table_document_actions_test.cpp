// "导出PDF…" and "打印…" below the page: the dialogs they ask for, the document they
// produce, and what a refusal, a cancel or a failure leaves behind.

#include "ui/table_document_actions.h"

#include "capacity/memory_inputs.h"
#include "capacity/requests.h"
#include "kernel/errors.h"
#include "output/document_model.h"

#include "../output/pdf_text.h"
#include "recording_services.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

using kelvora::test::RecordingServices;

class TableDocumentActionsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    kelvora::capacity::MemoryInputs inputs = kelvora::capacity::MemoryInputs::afterStartup();
    kelvora::capacity::TTankDescription description;

    std::string path(const char* name) const { return dir.filePath(QString::fromUtf8(name)).toStdString(); }

    // A circular tank 0 to 2000 mm by `step`.
    kelvora::capacity::RowList table(const char* step) {
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
            inputs.setText(name, value);
        inputs.setText("Edit8", step);
        for (auto name : {"RadioButton1", "RadioButton21", "RadioButton14"})
            inputs.setChecked(name, true);
        kelvora::capacity::RowList rows;
        if (kelvora::capacity::GenerateCapacityTable(inputs, rows).stopped()) return {};
        description = *kelvora::capacity::ReadTankDescription(inputs, kelvora::capacity::RequestType::Table)
                           .description;
        return rows;
    }

    static std::string rowsOf(const std::string& pdf) {
        std::string text;
        for (const auto& [level, value] : kelvora::test::tableOf(kelvora::test::pagesOf(pdf)))
            text += level + "," + value + "\n";
        return text;
    }
    static std::string joined(const kelvora::capacity::RowList& rows) {
        std::string text;
        for (std::size_t i = 0; i < rows.size(); ++i)
            text += std::string(rows[i]) + "\n";
        return text;
    }

private slots:
    void exportProposesTheNameAndSaysSaved() {
        const auto rows = table("10");
        RecordingServices services;
        kelvora::ui::TableDocumentActions actions(services);

        actions.exportPdf(description, inputs, rows); // cancelled
        QCOMPARE(services.dialogs.size(), std::size_t(1));
        QCOMPARE(services.dialogs[0].fileName, std::string("油罐容积表"));
        QCOMPARE(services.dialogs[0].defaultExtension, std::string("pdf"));
        QCOMPARE(services.dialogs[0].filters, std::vector<std::string>{"*.pdf"});
        QVERIFY(services.shown.empty());
        QVERIFY(QDir(dir.path()).isEmpty());

        services.dialogAnswers.push_back(path("油罐容积表.pdf"));
        actions.exportPdf(description, inputs, rows);
        QCOMPARE(services.shown.size(), std::size_t(1));
        QCOMPARE(services.shown[0].kind, std::string("information"));
        QCOMPARE(services.shown[0].text, std::string("保存成功！"));
        QCOMPARE(rowsOf(path("油罐容积表.pdf")), joined(rows));

        services.dialogAnswers.push_back(path("missing/t.pdf"));
        QVERIFY_THROWS_EXCEPTION(kelvora::IoError, actions.exportPdf(description, inputs, rows));
        QCOMPARE(services.shown.size(), std::size_t(1));
    }

    // The dialog's paper and orientation, not A4, decide the pages; the rows are all there.
    void printLaysOutOnThePrintersPaper() {
        const auto rows = table("5");
        RecordingServices services;
        kelvora::ui::TableDocumentActions actions(services);
        const std::string printed = path("printed.pdf");
        services.printAnswer = [&](QPrinter& printer) {
            const QPageLayout offered = printer.pageLayout();
            if (offered.pageSize().id() != QPageSize::A4 || offered.orientation() != QPageLayout::Portrait)
                return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(printed));
            printer.setPageSize(QPageSize(QPageSize::A5));
            printer.setPageOrientation(QPageLayout::Landscape);
            return true;
        };
        actions.print(description, inputs, rows);
        QCOMPARE(services.printDialogs, 1);
        QVERIFY(services.shown.empty());
        const std::string info = kelvora::test::run("pdfinfo '" + printed + "'");
        QVERIFY2(info.find("Page size:       595 x 420 pts (A5)") != std::string::npos, info.c_str());
        QCOMPARE(rowsOf(printed), joined(rows));

        services.printAnswer = {}; // cancelled: nothing printed
        QFile::remove(QString::fromStdString(printed));
        actions.print(description, inputs, rows);
        QVERIFY(!QFile::exists(QString::fromStdString(printed)));

        services.printAnswer = [&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(path("missing/p.pdf")));
            return true;
        };
        QVERIFY_THROWS_EXCEPTION(kelvora::IoError, actions.print(description, inputs, rows));
    }

    void refusedAboveTheLimitBeforeAnyDialog() {
        const auto rows = table("0.01"); // about 200,000 rows
        QVERIFY(rows.size() > kelvora::output::kMaxDocumentRows);
        RecordingServices services;
        kelvora::ui::TableDocumentActions actions(services);
        actions.exportPdf(description, inputs, rows);
        actions.print(description, inputs, rows);
        QVERIFY(services.dialogs.empty());
        QCOMPARE(services.printDialogs, 0);
        QCOMPARE(services.shown.size(), std::size_t(2));
        for (const auto& shown : services.shown) {
            QCOMPARE(shown.kind, std::string("message"));
            QCOMPARE(shown.text, std::string(kelvora::output::messages::kDocumentTooLong));
        }
    }
};

QTEST_MAIN(TableDocumentActionsTest)
#include "table_document_actions_test.moc"
