#pragma once
// The "变位识别" page, the fourth page of PageControl2: a station's records file, its first
// rows with the columns used, the fit of the inclined tank's α and β to them, how well
// they fit (residuals against the level before and after) and how much the table changes;
// "采用" writes the fitted angles into the inclined page. Its inputs (the records file, the
// columns, the β option) are registered with the window by name and persist in [Kelvora].

#include "identify/sheet.h"
#include "identify/tilt_fit.h"

#include <QWidget>

#include <optional>

class QChart;
class QLabel;
class QPushButton;
class QScatterSeries;
class QStandardItemModel;
class QTabWidget;
class QValueAxis;

namespace kelvora::ui {

class TFrmMain;

class IdentifyPage : public QWidget {
public:
    // Creates the page as the next page of `pages` and registers its inputs with `window`.
    IdentifyPage(TFrmMain& window, QTabWidget* pages);

    // "打开…": the records file from the open dialog, then read.
    void OpenClick();
    // "读取": reads RecordsFile and shows its first rows and headings.
    void ReadClick();
    // "识别": the fit over the records read (read first when none are).
    void FitClick();
    // "采用": the fitted α, β and low end (and F, the probe kept in place) into the inclined page.
    void AdoptClick();

    // Back to the page as it starts: no records, no fit, no column choices (新建).
    void clear();

    const std::optional<identify::TiltFit>& fit() const { return fit_; }
    QLabel* resultLine() const { return result_; }
    QChart* chart() const { return chart_; }

private:
    void registerInput(QWidget* widget, const char* name);
    QWidget* buildFileRow();
    QWidget* buildColumns();
    void showPreview();
    void showFit(const identify::TableChange& change);
    identify::ColumnNames columnNames() const;

    TFrmMain& window_;
    QWidget* content_ = nullptr;
    QStandardItemModel* preview_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* result_ = nullptr;
    QPushButton* adopt_ = nullptr;
    QChart* chart_ = nullptr;
    QScatterSeries* before_ = nullptr;
    QScatterSeries* after_ = nullptr;
    QValueAxis* levelAxis_ = nullptr;
    QValueAxis* residualAxis_ = nullptr;
    std::optional<identify::Sheet> sheet_;
    std::optional<identify::TiltFit> fit_;
    std::vector<double> levels_;
};

// The preview holds this many rows of the file.
inline constexpr int kPreviewRows = 12;

} // namespace kelvora::ui
