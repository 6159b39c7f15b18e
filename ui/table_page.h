#pragma once
// The "容积表" page, the fourth page of PageControl2 (after the three figure pages): the rows of the last generated table
// (ListBox1's row list, read through a model), their curve, a summary line, and the
// level-from-volume request. It also holds the exact-geometry check and the tank's
// identification for documents, with room for the document buttons and for the
// exact-geometry figures. Its inputs (capacity::pageInputTable) are registered with the
// window by name, so requests, settings and tests reach them like the 72.

#include "capacity/row_list.h"
#include "capacity/table_curve.h"
#include "capacity/uncertainty.h"

#include <QAbstractTableModel>
#include <QWidget>

#include <string>

class QChart;
class QCheckBox;
class QChartView;
class QLabel;
class QLineSeries;
class QSplitter;
class QTabWidget;
class QTableView;
class QValueAxis;

namespace kelvora::ui {

class TFrmMain;

// ListBox1's rows as a table: level in cm and the value (litres, or kilograms for a table
// made in weight mode) with two fixed decimals, with the workbook's headings; optionally the
// value per millimetre up to the next row, the expanded uncertainty U and U/V, the
// check's two columns, and a vertical tank's hydrostatic increase and 备注 (its roof's zone,
// shaded). No item per row: every cell is cut from the row list when it is drawn.
class TableRowsModel : public QAbstractTableModel {
public:
    enum class Column { Level, Value, PerMillimetre, U, Relative, Other, Deviation, Hydrostatic, Remark };

    using QAbstractTableModel::QAbstractTableModel;
    // Shows `rows` (which must outlive the model or the next setRows); nullptr for none.
    void setRows(const capacity::RowList* rows, bool weight);
    // The check's columns beside the rows: per row "other value,deviation" (`other` must
    // outlive the model or the next call), the other method being the formulas when the
    // table is exact; nullptr for none.
    void setOther(const capacity::RowList* other, bool exactTable);
    void setPerMillimetre(bool on);
    // Each row's uncertainty, in the rows' order (must outlive the model or the next call);
    // nullptr for none.
    void setUncertainty(const std::vector<capacity::RowUncertainty>* rows);
    // A vertical tank's hydrostatic increase per row ("level,increase") and the rows in
    // "浮盘起浮区" (both must outlive the model or the next call); nullptr or empty for none.
    void setVertical(const capacity::RowList* hydrostatic, const std::vector<bool>* roofZone);
    bool weight() const { return weight_; }
    // The section showing `column`, -1 when it is not shown.
    int section(Column column) const;
    Column column(int section) const;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const capacity::RowList* rows_ = nullptr;
    const capacity::RowList* other_ = nullptr;
    const std::vector<capacity::RowUncertainty>* uncertainty_ = nullptr;
    const capacity::RowList* hydrostatic_ = nullptr;
    const std::vector<bool>* roofZone_ = nullptr;
    std::vector<Column> columns_{Column::Level, Column::Value};
    void updateColumns();
    std::size_t count_ = 0;
    bool perMillimetre_ = false;
    bool weight_ = false;
    bool exactTable_ = false;
};

class MethodCheckView;
class VerticalTablesView;

class TablePage : public QWidget {
public:
    // Creates the page as the next page of `pages` and registers its inputs with `window`.
    TablePage(TFrmMain& window, QTabWidget* pages);

    // Shows the table in `rows` (ListBox1's rows), made in weight mode or not; `note`
    // states the levels extrapolated beyond calibration points, if any.
    void showTable(const capacity::RowList& rows, bool weight, const std::string& note = {});
    // Back to the hint shown before the first table.
    void showNoTable();

    // The "求液位" button.
    void LevelForClick();

    TableRowsModel* rowsModel() const { return model_; }
    const capacity::TableSummary& summary() const { return summary_; }
    QChart* chart() const { return chart_; }
    // Room below the identification fields for the document buttons.
    QWidget* documentBar() const { return documentBar_; }
    // Room beside the exact-geometry check for the other method's figures.
    QWidget* exactGeometryArea() const { return exactArea_; }
    // The two methods compared over the table on the page.
    MethodCheckView* methodCheck() const { return check_; }
    // The rows' expanded uncertainty; empty when none is given or the table is too long.
    const std::vector<capacity::RowUncertainty>& uncertainty() const { return uncertainty_; }

    // The caption follows the exact-geometry check.
    static QString caption(bool exactGeometry);
    // The tooltip of the exact-geometry check while the calibration page is active.
    static QString noGeometryTip();

    // Measured calibration points have no geometry to compute: while PageControl1 shows
    // them the exact-geometry check is disabled and the comparison hidden.
    void followStructurePage();

private:
    QWidget* buildLevelForGroup();
    QWidget* buildIdentification();
    QWidget* buildCertificateSection();
    void registerInput(QWidget* widget, const char* name);
    void updateUnit();
    void updateCaption();
    bool exactGeometry() const; // checked, and offered on the active structure page
    void drawCurve();
    // Each row's uncertainty for a table of `rows` rows; the summary's sentence about it.
    QString computeUncertainty(std::size_t rows);
    void sizeColumns();
    // A vertical tank's hydrostatic column, roof zone and millimetre table for the rows shown.
    void showVerticalTables();

    TFrmMain& window_;
    QTabWidget* pages_;
    QWidget* content_ = nullptr;
    TableRowsModel* model_ = nullptr;
    QTableView* view_ = nullptr;
    QLabel* hint_ = nullptr;
    QSplitter* table_ = nullptr;
    QLabel* summaryLine_ = nullptr;
    QChartView* chartView_ = nullptr;
    QChart* chart_ = nullptr;
    QLineSeries* curve_ = nullptr;
    QLineSeries* capacityLine_ = nullptr;
    QValueAxis* levelAxis_ = nullptr;
    QValueAxis* valueAxis_ = nullptr;
    QLabel* unit_ = nullptr;
    QWidget* documentBar_ = nullptr;
    QWidget* exactArea_ = nullptr;
    QCheckBox* exactBox_ = nullptr;
    MethodCheckView* check_ = nullptr;
    VerticalTablesView* vertical_ = nullptr;
    capacity::RowList hydrostatic_; // a vertical tank's, beside the rows
    std::vector<bool> roofZone_;
    capacity::TableSummary summary_;
    std::vector<capacity::RowUncertainty> uncertainty_;
};

// How many pixel columns the curve is reduced to: enough for a wide screen at twice the
// pixel density, so a resized view still shows every peak.
inline constexpr int kCurveColumns = 4096;

} // namespace kelvora::ui
