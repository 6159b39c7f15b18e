// The window holds exactly the inputs of the input table, by name, kind, container and
// keyboard order, with the captions the user reads.

#include "capacity/input_table.h"
#include "capacity/page_inputs.h"
#include "ui/Unit1.h"
#include "ui/table_page.h"

#include "recording_services.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsView>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include <map>
#include <vector>

using kelvora::capacity::InputKind;

class WindowLayoutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<kelvora::ui::TFrmMain> window;

    static bool isInput(QWidget* w) {
        if (qobject_cast<QComboBox*>(w->parentWidget())) return false; // a combo box's own editor
        if (w->property("viewOption").toBool()) return false; // how a chart is drawn, no tank's input
        return qobject_cast<QLineEdit*>(w) || qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w) ||
               qobject_cast<QComboBox*>(w);
    }

    static bool inContainer(QWidget* w, const QString& container) {
        for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
            if (p->objectName() == container) return true;
        return false;
    }

    // A control the user works with: buttons, fields, lists, tables and charts; not the
    // parts of another control (a combo box's editor, a scroll bar, a tab bar's arrows).
    static bool isControl(QWidget* w) {
        for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
            if (qobject_cast<QComboBox*>(p) || qobject_cast<QAbstractItemView*>(p) ||
                qobject_cast<QTabBar*>(p) || qobject_cast<QScrollBar*>(p))
                return false;
        return qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
               qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractItemView*>(w) ||
               qobject_cast<QGraphicsView*>(w);
    }

    // Where `w` lies outside the window or outside what its containers show; empty when it
    // is whole. Inside a scroll area only the width counts: the page scrolls vertically.
    QString outside(QWidget* w) const {
        const QRect r(w->mapTo(window.get(), QPoint(0, 0)), w->size());
        bool scrolled = false;
        for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
            const QRect shown(p->mapTo(window.get(), QPoint(0, 0)), p->size());
            if (auto* area = qobject_cast<QScrollArea*>(p->parentWidget()); area && area->viewport() == p)
                scrolled = true;
            if (r.left() < shown.left() || r.right() > shown.right() ||
                (!scrolled && (r.top() < shown.top() || r.bottom() > shown.bottom())))
                return QStringLiteral("%1 (%2,%3 %4x%5) outside %6")
                    .arg(w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                   : w->objectName())
                    .arg(r.x())
                    .arg(r.y())
                    .arg(r.width())
                    .arg(r.height())
                    .arg(p->objectName().isEmpty() ? QString::fromLatin1(p->metaObject()->className())
                                                   : p->objectName());
            if (p == window.get()) break;
        }
        return {};
    }

    // Every shown control of every page of PageControl2 (and of the rest of the window) is
    // whole on the screen, and no page scrolls sideways.
    void checkEveryPage(const char* state) {
        auto* pages = window->findChild<QTabWidget*>(QStringLiteral("PageControl2"));
        for (int page = 0; page < pages->count(); ++page) {
            pages->setCurrentIndex(page);
            QTest::qWait(20);
            QStringList faults;
            for (QWidget* w : window->findChildren<QWidget*>()) {
                if (!w->isVisible() || w->window() != window.get()) continue;
                if (auto* area = qobject_cast<QScrollArea*>(w);
                    area && area->horizontalScrollBar()->isVisible())
                    faults << area->objectName() + QStringLiteral(" scrolls sideways");
                // Every tab whole in its bar: none behind the bar's arrows.
                if (auto* bar = qobject_cast<QTabBar*>(w))
                    for (int tab = 0; tab < bar->count(); ++tab)
                        if (!bar->rect().contains(bar->tabRect(tab)))
                            faults << bar->tabText(tab) + QStringLiteral(" not whole in its tab bar");
                // The charts' legends: every entry readable, none cut short.
                if (w->objectName().endsWith(QLatin1String("Legend")))
                    if (const QString where = outside(w); !where.isEmpty()) faults << where;
                if (!isControl(w)) continue;
                if (const QString where = outside(w); !where.isEmpty()) faults << where;
            }
            QVERIFY2(
                faults.isEmpty(),
                qPrintable(QStringLiteral("%1, page %2: ").arg(QLatin1String(state), pages->tabText(page)) +
                           faults.join(QStringLiteral("; "))));
        }
    }

