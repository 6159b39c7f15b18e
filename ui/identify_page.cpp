#include "ui/identify_page.h"

#include "capacity/input_table.h"
#include "capacity/page_inputs.h"
#include "capacity/result_inputs.h"
#include "identify/fit_inputs.h"
#include "identify/identification.h"
#include "identify/records.h"
#include "kernel/errors.h"
#include "kernel/number_text.h"
#include "persist/atomic_file.h"
#include "persist/file_name.h"
#include "ui/Unit1.h"
#include "ui/chart_legend.h"
#include "ui/identify_report.h"
#include "ui/page_parts.h"
#include "ui/stale_results.h"
#include "ui/wait_cursor.h"
#include "ui/window_services.h"

#include <QAbstractItemView>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScatterSeries>
#include <QScrollArea>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <exception>

namespace kelvora::ui {

namespace {

QString q(std::string_view s) {
    return qtText(s);
}

QString label(const char* name) {
    return pageInputLabel(name);
}

QString fixed(double x, int decimals) {
    return q(identify::fixedText(x, decimals));
}

constexpr std::array<const char*, 5> kColumnInputs{"LevelColumn", "InColumn", "OutColumn",
                                                   "CumulativeInColumn", "CumulativeOutColumn"};

QString noRecordsHint() {
    return QStringLiteral("还没有读取记录。选择油站的记录文件（CSV、.xls 或 .xlsx），"
                          "每行一条记录：液位计读数（毫米）和这段时间进出的油量（升）。");
}

} // namespace

// A fit on its thread: what it reads and answers, and how the page stops and follows it.
struct IdentifyPage::Job {
    std::atomic<bool> cancel{false};
    std::atomic<int> permille{0};
    std::optional<identify::Sheet> sheet;
    identify::IdentifyOutcome outcome;
    identify::TableChange change;
    std::vector<double> levels;
    std::vector<std::size_t> lines;
    bool betaZero = false;
    std::exception_ptr error;
};

IdentifyPage::IdentifyPage(TFrmMain& window, QTabWidget* pages) : QWidget(pages), window_(window) {
    setObjectName(QString::fromUtf8(capacity::kIdentifyPageName.data()));
    content_ = scrollingContent(this, QStringLiteral("IdentifyPage"));
    auto* layout = new QVBoxLayout(content_);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);

    layout->addWidget(buildFileRow());
    layout->addWidget(buildColumns());

    preview_ = new QStandardItemModel(this);
    auto* view = new QTableView(content_);
    view->setObjectName(QStringLiteral("IdentifyPreview"));
    view->setModel(preview_);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setStretchLastSection(true);
    view->setMinimumHeight(view->fontMetrics().height() * 9);
    layout->addWidget(view, 1);
    summary_ = new QLabel(noRecordsHint(), content_);
    summary_->setObjectName(QStringLiteral("IdentifySummary"));
    summary_->setWordWrap(true);
    layout->addWidget(summary_);

    auto* actions = new QWidget(content_);
    auto* row = new QHBoxLayout(actions);
    row->setContentsMargins(0, 0, 0, 0);
    auto* betaZero = new QCheckBox(label("BetaZero"), actions);
    registerInput(betaZero, "BetaZero");
    fitButton_ = new QPushButton(QStringLiteral("识别"), actions);
    fitButton_->setObjectName(QStringLiteral("IdentifyFit"));
    progress_ = new QProgressBar(actions);
    progress_->setObjectName(QStringLiteral("IdentifyProgress"));
    progress_->setRange(0, 1000);
    progress_->setTextVisible(false);
    progress_->hide();
    cancel_ = new QPushButton(QStringLiteral("取消"), actions);
    cancel_->setObjectName(QStringLiteral("IdentifyCancel"));
    cancel_->hide();
    adopt_ = new QPushButton(QStringLiteral("采用"), actions);
    adopt_->setObjectName(QStringLiteral("IdentifyAdopt"));
    adopt_->setToolTip(QStringLiteral("把识别出的α、β和低端（以及液位计位置F）填入倾斜圆筒页"));
    adopt_->setEnabled(false);
    connect(fitButton_, &QPushButton::clicked, this, [this] { window_.runHandler([this] { FitClick(); }); });
    connect(cancel_, &QPushButton::clicked, this, [this] { CancelClick(); });
    connect(adopt_, &QPushButton::clicked, this, [this] { window_.runHandler([this] { AdoptClick(); }); });
    poll_ = new QTimer(this);
    poll_->setInterval(100);
    connect(poll_, &QTimer::timeout, this, [this] {
        if (job_) progress_->setValue(job_->permille.load());
    });
    row->addWidget(betaZero);
    row->addStretch(1);
    row->addWidget(progress_, 1);
    row->addWidget(cancel_);
    row->addWidget(fitButton_);
    row->addWidget(adopt_);
    layout->addWidget(actions);

