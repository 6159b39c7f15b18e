#include "ui/input_group.h"

#include "capacity/page_inputs.h"
#include "ui/field_edit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

namespace kelvora::ui {

namespace {

QString q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

} // namespace

QGroupBox* buildInputGroup(QWidget* parent, const QString& title, std::span<const std::string_view> names, int perRow,
                           const std::function<void(QWidget*, const char*)>& registerInput) {
    auto* group = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(6);
    int i = 0;
    for (std::string_view name : names) {
        const capacity::InputInfo* input = capacity::findPageInput(name);
        const int row = i / perRow, column = (i % perRow) * 3;
        ++i;
        // Component names are string literals of the input table, so they end in a NUL.
        if (input->kind == capacity::InputKind::CheckBox) {
            auto* box = new QCheckBox(q(input->label), group);
            registerInput(box, input->name.data());
            box->setToolTip(q(input->hint));
            grid->addWidget(box, row, column, 1, 3);
            continue;
        }
        auto* edit = new TEdit(group);
        registerInput(edit, input->name.data());
        const QString hint = q(input->hint);
        edit->setToolTip(hint);
        const qsizetype comma = hint.indexOf(QStringLiteral("，"));
        grid->addWidget(new QLabel(q(input->label), group), row, column);
        grid->addWidget(edit, row, column + 1);
        if (comma > 0) grid->addWidget(new QLabel(hint.left(comma), group), row, column + 2);
        grid->setColumnStretch(column + 1, 1);
    }
    return group;
}

} // namespace kelvora::ui
