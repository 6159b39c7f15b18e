#include "ui/table_page.h"

#include "capacity/level_for.h"
#include "capacity/page_inputs.h"
#include "capacity/row_columns.h"
#include "capacity/tank_description.h"
#include "capacity/vertical_description.h"
#include "capacity/vertical_tables.h"
#include "kernel/errors.h"
#include "kernel/number_text.h"
#include "output/sheet_layout.h"
#include "ui/Unit1.h"
#include "ui/chart_legend.h"
#include "ui/field_edit.h"
#include "ui/input_group.h"
#include "ui/method_check_view.h"
#include "ui/page_parts.h"
#include "ui/result_field.h"
#include "ui/vertical_tables_view.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QPen>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <climits>
#include <cmath>

namespace kelvora::ui {

namespace {

// Asks for no more than its minimum: the page's scroll area sizes its content by what the
// parts ask for, and the rows and the curve asking for their full size pushed the curve's
// axis out of sight on a laptop's screen. The layout's stretch gives them the room left.
class RoomTakingSplitter : public QSplitter {
public:
    using QSplitter::QSplitter;
    QSize sizeHint() const override { return minimumSizeHint(); }
};

constexpr int kCalibrationPage = static_cast<int>(capacity::TStructureKind::skCalibration);
constexpr int kVerticalPage = static_cast<int>(capacity::TStructureKind::skVertical);

QString q(std::string_view s) { return qtText(s); }

QString label(const char* name) { return pageInputLabel(name); }

QString valueUnit(bool weight) {
    return weight ? QStringLiteral("公斤") : QStringLiteral("升");
}

QString number(double x) {
    return q(kernel::formatGeneral(x));
}

} // namespace

// TableRowsModel

void TableRowsModel::setRows(const capacity::RowList* rows, bool weight) {
    beginResetModel();
    rows_ = rows;
    count_ = rows ? rows->size() : 0;
    weight_ = weight;
    endResetModel();
}

int TableRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(std::min<std::size_t>(count_, INT_MAX));
}

void TableRowsModel::setOther(const capacity::RowList* other, bool exactTable) {
    beginResetModel();
    other_ = other;
    exactTable_ = exactTable;
    updateColumns();
    endResetModel();
}

void TableRowsModel::setPerMillimetre(bool on) {
    if (on == perMillimetre_) return;
    beginResetModel();
    perMillimetre_ = on;
    updateColumns();
    endResetModel();
}

void TableRowsModel::setUncertainty(const std::vector<capacity::RowUncertainty>* rows) {
    beginResetModel();
    uncertainty_ = rows && !rows->empty() ? rows : nullptr;
    updateColumns();
    endResetModel();
}

void TableRowsModel::setVertical(const capacity::RowList* hydrostatic, const std::vector<bool>* roofZone) {
    beginResetModel();
    hydrostatic_ = hydrostatic && hydrostatic->size() > 0 ? hydrostatic : nullptr;
    roofZone_ = roofZone && !roofZone->empty() ? roofZone : nullptr;
    updateColumns();
    endResetModel();
}

void TableRowsModel::updateColumns() {
    columns_ = {Column::Level, Column::Value};
    if (hydrostatic_) columns_.push_back(Column::Hydrostatic);
    if (perMillimetre_) columns_.push_back(Column::PerMillimetre);
    if (uncertainty_) columns_.insert(columns_.end(), {Column::U, Column::Relative});
    if (other_) columns_.insert(columns_.end(), {Column::Other, Column::Deviation});
    if (roofZone_) columns_.push_back(Column::Remark);
}

int TableRowsModel::section(Column column) const {
    const auto at = std::find(columns_.begin(), columns_.end(), column);
    return at == columns_.end() ? -1 : static_cast<int>(at - columns_.begin());
}

TableRowsModel::Column TableRowsModel::column(int section) const {
    return columns_.at(static_cast<std::size_t>(section));
}

int TableRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TableRowsModel::data(const QModelIndex& index, int role) const {
    if (!rows_ || !index.isValid() || index.column() >= columnCount()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    // The list may have been emptied by a failed request since the last reset.
    if (row >= count_ || row >= rows_->size()) return {};
    const bool inZone = roofZone_ && row < roofZone_->size() && (*roofZone_)[row];
    if (role == Qt::BackgroundRole) return inZone ? QVariant(QColor(255, 243, 205)) : QVariant();
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    const auto cut = [](std::string_view text, bool first) {
        const auto comma = text.find(',');
        if (comma == std::string_view::npos) return first ? text : std::string_view();
        return first ? text.substr(0, comma) : text.substr(comma + 1);
    };
    switch (column(index.column())) {
    case Column::Level:
        return q(cut((*rows_)[row], true));
    case Column::Value:
        return q(capacity::fixedDecimals(cut((*rows_)[row], false)));
    case Column::PerMillimetre:
        return q(capacity::perMillimetreText(capacity::perMillimetre(*rows_, row)));
    case Column::U:
    case Column::Relative: {
        if (!uncertainty_ || row >= uncertainty_->size()) return {};
        const auto& u = (*uncertainty_)[row];
        if (column(index.column()) == Column::U) return QString::number(u.U, 'f', 2);
        const auto relative = u.relative();
        return relative ? QString::number(*relative, 'f', 3) : QString();
    }
    case Column::Other:
    case Column::Deviation:
        if (!other_ || row >= other_->size()) return {};
        return q(capacity::fixedDecimals(cut((*other_)[row], column(index.column()) == Column::Other)));
    case Column::Hydrostatic:
        if (!hydrostatic_ || row >= hydrostatic_->size()) return {};
        return q(capacity::fixedDecimals(cut((*hydrostatic_)[row], false)));
    case Column::Remark:
        return inZone ? q(capacity::kRoofZoneRemark) : QString();
    }
    return {};
}

QVariant TableRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= columnCount()) return {};
    const QString unit = weight_ ? QStringLiteral("(公斤)") : QStringLiteral("(升)");
    switch (column(section)) {
    case Column::Level:
        return q(output::kLevelHeading);
    case Column::Value:
        return q(weight_ ? output::kWeightHeading : output::kVolumeHeading);
    case Column::PerMillimetre:
        return QStringLiteral("每毫米容量") + unit;
    case Column::U:
        return QStringLiteral("U") + unit;
    case Column::Relative:
        return QStringLiteral("U/V(%)");
    case Column::Other:
        return (exactTable_ ? QStringLiteral("规定公式") : QStringLiteral("精确几何")) + unit;
    case Column::Deviation:
        return QStringLiteral("偏差") + unit;
    case Column::Hydrostatic:
        return QStringLiteral("静压力增大值(升)");
    case Column::Remark:
        return q(capacity::kRemarkHeading);
    }
    return {};
}

// TablePage

