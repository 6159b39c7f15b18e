#include "ui/vertical_tables_view.h"

#include "capacity/row_columns.h"
#include "capacity/tank_description.h"
#include "capacity/vertical_tables.h"
#include "ui/page_parts.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kelvora::ui {

namespace {
constexpr int kShownCourses = 6; // rows in view before the grid scrolls
}

VerticalTablesView::VerticalTablesView(QWidget* parent)
    : QGroupBox(QStringLiteral("小数表（每圈板 1 ~ 9 mm 的容量，升）"), parent) {
    setObjectName(QStringLiteral("MillimetreGroup"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    grid_ = new QTableWidget(0, 10, this);
    grid_->setObjectName(QStringLiteral("MillimetreTable"));
    QStringList headings{QStringLiteral("圈板")};
    for (int k = 1; k <= 9; ++k)
        headings << QStringLiteral("%1 mm").arg(k);
    grid_->setHorizontalHeaderLabels(headings);
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    const int row = grid_->fontMetrics().height() + 4;
    grid_->verticalHeader()->setDefaultSectionSize(row);
    grid_->setFixedHeight(grid_->horizontalHeader()->sizeHint().height() + row * kShownCourses +
                          2 * grid_->frameWidth());
    layout->addWidget(grid_);
    hide();
}

void VerticalTablesView::showTank(const capacity::TTankDescription* d) {
    if (!d || d->kind != capacity::TStructureKind::skVertical) {
        grid_->setRowCount(0);
        hide();
        return;
    }
    const auto rows = capacity::millimetreRows(*d);
    grid_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size() && c < 10; ++c) {
            const std::string text = c == 0 ? rows[r][c] : capacity::fixedDecimals(rows[r][c]);
            auto* item = new QTableWidgetItem(qtText(text));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    show();
}

} // namespace kelvora::ui
