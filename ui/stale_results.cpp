#include "ui/stale_results.h"

#include "capacity/page_inputs.h"
#include "capacity/result_inputs.h"
#include "ui/Unit1.h"
#include "ui/controls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

namespace kelvora::ui {

StaleResults::StaleResults(TFrmMain& window) : QObject(&window), window_(window) {
    auto watch = [this](std::string_view name) {
        auto* widget =
            window_.findChild<QWidget*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        auto clear = [this, name] { changed(name); };
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            connect(edit, &QLineEdit::textChanged, this, clear);
        else if (auto* combo = qobject_cast<QComboBox*>(widget))
            connect(combo, &QComboBox::currentTextChanged, this, clear);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            connect(button, &QAbstractButton::toggled, this, clear);
    };
    for (const auto& input : capacity::inputTable())
        watch(input.name);
    for (const auto& input : capacity::pageInputTable())
        watch(input.name);

    auto gridChanged = [this] { changed(capacity::kGridInput); };
    auto* grid = window_.findChild<StringGridView*>(QStringLiteral("StringGrid1"));
    connect(grid->gridModel(), &QAbstractItemModel::dataChanged, this, gridChanged);
    connect(grid->gridModel(), &QAbstractItemModel::modelReset, this, gridChanged);
    connect(window_.findChild<QTabWidget*>(QStringLiteral("PageControl1")), &QTabWidget::currentChanged, this,
            [this] { changed(capacity::kStructureTabsInput); });
}

void StaleResults::changed(std::string_view input) {
    if (holds_ > 0) return;
    for (auto result : capacity::kResults)
        if (capacity::resultReads(result, input, window_)) window_.setText(result, "");
}

} // namespace kelvora::ui