TablePage::TablePage(TFrmMain& window, QTabWidget* pages) : QWidget(pages), window_(window), pages_(pages) {
    setObjectName(QString::fromUtf8(capacity::kTablePageName.data()));
    content_ = scrollingContent(this, QStringLiteral("TablePage"));
    auto* layout = new QVBoxLayout(content_);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);

    hint_ = new QLabel(QStringLiteral("还没有容积表。填好油罐的数据和“油罐容积表”一栏，点“生成容积表”，"
                                      "这里就显示表的各行、容积曲线和满罐容积。"),
                       content_);
    hint_->setObjectName(QStringLiteral("TableHint"));
    hint_->setWordWrap(true);
    hint_->setAlignment(Qt::AlignCenter);
    layout->addWidget(hint_, 1);

    // The rows above, the curve below them at the page's full width: beside the rows a
    // chart with two value axes is too narrow for Qt Charts to print its labels whole.
    table_ = new RoomTakingSplitter(Qt::Vertical, content_);
    table_->setObjectName(QStringLiteral("TableSplitter"));
    table_->setChildrenCollapsible(false);
    model_ = new TableRowsModel(this);
    view_ = new QTableView(table_);
    view_->setObjectName(QStringLiteral("TableRows"));
    view_->setModel(model_);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setWordWrap(false);
    // Fixed row heights and column widths: nothing is measured per row, whatever the count.
    // The level is the row's name: no row numbers, which would take seven digits' room.
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->horizontalHeader()->setStretchLastSection(true);
    const int digit = view_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    sizeColumns();
    // Room for a level of 9 and a value of 12 characters beside the scroll bar, with margins.
    // The check's two columns beside the rows can pass the view's width: scroll to them.
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view_->setMinimumWidth(digit * 24 + view_->verticalScrollBar()->sizeHint().width() +
                           2 * view_->frameWidth());

    chart_ = new QChart();
    chart_->setObjectName(QStringLiteral("TableChart"));
    chart_->setMargins(QMargins(2, 2, 2, 2));
    chart_->legend()->setAlignment(Qt::AlignBottom);
    curve_ = new QLineSeries(chart_);
    curve_->setName(QStringLiteral("容积曲线"));
    capacityLine_ = new QLineSeries(chart_);
    QPen dashed(QColor(200, 30, 30));
    dashed.setStyle(Qt::DashLine);
    dashed.setWidth(1);
    capacityLine_->setPen(dashed);
    chart_->addSeries(curve_);
    chart_->addSeries(capacityLine_);
    // The legend names only the marked top value; the curve is what the axes say.
    for (auto* marker : chart_->legend()->markers(curve_))
        marker->setVisible(false);
    levelAxis_ = new QValueAxis(chart_);
    levelAxis_->setTitleText(QStringLiteral("液位 (cm)"));
    valueAxis_ = new QValueAxis(chart_);
    chart_->addAxis(levelAxis_, Qt::AlignBottom);
    chart_->addAxis(valueAxis_, Qt::AlignLeft);
    for (auto* series : {curve_, capacityLine_}) {
        series->attachAxis(levelAxis_);
        series->attachAxis(valueAxis_);
    }
    // Labels of five or six digits beside a second axis must fit a narrow chart whole:
    // Qt Charts elides what does not fit.
    useSmallChartFonts(chart_, {levelAxis_, valueAxis_}, this);
    chartView_ = new QChartView(chart_, table_);
    chartView_->setObjectName(QStringLiteral("TableCurve"));
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setMinimumSize(200, 200);
    view_->setMinimumHeight(120);
    table_->addWidget(view_);
    table_->addWidget(withLegendBelow(chartView_));
    table_->setStretchFactor(0, 1);
    table_->setStretchFactor(1, 1);
    layout->addWidget(table_, 1);

    summaryLine_ = new QLabel(content_);
    summaryLine_->setObjectName(QStringLiteral("TableSummary"));
    summaryLine_->setWordWrap(true);
    summaryLine_->setTextFormat(Qt::RichText);
    layout->addWidget(summaryLine_);
    vertical_ = new VerticalTablesView(content_);
    layout->addWidget(vertical_);

    // The tank's identification and the document buttons right below the summary, then the
    // level request: on a laptop's screen all of them without scrolling. The certificate
    // and the uncertainty budget, filled once per tank, fold away below them.
    layout->addWidget(buildIdentification());
    layout->addWidget(buildLevelForGroup());
    layout->addWidget(buildCertificateSection());
    pages->addTab(this, caption(false));
    updateUnit();
    showNoTable();
    if (auto* structure = window.findChild<QTabWidget*>(QStringLiteral("PageControl1")))
        connect(structure, &QTabWidget::currentChanged, this, [this] { followStructurePage(); });
    followStructurePage();
    // The unit beside the known amount follows the weight switch of the density row.
    if (auto* weight = window.findChild<QCheckBox*>(QStringLiteral("CheckBox1")))
        connect(weight, &QCheckBox::toggled, this, [this] { updateUnit(); });
}

void TablePage::registerInput(QWidget* widget, const char* name) { registerPageInput(window_, widget, name); }

