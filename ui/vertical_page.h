#pragma once
// The structure page "立式圆筒" (TabSheet10, the fifth tab of PageControl1): the vertical
// tank's tilt, liquid density, floating roof and reference height as fields, and its three
// lists (courses, bottom points, deadwood) edited as grids in a dialog of their own, with
// rows added, removed and pasted from a spreadsheet. Each list is kept in one input
// (VerticalCourses, VerticalBottom, VerticalDeadwood) as "a,b,c;d,e,f".

#include <QDialog>
#include <QWidget>

class QLabel;
class QTabWidget;
class QTableWidget;

namespace kelvora::ui {

class TFrmMain;

class VerticalPage : public QWidget {
public:
    VerticalPage(TFrmMain& window, QTabWidget* structurePages);

    // Opens the lists' dialog; accepted, its grids become the three inputs.
    void editLists();
    // "3 圈板，2 个罐底点，0 段附件" from the three inputs.
    void updateSummary();

private:
    TFrmMain& window_;
    QLabel* summary_ = nullptr;
};

// The grids of the three lists: one tab each, rows from the bottom up.
class VerticalListsDialog : public QDialog {
public:
    VerticalListsDialog(TFrmMain& window, QWidget* parent);

    // The grids' non-empty rows back into the three inputs.
    void apply();

    // Rows of a spreadsheet's clipboard text (tab- or comma-separated) after the current row.
    void pasteRows(QTableWidget* grid, const QString& text);

    QTableWidget* grid(int list) const { return grids_[list]; }

private:
    TFrmMain& window_;
    QTableWidget* grids_[3] = {};
};

} // namespace kelvora::ui
