// A certificate whose 有效期至 lies before today: "导出PDF…" and "打印…" ask before the
// document is made, and a "否" makes none.

#include "output/document_model.h"
#include "ui/Unit1.h"

#include "recording_services.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using kelvora::test::RecordingServices;
using kelvora::ui::TFrmMain;

class ExpiredCertificateTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFrmMain> window;
    RecordingServices* services = nullptr;
    QTemporaryDir dir;

    void click(const char* button) {
        auto* b = window->findChild<QPushButton*>(QLatin1String(button));
        QVERIFY2(b, button);
        QTest::mouseClick(b, Qt::LeftButton);
    }

    void generate(const char* validUntil) {
        for (auto [name, value] : {std::pair{"Edit1", "2000"},
                                   {"Edit2", "5000"},
                                   {"Edit6", "0"},
                                   {"Edit7", "2000"},
                                   {"Edit8", "100"},
                                   {"Edit9", "10"},
                                   {"Edit13", "0"},
                                   {"Edit31", "0"},
                                   {"Edit32", "0"},
                                   {"Edit33", "0"},
                                   {"ValidUntil", validUntil}})
            window->setText(name, value);
        for (auto name : {"RadioButton1", "RadioButton21", "RadioButton14"})
            window->setChecked(name, true);
        click("Button1"); // the workbook's save dialog cancelled
        services->dialogs.clear();
    }

private slots:
    void init() { window = kelvora::test::recordedWindow(services); }
    void cleanup() { window.reset(); }

    void askedBeforeTheDocumentIsMade() {
        const std::string today = kelvora::output::todayText();
        struct Case {
            const char* validUntil;
            bool asked, yes;
        };
        const Case cases[] = {{"2000-01-01", true, false},
                              {"2000-01-01", true, true},
                              {"", false, false},
                              {"2999-12-31", false, false}};
        int saved = 0;
        for (const Case& c : cases) {
            generate(c.validUntil);
            services->questions.clear();
            services->yesNoAnswer = c.yes;
            const std::string pdf = dir.filePath(QStringLiteral("t%1.pdf").arg(saved)).toStdString();
            services->dialogAnswers.push_back(pdf);
            click("ExportPdfButton");
            QCOMPARE(services->questions.size(), std::size_t(c.asked ? 1 : 0));
            if (c.asked)
                QCOMPARE(services->questions[0], "有效期至 2000-01-01 已早于今天（" + today +
                                                     "），容积表证书已过期。仍要生成文档吗？");
            const bool made = !c.asked || c.yes;
            QCOMPARE(services->dialogs.size(), std::size_t(made ? 1 : 0));
            QCOMPARE(QFileInfo::exists(QString::fromStdString(pdf)), made);
            if (made) ++saved;
            services->dialogAnswers.clear();
        }
        // Printing asks alike; "否" opens no print dialog.
        generate("2000-01-01");
        services->yesNoAnswer = false;
        services->questions.clear();
        services->printDialogs = 0;
        click("PrintButton");
        QCOMPARE(services->questions.size(), std::size_t(1));
        QCOMPARE(services->printDialogs, 0);
    }
};

QTEST_MAIN(ExpiredCertificateTest)
#include "expired_certificate_test.moc"