QWidget* TablePage::buildLevelForGroup() {
    auto* group = new QGroupBox(QStringLiteral("已知容积求液位"), content_);
    group->setObjectName(QStringLiteral("LevelForGroup"));
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(6);

    auto* value = new TEdit(group);
    registerInput(value, "LevelForValue");
    auto* mode = new QComboBox(group);
    registerInput(mode, "LevelForMode");
    for (const auto& item : capacity::fixedItems("LevelForMode"))
        mode->addItem(q(item));
    mode->setCurrentIndex(capacity::kLevelForByVolume);
    unit_ = new QLabel(group);
    unit_->setObjectName(QStringLiteral("LevelForUnit"));
    unit_->setMinimumWidth(unit_->fontMetrics().horizontalAdvance(QStringLiteral("公斤")) + 4);
    auto* button = new QPushButton(QStringLiteral("求液位"), group);
    button->setObjectName(QStringLiteral("LevelForButton"));
    connect(button, &QPushButton::clicked, this, [this] { window_.runHandler([this] { LevelForClick(); }); });
    clickOnEnter(value, button);
    connect(mode, &QComboBox::currentIndexChanged, this, [this] { updateUnit(); });
    auto* result = new QLineEdit(group);
    registerInput(result, "LevelForResult");
    result->setReadOnly(true);
    // A level in millimetres to the hundredth, of a tank up to a hundred metres high.
    showWholeText(result, QStringLiteral("100000.00"));
    result->setToolTip(QStringLiteral("毫米"));

    grid->addWidget(new QLabel(label("LevelForValue"), group), 0, 0);
    grid->addWidget(value, 0, 1);
    grid->addWidget(unit_, 0, 2);
    grid->addWidget(mode, 0, 3);
    grid->addWidget(new QLabel(label("LevelForResult"), group), 1, 0);
    grid->addWidget(result, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("毫米"), group), 1, 2);
    grid->addWidget(button, 1, 3);
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* TablePage::buildIdentification() {
    auto* box = new QWidget(content_);
    box->setObjectName(QStringLiteral("TankIdentification"));
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);

    auto* exact = new QCheckBox(label("ExactGeometry"), box);
    exactBox_ = exact;
    registerInput(exact, "ExactGeometry");
    connect(exact, &QCheckBox::toggled, this, [this] { updateCaption(); });
    exactArea_ = new QWidget(box);
    exactArea_->setObjectName(QStringLiteral("ExactGeometryArea"));
    auto* exactLayout = new QHBoxLayout(exactArea_);
    exactLayout->setContentsMargins(0, 0, 0, 0);
    check_ = new MethodCheckView(exactArea_, chart_);
    exactLayout->addWidget(check_, 1);
    // The per-millimetre column is a choice about the rows shown, beside the method's.
    auto* perMm = new QCheckBox(label("PerMillimetre"), box);
    registerInput(perMm, "PerMillimetre");
    if (const auto* info = capacity::findPageInput("PerMillimetre")) perMm->setToolTip(q(info->hint));
    connect(perMm, &QCheckBox::toggled, this, [this](bool on) {
        model_->setPerMillimetre(on);
        sizeColumns();
    });
    grid->addWidget(exact, 0, 0, 1, 2);
    grid->addWidget(perMm, 0, 2, 1, 2);
    grid->addWidget(exactArea_, 1, 0, 1, 4);

    auto* number = new TEdit(box);
    registerInput(number, "TankNumber");
    auto* owner = new TEdit(box);
    registerInput(owner, "TankOwner");
    grid->addWidget(new QLabel(label("TankNumber"), box), 2, 0);
    grid->addWidget(number, 2, 1);
    grid->addWidget(new QLabel(label("TankOwner"), box), 2, 2);
    grid->addWidget(owner, 2, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 2);

    documentBar_ = new QWidget(box);
    documentBar_->setObjectName(QStringLiteral("DocumentButtons"));
    auto* bar = new QHBoxLayout(documentBar_);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addStretch(1);
    grid->addWidget(documentBar_, 3, 0, 1, 4);
    return box;
}

QWidget* TablePage::buildCertificateSection() {
    auto* section = new QWidget(content_);
    section->setObjectName(QStringLiteral("CertificateSection"));
    auto* layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* fold = new QToolButton(section);
    fold->setObjectName(QStringLiteral("CertificateFold"));
    fold->setText(QStringLiteral("证书与测量不确定度"));
    fold->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    fold->setAutoRaise(true);
    fold->setCheckable(true);
    fold->setArrowType(Qt::RightArrow);
    layout->addWidget(fold);
    auto* inputs = new QWidget(section);
    inputs->setObjectName(QStringLiteral("CertificateInputs"));
    auto* column = new QVBoxLayout(inputs);
    column->setContentsMargins(0, 0, 0, 0);
    const auto add = [this](QWidget* w, const char* name) { registerInput(w, name); };
    static constexpr std::string_view kCertificate[] = {"CertificateNumber", "IssuingBody", "ValidUntil",
                                                        "CalculationBasis"};
    auto* certificate = buildInputGroup(inputs, QStringLiteral("证书"), kCertificate, 1, add);
    certificate->setObjectName(QStringLiteral("CertificateGroup"));
    column->addWidget(certificate);
    static constexpr std::string_view kUncertainty[] = {
        "UncertaintySection", "UncertaintyLength", "UncertaintyHead",        "UncertaintyAngle",
        "UncertaintyF",       "UncertaintyLevel",  "UncertaintyPointVolume", "UncertaintyPointLevel"};
    auto* uncertainty =
        buildInputGroup(inputs, QStringLiteral("测量不确定度（标准不确定度，k = 1）"), kUncertainty, 1, add);
    uncertainty->setObjectName(QStringLiteral("UncertaintyGroup"));
    uncertainty->setToolTip(
        QStringLiteral("填入实测量的标准不确定度，容积表给出扩展不确定度 U（k = 2）；不填的量不计入"));
    column->addWidget(uncertainty);
    layout->addWidget(inputs);
    inputs->hide();
    connect(fold, &QToolButton::toggled, this, [fold, inputs](bool open) {
        fold->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
        inputs->setVisible(open);
    });
    return section;
}

