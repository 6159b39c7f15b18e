// The wait cursor over a table build and a workbook write: up for the work, down again
// however the work ends, and never over a box or dialog that waits for the user.

#include "ui/Unit1.h"
#include "ui/wait_cursor.h"

#include "recording_services.h"

#include <QApplication>
#include <QtTest>

#include <optional>
#include <stdexcept>

using kelvora::ui::TFrmMain;
using kelvora::ui::WaitCursor;

namespace {

std::optional<Qt::CursorShape> overrideShape() {
    const QCursor* cursor = QApplication::overrideCursor();
    if (!cursor) return std::nullopt;
    return cursor->shape();
}

// Notes the cursor each box and dialog was shown under.
class CursorServices : public kelvora::test::RecordingServices {
public:
    std::vector<std::optional<Qt::CursorShape>> cursors;
    void messageBox(const std::string& text) override {
        cursors.push_back(overrideShape());
        RecordingServices::messageBox(text);
    }
    void errorBox(const std::string& text) override {
        cursors.push_back(overrideShape());
        RecordingServices::errorBox(text);
    }
    std::optional<std::string> saveDialog(const kelvora::ui::SaveDialogRequest& request) override {
        cursors.push_back(overrideShape());
        return RecordingServices::saveDialog(request);
    }
};

} // namespace

class WaitCursorTest : public QObject {
    Q_OBJECT

private slots:
    void guardHoldsTheWaitCursorForItsScopeOnly() {
        {
            WaitCursor outer;
            QVERIFY(overrideShape() == std::optional(Qt::WaitCursor));
            {
                WaitCursor inner;
                QVERIFY(overrideShape() == std::optional(Qt::WaitCursor));
            }
            QVERIFY(overrideShape() == std::optional(Qt::WaitCursor));
        }
        QVERIFY(overrideShape() == std::nullopt);
        try {
            WaitCursor busy;
            throw std::runtime_error("failed");
        } catch (const std::runtime_error&) {
        }
        QVERIFY(overrideShape() == std::nullopt);
    }

    // A refused build (a density that is no number), a failed write (no such folder) and a
    // good table: every box and dialog comes up under the ordinary cursor, and none is
    // left behind.
    void requestsLeaveNoWaitCursorBehind() {
        auto recording = std::make_unique<CursorServices>();
        auto* services = recording.get();
        TFrmMain window(std::move(recording));
        const std::pair<const char*, const char*> fields[] = {
            {"Edit1", "2000"}, {"Edit2", "5000"}, {"Edit6", "0"},  {"Edit7", "2000"}, {"Edit8", "500"},
            {"Edit9", "3"},    {"Edit13", "0"},   {"Edit31", "0"}, {"Edit32", "0"},   {"Edit33", "0"}};
        window.setChecked("RadioButton1", true);
        window.setChecked("RadioButton21", true);
        window.setChecked("RadioButton14", true);
        window.setItemIndex("ComboBox3", 0);
        window.setItemIndex("ComboBox4", 0);
        for (auto [name, text] : fields)
            window.setText(name, text);

        window.setChecked("CheckBox1", true);
        window.setText("Edit37", "x");
        services->cursors.clear();
        services->shown.clear();
        window.runHandler([&] { window.Button1Click(); });
        QCOMPARE(services->shown.size(), std::size_t(1));
        QCOMPARE(services->shown[0].kind, std::string("message"));
        QVERIFY(overrideShape() == std::nullopt);

        window.setChecked("CheckBox1", false);
        services->dialogAnswers.push_back(std::string("/nonexistent-dir/table.xls"));
        window.runHandler([&] { window.Button1Click(); });
        QCOMPARE(services->shown.size(), std::size_t(2));
        QCOMPARE(services->shown[1].kind, std::string("error"));
        QVERIFY(overrideShape() == std::nullopt);

        window.runHandler([&] { window.Button1Click(); }); // cancelled
        QCOMPARE(services->cursors.size(), std::size_t(4));
        for (const auto& shape : services->cursors)
            QVERIFY(shape == std::nullopt);
    }
};

QTEST_MAIN(WaitCursorTest)
#include "wait_cursor_test.moc"
