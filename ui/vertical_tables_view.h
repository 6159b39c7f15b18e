#pragma once
// A vertical tank's millimetre table (小数表) on the table page, below the rows: one row per
// course from the bottom, the litres in 1 … 9 mm of it. Hidden for every other structure.

#include <QGroupBox>

class QTableWidget;

namespace kelvora::capacity {
struct TTankDescription;
}

namespace kelvora::ui {

class VerticalTablesView : public QGroupBox {
public:
    explicit VerticalTablesView(QWidget* parent);

    // The table of `d`, a read and checked vertical tank; nullptr hides the view.
    void showTank(const capacity::TTankDescription* d);

    QTableWidget* millimetreTable() const { return grid_; }

private:
    QTableWidget* grid_ = nullptr;
};

} // namespace kelvora::ui
