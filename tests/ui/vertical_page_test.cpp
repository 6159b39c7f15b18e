// The structure page "立式圆筒": its inputs reached by component name, the lists' grids
// with rows added, pasted and written back, "按精确几何计算" disabled there, and a table
// generated from it as on the other pages.

#include "ui/Unit1.h"
#include "ui/table_page.h"
#include "ui/vertical_page.h"

#include "recording_services.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using kelvora::test::RecordingServices;
using kelvora::ui::TFrmMain;
using kelvora::ui::VerticalListsDialog;
using kelvora::ui::VerticalPage;

class VerticalPageTest : public QObject {
    Q_OBJECT

private slots:
    void pageIsTheFifthStructureAndDisablesExactGeometry() {
        TFrmMain window(std::make_unique<RecordingServices>());
        auto* pages = window.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        QCOMPARE(pages->count(), 5);
        QCOMPARE(pages->tabText(4), QStringLiteral("立式圆筒"));
        QCOMPARE(pages->widget(4)->objectName(), QStringLiteral("TabSheet10"));
        auto* exact = window.findChild<QCheckBox*>(QStringLiteral("ExactGeometry"));
        window.setActivePage(0);
        QVERIFY(exact->isEnabled());
        window.setActivePage(4);
        QVERIFY(!exact->isEnabled());
        for (const char* name :
             {"VerticalTilt", "VerticalDensity", "VerticalRoofMass", "VerticalRoofFloat", "VerticalRoofRest",
              "VerticalReferenceHeight", "VerticalCourses", "VerticalBottom", "VerticalDeadwood"}) {
            window.setText(name, "12");
            QCOMPARE(window.text(name), std::string("12"));
        }
    }

    void gridsEditTheLists() {
        TFrmMain window(std::make_unique<RecordingServices>());
        window.setText("VerticalCourses", "1500,37761.94,10");
        window.setText("VerticalBottom", "0,0;100,50");
        auto* summary = window.findChild<QLabel*>(QStringLiteral("VerticalSummary"));
        QCOMPARE(summary->text(), QStringLiteral("1 圈板，2 个罐底点，0 段附件"));
        VerticalListsDialog dialog(window, &window);
        QCOMPARE(dialog.grid(0)->rowCount(), 1);
        QCOMPARE(dialog.grid(1)->rowCount(), 2);
        dialog.grid(0)->setCurrentCell(0, 0);
        dialog.pasteRows(dialog.grid(0), QStringLiteral("1500\t37749.38\t8\t-1.5\n1200,37700,7\n\n"));
        dialog.grid(2)->insertRow(0);
        dialog.grid(2)->setItem(0, 0, new QTableWidgetItem(QStringLiteral("200")));
        dialog.grid(2)->setItem(0, 1, new QTableWidgetItem(QStringLiteral("3500")));
        dialog.grid(2)->setItem(0, 2, new QTableWidgetItem(QStringLiteral("-165")));
        dialog.grid(2)->insertRow(1); // an empty row is no entry
        dialog.apply();
        QCOMPARE(window.text("VerticalCourses"),
                 std::string("1500,37761.94,10;1500,37749.38,8,-1.5;1200,37700,7"));
        QCOMPARE(window.text("VerticalDeadwood"), std::string("200,3500,-165"));
        QCOMPARE(window.text("VerticalBottom"), std::string("0,0;100,50"));
        QCOMPARE(summary->text(), QStringLiteral("3 圈板，2 个罐底点，1 段附件"));
    }

    void tableFromThePage() {
        TFrmMain window(std::make_unique<RecordingServices>());
        window.setActivePage(4);
        window.setText("VerticalCourses", "1500,37761.9436961493,10;1500,37749.377325535,8");
        for (auto [name, text] : {std::pair{"Edit6", "0"}, std::pair{"Edit7", "3000"},
                                  std::pair{"Edit8", "1000"}, std::pair{"Edit9", "50"}})
            window.setText(name, text);
        window.Button1Click();
        QCOMPARE(window.rows().size(), std::size_t{4});
        QCOMPARE(std::string(window.rows()[1]), std::string("100,113097.34"));
    }

