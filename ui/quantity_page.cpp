#include "ui/quantity_page.h"

#include "capacity/page_inputs.h"
#include "capacity/result_inputs.h"
#include "output/delivery_record.h"
#include "ui/Unit1.h"
#include "ui/controls.h"
#include "ui/field_edit.h"
#include "ui/page_parts.h"
#include "ui/window_services.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace kelvora::ui {

namespace {

namespace in = quantity::inputs;

QString q(std::string_view s) {
    return qtText(s);
}

QString label(const char* name) {
    return pageInputLabel(name);
}

// The inputs ρ20 is made from, which both results read.
constexpr std::array<std::string_view, 5> kDensityInputs{in::kProduct, in::kMode, in::kRho20,
                                                         in::kSampleDensity, in::kSampleTemperature};

bool isDensityInput(std::string_view name) {
    return std::find(kDensityInputs.begin(), kDensityInputs.end(), name) != kDensityInputs.end();
}

bool isDeliveryInput(std::string_view name) {
    return name.starts_with("Delivery");
}

} // namespace

QuantityPage::QuantityPage(TFrmMain& window, QTabWidget* pages) : QWidget(pages), window_(window) {
    setObjectName(q(capacity::kQuantityPageName));
    content_ = scrollingContent(this, QStringLiteral("QuantityPage"));
    auto* layout = new QVBoxLayout(content_);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(buildDensity());
    layout->addWidget(buildQuantity());
    layout->addWidget(buildDelivery());
    layout->addStretch(1);
    // The page lives in the narrow column beside the structure pages: labels wrap and the
    // fields shrink before the page would scroll sideways.
    for (auto* text : content_->findChildren<QLabel*>())
        text->setWordWrap(true);
    for (auto* edit : content_->findChildren<QLineEdit*>())
        edit->setMinimumWidth(40);
    watchInputs();
    pages->addTab(this, QStringLiteral("油量计算"));
}

void QuantityPage::registerInput(QWidget* widget, const char* name) {
    registerPageInput(window_, widget, name);
    if (const auto* info = capacity::findPageInput(name); info && !info->hint.empty())
        widget->setToolTip(q(info->hint));
}

QuantityPage::Result QuantityPage::makeResult(QWidget* parent, const char* name, const QString& caption,
                                              const QString& unit) {
    auto* field = new QLabel(parent);
    field->setObjectName(QLatin1String(name));
    field->setAccessibleName(QLatin1String(name));
    field->setFrameShape(QFrame::StyledPanel);
    field->setFrameShadow(QFrame::Sunken);
    field->setTextInteractionFlags(Qt::TextSelectableByMouse);
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("1000000000.00")) + 8);
    auto* text = new QLabel(parent);
    text->setObjectName(QLatin1String(name) + QStringLiteral("Label"));
    Result result{text, field, caption, unit};
    show(result, QString(), std::nullopt);
    return result;
}

// The label names the unit and, beside a value, the mode the value was made in.
void QuantityPage::show(Result& result, const QString& text, std::optional<quantity::Mode> mode) {
    QString caption = result.caption;
    QStringList notes;
    if (!result.unit.isEmpty()) notes << result.unit;
    if (mode) notes << q(quantity::modeName(*mode));
    if (!notes.isEmpty())
        caption += QStringLiteral("（") + notes.join(QStringLiteral("，")) + QStringLiteral("）");
    result.label->setText(caption);
    result.field->setText(text);
}

