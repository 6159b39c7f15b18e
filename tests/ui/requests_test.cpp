// Both requests from the window, through its real controls and a recording double for
// the boxes and dialogs.

#include "ui/Unit1.h"

#include "recording_services.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <stdexcept>

using kelvora::test::RecordingServices;
using kelvora::ui::TFrmMain;

class RequestsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFrmMain> window;
    RecordingServices* services = nullptr;

    void type(const char* name, const char* text) {
        auto* edit = window->findChild<QLineEdit*>(QLatin1String(name));
        edit->clear();
        QTest::keyClicks(edit, QString::fromUtf8(text));
    }

    void describeTank() {
        window->findChild<QWidget*>(QStringLiteral("RadioButton1"));
        window->setChecked("RadioButton1", true);
        window->setChecked("RadioButton21", true);
        window->setChecked("RadioButton14", true);
        const std::pair<const char*, const char*> fields[] = {
            {"Edit1", "2000"}, {"Edit2", "5000"}, {"Edit6", "0"},   {"Edit7", "2000"}, {"Edit8", "500"},
            {"Edit9", "3"},    {"Edit13", "0"},   {"Edit31", "0"}, {"Edit32", "0"},   {"Edit33", "0"},
            {"Edit35", "500"}};
        for (auto [name, text] : fields) type(name, text);
    }

    void click(const char* button) { QTest::mouseClick(window->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton); }

private slots:
    void init() {
        window = kelvora::test::recordedWindow(services);
        window->setItemIndex("ComboBox3", 0);
        window->setItemIndex("ComboBox4", 0);
    }
    void cleanup() { window.reset(); }

    void tableIsSavedAfterTheDialog() {
        describeTank();
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("油罐容量表.xls")).toStdString();
        services->dialogAnswers.push_back(path);
        click("Button1");
        QCOMPARE(services->dialogs.size(), std::size_t(1));
        QCOMPARE(services->dialogs[0].defaultExtension, std::string("xls"));
        QCOMPARE(services->dialogs[0].filters, (std::vector<std::string>{"*.xls", "*.xlsx"}));
        QCOMPARE(services->dialogs[0].fileName, std::string("油罐容量表"));
        QCOMPARE(window->rows().size(), std::size_t(5));
        QCOMPARE(std::string(window->rows()[1]), std::string("50,3070.92"));
        std::ifstream file(path, std::ios::binary);
        QVERIFY(file.good());
        char signature[4] = {};
        file.read(signature, 4);
        QCOMPARE(QByteArray(signature, 4), QByteArray("\xD0\xCF\x11\xE0", 4));
        // The tank's sheet follows the table's: its name is in the workbook stream as UTF-16.
        file.seekg(0);
        const std::string whole{std::istreambuf_iterator<char>(file), {}};
        const QString tankSheet = QStringLiteral("罐体数据");
        QVERIFY(whole.find(std::string(reinterpret_cast<const char*>(tankSheet.utf16()), tankSheet.size() * 2)) !=
                std::string::npos);
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(services->shown[0].kind, std::string("information"));
        QCOMPARE(services->shown[0].text, std::string("保存成功！"));
    }

    void cancelWritesNothingAndKeepsTheRows() {
        describeTank();
        click("Button1");
        QCOMPARE(services->dialogs.size(), std::size_t(1));
        QCOMPARE(window->rows().size(), std::size_t(5));
        QVERIFY(services->shown.empty());
    }

    void validationStopsBeforeTheDialog() {
        describeTank();
        window->setText("Edit8", "");
        click("Button1");
        QVERIFY(services->dialogs.empty());
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(services->shown[0].kind, std::string("message"));
        QCOMPARE(services->shown[0].text, std::string("呵呵，容积表数据还没输完呢！"));
    }

    void failedSaveIsReportedNotPraised() {
        describeTank();
        services->dialogAnswers.push_back(std::string("/nonexistent-dir/table.xls"));
        click("Button1");
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(services->shown[0].kind, std::string("error"));
        QVERIFY(services->shown[0].text.back() == '.');
    }

    void quickCalculationWritesEdit36() {
        describeTank();
        click("Button2");
        QCOMPARE(window->text("Edit36"), std::string("3070.92"));
        type("Edit35", "");
        click("Button2");
        QCOMPARE(window->text("Edit36"), std::string()); // a refused request leaves no result
        QCOMPARE(services->shown.back().text, std::string("呵呵，数据还没输完呢！"));
    }

    void aValueBeyondTheDoubleRangeIsReportedAndNothingIsKept() {
        describeTank();
        click("Button1"); // cancelled: the rows stay
        QCOMPARE(window->rows().size(), std::size_t(5));
        window->setText("Edit2", "1e308");
        click("Button1");
        QCOMPARE(services->dialogs.size(), std::size_t(1)); // no second dialog
        QCOMPARE(window->rows().size(), std::size_t(0));
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(services->shown[0].kind, std::string("error"));
        QCOMPARE(services->shown[0].text, std::string("Floating point overflow."));
        window->setText("Edit35", "2000");
        window->setText("Edit36", "15707.96");
        click("Button2");
        QCOMPARE(window->text("Edit36"), std::string()); // nor does a failed one
        QCOMPARE(services->shown.size(), std::size_t(2));
        QCOMPARE(services->shown[1].text, std::string("Floating point overflow."));
    }

    void anEscapingErrorIsReportedOnceAndTheWindowGoesOn() {
        describeTank();
        window->setText("Edit2", "1.2.3"); // pasted text the key filter never saw
        click("Button2");
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(services->shown[0].kind, std::string("error"));
        QCOMPARE(services->shown[0].text, std::string("'1.2.3' is not a valid floating point value."));
        window->setText("Edit2", "5000");
        click("Button2");
        QCOMPARE(window->text("Edit36"), std::string("3070.92"));
        QCOMPARE(services->shown.size(), std::size_t(1));
    }
};

QTEST_MAIN(RequestsTest)
#include "requests_test.moc"
