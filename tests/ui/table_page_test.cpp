// The "容积表" page: what it shows after a table request, what it keeps when a request
// stops, its inputs by name and in the settings file, and level-from-volume from its button.

#include "capacity/calibration_grid.h"
#include "capacity/page_inputs.h"
#include "persist/settings.h"
#include "ui/Unit1.h"
#include "ui/method_check_view.h"
#include "ui/table_page.h"
#include "ui/window_placement.h"

#include "recording_services.h"

#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QValueAxis>
#include <QtTest>

using kelvora::test::RecordingServices;
using Column = kelvora::ui::TableRowsModel::Column;
using kelvora::ui::TablePage;
using kelvora::ui::TFrmMain;

class TablePageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFrmMain> window;
    RecordingServices* services = nullptr;

    template <typename T = QWidget> T* w(const char* name) {
        return window->findChild<T*>(QLatin1String(name));
    }
    void click(const char* button) { QTest::mouseClick(w<QPushButton>(button), Qt::LeftButton); }
    TablePage* page() { return window->tablePage(); }
    QTabWidget* pages() { return w<QTabWidget>("PageControl2"); }

    // D 2000, L 5000, flat heads; 0 … 2000 mm by `step`.
    void describeTank(const char* step) {
        window->setChecked("RadioButton1", true);
        window->setChecked("RadioButton21", true);
        window->setChecked("RadioButton14", true);
        const std::pair<const char*, const char*> fields[] = {
            {"Edit1", "2000"}, {"Edit2", "5000"}, {"Edit6", "0"},  {"Edit7", "2000"}, {"Edit8", step},
            {"Edit9", "50"},   {"Edit13", "0"},   {"Edit31", "0"}, {"Edit32", "0"},   {"Edit33", "0"}};
        for (auto [name, text] : fields)
            window->setText(name, text);
    }

    // The model holds ListBox1's rows, every one of them: the level as the row has it, the
    // same value with two decimals, right-aligned so the points line up.
    void expectModelHoldsTheRows() {
        const auto& rows = window->rows();
        auto* model = page()->rowsModel();
        QCOMPARE(model->rowCount(), static_cast<int>(rows.size()));
        const QRegularExpression twoDecimals(QStringLiteral("^-?[0-9]+\\.[0-9]{2}$"));
        for (int i = 0; i < model->rowCount(); ++i) {
            const QString row = QString::fromStdString(std::string(rows[i]));
            const QString value = model->index(i, 1).data().toString();
            QCOMPARE(model->index(i, 0).data().toString(), row.section(',', 0, 0));
            QVERIFY2(twoDecimals.match(value).hasMatch(), qPrintable(value));
            QCOMPARE(value.toDouble(), row.section(',', 1).toDouble());
            QCOMPARE(model->index(i, 1).data(Qt::TextAlignmentRole).toInt(),
                     int(Qt::AlignRight | Qt::AlignVCenter));
        }
    }

    QStringList column(int section) {
        QStringList cells;
        for (int i = 0; i < page()->rowsModel()->rowCount(); ++i)
            cells << page()->rowsModel()->index(i, section).data().toString();
        return cells;
    }
    QString header(int section) {
        return page()->rowsModel()->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    QString summaryText() { return w<QLabel>("TableSummary")->text(); }

private slots:
    void init() {
        window = kelvora::test::recordedWindow(services);
        window->setItemIndex("ComboBox3", 0);
        window->setItemIndex("ComboBox4", 0);
    }
    void cleanup() { window.reset(); }

    void fourthPageWithAHintBeforeTheFirstTable() {
        QCOMPARE(pages()->count(), 6); // the fifth is 变位识别, the sixth 油量计算
        QCOMPARE(pages()->tabText(5), QStringLiteral("油量计算"));
        QCOMPARE(pages()->tabText(3), QStringLiteral("容积表"));
        QCOMPARE(pages()->widget(3), static_cast<QWidget*>(page()));
        QVERIFY(!w("TableHint")->isHidden());
        QVERIFY(w("TableSplitter")->isHidden());
        QCOMPARE(page()->rowsModel()->rowCount(), 0);
    }

    void showsEveryTableThatPassesValidationWithoutBecomingActive() {
        struct Case {
            const char* step;
            bool weight;
            int rows;
            const char* heading;
        };
        const Case cases[] = {
            {"50", false, 41, "容积L"}, {"50", true, 41, "重量Kg"}, {"0.5", false, 4001, "容积L"}};
        for (const auto& c : cases) {
            describeTank(c.step);
            window->setChecked("CheckBox1", c.weight);
            window->setText("Edit37", "850");
            window->setText("ComboBox1", "Kg/m^3");
            click("Button1"); // the save dialog is cancelled
            QCOMPARE(services->dialogs.size(), std::size_t(1));
            services->dialogs.clear();
            QCOMPARE(pages()->currentIndex(), 0);
            QCOMPARE(page()->rowsModel()->rowCount(), c.rows);
            expectModelHoldsTheRows();
            QCOMPARE(page()->rowsModel()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                     QStringLiteral("高度cm"));
            QCOMPARE(page()->rowsModel()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                     QString::fromUtf8(c.heading));
            QVERIFY(w("TableHint")->isHidden());
            const auto& s = page()->summary();
            QCOMPARE(s.rows, std::size_t(c.rows));
            QCOMPARE(s.lastLevel, 200.0);
            QVERIFY(!s.firstFall);
            QVERIFY(
                w<QLabel>("TableSummary")
                    ->text()
                    .contains(c.weight ? QStringLiteral("13351.77 公斤") : QStringLiteral("15707.96 升")));
        }
    }

    // Calibration points whose volume falls between 1000 and 1500 mm: the summary names
    // the first falling level in red.
    void aFallingTableIsShownInRed() {
        // Calibration points whose volumes fall, once used here, are refused now; a head
        // subtracted from a short shell above a dead volume still makes a falling table.
        describeTank("250");
        const std::pair<const char*, const char*> fields[] = {
            {"Edit2", "100"}, {"Edit21", "0"}, {"Edit22", "500"}, {"Edit13", "2000"}};
        for (auto [name, text] : fields)
            window->setText(name, text);
        window->setChecked("RadioButton15", true);
        window->setItemIndex("ComboBox3", 1);
        click("Button1");
        QCOMPARE(page()->summary().firstFall, std::optional<double>(25));
        const QString line = w<QLabel>("TableSummary")->text();
        QVERIFY2(line.contains(QStringLiteral("color:#d00000")) &&
                     line.contains(QStringLiteral("液位 25 cm 处开始下降")),
                 qPrintable(line));
    }

    void aStoppedRequestLeavesThePageAsItWas() {
        describeTank("50");
        click("Button1");
        const std::string before = std::string(window->rows()[40]);
        for (const char* empty : {"Edit1", "Edit8"}) {
            window->setText(empty, "");
            click("Button1");
            QCOMPARE(services->shown.back().kind, std::string("message"));
            QCOMPARE(page()->rowsModel()->rowCount(), 41);
            QCOMPARE(std::string(window->rows()[40]), before);
            expectModelHoldsTheRows();
            describeTank("50");
        }
        // A request that ends in the general error report may have emptied ListBox1 or
        // left part of a table in it: the page drops what it showed.
        window->setText("Edit2", "1,5");
        click("Button1");
        QCOMPARE(services->shown.back().kind, std::string("error"));
        QCOMPARE(page()->rowsModel()->rowCount(), 0);
        QVERIFY(!w("TableHint")->isHidden());
    }

    void pageInputsByNameAndTheExactGeometryCaption() {
        window->setText("TankNumber", "T-07");
        QCOMPARE(w<QLineEdit>("TankNumber")->text(), QStringLiteral("T-07"));
        QTest::keyClicks(w<QLineEdit>("TankOwner"), QStringLiteral("Depot 7"));
        QCOMPARE(window->text("TankOwner"), std::string("Depot 7"));
        window->setChecked("ExactGeometry", true);
        QCOMPARE(pages()->tabText(3), QStringLiteral("容积表（精确几何）"));
        QTest::mouseClick(w<QCheckBox>("ExactGeometry"), Qt::LeftButton);
        QVERIFY(!window->checked("ExactGeometry"));
        QCOMPARE(pages()->tabText(3), QStringLiteral("容积表"));
        window->setText("LevelForMode", "百分比");
        QCOMPARE(w<QLabel>("LevelForUnit")->text(), QStringLiteral("%"));
        window->setItemIndex("LevelForMode", 0);
        window->setChecked("CheckBox1", true);
        QCOMPARE(w<QLabel>("LevelForUnit")->text(), QStringLiteral("公斤"));
    }

    void theCheckShowsTheOtherMethodBesideTheTable() {
        // Standard dished heads, whose k table is furthest from the true head; both methods.
        describeTank("10");
        window->setChecked("RadioButton19", true);
        window->setText("Edit19", "0");
        window->setChecked("RadioButton12", true);
        window->setText("Edit20", "0");
        for (bool exact : {true, false}) {
            window->setChecked("ExactGeometry", exact);
            click("Button1");
            QVERIFY(services->shown.empty());
            auto* model = page()->rowsModel();
            QCOMPARE(model->columnCount(), 4);
            QCOMPARE(model->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
                     exact ? QStringLiteral("规定公式(升)") : QStringLiteral("精确几何(升)"));
            // Table value + deviation and other value agree to the rounding of each.
            for (int i = 0; i < model->rowCount(); ++i) {
                const double table = model->index(i, 1).data().toDouble(), other = model->index(i, 2).data().toDouble();
                const double deviation = model->index(i, 3).data().toDouble();
                QVERIFY(std::abs((exact ? table - other : other - table) - deviation) <= 0.0100001);
            }
            const auto* check = page()->methodCheck();
            QVERIFY(check->text().startsWith(exact ? QStringLiteral("按精确几何计算") : QStringLiteral("按规定公式计算")));
            QVERIFY(check->text().contains(QStringLiteral("最大偏差")));
            QVERIFY(w<QLabel>("TableSummary")->text().startsWith(exact ? QStringLiteral("按精确几何")
                                                                        : QStringLiteral("按规定公式")));
            QVERIFY(page()->chart()->series().contains(check->series()));
            QVERIFY(check->series()->count() > 100);
            QVERIFY(std::abs(check->deviation().largest) > 0.5);
        }
        // A tank the exact method cannot evaluate: the formulas' table, and the reason. (A
        // frustum as wide as the shell, once used here, the formulas now refuse as well.)
        window->setChecked("RadioButton11", true);
        window->setText("Edit17", "1200");
        click("Button1");
        QCOMPARE(page()->rowsModel()->columnCount(), 2);
        QVERIFY(page()->methodCheck()->text().contains(QStringLiteral("右封头")));
        QVERIFY(!page()->chart()->series().contains(page()->methodCheck()->series()));
    }

    // Measured points have no geometry: the exact method is not offered on their page, the
    // comparison is hidden, and the summary names the levels extrapolated beyond them.
    void calibrationPointsOfferNoExactGeometry() {
        describeTank("500");
        window->setChecked("ExactGeometry", true);
        auto* exact = w<QCheckBox>("ExactGeometry");
        auto* structure = w<QTabWidget>("PageControl1");
        structure->setCurrentIndex(3);
        QVERIFY(!exact->isEnabled());
        QCOMPARE(exact->toolTip(), TablePage::noGeometryTip());
        QVERIFY(page()->exactGeometryArea()->isHidden());
        QCOMPARE(pages()->tabText(3), QStringLiteral("容积表"));
        kelvora::capacity::setUpCalibrationGrid(*window);
        window->setText("ComboBox2", "2");
        kelvora::capacity::applyPointCount(*window);
        window->grid().setCell(1, 1, "0"), window->grid().setCell(2, 1, "0");
        window->grid().setCell(1, 2, "1000"), window->grid().setCell(2, 2, "500");
        click("Button1");
        QVERIFY(services->shown.empty());
        QCOMPARE(std::string(window->rows()[4]), std::string("200,1000"));
        QCOMPARE(page()->rowsModel()->columnCount(), 2);
        const QString summary = w<QLabel>("TableSummary")->text();
        QVERIFY(summary.startsWith(QStringLiteral("按标定点计算")));
        QVERIFY(summary.contains(QStringLiteral("液位 1000 ~ 2000 mm 超出标定点范围（0 ~ 1000 mm），按外推计算")));
        structure->setCurrentIndex(0);
        QVERIFY(exact->isEnabled());
        QVERIFY(exact->toolTip().isEmpty());
        QVERIFY(!page()->exactGeometryArea()->isHidden());
        QCOMPARE(pages()->tabText(3), QStringLiteral("容积表（精确几何）"));
    }

    // A weight-mode request with an unusable density is a message: the table and the page
    // stay as they were (once an English conversion error that emptied both).
    void aRefusedDensityKeepsTheTableAndThePage() {
        describeTank("50");
        click("Button1");
        const std::string before = std::string(window->rows()[40]);
        window->setChecked("CheckBox1", true);
        const std::pair<const char*, const char*> densities[] = {{"", "Kg/m^3"}, {"0.85", "单位"}, {"850", "g/cm^3"}};
        for (auto [density, unit] : densities) {
            window->setText("Edit37", density);
            window->setText("ComboBox1", unit);
            click("Button1");
            QCOMPARE(services->shown.back().kind, std::string("message"));
            QVERIFY(services->shown.back().text.starts_with("呵呵，"));
            QCOMPARE(std::string(window->rows()[40]), before);
            QCOMPARE(page()->rowsModel()->rowCount(), 41);
            QVERIFY(!page()->rowsModel()->weight());
        }
    }

    void settingsKeepThePageInputsInTheirOwnSection() {
        QTemporaryDir dir;
        const auto path = std::filesystem::path(dir.filePath(QStringLiteral("Config.ini")).toStdString());
        describeTank("50");
        window->setText("TankNumber", "T-07");
        window->setText("TankOwner", " 某油库 ");
        window->setChecked("ExactGeometry", true);
        window->setText("LevelForValue", "95");
        window->setText("LevelForMode", "百分比");
        kelvora::persist::SaveSettings(*window, path);

        TFrmMain other(std::make_unique<RecordingServices>());
        kelvora::persist::LoadSettings(other, path);
        for (const auto& input : kelvora::capacity::pageInputTable()) {
            QCOMPARE(other.text(input.name), window->text(input.name));
            QCOMPARE(other.checked(input.name), window->checked(input.name));
        }
        QCOMPARE(other.findChild<QTabWidget*>(QStringLiteral("PageControl2"))->tabText(3),
                 QStringLiteral("容积表（精确几何）"));
    }

    void levelForFromTheButton() {
        describeTank("50");
        struct Case {
            const char* value;
            const char* mode;
            const char* result;  // LevelForResult afterwards
            const char* message; // empty: none shown
        };
        const Case cases[] = {
            {"7853.85", "容积", "999.99", ""},
            {"95", "百分比", "1805.39", ""},
            {"20000", "容积", "", "呵呵，超过油罐的容量了！最高液位2000毫米处只有15707.96升。"},
            {"", "容积", "", "呵呵，数据还没输完呢！"},
        };
        for (const auto& c : cases) {
            services->shown.clear();
            window->setText("LevelForValue", c.value);
            window->setText("LevelForMode", c.mode);
            click("LevelForButton");
            QCOMPARE(w<QLineEdit>("LevelForResult")->text(), QString::fromUtf8(c.result));
            if (*c.message) {
                QCOMPARE(services->shown.size(), std::size_t(1));
                QCOMPARE(services->shown[0].kind, std::string("message"));
                QCOMPARE(services->shown[0].text, std::string(c.message));
            } else {
                QVERIFY(services->shown.empty());
            }
        }
        QCOMPARE(pages()->currentIndex(), 0);
    }

    // "附毫米容量" adds the value per millimetre up to the next row, from the rows' own
    // values, three decimals, none on the last row; it follows its check box at once.
    void perMillimetreColumnFollowsItsCheckBox() {
        for (bool weight : {false, true}) {
            describeTank("50");
            window->setChecked("CheckBox1", weight);
            window->setText("Edit37", "850");
            window->setText("ComboBox1", "Kg/m^3");
            window->setChecked("PerMillimetre", false);
            click("Button1");
            auto* model = page()->rowsModel();
            QCOMPARE(model->section(Column::PerMillimetre), -1);
            QTest::mouseClick(w<QCheckBox>("PerMillimetre"), Qt::LeftButton);
            const int section = model->section(Column::PerMillimetre);
            QCOMPARE(section, 2);
            QCOMPARE(header(section),
                     weight ? QStringLiteral("每毫米容量(公斤)") : QStringLiteral("每毫米容量(升)"));
            const QStringList levels = column(0), values = column(1), perMm = column(section);
            QCOMPARE(perMm.last(), QString());
            for (int i = 0; i + 1 < values.size(); ++i) {
                QVERIFY2(QRegularExpression(QStringLiteral("^[0-9]+\\.[0-9]{3}$")).match(perMm[i]).hasMatch(),
                         qPrintable(perMm[i]));
                QVERIFY(std::abs(perMm[i].toDouble() -
                                 (values[i + 1].toDouble() - values[i].toDouble()) /
                                     ((levels[i + 1].toDouble() - levels[i].toDouble()) * 10)) <= 0.0005);
            }
            QTest::mouseClick(w<QCheckBox>("PerMillimetre"), Qt::LeftButton);
            QCOMPARE(model->section(Column::PerMillimetre), -1);
        }
    }

    // U and U/V beside the value and the statement in the summary only with an uncertainty
    // given; a refused uncertainty or a table too long for it is said, the table still shown.
    void uncertaintyColumnsOnlyWithAnUncertainty() {
        struct Case {
            const char* section; // UncertaintySection
            const char* step;
            bool columns;
            const char* says; // in the summary; "" for nothing about uncertainty
        };
        const Case cases[] = {
            {"", "50", false, ""},
            {"1", "50", true, "扩展不确定度 U_rel ≤ 0.20 %（k = 2），液位 "},
            {"-1", "50", false, "未计算测量不确定度：呵呵，测量不确定度不能是负数！"},
            {"1,5", "50", false, "未计算测量不确定度："},
            {"1", "0.01", false, "表超过 100001 行，未计算测量不确定度。"},
        };
        for (const auto& c : cases) {
            describeTank(c.step);
            window->setText("UncertaintySection", c.section);
            services->shown.clear();
            click("Button1");
            // The table is shown either way; a refused uncertainty then refuses the workbook,
            // whose tank sheet would state it, before the save dialog.
            const bool refused = *c.says && !c.columns && c.step == std::string("50");
            QCOMPARE(services->shown.size(), std::size_t(refused ? 1 : 0));
            auto* model = page()->rowsModel();
            const int u = model->section(Column::U), relative = model->section(Column::Relative);
            QCOMPARE(u >= 0, c.columns);
            QCOMPARE(relative >= 0, c.columns);
            QVERIFY2(*c.says ? summaryText().contains(QString::fromUtf8(c.says))
                             : !summaryText().contains(QStringLiteral("不确定度")),
                     qPrintable(summaryText()));
            if (!c.columns) continue;
            QCOMPARE(u, 2);
            QCOMPARE(header(u), QStringLiteral("U(升)"));
            QCOMPARE(header(relative), QStringLiteral("U/V(%)"));
            const QStringList values = column(1), Us = column(u), relatives = column(relative);
            QCOMPARE(relatives.first(), QString()); // the empty tank's row has no U/V
            for (int i = 1; i < values.size(); ++i) {
                QVERIFY(Us[i].toDouble() > 0);
                // U shown to the hundredth: its rounding is part of the difference.
                const double V = values[i].toDouble();
                QVERIFY(std::abs(relatives[i].toDouble() - Us[i].toDouble() / V * 100) <=
                        0.0005 + 0.5 / V + 1e-9);
            }
        }
    }

    // The curve ends at the table's last level; every axis labels plain decimals, the
    // deviation's in the table's unit; two methods that agree are said to agree.
    void axesAndTheCheckInTheTablesUnit() {
        struct Case {
            const char* diameter;
            const char* top; // Edit7
            const char* step;
            bool dished;
            bool weight;
            double lastLevel; // cm
            const char* says;
        };
        const Case cases[] = {
            {"2000", "1990", "10", true, false, 199, "最大偏差"},
            {"2000", "2000", "10", true, true, 200, "公斤"},
            {"40000", "40000", "100", false, false, 4000, "两种算法结果一致"},
            {"2000", "2000", "50", false, true, 200, "两种算法结果一致"},
        };
        for (const auto& c : cases) {
            describeTank(c.step);
            window->setText("Edit1", c.diameter);
            window->setText("Edit7", c.top);
            window->setChecked(c.dished ? "RadioButton19" : "RadioButton21", true);
            window->setText("Edit19", "0");
            window->setChecked(c.dished ? "RadioButton12" : "RadioButton14", true);
            window->setText("Edit20", "0");
            window->setChecked("CheckBox1", c.weight);
            window->setText("Edit37", "850");
            window->setText("ComboBox1", "Kg/m^3");
            window->setChecked("ExactGeometry", true);
            click("Button1");
            QVERIFY(services->shown.empty());
            const auto* check = page()->methodCheck();
            QVERIFY2(check->text().contains(QString::fromUtf8(c.says)), qPrintable(check->text()));
            QCOMPARE(check->text().contains(QStringLiteral("最大偏差 0 ")), false);
            // Agreeing methods leave no deviation curve of rounding noise.
            QCOMPARE(page()->chart()->series().contains(check->series()),
                     !check->text().contains(QStringLiteral("一致")));
            QCOMPARE(check->text().contains(QStringLiteral("升")),
                     !c.weight && !check->text().contains(QStringLiteral("一致")));
            for (auto* axis : page()->chart()->axes()) {
                auto* value = qobject_cast<QValueAxis*>(axis);
                QVERIFY(value);
                QVERIFY2(QRegularExpression(QStringLiteral("^%\\.[0-9]+f$"))
                             .match(value->labelFormat())
                             .hasMatch(),
                         qPrintable(value->labelFormat()));
                if (axis->alignment() == Qt::AlignBottom) QCOMPARE(value->max(), c.lastLevel);
                if (axis->alignment() == Qt::AlignRight)
                    QCOMPARE(value->titleText(),
                             c.weight ? QStringLiteral("偏差 (公斤)") : QStringLiteral("偏差 (升)"));
            }
            if (!c.weight) continue;
            // The deviation column is the table's value less the formulas', in kilograms.
            auto* model = page()->rowsModel();
            QCOMPARE(header(model->section(Column::Deviation)), QStringLiteral("偏差(公斤)"));
            const QStringList values = column(1), others = column(model->section(Column::Other)),
                              deviations = column(model->section(Column::Deviation));
            for (int i = 0; i < values.size(); ++i)
                QVERIFY(std::abs(values[i].toDouble() - others[i].toDouble() - deviations[i].toDouble()) <=
                        0.0100001);
        }
    }

    // Enter runs the request beside the field it is pressed in.
    void enterRunsTheRequestBesideItsField() {
        describeTank("50");
        struct Case {
            const char* field;
            const char* value;
            const char* result;
            const char* expected;
        };
        const Case cases[] = {{"Edit35", "100", "Edit36", "293.63"},
                              {"LevelForValue", "7853.85", "LevelForResult", "999.99"}};
        for (const auto& c : cases) {
            window->setText(c.field, c.value);
            QTest::keyClick(w<QLineEdit>(c.field), Qt::Key_Return);
            QVERIFY(services->shown.empty());
            QCOMPARE(w<QLineEdit>(c.result)->text(), QString::fromUtf8(c.expected));
        }
    }

    // On a laptop's 1366 × 768 screen the tank's number, its owner and the document buttons
    // show without scrolling the page; on 1024 × 768 every control of the page, the folded
    // certificate and uncertainty inputs too, is within the page's content at its full size
    // and the content no wider than the page, so nothing needs a sideways scroll.
    void controlsReachableOnSmallScreens() {
        struct Case {
            int width;
            bool identificationInView;
        };
        const Case cases[] = {{1366, true}, {1024, false}};
        describeTank("10");
        window->setText("UncertaintySection", "1");
        window->setChecked("PerMillimetre", true);
        click("Button1");
        for (const auto& c : cases) {
            // The screen less a task bar.
            kelvora::ui::placeWindow(*window, QRect(0, 0, c.width, 728));
            window->show();
            pages()->setCurrentIndex(3);
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            auto* scroll = w<QScrollArea>("TablePageScroll");
            QWidget* viewport = scroll->viewport();
            QWidget* content = scroll->widget();
            const auto rectIn = [](QWidget* widget, QWidget* ancestor) {
                return QRect(widget->mapTo(ancestor, QPoint(0, 0)), widget->size());
            };
            if (c.identificationInView) {
                QList<QWidget*> shown{w("TankNumber"), w("TankOwner")};
                for (auto* button : w("DocumentButtons")->findChildren<QPushButton*>())
                    shown << button;
                QVERIFY(shown.size() >= 3);
                for (auto* widget : shown)
                    QVERIFY2(viewport->rect().contains(rectIn(widget, viewport)),
                             qPrintable(widget->objectName()));
            }
            w<QToolButton>("CertificateFold")->setChecked(true);
            QApplication::processEvents();
            QVERIFY2(content->width() <= viewport->width(), qPrintable(QString::number(content->width())));
            QList<QWidget*> controls;
            for (auto* widget : content->findChildren<QWidget*>())
                if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QAbstractButton*>(widget) ||
                    qobject_cast<QComboBox*>(widget) || qobject_cast<QTableView*>(widget))
                    if (widget->isVisibleTo(content)) controls << widget;
            QVERIFY(controls.size() > 20);
            for (auto* widget : controls) {
                QVERIFY2(content->rect().contains(rectIn(widget, content)), qPrintable(widget->objectName()));
                QVERIFY2(widget->width() >= widget->minimumSizeHint().width(),
                         qPrintable(widget->objectName()));
            }
            w<QToolButton>("CertificateFold")->setChecked(false);
            QVERIFY(w("UncertaintySection")->isHidden() || !w("UncertaintySection")->isVisibleTo(content));
        }
    }
};

QTEST_MAIN(TablePageTest)
#include "table_page_test.moc"
