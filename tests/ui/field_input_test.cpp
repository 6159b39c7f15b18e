// What the edit fields take, whichever way the text comes: a point in every length, the
// full-width digits of a Chinese input method, pastes only of plain decimals, and the
// tank's number and owner up to their lengths.

#include "capacity/input_table.h"
#include "ui/Unit1.h"
#include "ui/field_edit.h"

#include "recording_services.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

#include <memory>

using kelvora::test::RecordingServices;
using kelvora::ui::TEdit;
using kelvora::ui::TFrmMain;

class FieldInputTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFrmMain> window;
    RecordingServices* services = nullptr;

    TEdit* edit(const char* name) {
        return dynamic_cast<TEdit*>(window->findChild<QLineEdit*>(QLatin1String(name)));
    }

    enum class Way { Keys, InputMethod, MenuPaste, ShiftInsert, CtrlV };
    void put(TEdit* e, Way way, const QString& text) {
        e->setFocus();
        switch (way) {
        case Way::Keys:
            for (const QChar c : text) {
                // Characters off the keyboard's ASCII keys come as a key event with only a text.
                if (c.unicode() < 128)
                    QTest::keyClick(e, c.toLatin1());
                else
                    for (auto action : {QTest::Press, QTest::Release})
                        QTest::sendKeyEvent(action, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
            break;
        case Way::InputMethod: {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QCoreApplication::sendEvent(e, &commit);
            break;
        }
        case Way::MenuPaste: {
            QGuiApplication::clipboard()->setText(text);
            std::unique_ptr<QMenu> menu(e->contextMenu());
            auto* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
            QVERIFY(paste);
            paste->trigger();
            break;
        }
        case Way::ShiftInsert:
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(e, Qt::Key_Insert, Qt::ShiftModifier);
            break;
        case Way::CtrlV:
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
            break;
        }
    }

private slots:
    void init() { window = kelvora::test::recordedWindow(services); }
    void cleanup() { window.reset(); }

    void everyLengthTakesThePoint() {
        for (const auto& info : kelvora::capacity::inputTable()) {
            if (info.kind != kelvora::capacity::InputKind::Edit ||
                info.filter == kelvora::capacity::KeyFilter::None)
                continue;
            const std::string name(info.name);
            put(edit(name.c_str()), Way::Keys, QStringLiteral("2000.5"));
            // Only the count of rows per column is a whole number.
            QCOMPARE(window->text(name), std::string(name == "Edit9" ? "20005" : "2000.5"));
        }
    }

    void numericFieldsTakeDecimalsOnly() {
        struct Case {
            const char* field;
            Way way;
            const char* before; // the field's text, the cursor at its end
            const char* put;
            const char* after;
        };
        const Case cases[] = {
            {"Edit1", Way::Keys, "", "２０００．５", "2000.5"},
            {"Edit1", Way::Keys, "", "２０００。５", "2000.5"},
            {"Edit9", Way::Keys, "", "２０．５", "205"},
            {"Edit1", Way::InputMethod, "1", "２０００。５", "12000.5"},
            {"Edit1", Way::InputMethod, "", "D=2000mm", "2000"},
            {"Edit1", Way::MenuPaste, "", " 2000.5\n", "2000.5"},
            {"Edit1", Way::MenuPaste, "", "１２．５", "12.5"},
            {"Edit1", Way::MenuPaste, "7", "2,000.5", "7"},
            {"Edit1", Way::MenuPaste, "7", "1.2.3", "7"},
            {"Edit1", Way::MenuPaste, "7", "-5", "7"},
            {"Edit1", Way::MenuPaste, "7", "1e3", "7"},
            {"Edit1", Way::MenuPaste, "7", ".", "7"},
            {"Edit9", Way::MenuPaste, "7", "12.5", "7"},
            {"Edit9", Way::MenuPaste, "", "12", "12"},
            {"Edit35", Way::ShiftInsert, "", "750.25", "750.25"},
            {"Edit35", Way::ShiftInsert, "1", "七百", "1"},
            // The paste shortcut reaches the field and pastes as the menu does.
            {"Edit35", Way::CtrlV, "1", "5", "15"},
            {"Edit35", Way::CtrlV, "1", "-5", "1"},
        };
        for (const auto& c : cases) {
            window->setText(c.field, c.before);
            put(edit(c.field), c.way, QString::fromUtf8(c.put));
            QVERIFY2(window->text(c.field) == c.after,
                     (std::string(c.field) + " after " + c.put + ": " + window->text(c.field)).c_str());
        }
        // Text the program puts in is not filtered.
        window->setText("Edit1", "-1,5");
        QCOMPARE(window->text("Edit1"), std::string("-1,5"));
    }

    void tankNumberAndOwnerStopAtTheirLengths() {
        const QString face = QString::fromUcs4(U"\U0001F600"); // one character, two UTF-16 units
        struct Case {
            const char* field;
            Way way;
            QString before, put, after;
        };
        const Case cases[] = {
            {"TankNumber", Way::Keys, QString(60, 'A'), QStringLiteral("BCDEFG"), QString(60, 'A') + "BCDE"},
            {"TankNumber", Way::CtrlV, QString(10, 'A'), QString(100, 'x'),
             QString(10, 'A') + QString(54, 'x')},
            {"TankNumber", Way::MenuPaste, QString(63, 'A'), face + face, QString(63, 'A') + face},
            {"TankNumber", Way::InputMethod, QString(62, 'A'), QStringLiteral("油罐区"),
             QString(62, 'A') + "油罐"},
            {"TankOwner", Way::Keys, QString(127, 'A'), QStringLiteral("xy"), QString(127, 'A') + "x"},
            {"TankOwner", Way::MenuPaste, QString(), QString(200, QChar(u'库')), QString(128, QChar(u'库'))},
        };
        for (const auto& c : cases) {
            window->setText(c.field, c.before.toStdString());
            put(edit(c.field), c.way, c.put);
            QCOMPARE(QString::fromStdString(window->text(c.field)), c.after);
        }
        // A longer text from the settings file stays as it was.
        window->setText("TankNumber", std::string(100, 'N'));
        QCOMPARE(window->text("TankNumber"), std::string(100, 'N'));
    }
};

QTEST_MAIN(FieldInputTest)
#include "field_input_test.moc"
