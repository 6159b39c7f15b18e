// The names the save dialogs propose: the document and the tank file carry the 罐号, made
// safe for a file name; the workbook keeps its own name.

#include "ui/Unit1.h"

#include "recording_services.h"

#include <QAction>
#include <QPushButton>
#include <QtTest>

using kelvora::test::RecordingServices;
using kelvora::ui::TFrmMain;

class ProposedNamesTest : public QObject {
    Q_OBJECT

private slots:
    void namesCarryTheTankNumber() {
        struct Case {
            const char* number;
            const char* pdf;
            const char* tank;
        };
        const Case cases[] = {
            {"3号罐", "3号罐 油罐容积表", "3号罐"}, {"", "油罐容积表", "油罐"},
            {"  ", "油罐容积表", "油罐"},           {"A/7:2", "A_7_2 油罐容积表", "A_7_2"},
            {"T*07?", "T_07_ 油罐容积表", "T_07_"}, {".罐", "_罐 油罐容积表", "_罐"},
        };
        for (const auto& c : cases) {
            RecordingServices* services = nullptr;
            auto window = kelvora::test::recordedWindow(services);
            window->setActivePage(0);
            for (auto name : {"RadioButton1", "RadioButton21", "RadioButton14"})
                window->setChecked(name, true);
            const std::pair<const char*, const char*> fields[] = {
                {"Edit1", "2000"}, {"Edit2", "5000"}, {"Edit6", "0"},  {"Edit7", "2000"}, {"Edit8", "500"},
                {"Edit9", "50"},   {"Edit13", "0"},   {"Edit31", "0"}, {"Edit32", "0"},   {"Edit33", "0"}};
            for (auto [name, text] : fields)
                window->setText(name, text);
            window->setText("TankNumber", c.number);
            window->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
            window->findChild<QPushButton*>(QStringLiteral("ExportPdfButton"))->click();
            window->findChild<QAction*>(QStringLiteral("SaveTankAsAction"))->trigger();
            QVERIFY2(services->shown.empty(), services->shown.empty() ? "" : services->shown[0].text.c_str());
            QCOMPARE(services->dialogs.size(), std::size_t(3));
            QCOMPARE(services->dialogs[0].fileName, std::string("油罐容量表")); // the workbook's, as it was
            QCOMPARE(services->dialogs[1].fileName, std::string(c.pdf));
            QCOMPARE(services->dialogs[2].fileName, std::string(c.tank));
        }
    }
};

QTEST_MAIN(ProposedNamesTest)
#include "proposed_names_test.moc"
