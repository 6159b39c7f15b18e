// The editing shortcuts in the number fields: Ctrl+A selects all (typing then replaces),
// Ctrl+C and Ctrl+X copy, Ctrl+V pastes only a plain decimal number, Ctrl+Z takes back.

#include "ui/Unit1.h"
#include "ui/field_edit.h"

#include "recording_services.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QtTest>

#include <memory>

using kelvora::test::RecordingServices;
using kelvora::ui::TFrmMain;

class FieldShortcutsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFrmMain> window;
    RecordingServices* services = nullptr;

    // Plays `keys` on the field: "^A" is Ctrl+A, any other character is typed.
    static void play(QLineEdit* e, const char* keys) {
        for (const char* k = keys; *k; ++k) {
            if (*k == '^') {
                ++k;
                QTest::keyClick(e, static_cast<Qt::Key>(Qt::Key_A + (*k - 'A')), Qt::ControlModifier);
            } else {
                QTest::keyClick(e, *k);
            }
        }
    }

private slots:
    void init() { window = kelvora::test::recordedWindow(services); }
    void cleanup() { window.reset(); }

    void shortcutsInNumberFields() {
        struct Case {
            const char* field;
            const char* before;    // the field's text, the cursor at its end
            const char* clipboard; // before the keys
            const char* keys;
            const char* after;
            const char* copied; // the clipboard afterwards
        };
        const Case cases[] = {
            {"Edit1", "2000", "", "^A5", "5", ""},
            {"Edit6", "12.5", "x", "^A^C", "12.5", "12.5"},
            {"Edit6", "12.5", "x", "^A^X", "", "12.5"},
            {"Edit35", "1", "5", "^V", "15", "5"},
            {"Edit35", "1", "2.5", "^A^V", "2.5", "2.5"},
            {"Edit35", "1", " 750.25\n", "^A^V", "750.25", " 750.25\n"},
            {"Edit35", "1", "七百", "^V", "1", "七百"},
            {"Edit35", "1", "-5", "^A^V", "1", "-5"},
            {"Edit35", "1", "1e3", "^V", "1", "1e3"},
            {"Edit35", "1", "2,000", "^V", "1", "2,000"},
            {"Edit9", "7", "12.5", "^V", "7", "12.5"},
            {"Edit9", "7", "12", "^V", "712", "12"},
            {"Edit2", "5000", "", "9^Z", "5000", ""},
            {"Edit2", "5000", "", "^A3^Z", "5000", ""},
            {"Edit2", "50", "7", "^V^Z", "50", "7"},
            {"Edit37", "850", "", "^A^X^Z", "850", "850"},
            // Other control keys stay filtered: Ctrl+B types nothing.
            {"Edit1", "20", "", "^B", "20", ""},
            // The text fields beside them too.
            {"TankNumber", "T-07", "", "^AB", "B", ""},
        };
        for (const auto& c : cases) {
            auto* e = window->findChild<QLineEdit*>(QLatin1String(c.field));
            QVERIFY2(e, c.field);
            QVERIFY(dynamic_cast<kelvora::ui::TEdit*>(e));
            window->setText(c.field, "");
            window->setText(c.field, c.before);
            e->setFocus();
            QGuiApplication::clipboard()->setText(QString::fromUtf8(c.clipboard));
            play(e, c.keys);
            const std::string what = std::string(c.field) + " " + c.before + " " + c.keys;
            QVERIFY2(e->text() == QString::fromUtf8(c.after),
                     qPrintable(QString::fromStdString(what) + " -> " + e->text()));
            QVERIFY2(QGuiApplication::clipboard()->text() == QString::fromUtf8(c.copied), what.c_str());
        }
        QVERIFY(services->shown.empty() || services->shown.back().text == "输入内容不是数字");
    }
};

QTEST_MAIN(FieldShortcutsTest)
#include "field_shortcuts_test.moc"