    result_ = new QLabel(content_);
    result_->setObjectName(QStringLiteral("IdentifyResult"));
    result_->setWordWrap(true);
    result_->setTextFormat(Qt::RichText);
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(result_);

    auto* report = new QWidget(content_);
    auto* reportRow = new QHBoxLayout(report);
    reportRow->setContentsMargins(0, 0, 0, 0);
    showBefore_ = new QCheckBox(QStringLiteral("显示识别前残差"), report);
    showBefore_->setObjectName(QStringLiteral("IdentifyShowBefore"));
    showBefore_->setProperty("viewOption", true); // how the chart is drawn: neither saved nor an input
    showBefore_->setToolTip(QStringLiteral("同时画出按倾斜圆筒页现有的α、β算出的残差"));
    save_ = new QPushButton(QStringLiteral("保存结果…"), report);
    save_->setObjectName(QStringLiteral("IdentifySave"));
    save_->setToolTip(QStringLiteral("把识别结果和每条记录的残差保存为CSV文件"));
    print_ = new QPushButton(QStringLiteral("打印…"), report);
    print_->setObjectName(QStringLiteral("IdentifyPrint"));
    print_->setToolTip(QStringLiteral("打印识别结果和残差图"));
    save_->setEnabled(false);
    print_->setEnabled(false);
    connect(showBefore_, &QCheckBox::toggled, this, [this](bool shown) { showBefore(shown); });
    connect(save_, &QPushButton::clicked, this, [this] { window_.runHandler([this] { SaveClick(); }); });
    connect(print_, &QPushButton::clicked, this, [this] { window_.runHandler([this] { PrintClick(); }); });
    reportRow->addWidget(showBefore_);
    reportRow->addStretch(1);
    reportRow->addWidget(save_);
    reportRow->addWidget(print_);
    layout->addWidget(report);

    chart_ = new QChart();
    chart_->setObjectName(QStringLiteral("IdentifyChart"));
    chart_->setMargins(QMargins(2, 2, 2, 2));
    chart_->legend()->setAlignment(Qt::AlignBottom);
    before_ = new QScatterSeries(chart_);
    before_->setName(QStringLiteral("识别前（倾斜圆筒页现有的α、β）"));
    before_->setMarkerSize(5);
    before_->setColor(QColor(200, 60, 40));
    before_->setBorderColor(before_->color());
    after_ = new QScatterSeries(chart_);
    after_->setName(QStringLiteral("识别后"));
    after_->setMarkerSize(5);
    after_->setColor(QColor(30, 90, 200));
    after_->setBorderColor(after_->color());
    before_->setVisible(false);
    chart_->addSeries(before_);
    chart_->addSeries(after_);
    levelAxis_ = new QValueAxis(chart_);
    levelAxis_->setTitleText(QStringLiteral("液位 (mm)"));
    levelAxis_->setLabelFormat(QStringLiteral("%g"));
    residualAxis_ = new QValueAxis(chart_);
    residualAxis_->setTitleText(QStringLiteral("残差 (升)"));
    residualAxis_->setLabelFormat(QStringLiteral("%g"));
    chart_->addAxis(levelAxis_, Qt::AlignBottom);
    chart_->addAxis(residualAxis_, Qt::AlignLeft);
    useSmallChartFonts(chart_, {levelAxis_, residualAxis_}, this);
    for (auto* series : {before_, after_}) {
        series->attachAxis(levelAxis_);
        series->attachAxis(residualAxis_);
    }
    auto* chartView = new QChartView(chart_, content_);
    chartView->setObjectName(QStringLiteral("IdentifyResiduals"));
    chartView->setRenderHint(QPainter::Antialiasing);
    chartView->setMinimumSize(200, 240);
    chartView_ = withLegendBelow(chartView); // printed with its legend
    layout->addWidget(chartView_, 2);