QWidget* QuantityPage::buildDensity() {
    auto* group = new QGroupBox(QStringLiteral("油品和密度"), content_);
    group->setObjectName(QStringLiteral("QuantityDensity"));
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 6, 6, 6);
    int column = 0;
    for (const char* name : {in::kProduct, in::kMode}) {
        auto* combo = new QComboBox(group);
        registerInput(combo, name);
        for (const auto& item : capacity::fixedItems(name))
            combo->addItem(q(item));
        combo->setCurrentIndex(0);
        // One field a row: the page lives in the narrow column beside the structure pages.
        grid->addWidget(new QLabel(label(name), group), column, 0);
        grid->addWidget(combo, column, 1, 1, 2);
        ++column;
    }
    const std::array<std::pair<const char*, const char*>, 3> fields{
        {{in::kRho20, "kg/m3"}, {in::kSampleDensity, "kg/m3"}, {in::kSampleTemperature, "℃"}}};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        auto* edit = new TEdit(group);
        registerInput(edit, fields[i].first);
        const int r = 2 + static_cast<int>(i), c = 0;
        grid->addWidget(new QLabel(label(fields[i].first), group), r, c);
        grid->addWidget(edit, r, c + 1);
        grid->addWidget(new QLabel(QString::fromUtf8(fields[i].second), group), r, c + 2);
    }
    auto* note =
        new QLabel(QStringLiteral("填标准密度ρ20，或者填试样的视密度和试验温度由石油计量表求ρ20。"), group);
    note->setWordWrap(true);
    grid->addWidget(note, 5, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* QuantityPage::buildQuantity() {
    auto* group = new QGroupBox(QStringLiteral("罐内油量"), content_);
    group->setObjectName(QStringLiteral("QuantityGroup"));
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 6, 6, 6);
    auto* temperature = new TEdit(group);
    registerInput(temperature, in::kOilTemperature);
    auto* level = new TEdit(group);
    registerInput(level, in::kLevel);
    auto* quick = new QPushButton(QStringLiteral("用快捷计算的液位"), group);
    quick->setObjectName(QStringLiteral("QuantityUseQuickLevel"));
    auto* compute = new QPushButton(QStringLiteral("计算"), group);
    compute->setObjectName(QStringLiteral("QuantityCompute"));
    connect(quick, &QPushButton::clicked, this,
            [this] { window_.runHandler([this] { UseQuickLevelClick(); }); });
    connect(compute, &QPushButton::clicked, this,
            [this] { window_.runHandler([this] { QuantityClick(); }); });
    grid->addWidget(new QLabel(label(in::kOilTemperature), group), 0, 0);
    grid->addWidget(temperature, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("℃"), group), 0, 2);
    grid->addWidget(new QLabel(label(in::kLevel), group), 1, 0);
    grid->addWidget(level, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("mm"), group), 1, 2);
    grid->addWidget(quick, 2, 0, 1, 2);
    grid->addWidget(compute, 2, 2);

    quantityResults_ = {
        makeResult(group, "QuantityVolume", QStringLiteral("容积Vt"), QStringLiteral("L")),
        makeResult(group, "QuantityRho20", QStringLiteral("标准密度ρ20"), QStringLiteral("kg/m3")),
        makeResult(group, "QuantityVcf20", QStringLiteral("体积修正系数VCF20"), QString()),
        makeResult(group, "QuantityVolume20", QStringLiteral("标准体积V20"), QStringLiteral("L")),
        makeResult(group, "QuantityMass", QStringLiteral("质量"), QStringLiteral("kg"))};
    int row = 3;
    for (auto& result : quantityResults_) {
        grid->addWidget(result.label, row, 0);
        grid->addWidget(result.field, row, 1, 1, 2);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* QuantityPage::buildDelivery() {
    auto* group = new QGroupBox(QStringLiteral("卸油交接"), content_);
    group->setObjectName(QStringLiteral("DeliveryGroup"));
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 6, 6, 6);
    const std::array<std::pair<const char*, const char*>, 8> fields{{{in::kBeforeLevel, "mm"},
                                                                     {in::kBeforeTemperature, "℃"},
                                                                     {in::kAfterLevel, "mm"},
                                                                     {in::kAfterTemperature, "℃"},
                                                                     {in::kDispensed, "L"},
                                                                     {in::kLimit, "‰"},
                                                                     {in::kTicket, "L"},
                                                                     {in::kTicketMass, "kg"}}};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        auto* edit = new TEdit(group);
        registerInput(edit, fields[i].first);
        if (fields[i].first == std::string_view(in::kLimit)) edit->setPlaceholderText(QStringLiteral("3"));
        const int r = static_cast<int>(i), c = 0;
        grid->addWidget(new QLabel(label(fields[i].first), group), r, c);
        grid->addWidget(edit, r, c + 1);
        grid->addWidget(new QLabel(QString::fromUtf8(fields[i].second), group), r, c + 2);
    }
    auto* check = new QPushButton(QStringLiteral("核对"), group);
    check->setObjectName(QStringLiteral("DeliveryCheck"));
    export_ = new QPushButton(QStringLiteral("导出交接单…"), group);
    export_->setObjectName(QStringLiteral("DeliveryExport"));
    export_->setEnabled(false);
    connect(check, &QPushButton::clicked, this, [this] { window_.runHandler([this] { DeliveryClick(); }); });
    connect(export_, &QPushButton::clicked, this, [this] { window_.runHandler([this] { ExportClick(); }); });
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(check);
    buttons->addWidget(export_);
    grid->addLayout(buttons, 8, 0, 1, 3);

    deliveryResults_ = {
        makeResult(group, "DeliveryBefore20", QStringLiteral("卸油前V20"), QStringLiteral("L")),
        makeResult(group, "DeliveryAfter20", QStringLiteral("卸油后V20"), QStringLiteral("L")),
        makeResult(group, "DeliveryDispensed20", QStringLiteral("付油量V20"), QStringLiteral("L")),
        makeResult(group, "DeliveryReceived20", QStringLiteral("实收V20"), QStringLiteral("L")),
        makeResult(group, "DeliveryTicket20", QStringLiteral("交接单V20"), QStringLiteral("L")),
        makeResult(group, "DeliveryDifference", QStringLiteral("差量"), QStringLiteral("L")),
        makeResult(group, "DeliveryPermille", QStringLiteral("差率"), QStringLiteral("‰")),
        makeResult(group, "DeliveryVerdict", QStringLiteral("结论"), QString())};
    int row = 9;
    for (std::size_t i = 0; i < deliveryResults_.size(); ++i) {
        const int r = row + static_cast<int>(i), c = 0;
        grid->addWidget(deliveryResults_[i].label, r, c);
        grid->addWidget(deliveryResults_[i].field, r, c + 1, 1, 2);
    }
    grid->setColumnStretch(1, 1);

    return group;
}