private slots:
    void everyControlOnA1024x768Desktop() {
        window->resize(1024, 768);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->size(), QSize(1024, 768));
        checkEveryPage("at the start");

        // With a table of every column, and the certificate and uncertainty unfolded.
        window->setActivePage(0);
        const std::pair<const char*, const char*> fields[] = {{"Edit1", "2000"},
                                                              {"Edit2", "5000"},
                                                              {"Edit6", "0"},
                                                              {"Edit7", "2000"},
                                                              {"Edit8", "10"},
                                                              {"Edit9", "50"},
                                                              {"Edit13", "0"},
                                                              {"Edit31", "0"},
                                                              {"Edit32", "0"},
                                                              {"Edit33", "0"},
                                                              {"UncertaintySection", "1"},
                                                              {"TankNumber", "3号罐"}};
        for (auto [name, text] : fields)
            window->setText(name, text);
        for (auto name : {"RadioButton1", "RadioButton21", "RadioButton14", "PerMillimetre", "ExactGeometry"})
            window->setChecked(name, true);
        window->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        QVERIFY(window->rows().size() > 100);
        window->findChild<QToolButton*>(QStringLiteral("CertificateFold"))->click();
        checkEveryPage("with a table");
        // The chart's legend: its one named entry, whole below the chart.
        window->findChild<QTabWidget*>(QStringLiteral("PageControl2"))->setCurrentWidget(window->tablePage());
        QTest::qWait(50);
        auto* legend = window->findChild<QLabel*>(QStringLiteral("TableCurveLegend"));
        QVERIFY(legend && legend->isVisible());
        QVERIFY2(legend->text().contains(QStringLiteral("最高液位")), qPrintable(legend->text()));
        QVERIFY2(!legend->text().contains(QStringLiteral("容积曲线")), qPrintable(legend->text()));

        // At 1366×768 the curve with both axes is in sight without scrolling.
        window->resize(1366, 768);
        QTest::qWait(50);
        auto* curve = window->findChild<QWidget*>(QStringLiteral("TableCurve"));
        auto* scroll = window->findChild<QScrollArea*>(QStringLiteral("TablePageScroll"));
        const QRect seen(scroll->viewport()->mapTo(window.get(), QPoint(0, 0)), scroll->viewport()->size());
        const QRect drawn(curve->mapTo(window.get(), QPoint(0, 0)), curve->size());
        QVERIFY2(seen.contains(drawn), qPrintable(QStringLiteral("(%1,%2 %3x%4)")
                                                      .arg(drawn.x())
                                                      .arg(drawn.y())
                                                      .arg(drawn.width())
                                                      .arg(drawn.height())));
        QVERIFY(drawn.height() >= 200);
    }

    void init() { window = std::make_unique<kelvora::ui::TFrmMain>(std::make_unique<kelvora::test::RecordingServices>()); }
    void cleanup() { window.reset(); }

    void everyInputByNameKindAndContainer() {
        int count = 0;
        for (QWidget* w : window->findChildren<QWidget*>())
            if (isInput(w)) ++count;
        // The 72 and the inputs of the "容积表" page.
        QCOMPARE(count, 72 + static_cast<int>(kelvora::capacity::pageInputTable().size()));
        for (auto table : {kelvora::capacity::inputTable(), kelvora::capacity::pageInputTable()})
        for (const auto& info : table) {
            const QString name = QString::fromUtf8(info.name.data(), info.name.size());
            auto* w = window->findChild<QWidget*>(name);
            QVERIFY2(w, qPrintable(name));
            QVERIFY2(isInput(w), qPrintable(name));
            QCOMPARE(w->accessibleName(), name);
            QVERIFY2(inContainer(w, QString::fromUtf8(info.container.data(), info.container.size())), qPrintable(name));
            switch (info.kind) {
            case InputKind::Edit: QVERIFY(qobject_cast<QLineEdit*>(w)); break;
            case InputKind::RadioButton: QVERIFY(qobject_cast<QRadioButton*>(w)); break;
            case InputKind::CheckBox: QVERIFY(qobject_cast<QCheckBox*>(w)); break;
            case InputKind::ComboBox: QVERIFY(qobject_cast<QComboBox*>(w)->isEditable()); break;
            case InputKind::PickList: QVERIFY(!qobject_cast<QComboBox*>(w)->isEditable()); break;
            }
            // Every length says its unit; F also says which end it is measured to, the end the
            // level conversion takes it from.
            if (name == QLatin1String("Edit39"))
                QCOMPARE(w->toolTip(), QStringLiteral("毫米，液位计到高端焊缝的距离"));
            else if (!info.hint.empty())
                QCOMPARE(w->toolTip(), QString::fromUtf8(info.hint.data(), static_cast<qsizetype>(info.hint.size())));
            else
                QVERIFY2(w->toolTip().isEmpty(), qPrintable(name));
        }
    }

    void keyboardOrderFollowsTheInputTableInEachContainer() {
        std::map<QString, std::vector<QString>> visited;
        QWidget* start = window->findChild<QWidget*>(QStringLiteral("Edit10"));
        QWidget* w = start;
        do {
            if (isInput(w))
                for (const auto& info : kelvora::capacity::inputTable())
                    if (w->objectName() == QString::fromUtf8(info.name.data(), info.name.size()))
                        visited[QString::fromUtf8(info.container.data(), info.container.size())].push_back(
                            w->objectName());
            w = w->nextInFocusChain();
        } while (w && w != start);
        std::map<QString, std::vector<QString>> expected;
        for (const auto& info : kelvora::capacity::inputTable())
            expected[QString::fromUtf8(info.container.data(), info.container.size())].push_back(
                QString::fromUtf8(info.name.data(), info.name.size()));
        for (const auto& [container, names] : expected) QCOMPARE(visited[container], names);
    }

    void captionsAndInitialState() {
        auto* pages = window->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        QCOMPARE(pages->count(), 5);
        const QStringList tabs{QStringLiteral("水平圆筒"), QStringLiteral("倾斜圆筒"), QStringLiteral("球罐"),
                               QStringLiteral("罐容标定"), QStringLiteral("立式圆筒")};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(pages->tabText(i), tabs[i]);
        QCOMPARE(pages->currentIndex(), 0);
        auto* figures = window->findChild<QTabWidget*>(QStringLiteral("PageControl2"));
        QCOMPARE(figures->tabText(0), QStringLiteral("图一至图八"));
        QCOMPARE(figures->tabText(1), QStringLiteral("倾斜圆筒"));
        const std::pair<const char*, const char*> groups[] = {
            {"GroupBox2", "右封头"}, {"GroupBox3", "左封头"}, {"GroupBox4", "油罐容积表"}, {"GroupBox5", "快捷计算"}};
        for (auto [name, title] : groups)
            QCOMPARE(window->findChild<QGroupBox*>(QLatin1String(name))->title(), QString::fromUtf8(title));
        const std::pair<const char*, const char*> buttons[] = {
            {"Button1", "生成容积表"}, {"Button2", "计算"}, {"Button3", "打印"}, {"Button4", "帮助"}, {"Button5", "清空"}};
        for (auto [name, caption] : buttons)
            QCOMPARE(window->findChild<QPushButton*>(QLatin1String(name))->text(), QString::fromUtf8(caption));
        QCOMPARE(window->windowTitle(), QStringLiteral("Kelvora"));
        QCOMPARE(window->objectName(), QStringLiteral("FrmMain"));

        for (const auto& info : kelvora::capacity::inputTable())
            if (info.kind == InputKind::RadioButton) {
                const bool initially = info.name == "RadioButton1" || info.name == "RadioButton8" ||
                                       info.name == "RadioButton15";
                QCOMPARE(window->checked(info.name), initially);
            }
        QCOMPARE(window->text("ComboBox1"), std::string("单位"));
        for (auto name : {"ComboBox2", "ComboBox3", "ComboBox4"}) QCOMPARE(window->itemIndex(name), -1);
        // Checking a left head clears only the left group.
        window->setChecked("RadioButton17", true);
        QVERIFY(!window->checked("RadioButton15"));
        QVERIFY(window->checked("RadioButton8"));
        window->setChecked("RadioButton17", false);
        QVERIFY(!window->checked("RadioButton17"));
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
