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

void onInputChanges(TFrmMain& window, QObject* receiver, const std::function<void(std::string_view)>& changed) {
    auto watch = [&](std::string_view name) {
        auto* widget =
            window.findChild<QWidget*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        auto clear = [changed, name] { changed(name); };
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            QObject::connect(edit, &QLineEdit::textChanged, receiver, clear);
        else if (auto* combo = qobject_cast<QComboBox*>(widget))
            QObject::connect(combo, &QComboBox::currentTextChanged, receiver, clear);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            QObject::connect(button, &QAbstractButton::toggled, receiver, clear);
    };
    for (const auto& input : capacity::inputTable())
        watch(input.name);
    for (const auto& input : capacity::pageInputTable())
        watch(input.name);
    QObject::connect(window.findChild<QTabWidget*>(QStringLiteral("PageControl1")), &QTabWidget::currentChanged,
                     receiver, [changed] { changed(capacity::kStructureTabsInput); });
}

StaleResults::StaleResults(TFrmMain& window) : QObject(&window), window_(window) {
    onInputChanges(window_, this, [this](std::string_view name) { changed(name); });
    auto gridChanged = [this] { changed(capacity::kGridInput); };
    auto* grid = window_.findChild<StringGridView*>(QStringLiteral("StringGrid1"));
    connect(grid->gridModel(), &QAbstractItemModel::dataChanged, this, gridChanged);
    connect(grid->gridModel(), &QAbstractItemModel::modelReset, this, gridChanged);
}

void StaleResults::changed(std::string_view input) {
    if (holds_ > 0) return;
    for (auto result : capacity::kResults)
        if (capacity::resultReads(result, input, window_)) window_.setText(result, "");
}

} // namespace kelvora::ui
