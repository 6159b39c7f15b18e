// The window holds exactly the inputs of the input table, by name, kind, container and
// keyboard order, with the captions the user reads.

#include "capacity/input_table.h"
#include "capacity/page_inputs.h"
#include "ui/Unit1.h"

#include "recording_services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include <map>
#include <vector>

using kelvora::capacity::InputKind;

class WindowLayoutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<kelvora::ui::TFrmMain> window;

    static bool isInput(QWidget* w) {
        if (qobject_cast<QComboBox*>(w->parentWidget())) return false; // a combo box's own editor
        return qobject_cast<QLineEdit*>(w) || qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w) ||
               qobject_cast<QComboBox*>(w);
    }

    static bool inContainer(QWidget* w, const QString& container) {
        for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
            if (p->objectName() == container) return true;
        return false;
    }

private slots:
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