QString TablePage::caption(bool exactGeometry) {
    return exactGeometry ? QStringLiteral("容积表（精确几何）") : QStringLiteral("容积表");
}

QString TablePage::noGeometryTip() { return QStringLiteral("标定点按实测数据计算，没有几何形状可以精确计算"); }

bool TablePage::exactGeometry() const {
    return window_.checked("ExactGeometry") && window_.activePage() != kCalibrationPage &&
           window_.activePage() != kVerticalPage;
}

void TablePage::updateCaption() {
    const int index = pages_->indexOf(this);
    if (index >= 0) pages_->setTabText(index, caption(exactGeometry()));
}

void TablePage::followStructurePage() {
    // The points, or a vertical tank's courses, are the geometry: no second method to choose.
    const bool points = window_.activePage() == kCalibrationPage || window_.activePage() == kVerticalPage;
    exactBox_->setEnabled(!points);
    exactBox_->setToolTip(points ? noGeometryTip() : QString());
    exactArea_->setVisible(!points);
    updateCaption();
}

void TablePage::updateUnit() {
    if (window_.itemIndex("LevelForMode") == capacity::kLevelForByPercent)
        unit_->setText(QStringLiteral("%"));
    else
        unit_->setText(valueUnit(window_.checked("CheckBox1")));
}

void TablePage::showNoTable() {
    model_->setRows(nullptr, false);
    model_->setOther(nullptr, false);
    model_->setUncertainty(nullptr);
    model_->setVertical(nullptr, nullptr);
    hydrostatic_ = {};
    roofZone_.clear();
    vertical_->showTank(nullptr);
    uncertainty_.clear();
    check_->clear();
    summary_ = {};
    curve_->clear();
    capacityLine_->clear();
    hint_->show();
    table_->hide();
    summaryLine_->hide();
}

void TablePage::showTable(const capacity::RowList& rows, bool weight, const std::string& note) {
    model_->setRows(&rows, weight);
    summary_ = capacity::summarizeTable(rows, kCurveColumns);
    hint_->hide();
    table_->show();
    summaryLine_->show();
    drawCurve();
    const bool points = window_.activePage() == kCalibrationPage;
    const bool exact = exactGeometry();
    if (points)
        check_->clear();
    else
        check_->compare(window_, rows.size(), exact, weight);
    model_->setOther(check_->otherRows().empty() ? nullptr : &check_->otherRows(), exact);
    const QString uncertainty = computeUncertainty(rows.size());
    model_->setUncertainty(&uncertainty_);
    model_->setPerMillimetre(window_.checked("PerMillimetre"));
    showVerticalTables();
    sizeColumns();

    const QString unit = valueUnit(weight);
    const auto& s = summary_;
    QString line = (points ? QStringLiteral("按标定点计算") : methodName(exact)) + QStringLiteral("：共 %1 行，液位 %2 – %3 cm，最高液位 %3 cm 处%4 %5 %6。")
                       .arg(QLocale::c().toString(static_cast<qulonglong>(s.rows)), number(s.firstLevel),
                            number(s.lastLevel), weight ? QStringLiteral("重量") : QStringLiteral("容积"),
                            q(kernel::RoundToStr(s.topValue)), unit);
    if (s.firstFall)
        line += QStringLiteral(
                    "<span style=\"color:#d00000\"><b>数值不是单调上升：液位 %1 cm 处开始下降！</b></span>")
                    .arg(number(*s.firstFall));
    else
        line += QStringLiteral("数值随液位单调上升。");
    if (!note.empty()) line += q(note).toHtmlEscaped() + QStringLiteral("。");
    if (!uncertainty.isEmpty()) line += uncertainty.toHtmlEscaped();
    summaryLine_->setText(line);
}

