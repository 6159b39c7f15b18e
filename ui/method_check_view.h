#pragma once
// The check of the "容积表" page: the table's levels composed by the other method too, the
// other values and the deviation (exact − formula) for the rows view, the deviation on the
// curve's second axis, and a line with the largest deviation.

#include "capacity/method_check.h"
#include "capacity/row_list.h"

#include <QLabel>

class QChart;
class QLineSeries;
class QValueAxis;

namespace kelvora::ui {

// Tables longer than this are shown without the check: the second method would double the
// time of a table that already takes seconds.
inline constexpr std::size_t kMethodCheckMaxRows = 100'001;

class MethodCheckView : public QLabel {
public:
    // The deviation series goes on `chart`, against its bottom axis and an axis of its own.
    MethodCheckView(QWidget* parent, QChart* chart);

    // Compares both methods over the table that the inputs describe, which has
    // `tableRows` rows and was made by exact geometry or not, in weight mode or not.
    // A comparison that stops (the exact method cannot evaluate the tank) shows its message.
    void compare(capacity::NamedInputs& inputs, std::size_t tableRows, bool exactTable, bool weight);
    void clear();

    // Per row "other value,deviation", as the table shows values; empty without a check.
    const capacity::RowList& otherRows() const { return other_; }
    const capacity::MethodDeviation& deviation() const { return deviation_; }
    QLineSeries* series() const { return series_; }

private:
    void drawDeviation(const std::vector<capacity::MethodRow>& rows, double scale);
    void attach(bool on);

    QChart* chart_;
    QLineSeries* series_;
    QValueAxis* axis_;
    capacity::RowList other_;
    capacity::MethodDeviation deviation_;
};

// The method that made a table, as the page states it.
QString methodName(bool exactGeometry);

} // namespace kelvora::ui
