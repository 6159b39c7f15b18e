// The result fields show every character of a result at the window's smallest and usual
// sizes: neither the first digits nor the last are ever out of sight.

#include "ui/Unit1.h"
#include "ui/table_page.h"

#include "recording_services.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

using kelvora::test::RecordingServices;
using kelvora::ui::TFrmMain;

class ResultFieldTest : public QObject {
    Q_OBJECT

    // Whether `field` shows its first and its last character, with the cursor at either end.
    static bool showsWholeText(QLineEdit* field) {
        const int middle = field->height() / 2;
        for (int cursor : {0, static_cast<int>(field->text().size())}) {
            field->setCursorPosition(cursor);
            field->grab(); // the scrolling follows the cursor when the field is painted
            if (field->cursorPositionAt(QPoint(1, middle)) != 0) return false;
            if (field->cursorPositionAt(QPoint(field->width() - 2, middle)) != field->text().size())
                return false;
        }
        return true;
    }

private slots:
    void everyDigitShows() {
        RecordingServices* services = nullptr;
        auto window = kelvora::test::recordedWindow(services);
        window->show();
        window->findChild<QTabWidget*>(QStringLiteral("PageControl2"))->setCurrentWidget(window->tablePage());
        const QSize usual = window->size();
        for (const QSize size : {window->minimumSizeHint(), usual}) {
            window->resize(size);
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            for (auto [field, text] : {std::pair{"Edit36", "2026271.24"},
                                       {"Edit36", "99999999.99"},
                                       {"Edit36", "123456789012.35"},
                                       {"LevelForResult", "20000.01"},
                                       {"LevelForResult", "123456.78"}}) {
                window->setText(field, text);
                auto* edit = window->findChild<QLineEdit*>(QLatin1String(field));
                QVERIFY2(showsWholeText(edit),
                         (std::string(field) + " " + text + " at " + std::to_string(size.width()) + "x" +
                          std::to_string(size.height()))
                             .c_str());
            }
        }
    }
};

QTEST_MAIN(ResultFieldTest)
#include "result_field_test.moc"