QString TablePage::computeUncertainty(std::size_t rows) {
    uncertainty_.clear();
    // A field that is no number or negative leaves the table without uncertainty and says why.
    capacity::RequestOutcome outcome;
    try {
        const auto u = capacity::readUncertainties(window_);
        const double given[] = {u.section, u.length, u.head,        u.angle,
                                u.F,       u.level,  u.pointVolume, u.pointLevel};
        if (std::all_of(std::begin(given), std::end(given), [](double x) { return x == 0; })) return {};
        // As long as the method check, and for the same reason: a second pass over every level.
        if (rows > kMethodCheckMaxRows)
            return QStringLiteral("表超过 %1 行，未计算测量不确定度。")
                .arg(static_cast<qulonglong>(kMethodCheckMaxRows));
        outcome = capacity::UncertaintyTable(window_, uncertainty_);
    } catch (const ConvertError& e) {
        outcome = capacity::RequestOutcome(e.what());
    }
    if (outcome.stopped()) {
        uncertainty_.clear();
        return QStringLiteral("未计算测量不确定度：") + q(outcome.message);
    }
    if (uncertainty_.size() != rows) { // not the rows shown: the inputs changed since
        uncertainty_.clear();
        return {};
    }
    const auto summary = capacity::summarizeUncertainty(uncertainty_);
    return summary ? q(capacity::uncertaintyStatement(*summary)) + QStringLiteral("。") : QString();
}

void TablePage::sizeColumns() {
    const int digit = view_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    view_->setColumnWidth(0, digit * 9);
    // Each column as wide as its longest text or its heading; the last stretches to the view.
    using C = TableRowsModel::Column;
    for (int section = 1; section < model_->columnCount(); ++section) {
        const C c = model_->column(section);
        const int digits = c == C::Value || c == C::Other ? 13 : c == C::Relative || c == C::Remark ? 7 : 10;
        view_->setColumnWidth(section,
                              std::max(digit * digits, view_->horizontalHeader()->sectionSizeHint(section)));
    }
}

void TablePage::showVerticalTables() {
    model_->setVertical(nullptr, nullptr);
    hydrostatic_ = {};
    roofZone_.clear();
    std::optional<capacity::TTankDescription> d;
    if (window_.activePage() == kVerticalPage) {
        // The rows were just made from these inputs: they read, and only the density may be missing.
        d = capacity::ReadTankDescription(window_, capacity::RequestType::Table).description;
        if (d && d->vertical.density) hydrostatic_ = capacity::hydrostaticRows(*d);
        if (d) roofZone_ = capacity::roofZoneRows(*d);
    }
    model_->setVertical(&hydrostatic_, &roofZone_);
    vertical_->showTank(d ? &*d : nullptr);
}

void TablePage::drawCurve() {
    const auto& s = summary_;
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(s.curve.size()));
    for (const auto& p : s.curve)
        points.append(QPointF(p.x, p.y));
    curve_->replace(points);
    const bool weight = model_->weight();
    capacityLine_->replace(QList<QPointF>{{s.firstLevel, s.topValue}, {s.lastLevel, s.topValue}});
    capacityLine_->setName(
        QStringLiteral("最高液位 %1 %2").arg(q(kernel::RoundToStr(s.topValue)), valueUnit(weight)));
    valueAxis_->setTitleText(weight ? QStringLiteral("重量 (公斤)") : QStringLiteral("容积 (升)"));
    // The level axis ends at the table's last level, not at the next round number.
    spanExactly(levelAxis_, s.firstLevel, s.lastLevel);
    const double low = std::min(0.0, s.minValue), high = s.maxValue > low ? s.maxValue : low + 1;
    valueAxis_->setRange(low, high + (high - low) * 0.04);
    valueAxis_->applyNiceNumbers();
    usePlainLabels(valueAxis_);
}

void TablePage::LevelForClick() {
    // A refused or failed request leaves no earlier level beside the inputs it refused.
    window_.setText("LevelForResult", "");
    const auto outcome = capacity::LevelForVolume(window_);
    if (outcome.stopped()) window_.services().messageBox(outcome.message);
}

} // namespace kelvora::ui
