// The "油量计算" page: the quick calculation's level taken over, the quantities shown with
// their units and mode, a result taken away as soon as an input it was made from changes,
// the delivery check with its verdict, a refusal as a message, and the record saved.

#include "quantity/quantity.h"
#include "ui/Unit1.h"

#include "../output/pdf_text.h"
#include "recording_services.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using kelvora::test::RecordingServices;
using kelvora::ui::TFrmMain;
namespace quantity = kelvora::quantity;

class QuantityPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFrmMain> window;
    RecordingServices* services = nullptr;

    void click(const char* button) {
        auto* b = window->findChild<QPushButton*>(QLatin1String(button));
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QString shown(const char* field) { return window->findChild<QLabel*>(QLatin1String(field))->text(); }
    QString caption(const char* field) {
        return window->findChild<QLabel*>(QLatin1String(field) + QStringLiteral("Label"))->text();
    }

    // A horizontal tank, D 2000, L 5000, flat heads, quick level 1500; ρ20 806.9, oil at 23.5 °C.
    void describeStation() {
        window->setChecked("RadioButton1", true);
        window->setChecked("RadioButton21", true);
        window->setChecked("RadioButton14", true);
        const std::pair<const char*, const char*> fields[] = {{"Edit1", "2000"},
                                                              {"Edit2", "5000"},
                                                              {"Edit13", "0"},
                                                              {"Edit31", "0"},
                                                              {"Edit32", "0"},
                                                              {"Edit33", "0"},
                                                              {"Edit35", "1500"},
                                                              {"Rho20", "806.9"},
                                                              {"OilTemperature", "23.5"},
                                                              {"DeliveryBeforeLevel", "400"},
                                                              {"DeliveryBeforeTemperature", "25"},
                                                              {"DeliveryAfterLevel", "1600"},
                                                              {"DeliveryAfterTemperature", "22.5"},
                                                              {"DeliveryTicket", "11000"}};
        for (auto [name, text] : fields)
            window->setText(name, text);
    }

private slots:
    void init() { window = kelvora::test::recordedWindow(services); }
    void cleanup() { window.reset(); }

    void quantityWithUnitsAndMode() {
        describeStation();
        click("QuantityUseQuickLevel");
        QCOMPARE(window->text("QuantityLevel"), std::string("1500"));
        click("QuantityCompute");
        QVERIFY(services->shown.empty());
        const quantity::QuantityOutcome expected = quantity::computeQuantity(*window);
        QCOMPARE(shown("QuantityVolume").toStdString(), expected.litres.text());
        QCOMPARE(shown("QuantityRho20"), QStringLiteral("806.9"));
        QCOMPARE(shown("QuantityVcf20").toStdString(), expected.vcf20.text());
        QCOMPARE(shown("QuantityVolume20").toStdString(), expected.volume20.text());
        QCOMPARE(shown("QuantityMass").toStdString(), expected.mass.text());
        QCOMPARE(caption("QuantityVolume20"), QStringLiteral("标准体积V20（L，查表）"));
        QCOMPARE(caption("QuantityMass"), QStringLiteral("质量（kg，查表）"));
        QCOMPARE(caption("QuantityVolume"), QStringLiteral("容积Vt（L）"));

        window->setItemIndex("VcfMode", 1);
        click("QuantityCompute");
        QCOMPARE(shown("QuantityRho20"), QStringLiteral("806.9000"));
        QCOMPARE(caption("QuantityVcf20"), QStringLiteral("体积修正系数VCF20（公式）"));
    }

    void resultClearedWhenItsInputChanges() {
        struct Case {
            const char* input;
            const char* text;
            bool quantityCleared, deliveryCleared;
        };
        const Case cases[] = {
            {"OilTemperature", "30", true, false},    {"Rho20", "810", true, true},
            {"QuantityLevel", "1000", true, false},   {"Edit1", "2100", true, true},
            {"DeliveryTicket", "12000", false, true}, {"DeliveryAfterLevel", "1700", false, true},
            {"Edit35", "900", true, false},           {"Edit6", "10", false, false},
            {"TankNumber", "T-9", false, false},
        };
        for (const auto& c : cases) {
            describeStation();
            click("QuantityCompute");
            click("DeliveryCheck");
            QVERIFY2(!shown("QuantityVolume20").isEmpty(), c.input);
            QVERIFY2(!shown("DeliveryVerdict").isEmpty(), c.input);
            window->setText(c.input, c.text);
            QCOMPARE(shown("QuantityVolume20").isEmpty(), c.quantityCleared);
            QCOMPARE(shown("QuantityMass").isEmpty(), c.quantityCleared);
            QCOMPARE(caption("QuantityMass").contains(QStringLiteral("查表")), !c.quantityCleared);
            QCOMPARE(shown("DeliveryVerdict").isEmpty(), c.deliveryCleared);
            QCOMPARE(window->findChild<QPushButton*>(QStringLiteral("DeliveryExport"))->isEnabled(),
                     !c.deliveryCleared);
        }
        describeStation();
        click("QuantityCompute");
        window->setItemIndex("ProductGroup", 1);
        QVERIFY(shown("QuantityVolume20").isEmpty());
        // The quick result is not made from the page's inputs and stays.
        window->setText("Edit36", "7853.98");
        window->setText("OilTemperature", "31");
        window->setText("DeliveryTicket", "9000");
        QCOMPARE(window->text("Edit36"), std::string("7853.98"));
    }

    void deliveryVerdictAndRecord() {
        describeStation();
        click("DeliveryCheck");
        QVERIFY(services->shown.empty());
        const quantity::DeliveryOutcome expected = quantity::computeDelivery(*window);
        QCOMPARE(shown("DeliveryReceived20").toStdString(), expected.result.received20.text());
        QCOMPARE(shown("DeliveryTicket20"), QStringLiteral("11000.00"));
        QCOMPARE(shown("DeliveryPermille").toStdString(), expected.result.permille.text());
        QCOMPARE(shown("DeliveryVerdict").toStdString(),
                 std::string(quantity::verdictText(expected.result.within)));

        QTemporaryDir dir;
        const std::string pdf = dir.filePath(QStringLiteral("record.pdf")).toStdString();
        services->dialogAnswers.push_back(pdf);
        window->setText("TankNumber", "T-07");
        click("DeliveryExport");
        QCOMPARE(services->shown.back().text, std::string("保存成功！"));
        const auto pages = kelvora::test::pagesOf(pdf);
        QCOMPARE(pages.size(), std::size_t(1));
        const std::string text = kelvora::test::withoutBlanks(pages[0]);
        for (const std::string& part :
             {std::string("卸油交接单"), std::string("T-07"), expected.result.received20.text(),
              std::string("卸油员"), std::string("计量员"), std::string("司机"),
              std::string(quantity::verdictText(expected.result.within))})
            QVERIFY2(text.find(part) != std::string::npos, part.c_str());
    }

    void refusalIsAMessage() {
        describeStation();
        window->setText("Rho20", "");
        click("QuantityCompute");
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(services->shown[0].text, std::string(quantity::messages::kNoDensity));
        QVERIFY(shown("QuantityVolume20").isEmpty());
    }
};

QTEST_MAIN(QuantityPageTest)
#include "quantity_page_test.moc"