    pages->addTab(this, QStringLiteral("变位识别"));
}

IdentifyPage::~IdentifyPage() {
    if (job_) job_->cancel = true;
    if (worker_.joinable()) worker_.join();
}

void IdentifyPage::registerInput(QWidget* widget, const char* name) {
    registerPageInput(window_, widget, name);
}

QWidget* IdentifyPage::buildFileRow() {
    auto* box = new QWidget(content_);
    auto* row = new QGridLayout(box); // the buttons under the field: whole on a narrow page
    row->setContentsMargins(0, 0, 0, 0);
    auto* file = new QLineEdit(box);
    registerInput(file, "RecordsFile");
    auto* open = new QPushButton(QStringLiteral("打开…"), box);
    open->setObjectName(QStringLiteral("IdentifyOpen"));
    auto* read = new QPushButton(QStringLiteral("读取"), box);
    read->setObjectName(QStringLiteral("IdentifyRead"));
    connect(open, &QPushButton::clicked, this, [this] { window_.runHandler([this] { OpenClick(); }); });
    connect(read, &QPushButton::clicked, this, [this] { window_.runHandler([this] { ReadClick(); }); });
    row->addWidget(new QLabel(label("RecordsFile"), box), 0, 0);
    row->addWidget(file, 0, 1, 1, 3);
    row->addWidget(open, 1, 2);
    row->addWidget(read, 1, 3);
    row->setColumnStretch(1, 1);
    return box;
}

QWidget* IdentifyPage::buildColumns() {
    auto* group = new QGroupBox(QStringLiteral("列（空着时按标题识别）"), content_);
    group->setObjectName(QStringLiteral("IdentifyColumns"));
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 6, 6, 6);
    for (std::size_t i = 0; i < kColumnInputs.size(); ++i) {
        auto* combo = new QComboBox(group);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // Wide enough for a heading such as "累加出油量/L", and its list for the longest one.
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(kColumnPickerLength);
        registerInput(combo, kColumnInputs[i]);
        if (const auto* info = capacity::findPageInput(kColumnInputs[i])) combo->setToolTip(q(info->hint));
        // One column a row: whole on a narrow page.
        grid->addWidget(new QLabel(label(kColumnInputs[i]), group), static_cast<int>(i), 0);
        grid->addWidget(combo, static_cast<int>(i), 1);
    }
    grid->setColumnStretch(1, 1);
    return group;
}

identify::ColumnNames IdentifyPage::columnNames() const {
    auto t = [this](const char* name) { return window_.text(name); };
    return {t("LevelColumn"), t("InColumn"), t("OutColumn"), t("CumulativeInColumn"),
            t("CumulativeOutColumn")};
}

void IdentifyPage::OpenClick() {
    const auto path = window_.services().openDialog({"记录文件 (*.csv *.txt *.xls *.xlsx)", "所有文件 (*)"});
    if (!path) return;
    window_.setText("RecordsFile", *path);
    ReadClick();
}

void IdentifyPage::ReadClick() {
    clearFit();
    sheet_.reset();
    preview_->clear();
    const WaitCursor wait;
    sheet_ = identify::readSheet(window_.text("RecordsFile"));
    fillColumnChoices();
    showPreview();
}

void IdentifyPage::fillColumnChoices() {
    // The headings become the columns' choices; a choice made by hand stays.
    for (const char* name : kColumnInputs) {
        auto* combo = findChild<QComboBox*>(QLatin1String(name));
        const QString chosen = combo->currentText();
        combo->clear();
        combo->addItem(QString());
        for (const auto& heading : sheet_->heading)
            combo->addItem(q(heading));
        combo->setEditText(chosen);
        int widest = 0;
        for (const auto& heading : sheet_->heading)
            widest = std::max(widest, combo->fontMetrics().horizontalAdvance(q(heading)));
        combo->view()->setMinimumWidth(widest + 4 * combo->fontMetrics().averageCharWidth());
    }
}

