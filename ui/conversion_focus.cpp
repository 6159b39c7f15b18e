#include "ui/conversion_focus.h"

#include "kernel/errors.h"
#include "kernel/number_text.h"
#include "ui/Unit1.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>

namespace kelvora::ui {

namespace {

// Whether converting `text` as a request does fails with `message`.
bool failsWith(const std::string& text, const std::string& message) {
    for (const auto convert : {+[](const std::string& t) { kernel::strToFloat(t); },
                               +[](const std::string& t) { kernel::strToInt(t); }}) {
        try {
            convert(text);
        } catch (const ConvertError& e) {
            if (message == e.what()) return true;
        }
    }
    return false;
}

// The pages holding `widget` come to the front and its scroll areas scroll to it.
void reveal(QWidget* widget) {
    for (QWidget* w = widget; w && w->parentWidget(); w = w->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
        if (auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr)
            if (tabs->currentWidget() != w) tabs->setCurrentWidget(w);
    }
    for (QWidget* w = widget->parentWidget(); w; w = w->parentWidget())
        if (auto* scroll = qobject_cast<QScrollArea*>(w)) scroll->ensureWidgetVisible(widget);
}

} // namespace

void focusUnconvertedInput(TFrmMain& window, const std::vector<std::string>& read,
                           const std::string& message) {
    for (auto name = read.rbegin(); name != read.rend(); ++name) {
        if (!failsWith(window.text(*name), message)) continue;
        auto* widget = window.findChild<QWidget*>(QString::fromStdString(*name));
        if (!widget) continue;
        reveal(widget);
        widget->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
            combo->lineEdit()->selectAll();
        return;
    }
    auto* grid = window.findChild<QTableView*>(QStringLiteral("StringGrid1"));
    if (!grid) return;
    const capacity::StringGrid& cells = window.grid();
    for (int row = cells.fixedRows(); row < cells.rowCount(); ++row)
        for (int col = cells.fixedCols(); col < cells.colCount(); ++col) {
            if (!failsWith(cells.cell(col, row), message)) continue;
            reveal(grid);
            grid->setCurrentIndex(grid->model()->index(row, col));
            grid->setFocus(Qt::OtherFocusReason);
            return;
        }
}

} // namespace kelvora::ui