    // The table page adds the hydrostatic increase and the roof's zone to the rows and shows
    // the millimetre table; the dead volume and attachment fields rest on this page.
    void tablePageShowsTheThreeTables() {
        TFrmMain window(std::make_unique<RecordingServices>());
        window.setActivePage(4);
        for (const char* name : {"Edit13", "Edit31", "Edit32", "Edit33"})
            QVERIFY(!window.findChild<QWidget*>(QString::fromLatin1(name))->isEnabled());
        window.setText("VerticalCourses", "1500,37761.9436961493,10;1500,37749.377325535,8");
        for (auto [name, text] :
             {std::pair{"Edit6", "0"}, std::pair{"Edit7", "3000"}, std::pair{"Edit8", "1000"}, std::pair{"Edit9", "50"},
              std::pair{"VerticalDensity", "860"}, std::pair{"VerticalRoofMass", "8600"},
              std::pair{"VerticalRoofFloat", "1800"}, std::pair{"VerticalRoofRest", "1000"}})
            window.setText(name, text);
        window.Button1Click();
        auto* model = window.tablePage()->rowsModel();
        using C = kelvora::ui::TableRowsModel::Column;
        const int increase = model->section(C::Hydrostatic), remark = model->section(C::Remark);
        QVERIFY(increase > 0 && remark > 0);
        QCOMPARE(model->data(model->index(0, increase), Qt::DisplayRole).toString(), QStringLiteral("0.00"));
        QVERIFY(model->data(model->index(3, increase), Qt::DisplayRole).toDouble() > 0);
        QCOMPARE(model->data(model->index(1, remark), Qt::DisplayRole).toString(), QStringLiteral("浮盘起浮区"));
        QCOMPARE(model->data(model->index(2, remark), Qt::DisplayRole).toString(), QString());
        auto* millimetre = window.findChild<QTableWidget*>(QStringLiteral("MillimetreTable"));
        QCOMPARE(millimetre->rowCount(), 2);
        QCOMPARE(millimetre->item(0, 1)->text(), QStringLiteral("113.10")); // π × 6 m² × 1 mm
        QCOMPARE(window.findChild<QTabWidget*>(QStringLiteral("PageControl2"))->currentWidget()->objectName(),
                 QStringLiteral("TabSheet11")); // the vertical tank's figure
        window.setActivePage(0);
        QVERIFY(window.findChild<QWidget*>(QStringLiteral("Edit13"))->isEnabled());
    }

    // The window's workbook carries 小数表 and 静压力容量增大值表, which need the density.
    void workbookFromThePage() {
        auto services = std::make_unique<RecordingServices>();
        RecordingServices& seen = *services;
        TFrmMain window(std::move(services));
        window.setActivePage(4);
        window.setText("VerticalCourses", "1500,37761.9436961493,10;1500,37749.377325535,8");
        for (auto [name, text] : {std::pair{"Edit6", "0"}, std::pair{"Edit7", "3000"},
                                  std::pair{"Edit8", "1000"}, std::pair{"Edit9", "50"}})
            window.setText(name, text);
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("vertical.xlsx")).toStdString();
        seen.dialogAnswers.push_back(path);
        window.Button1Click();
        QCOMPARE(seen.shown.back().text, std::string("呵呵，静压力容量增大值和浮顶排液量要先输入液体密度！"));
        QVERIFY(!QFile::exists(QString::fromStdString(path)));
        window.setText("VerticalDensity", "860");
        seen.dialogAnswers.push_back(path);
        window.Button1Click();
        QCOMPARE(seen.shown.back().text, std::string("保存成功！"));
        QFile file(QString::fromStdString(path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("xl/worksheets/sheet4.xml"));
    }
};

QTEST_MAIN(VerticalPageTest)
#include "vertical_page_test.moc"