void IdentifyPage::showPreview() {
    preview_->clear();
    if (!sheet_) return;
    QStringList headings;
    for (const auto& heading : sheet_->heading)
        headings << q(heading);
    preview_->setHorizontalHeaderLabels(headings);
    const int rows = std::min<int>(kPreviewRows, static_cast<int>(sheet_->rowCount()));
    for (int r = 0; r < rows; ++r) {
        QList<QStandardItem*> items;
        for (const auto& cell : sheet_->row(static_cast<std::size_t>(r))) {
            QString text = q(cell.text);
            if (cell.kind == identify::Cell::Kind::Number && text.isEmpty())
                text = q(kernel::formatGeneral(cell.number));
            items << new QStandardItem(text);
        }
        preview_->appendRow(items);
    }
    QStringList lines;
    for (int r = 0; r < rows; ++r)
        lines << QString::number(sheet_->lines[static_cast<std::size_t>(r)]);
    preview_->setVerticalHeaderLabels(lines);
    // The columns used, marked in their headings, or why none could be chosen.
    QString used;
    try {
        const identify::ColumnChoice choice = identify::chooseColumns(sheet_->heading, columnNames());
        const std::array<std::pair<const std::optional<std::size_t>*, const char*>, 5> roles{
            {{&choice.level, "液位"},
             {&choice.in, "进油量"},
             {&choice.out, "出油量"},
             {&choice.cumulativeIn, "累加进油量"},
             {&choice.cumulativeOut, "累加出油量"}}};
        for (const auto& [column, role] : roles) {
            if (!*column) continue;
            auto* item = preview_->horizontalHeaderItem(static_cast<int>(**column));
            item->setText(QStringLiteral("【%1】%2").arg(q(role), item->text()));
            for (int r = 0; r < rows; ++r)
                if (auto* cell = preview_->item(r, static_cast<int>(**column)))
                    cell->setBackground(QColor(225, 238, 255));
            used += QStringLiteral("%1：“%2”　").arg(q(role), q(sheet_->heading[**column]));
        }
    } catch (const kelvora::IoError& e) {
        used = q(e.what());
    }
    if (auto* view = findChild<QTableView*>(QStringLiteral("IdentifyPreview")))
        view->resizeColumnsToContents();
    summary_->setText(QStringLiteral("共 %1 行记录（显示前 %2 行）。所用的列：%3")
                          .arg(sheet_->rowCount())
                          .arg(rows)
                          .arg(used));
}

void IdentifyPage::FitClick() {
    if (job_) return;
    if (!watching_) watchInputs();
    clearFit();
    identify::IdentifyOutcome tank = identify::readInclinedTank(window_);
    if (tank.stopped()) {
        window_.services().messageBox(tank.message);
        return;
    }
    auto job = std::make_shared<Job>();
    const std::string path = window_.text("RecordsFile");
    const identify::ColumnNames names = columnNames();
    const bool betaZero = window_.checked("BetaZero");
    job->betaZero = betaZero;
    job_ = job;
    showBusy(true);
    worker_ = std::thread([this, job, tank = std::move(tank), path, names, betaZero]() mutable {
        try {
            job->sheet = identify::readSheet(path);
            const identify::Records records =
                identify::extractRecords(*job->sheet, identify::chooseColumns(job->sheet->heading, names));
            const identify::FitControl control{
                [&job](double share) { job->permille = static_cast<int>(1000 * share); }, &job->cancel};
            job->outcome = identify::fitInclinedTank(std::move(tank), records, betaZero, control);
            if (job->outcome.fit) {
                job->change = identify::tableChange(*job->outcome.now, job->outcome.fit->fitted);
                job->levels = records.level;
                for (std::size_t i = 0; i < records.level.size(); ++i)
                    job->lines.push_back(identify::recordNumber(records, i));
            }
        } catch (const identify::RecordsRefusal& e) {
            // A cell the records cannot hold is the user's to mend, like a refused fit.
            job->outcome.message = e.what();
        } catch (...) {
            job->error = std::current_exception();
        }
        QMetaObject::invokeMethod(
            this, [this, job] { window_.runHandler([this, &job] { finished(job); }); }, Qt::QueuedConnection);
    });
}