void QuantityPage::watchInputs() {
    auto watch = [this](std::string_view name) {
        auto* widget = window_.findChild<QWidget*>(q(name));
        auto changed = [this, name] { inputChanged(name); };
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            connect(edit, &QLineEdit::textChanged, this, changed);
        else if (auto* combo = qobject_cast<QComboBox*>(widget))
            connect(combo, &QComboBox::currentTextChanged, this, changed);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            connect(button, &QAbstractButton::toggled, this, changed);
    };
    for (const auto& input : capacity::inputTable())
        watch(input.name);
    for (const auto& input : capacity::pageInputTable())
        watch(input.name);
    if (auto* grid = window_.findChild<StringGridView*>(QStringLiteral("StringGrid1"))) {
        auto changed = [this] { inputChanged(capacity::kGridInput); };
        connect(grid->gridModel(), &QAbstractItemModel::dataChanged, this, changed);
        connect(grid->gridModel(), &QAbstractItemModel::modelReset, this, changed);
    }
    if (auto* tabs = window_.findChild<QTabWidget*>(QStringLiteral("PageControl1")))
        connect(tabs, &QTabWidget::currentChanged, this,
                [this] { inputChanged(capacity::kStructureTabsInput); });
}

// Vt is the quick calculation's, so whatever the quick result reads the quantities read
// too, the quick level aside for the delivery, which has levels of its own.
void QuantityPage::inputChanged(std::string_view name) {
    const bool tank = capacity::resultReads(capacity::kQuickResult, name, window_);
    if (quantityShown_ && (tank || isDensityInput(name) || name == in::kOilTemperature || name == in::kLevel))
        clearQuantity();
    if (delivery_ && ((tank && name != "Edit35") || isDensityInput(name) || isDeliveryInput(name)))
        clearDelivery();
}

void QuantityPage::clearQuantity() {
    quantityShown_ = false;
    for (auto& result : quantityResults_)
        show(result, QString(), std::nullopt);
}

void QuantityPage::clearDelivery() {
    delivery_.reset();
    export_->setEnabled(false);
    for (auto& result : deliveryResults_)
        show(result, QString(), std::nullopt);
}

void QuantityPage::UseQuickLevelClick() {
    window_.setText(in::kLevel, window_.text("Edit35"));
}

void QuantityPage::QuantityClick() {
    clearQuantity();
    const quantity::QuantityOutcome outcome = quantity::computeQuantity(window_);
    if (!outcome.message.empty()) {
        window_.services().messageBox(outcome.message);
        return;
    }
    const std::array<const quantity::Shown*, 5> values{&outcome.litres, &outcome.rho20, &outcome.vcf20,
                                                       &outcome.volume20, &outcome.mass};
    for (std::size_t i = 0; i < values.size(); ++i)
        show(quantityResults_[i], q(values[i]->text()), i == 0 ? std::nullopt : std::optional(outcome.mode));
    quantityShown_ = true;
}

void QuantityPage::DeliveryClick() {
    clearDelivery();
    quantity::DeliveryOutcome outcome = quantity::computeDelivery(window_);
    if (!outcome.message.empty()) {
        window_.services().messageBox(outcome.message);
        return;
    }
    const quantity::DeliveryResult& r = outcome.result;
    const std::array<const quantity::Shown*, 7> values{
        &r.before20, &r.after20, &r.dispensed20, &r.received20, &r.ticket20, &r.difference, &r.permille};
    for (std::size_t i = 0; i < values.size(); ++i)
        show(deliveryResults_[i], q(values[i]->text()), outcome.mode);
    show(deliveryResults_.back(), q(quantity::verdictText(r.within)), std::nullopt);
    delivery_ = std::move(outcome);
    export_->setEnabled(true);
}

void QuantityPage::ExportClick() {
    if (!delivery_) return;
    const auto path = window_.services().saveDialog({"pdf", {"*.pdf"}, "卸油交接单"});
    if (!path) return;
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    output::saveDeliveryRecordPdf(*path, output::describeDelivery(window_, *delivery_, now.toStdString()));
    window_.services().informationBox("保存成功！");
}

} // namespace kelvora::ui
