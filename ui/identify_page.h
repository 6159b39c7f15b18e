#pragma once
// The "变位识别" page, the fourth page of PageControl2: a station's records file, its first
// rows with the columns used, the fit of the inclined tank's α and β to them, how well
// they fit (residuals against the level before and after) and how much the table changes;
// "采用" writes the fitted angles into the inclined page. Its inputs (the records file, the
// columns, the β option) are registered with the window by name and persist in [Kelvora].
// The fit runs on a thread of its own with its progress shown and "取消" to end it; a fit
// is taken away, and "采用" barred, as soon as an input it was made from changes (other
// than by "采用" itself), or another tank comes in. The residual chart is scaled to the
// fitted series, its level axis running from 0 to the tank's height A; the series before
// the fit is shown on demand ("显示识别前残差", off at first). The result and the residuals
// are saved as CSV ("保存结果…") and printed ("打印…"), see ui/identify_report.h.

#include "identify/sheet.h"
#include "identify/tilt_fit.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <thread>

class QChart;
class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QScatterSeries;
class QStandardItemModel;
class QTabWidget;
class QTimer;
class QValueAxis;

namespace kelvora::ui {

class TFrmMain;

class IdentifyPage : public QWidget {
public:
    // Creates the page as the next page of `pages` and registers its inputs with `window`.
    IdentifyPage(TFrmMain& window, QTabWidget* pages);
    // A fit still running is cancelled and waited for.
    ~IdentifyPage() override;

    // "打开…": the records file from the open dialog, then read.
    void OpenClick();
    // "读取": reads RecordsFile and shows its first rows and headings.
    void ReadClick();
    // "识别": reads the records file and fits the tank to it on a thread of its own; the
    // result, or the refusal, comes when it ends.
    void FitClick();
    // "取消": ends the running fit, which leaves no result.
    void CancelClick();
    // "采用": the fitted α, β and low end (and F, the probe kept in place) into the inclined
    // page; the result stays, marked "已采用".
    void AdoptClick();
    // Takes the result away and cancels a running fit: an input it was made from changed,
    // or 新建 or another tank file replaced the inputs.
    void clearFit();
    // "保存结果…": the result and the residuals into the CSV file the save dialog names.
    void SaveClick();
    // "打印…": the result and the residual chart through the print dialog.
    void PrintClick();
    // Shows or hides the residuals before the fit, the residual axis following.
    void showBefore(bool shown);

    bool fitting() const { return job_ != nullptr; }
    bool adopted() const { return adopted_; }
    // Back to the page as it starts: no records, no fit, no column choices (新建).
    void clear();

    const std::optional<identify::TiltFit>& fit() const { return fit_; }
    QLabel* resultLine() const { return result_; }
    QChart* chart() const { return chart_; }
    QValueAxis* levelAxis() const { return levelAxis_; }
    QValueAxis* residualAxis() const { return residualAxis_; }

private:
    struct Job;
    void finished(const std::shared_ptr<Job>& job);
    void showBusy(bool busy);
    void watchInputs();
    void fillColumnChoices();
    void registerInput(QWidget* widget, const char* name);
    QWidget* buildFileRow();
    QWidget* buildColumns();
    void showPreview();
    void showFit();
    void showResiduals();
    void scaleResiduals();
    identify::ColumnNames columnNames() const;

    TFrmMain& window_;
    QWidget* content_ = nullptr;
    QStandardItemModel* preview_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* result_ = nullptr;
    QPushButton* fitButton_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* adopt_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* print_ = nullptr;
    QWidget* chartView_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTimer* poll_ = nullptr;
    QChart* chart_ = nullptr;
    QScatterSeries* before_ = nullptr;
    QScatterSeries* after_ = nullptr;
    QCheckBox* showBefore_ = nullptr;
    QValueAxis* levelAxis_ = nullptr;
    QValueAxis* residualAxis_ = nullptr;
    std::optional<identify::Sheet> sheet_;
    std::optional<identify::TiltFit> fit_;
    identify::TableChange change_;
    std::vector<double> levels_;
    std::vector<std::size_t> lines_; // the records' numbers
    double height_ = 0;              // the tank's section height A, mm
    bool betaZero_ = false;          // the fit held β at 0 because the option said so
    std::shared_ptr<Job> job_;
    std::thread worker_;
    bool watching_ = false, adopting_ = false, adopted_ = false;
};

// The preview holds this many rows of the file.
inline constexpr int kPreviewRows = 12;
// The chart shows at most this many records, evenly spaced.
inline constexpr std::size_t kChartRecords = 20'000;
// The residual axis reaches this many litres beyond the residuals at least.
inline constexpr double kResidualMargin = 0.5;
// A column picker shows at least this many characters.
inline constexpr int kColumnPickerLength = 12;

} // namespace kelvora::ui