void IdentifyPage::CancelClick() {
    if (!job_) return;
    job_->cancel = true;
    cancel_->setEnabled(false);
    cancel_->setText(QStringLiteral("正在取消…"));
}

void IdentifyPage::showBusy(bool busy) {
    fitButton_->setEnabled(!busy);
    progress_->setValue(0);
    progress_->setVisible(busy);
    cancel_->setVisible(busy);
    cancel_->setEnabled(busy);
    cancel_->setText(QStringLiteral("取消"));
    if (busy)
        poll_->start();
    else
        poll_->stop();
}

void IdentifyPage::finished(const std::shared_ptr<Job>& job) {
    if (worker_.joinable()) worker_.join();
    job_.reset();
    showBusy(false);
    // A cancelled fit, or one whose inputs changed while it ran, leaves nothing.
    if (job->cancel) return;
    if (job->sheet) {
        sheet_ = std::move(job->sheet);
        fillColumnChoices();
        showPreview();
    }
    if (job->error) std::rethrow_exception(job->error);
    if (job->outcome.stopped()) {
        window_.services().messageBox(job->outcome.message);
        return;
    }
    fit_ = std::move(job->outcome.fit);
    change_ = job->change;
    levels_ = std::move(job->levels);
    lines_ = std::move(job->lines);
    height_ = job->outcome.now ? job->outcome.now->A : 0;
    betaZero_ = job->betaZero;
    showFit();
    showResiduals();
    adopt_->setEnabled(true);
    save_->setEnabled(true);
    print_->setEnabled(true);
}

void IdentifyPage::clearFit() {
    if (job_) {
        job_->cancel = true;
        CancelClick();
    }
    fit_.reset();
    adopted_ = false;
    adopt_->setEnabled(false);
    save_->setEnabled(false);
    print_->setEnabled(false);
    result_->clear();
    before_->clear();
    after_->clear();
}

void IdentifyPage::watchInputs() {
    watching_ = true;
    auto changed = [this](std::string_view name) {
        if (!adopting_ && (fit_ || job_) && identify::fitReads(name, window_)) clearFit();
    };
    onInputChanges(window_, this, changed);
}

void IdentifyPage::showFit() {
    const identify::TiltFit& f = *fit_;
    const QString lowEnd = f.lowerEndRight ? QStringLiteral("低端在右封头") : QStringLiteral("低端在左封头");
    const QString method = f.exact ? QStringLiteral("按精确几何") : QStringLiteral("按公式");
    const QString beta = f.betaFixed ? QStringLiteral("β 固定为 0（记录分辨不出β）")
                         : betaZero_
                             ? QStringLiteral("β 固定为 0（已勾选“%1”）").arg(label("BetaZero"))
                             : QStringLiteral("β = %1° ± %2°").arg(fixed(f.beta, 4), fixed(f.betaError, 4));
    QString text =
        QStringLiteral("<b>%1</b>（%2）　α = %3° ± %4°　%5　α、β相关系数 %6<br>"
                       "初始油量 V0 = %7 ± %8 升　液位计位置 F = %9 毫米<br>")
            .arg(lowEnd, method, fixed(f.alpha, 4), fixed(f.alphaError, 4), beta, fixed(f.correlation, 3),
                 fixed(f.startVolume, 2), fixed(f.startError, 2), q(kernel::formatGeneral(f.F)));
    text += QStringLiteral("残差均方根 %1 升，最大残差 %2 升；用了 %3 条记录，跳过 %4 条，剔除离群 %5 条<br>")
                .arg(fixed(f.rms, 2), fixed(f.maxResidual, 2), QString::number(f.used),
                     QString::number(f.skipped), QString::number(f.outliers.size()));
    if (!f.outliers.empty()) {
        QStringList lines;
        for (std::size_t k = 0; k < f.outliers.size() && k < 20; ++k)
            lines << QString::number(f.outliers[k]);
        text += QStringLiteral("离群记录（文件行号）：%1%2<br>")
                    .arg(lines.join(QStringLiteral("、")),
                         f.outliers.size() > 20 ? QStringLiteral("……") : QString());
    }
    if (const std::string note = identify::sampleNote(f); !note.empty())
        text += q(note) + QStringLiteral("<br>");
    text += QStringLiteral("容积表最大变化 %1 升（液位 %2 毫米处）")
                .arg(fixed(change_.litres, 2), q(kernel::formatGeneral(change_.level)));
    if (adopted_) text = QStringLiteral("<b>已采用</b>　") + text;
    result_->setText(text);
}

void IdentifyPage::showResiduals() {
    const identify::TiltFit& f = *fit_;
    QList<QPointF> before, after;
    // A long file is drawn from an evenly spaced share of its records.
    const std::size_t n = levels_.size(), stride = (n + kChartRecords - 1) / kChartRecords;
    for (std::size_t i = 0; i < n; i += stride) {
        before << QPointF(levels_[i], f.residualsBefore[i]);
        after << QPointF(levels_[i], f.residualsAfter[i]);
    }
    before_->replace(before);
    after_->replace(after);
    // The level axis is the tank's height, from the bottom to A.
    const double top = height_ > 0 ? height_ : 1;
    levelAxis_->setRange(0, top);
    // Ticks at a round interval from 0 (1, 2 or 5 times a power of ten), about five to the height.
    const double rough = top / 5, power = std::pow(10.0, std::floor(std::log10(rough)));
    double interval = power;
    for (const double times : {2.0, 5.0, 10.0})
        if (rough > interval) interval = times * power;
    levelAxis_->setTickType(QValueAxis::TicksDynamic);
    levelAxis_->setTickAnchor(0);
    levelAxis_->setTickInterval(interval);
    scaleResiduals();
}

void IdentifyPage::scaleResiduals() {
    if (!fit_) return;
    // The fitted residuals fill the chart; those before the fit only while they are shown.
    const identify::TiltFit& f = *fit_;
    const bool before = before_->isVisible();
    double low = 0, high = 0;
    for (std::size_t i = 0; i < f.residualsAfter.size(); ++i) {
        low = std::min(low, f.residualsAfter[i]);
        high = std::max(high, f.residualsAfter[i]);
        if (before && i < f.residualsBefore.size()) {
            low = std::min(low, f.residualsBefore[i]);
            high = std::max(high, f.residualsBefore[i]);
        }
    }
    const double margin = std::max(kResidualMargin, 0.1 * (high - low));
    residualAxis_->setRange(low - margin, high + margin);
    residualAxis_->applyNiceNumbers();
}

void IdentifyPage::showBefore(bool shown) {
    before_->setVisible(shown);
    if (showBefore_->isChecked() != shown) showBefore_->setChecked(shown);
    scaleResiduals();
}

void IdentifyPage::SaveClick() {
    if (!fit_) return;
    const auto path = window_.services().saveDialog(
        {"csv", {"*.csv"}, persist::proposedFileName(window_.text("TankNumber"), "变位识别")});
    if (!path) return;
    persist::writeFileAtomically(*path, identifyResultCsv(*fit_, levels_, lines_));
    window_.services().informationBox("保存成功！");
}

void IdentifyPage::PrintClick() {
    if (!fit_) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("变位识别结果"));
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    if (!window_.services().printDialog(printer)) return;
    printIdentifyReport(printer, result_->text(), chartView_);
}

void IdentifyPage::clear() {
    clearFit(); // a running fit is cancelled with the result
    sheet_.reset();
    levels_.clear();
    lines_.clear();
    preview_->clear();
    summary_->setText(noRecordsHint());
    result_->clear();
    before_->clear();
    after_->clear();
    for (const char* name : kColumnInputs)
        findChild<QComboBox*>(QLatin1String(name))->clear();
}

void IdentifyPage::AdoptClick() {
    if (!fit_ || adopted_) return;
    {
        // The angles 采用 writes are the fit's own: they do not make it stale.
        adopting_ = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{adopting_};
        identify::adoptTilt(window_, *fit_);
    }
    adopted_ = true;
    adopt_->setEnabled(false);
    showFit();
}

} // namespace kelvora::ui
