#include "ui/Unit1.h"

#include "capacity/calibration_grid.h"
#include "capacity/head_components.h"
#include "capacity/input_table.h"
#include "capacity/requests.h"
#include "capacity/vertical_description.h"
#include "kernel/errors.h"
#include "kernel/number_text.h"
#include "output/document_model.h"
#include "output/snapshot.h"
#include "output/vertical_sheets.h"
#include "output/workbook_export.h"
#include "persist/data_folder.h"
#include "persist/settings.h"
#include "persist/io_error.h"
#include "persist/startup.h"
#include "ui/controls.h"
#include "ui/conversion_focus.h"
#include "ui/field_edit.h"
#include "ui/figure_boxes.h"
#include "ui/gauge_chart_action.h"
#include "ui/help_window.h"
#include "ui/jpeg_image.h"
#include "ui/page_parts.h"
#include "ui/result_field.h"
#include "ui/stale_results.h"
#include "ui/table_document_actions.h"
#include "ui/identify_page.h"
#include "ui/quantity_page.h"
#include "ui/table_page.h"
#include "ui/tank_file_menu.h"
#include "ui/vertical_page.h"
#include "ui/wait_cursor.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <stdexcept>
#include <utility>

namespace kelvora::ui {

std::string ProgramDir;

namespace {

QString q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QFont msSansSerif(int px = 13) {
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(px);
    return f;
}

QFont song(int px = 15) {
    QFont f(QStringLiteral("宋体"));
    f.setPixelSize(px);
    return f;
}

// The label beside each head field, by edit name.
const std::map<std::string_view, const char*> kHeadLabels{
    {"Edit10", "Label19"}, {"Edit11", "Label20"}, {"Edit12", "Label21"}, {"Edit14", "Label22"},
    {"Edit15", "Label23"}, {"Edit16", "Label24"}, {"Edit17", "Label25"}, {"Edit18", "Label26"},
    {"Edit20", "Label37"}, {"Edit45", "Label58"}, {"Edit46", "Label59"}, {"Edit47", "Label60"},
    {"Edit21", "Label29"}, {"Edit22", "Label30"}, {"Edit23", "Label31"}, {"Edit24", "Label32"},
    {"Edit25", "Label33"}, {"Edit26", "Label34"}, {"Edit27", "Label35"}, {"Edit28", "Label36"},
    {"Edit19", "Label28"}, {"Edit38", "Label52"}, {"Edit43", "Label53"}, {"Edit44", "Label57"},
};

// `child` covers the whole of `parent`, whatever its size.
void fillWith(QWidget* parent, QWidget* child) {
    auto* layout = new QVBoxLayout(parent);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(child);
}

} // namespace

TFrmMain::TFrmMain(std::unique_ptr<WindowServices> services, QWidget* parent)
    : QWidget(parent), services_(std::move(services)), grid_(3, 2) {
    if (!services_) services_ = std::make_unique<QtWindowServices>(this);
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QString::fromUtf8(persist::kMainFormCaption.data(), persist::kMainFormCaption.size()));
    setFont(msSansSerif());
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    buildWindow();
    tankFileMenu_ = new TankFileMenu(*this);
    // As constructed, before the settings are restored.
    setChecked("RadioButton1", true);
    setChecked("RadioButton8", true);
    setChecked("RadioButton15", true);
    staleResults_ = new StaleResults(*this);
    FormCreate();
}

TFrmMain::~TFrmMain() = default;

QLineEdit* TFrmMain::makeEdit(QWidget* parent, const char* name, int x, int y, int w) {
    auto* e = new TEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setAccessibleName(QLatin1String(name));
    e->setGeometry(x, y, w, 21);
    const capacity::InputInfo* info = capacity::findInput(name);
    if (info && !info->hint.empty()) e->setToolTip(QString::fromUtf8(info->hint.data(), info->hint.size()));
    e->followInput(name);
    inputs_.emplace(name, e);
    return e;
}

TRadioButton* TFrmMain::makeRadio(QWidget* parent, const char* name, int x, int y, int w) {
    const capacity::InputInfo* info = capacity::findInput(name);
    auto* r = new TRadioButton(info ? q(info->label) : QString(), parent);
    r->setObjectName(QLatin1String(name));
    r->setAccessibleName(QLatin1String(name));
    r->setGeometry(x, y, w, 20);
    inputs_.emplace(name, r);
    return r;
}

QLabel* TFrmMain::makeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(x, y, w, h);
    return l;
}

void TFrmMain::buildWindow() {
    resize(1167, 760);

    auto* splitter1 = new QSplitter(Qt::Horizontal, this);
    splitter1->setObjectName(QStringLiteral("Splitter1"));
    splitter1->setHandleWidth(3);
    splitter1->setChildrenCollapsible(false);

    auto* panel1 = new QSplitter(Qt::Vertical, splitter1); // Panel1 with Splitter2 between its panels
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setHandleWidth(3);
    panel1->setChildrenCollapsible(false);

    auto* panel3 = new QWidget(panel1);
    panel3->setObjectName(QStringLiteral("Panel3"));
    panel3->setMinimumSize(697, 488);

    auto* panel4 = new QWidget(panel1);
    panel4->setObjectName(QStringLiteral("Panel4"));
    auto* banner = new QLabel(panel4);
    banner->setObjectName(QStringLiteral("Image12"));
    banner->setScaledContents(true);
    banner->setPixmap(QPixmap::fromImage(referenceFigure(12)));
    banner->setGeometry(0, 0, 697, 260);
    auto* listBox = new QWidget(panel4); // the rows live in rows_, never shown
    listBox->setObjectName(QStringLiteral("ListBox1"));
    listBox->setGeometry(16, 24, 65, 25);
    listBox->hide();
    panel1->setSizes({488, 260});
    panel1->setStretchFactor(1, 1);
    // The banner stretches over the whole of Panel4 and never asks for its own size.
    banner->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    fillWith(panel4, banner);

    auto* panel2 = new QWidget(splitter1);
    panel2->setObjectName(QStringLiteral("Panel2"));
    splitter1->setSizes({697, 465});
    splitter1->setStretchFactor(1, 1);

    fillWith(this, splitter1);

    // Panel3: the head groups at both edges, the structure pages and the table in between.
    auto* right = buildHeadGroup(panel3, false);
    right->setGeometry(489, 0, 208, 488);
    auto* left = buildHeadGroup(panel3, true);
    left->setGeometry(0, 0, 208, 488);
    buildStructurePages(panel3);
    buildTableGroup(panel3);

    auto* button1 = new QPushButton(QStringLiteral("生成容积表"), panel3);
    button1->setObjectName(QStringLiteral("Button1"));
    button1->setFont(msSansSerif());
    button1->setGeometry(211, 366, 129, 25);
    connect(button1, &QPushButton::clicked, this, [this] { runHandler([this] { Button1Click(); }); });
    auto* button3 = new QPushButton(QStringLiteral("打印"), panel3);
    button3->setObjectName(QStringLiteral("Button3"));
    button3->setGeometry(347, 366, 65, 25);
    button3->setToolTip(QStringLiteral("保存窗口截图")); // the snapshot; the 容积表 page prints the table
    connect(button3, &QPushButton::clicked, this, [this] { runHandler([this] { Button3Click(); }); });
    auto* button4 = new QPushButton(QStringLiteral("帮助"), panel3);
    button4->setObjectName(QStringLiteral("Button4"));
    button4->setGeometry(416, 366, 65, 25);
    connect(button4, &QPushButton::clicked, this, [this] { runHandler([this] { Button4Click(); }); });

    buildDensityRow(panel3);
    buildQuickGroup(panel3);
    buildFigures(panel2);
    setTabOrderFromInputTable();

    // The hidden dialogs' names are kept for the record; the services show the dialogs.
    for (const char* name : {"OpenDialog1", "SaveDialog1", "SaveDialog3"}) {
        auto* holder = new QObject(this);
        holder->setObjectName(QLatin1String(name));
    }
}

QWidget* TFrmMain::buildHeadGroup(QWidget* parent, bool left) {
    auto* group = new QGroupBox(left ? QStringLiteral("左封头") : QStringLiteral("右封头"), parent);
    group->setObjectName(left ? QStringLiteral("GroupBox3") : QStringLiteral("GroupBox2"));
    group->setFont(song());

    const int fieldX[3][2] = {{10, 32}, {74, 100}, {140, 166}};
    const int fieldW = 36;
    int y = 22;
    for (const auto& head : capacity::headComponents()) {
        const capacity::HeadSide& side = left ? head.left : head.right;
        makeRadio(group, std::string(side.radio).c_str(), 8, y, 194);
        y += 22;
        if (side.fieldCount > 0) {
            int slot = 0;
            for (const auto& field : side.fieldList()) {
                const std::string name(field.edit);
                const capacity::InputInfo* info = capacity::findInput(name);
                makeLabel(group, kHeadLabels.at(field.edit), q(info->label), fieldX[slot][0], y + 2, 24, 18);
                makeEdit(group, name.c_str(), fieldX[slot][1], y, fieldW);
                ++slot;
            }
            y += 28;
        } else {
            y += 4;
        }
    }
    auto* combo = new QComboBox(group);
    const char* comboName = left ? "ComboBox3" : "ComboBox4";
    combo->setObjectName(QLatin1String(comboName));
    combo->setAccessibleName(QLatin1String(comboName));
    for (const auto& item : capacity::fixedComboItems(comboName)) combo->addItem(q(item));
    combo->setCurrentIndex(-1);
    combo->setGeometry(8, y + 8, 192, 24);
    inputs_.emplace(comboName, combo);
    return group;
}

void TFrmMain::buildStructurePages(QWidget* parent) {
    pageControl1_ = new QTabWidget(parent);
    pageControl1_->setObjectName(QStringLiteral("PageControl1"));
    pageControl1_->setGeometry(210, 8, 273, 177);
    // Five captions must fit the page control's 273 pixels without scroll arrows; a larger
    // font shortens them rather than hiding one.
    pageControl1_->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 2px; }"));
    pageControl1_->setElideMode(Qt::ElideRight);
    pageControl1_->tabBar()->setUsesScrollButtons(false);

    // 水平圆筒
    auto* sheet1 = new QWidget(pageControl1_);
    sheet1->setObjectName(QStringLiteral("TabSheet1"));
    auto* group1 = new QGroupBox(sheet1);
    group1->setObjectName(QStringLiteral("GroupBox1"));
    group1->setGeometry(0, 0, 267, 149);
    auto* rb1 = makeRadio(group1, "RadioButton1", 8, 8, 240);
    makeLabel(group1, "Label9", QStringLiteral("D:"), 16, 38, 18);
    makeEdit(group1, "Edit1", 36, 36, 80);
    makeLabel(group1, "Label10", QStringLiteral("L:"), 130, 38, 18);
    makeEdit(group1, "Edit2", 150, 36, 80);
    auto* rb2 = makeRadio(group1, "RadioButton2", 8, 72, 240);
    makeLabel(group1, "Label11", QStringLiteral("B:"), 12, 102, 16);
    makeEdit(group1, "Edit3", 28, 100, 56);
    makeLabel(group1, "Label12", QStringLiteral("A:"), 94, 102, 16);
    makeEdit(group1, "Edit4", 110, 100, 56);
    makeLabel(group1, "Label13", QStringLiteral("L:"), 176, 102, 16);
    makeEdit(group1, "Edit5", 192, 100, 64);
    rb1->onMouseUp = [this] { runHandler([this] { RadioButtonMouseUp(); }); };
    rb2->onMouseUp = [this] { runHandler([this] { RadioButtonMouseUp(); }); };
    pageControl1_->addTab(sheet1, QStringLiteral("水平圆筒"));

    // 倾斜圆筒
    auto* sheet2 = new QWidget(pageControl1_);
    sheet2->setObjectName(QStringLiteral("TabSheet2"));
    makeLabel(sheet2, "Label50", QStringLiteral("α:"), 6, 12, 18);
    makeEdit(sheet2, "Edit29", 24, 10, 58);
    makeLabel(sheet2, "Label56", QStringLiteral("β:"), 90, 12, 18);
    makeEdit(sheet2, "Edit30", 108, 10, 58);
    makeLabel(sheet2, "Label51", QStringLiteral("F:"), 174, 12, 16);
    makeEdit(sheet2, "Edit39", 190, 10, 64);
    makeLabel(sheet2, "Label38", QStringLiteral("B:"), 6, 42, 18);
    makeEdit(sheet2, "Edit40", 24, 40, 58);
    makeLabel(sheet2, "Label54", QStringLiteral("A:"), 90, 42, 18);
    makeEdit(sheet2, "Edit41", 108, 40, 58);
    makeLabel(sheet2, "Label55", QStringLiteral("L:"), 174, 42, 16);
    makeEdit(sheet2, "Edit42", 190, 40, 64);
    makeRadio(sheet2, "RadioButton3", 8, 72, 118);
    makeRadio(sheet2, "RadioButton4", 132, 72, 118);
    auto* note = makeLabel(sheet2, "Label49", QStringLiteral("B、A的输入值见图八，输入A=B即为正圆筒"), 10, 100, 239, 36);
    note->setWordWrap(true);
    note->setFont(msSansSerif());
    note->setStyleSheet(QStringLiteral("color: red;"));
    pageControl1_->addTab(sheet2, QStringLiteral("倾斜圆筒"));

    // 球罐
    auto* sheet3 = new QWidget(pageControl1_);
    sheet3->setObjectName(QStringLiteral("TabSheet3"));
    makeLabel(sheet3, "Label44", QStringLiteral("球罐内直径："), 16, 26, 92);
    makeEdit(sheet3, "Edit34", 110, 24, 100);
    pageControl1_->addTab(sheet3, QStringLiteral("球罐"));

    // 罐容标定
    auto* sheet4 = new QWidget(pageControl1_);
    sheet4->setObjectName(QStringLiteral("TabSheet4"));
    auto* label48 = makeLabel(sheet4, "Label48", QStringLiteral("标定点数："), 0, 4, 88, 20);
    label48->setFont(song());
    auto* combo2 = new QComboBox(sheet4);
    combo2->setObjectName(QStringLiteral("ComboBox2"));
    combo2->setAccessibleName(QStringLiteral("ComboBox2"));
    combo2->setGeometry(88, 1, 81, 23);
    combo2->setMaxVisibleItems(16);
    inputs_.emplace("ComboBox2", combo2);
    connect(combo2, &QComboBox::activated, this, [this](int) { runHandler([this] { ComboBox2Change(); }); });
    auto* button5 = new QPushButton(QStringLiteral("清空"), sheet4);
    button5->setObjectName(QStringLiteral("Button5"));
    button5->setGeometry(176, 0, 65, 25);
    connect(button5, &QPushButton::clicked, this, [this] { runHandler([this] { Button5Click(); }); });
    grid1_ = new StringGridView(grid_, sheet4);
    grid1_->setObjectName(QStringLiteral("StringGrid1"));
    grid1_->setAccessibleName(QStringLiteral("StringGrid1"));
    grid1_->setGeometry(0, 32, 257, 106);
    pageControl1_->addTab(sheet4, QStringLiteral("罐容标定"));
    new VerticalPage(*this, pageControl1_);

    connect(pageControl1_, &QTabWidget::currentChanged, this,
            [this](int) { runHandler([this] { PageControl1Change(); }); });
}

void TFrmMain::buildTableGroup(QWidget* parent) {
    auto* group = new QGroupBox(QStringLiteral("油罐容积表"), parent);
    group->setObjectName(QStringLiteral("GroupBox4"));
    group->setFont(song());
    group->setGeometry(211, 190, 272, 174);
    makeLabel(group, "Label14", QStringLiteral("液位高度从"), 5, 26, 78);
    makeEdit(group, "Edit6", 82, 23, 46);
    makeLabel(group, "Label15", QStringLiteral("到"), 131, 26, 18);
    makeEdit(group, "Edit7", 149, 23, 46);
    makeLabel(group, "Label16", QStringLiteral("间隔"), 198, 26, 32);
    makeEdit(group, "Edit8", 230, 23, 38);
    makeLabel(group, "Label17", QStringLiteral("Excel容积表每列"), 5, 56, 118);
    makeEdit(group, "Edit9", 123, 53, 56);
    makeLabel(group, "Label18", QStringLiteral("条数据换列"), 183, 56, 84);
    makeLabel(group, "Label39", QStringLiteral("罐底死量"), 5, 86, 64);
    makeEdit(group, "Edit13", 69, 83, 70);
    makeLabel(group, "Label40", QStringLiteral("升"), 143, 86, 20);
    makeLabel(group, "Label41", QStringLiteral("附件体积"), 5, 116, 64);
    makeEdit(group, "Edit31", 69, 113, 54);
    makeLabel(group, "Label42", QStringLiteral("升，最下端距离罐底"), 126, 116, 142);
    makeEdit(group, "Edit32", 5, 143, 60);
    makeLabel(group, "Label43", QStringLiteral("，附件高度"), 68, 146, 80);
    makeEdit(group, "Edit33", 150, 143, 60);
}

void TFrmMain::buildQuickGroup(QWidget* parent) {
    auto* group = new QGroupBox(QStringLiteral("快捷计算"), parent);
    group->setObjectName(QStringLiteral("GroupBox5"));
    group->setFont(song());
    group->setGeometry(211, 426, 272, 56);
    makeLabel(group, "Label45", QStringLiteral("液位"), 6, 26, 34);
    auto* level = makeEdit(group, "Edit35", 40, 23, 62);
    auto* button2 = new QPushButton(QStringLiteral("计算"), group);
    button2->setObjectName(QStringLiteral("Button2"));
    button2->setGeometry(107, 21, 43, 25);
    connect(button2, &QPushButton::clicked, this, [this] { runHandler([this] { Button2Click(); }); });
    // Enter in the level field computes, as the button beside it does.
    clickOnEnter(level, button2);
    showWholeText(makeEdit(group, "Edit36", 154, 23, 78), QString());
    makeLabel(group, "Label47", QStringLiteral("升"), 236, 26, 30);
    makeLabel(group, "Label46", QStringLiteral("公斤"), 236, 26, 34);
}

void TFrmMain::buildDensityRow(QWidget* parent) {
    auto* check = new TCheckBox(QStringLiteral("重量输入密度"), parent);
    check->setObjectName(QStringLiteral("CheckBox1"));
    check->setAccessibleName(QStringLiteral("CheckBox1"));
    check->setGeometry(216, 399, 121, 21);
    check->onMouseUp = [this] { runHandler([this] { CheckBox1MouseUp(); }); };
    inputs_.emplace("CheckBox1", check);
    auto* density = makeEdit(parent, "Edit37", 339, 399, 59);
    connect(density, &QLineEdit::textChanged, this, [this] { Edit37Change(); });
    auto* unit = new QComboBox(parent);
    unit->setObjectName(QStringLiteral("ComboBox1"));
    unit->setAccessibleName(QStringLiteral("ComboBox1"));
    unit->setEditable(true);
    for (const auto& item : capacity::fixedComboItems("ComboBox1")) unit->addItem(q(item));
    unit->setCurrentIndex(-1);
    unit->setEditText(QStringLiteral("单位"));
    unit->setGeometry(400, 399, 81, 22);
    inputs_.emplace("ComboBox1", unit);
}

void TFrmMain::buildFigures(QWidget* parent) {
    pageControl2_ = new QTabWidget(parent);
    pageControl2_->setObjectName(QStringLiteral("PageControl2"));
    // On a narrow window the captions are shortened before any hides behind the bar's arrows.
    pageControl2_->setElideMode(Qt::ElideRight);
    // Six captions share the bar: narrow padding, so that none hides behind the bar's arrows.
    pageControl2_->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 2px; }"));
    fillWith(parent, pageControl2_);

    auto picture = [](QWidget* sheet, const FigureBox& box) {
        auto* image = new QLabel(sheet);
        image->setObjectName(QLatin1String(box.name));
        image->setScaledContents(true);
        image->setPixmap(QPixmap::fromImage(referenceFigure(box.number)));
        image->setGeometry(box.left, box.top, box.width, box.height);
        return image;
    };
    auto caption = [](QWidget* sheet, const char* name, const char* text, int x, int y) {
        auto* label = new QLabel(QString::fromUtf8(text), sheet);
        label->setObjectName(QLatin1String(name));
        label->setFont(msSansSerif(17));
        label->setGeometry(x, y, 210, 22);
        return label;
    };

    auto* sheet5 = new QWidget(pageControl2_);
    sheet5->setObjectName(QStringLiteral("TabSheet5"));
    auto* sheet6 = new QWidget(pageControl2_);
    sheet6->setObjectName(QStringLiteral("TabSheet6"));
    auto* sheet11 = new QWidget(pageControl2_);
    sheet11->setObjectName(QStringLiteral("TabSheet11"));
    // The caption label under each figure of the first page.
    const std::map<int, std::pair<const char*, const char*>> captions{
        {1, {"Label7", "图一 椭圆(椭球)封头"}}, {2, {"Label8", "图二 圆锥(圆台)封头"}},
        {5, {"Label5", "图三 球缺封头"}},       {4, {"Label6", "图四 碟形封头"}},
        {3, {"Label3", "图五 半球形封头"}},     {6, {"Label4", "图六 平板封头"}},
        {7, {"Label1", "图七 水平正直圆柱体"}}, {8, {"Label2", "图八 水平椭圆柱体"}},
    };
    for (const FigureBox& box : figureBoxes) {
        if (box.page == FigurePage::Panel4) continue;
        picture(box.page == FigurePage::TabSheet5   ? sheet5
                : box.page == FigurePage::TabSheet6 ? sheet6
                                                    : sheet11,
                box);
        const auto it = captions.find(box.number);
        if (it == captions.end()) continue;
        int y = box.top + box.height + 4;
        if (box.number == 4) {
            auto* note = caption(sheet5, "Label27", "标碟Ri=1.0D ri=0.1D", box.left, y);
            note->setFont(msSansSerif(13));
            y += 20;
        }
        caption(sheet5, it->second.first, it->second.second, box.left < 0 ? 7 : box.left, y);
    }
    pageControl2_->addTab(sheet5, QStringLiteral("图一至图八"));
    pageControl2_->addTab(sheet6, QStringLiteral("倾斜圆筒"));
    pageControl2_->addTab(sheet11, QStringLiteral("立式圆筒"));
    tablePage_ = new TablePage(*this, pageControl2_);
    addTableDocumentButtons(*this, tablePage_->documentBar());
    addGaugeChartButton(*this, tablePage_->documentBar());
    identifyPage_ = new IdentifyPage(*this, pageControl2_);
    new QuantityPage(*this, pageControl2_);
}

void TFrmMain::setTabOrderFromInputTable() {
    // Within each container the order of the input table; across Panel3 the groups, the
    // buttons, the density row and the structure pages.
    auto named = [this](const char* name) { return findChild<QWidget*>(QLatin1String(name)); };
    std::vector<QWidget*> chain;
    auto containerInputs = [&](std::string_view container) {
        for (const auto& info : capacity::inputTable())
            if (info.container == container) chain.push_back(input(info.name));
    };
    containerInputs("GroupBox2");
    containerInputs("GroupBox3");
    containerInputs("GroupBox4");
    chain.push_back(input("Edit35"));
    chain.push_back(input("Edit36"));
    chain.push_back(named("Button2"));
    for (const char* name : {"Button1", "Button3", "Button4", "CheckBox1", "Edit37", "ComboBox1"})
        chain.push_back(named(name));
    // The page control's own stop is its tab bar; ordering the page control itself ahead
    // of the controls on its pages would take them out of the chain.
    chain.push_back(pageControl1_->tabBar());
    containerInputs("GroupBox1");
    // On TabSheet2 the table's order: F, B, A, the two radio buttons, α, β, L.
    containerInputs("TabSheet2");
    containerInputs("TabSheet3");
    chain.push_back(grid1_);
    chain.push_back(input("ComboBox2"));
    chain.push_back(named("Button5"));
    chain.push_back(pageControl2_->tabBar());
    for (std::size_t i = 1; i < chain.size(); ++i)
        if (chain[i - 1] && chain[i]) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

// Named inputs

QWidget* TFrmMain::input(std::string_view name) const {
    auto it = inputs_.find(name);
    if (it == inputs_.end()) throw std::invalid_argument("unknown input '" + std::string(name) + "'");
    return it->second;
}

void TFrmMain::registerInput(std::string_view name, QWidget* widget) { inputs_.emplace(std::string(name), widget); }

QLineEdit* TFrmMain::edit(std::string_view name) const { return qobject_cast<QLineEdit*>(input(name)); }

std::string TFrmMain::text(std::string_view name) const {
    QWidget* w = input(name);
    if (recordReads_ && (readInputs_.empty() || readInputs_.back() != name)) readInputs_.emplace_back(name);
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        if (c->isEditable()) return c->currentText().toStdString();
        return c->currentIndex() >= 0 ? c->itemText(c->currentIndex()).toStdString() : std::string();
    }
    return {};
}

void TFrmMain::setText(std::string_view name, std::string_view value) {
    QWidget* w = input(name);
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (e->text() != q(value)) e->setText(q(value));
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        if (c->isEditable()) c->setEditText(q(value));
        else c->setCurrentIndex(c->findText(q(value), Qt::MatchExactly));
    }
}

bool TFrmMain::checked(std::string_view name) const {
    auto* b = qobject_cast<QAbstractButton*>(input(name));
    return b && b->isChecked();
}

void TFrmMain::setChecked(std::string_view name, bool on) {
    if (auto* b = qobject_cast<QAbstractButton*>(input(name))) b->setChecked(on);
}

int TFrmMain::itemIndex(std::string_view name) const {
    auto* c = qobject_cast<QComboBox*>(input(name));
    return c ? c->currentIndex() : -1;
}

void TFrmMain::setItemIndex(std::string_view name, int index) {
    if (auto* c = qobject_cast<QComboBox*>(input(name))) c->setCurrentIndex(index < c->count() ? index : -1);
}

void TFrmMain::setItems(std::string_view name, const std::vector<std::string>& items) {
    if (auto* c = qobject_cast<QComboBox*>(input(name))) {
        c->clear();
        for (const auto& item : items) c->addItem(q(item));
        c->setCurrentIndex(-1);
    }
}

int TFrmMain::activePage() const { return pageControl1_->currentIndex(); }

// The tab's currentChanged signal runs PageControl1Change, as a click on the tab does.
void TFrmMain::setActivePage(int page) { pageControl1_->setCurrentIndex(page); }

void TFrmMain::gridChanged() { grid1_->gridModel()->refresh(); }

std::string TFrmMain::dataDir() const { return persist::dataFolder(ProgramDir).dir.string(); }

// Handlers

void TFrmMain::runHandler(const std::function<void()>& handler) {
    // The inputs a handler reads, so that a text that is no number leads back to its field.
    const bool outer = !std::exchange(recordReads_, true);
    if (outer) readInputs_.clear();
    struct Done {
        TFrmMain& w;
        bool outer;
        ~Done() {
            if (outer) w.recordReads_ = false;
        }
    } done{*this, outer};
    try {
        handler();
    } catch (const ConvertError& e) {
        services_->errorReport(e.what());
        focusUnconvertedInput(*this, std::vector<std::string>(readInputs_), e.what());
    } catch (const std::exception& e) {
        services_->errorReport(persist::userMessage(e));
    }
}

void TFrmMain::Button1Click() {
    capacity::RequestOutcome outcome;
    try {
        WaitCursor busy;
        outcome = capacity::GenerateCapacityTable(*this, rows_);
    } catch (...) {
        tablePage_->showNoTable(); // the rows may be gone or only partly made
        throw;
    }
    if (outcome.stopped()) {
        services_->messageBox(outcome.message);
        return;
    }
    tablePage_->showTable(rows_, checked("CheckBox1"), outcome.note);
    // The workbook's tank sheet prints what the document's header does, with its refusals.
    std::string refusal = output::documentInputsRefusal(*this);
    if (refusal.empty())
        refusal = output::verticalSheets(*capacity::ReadTankDescription(*this, capacity::RequestType::Table).description)
                      .refusal;
    if (!refusal.empty()) {
        services_->messageBox(refusal);
        return;
    }
    const auto path = services_->saveDialog({"xls", {"*.xls", "*.xlsx"}, "油罐容量表"});
    if (!path) return;
    {
        WaitCursor busy;
        const auto read = capacity::ReadTankDescription(*this, capacity::RequestType::Table);
        output::saveTableWorkbook(*path, *read.description, *this, rows_);
    }
    services_->informationBox("保存成功！");
}

void TFrmMain::Button2Click() {
    // A refused or failed request leaves no earlier result beside the inputs it refused.
    setText("Edit36", "");
    const auto outcome = capacity::QuickCalculation(*this);
    if (outcome.stopped()) services_->messageBox(outcome.message);
}

void TFrmMain::Button3Click() {
    // The window paints itself into the snapshot; nothing is copied from the screen.
    const QImage snapshot = grab().toImage();
    services_->setClipboardImage(snapshot);
    QImage picture = services_->clipboardImage();
    if (picture.isNull()) picture = snapshot; // a clipboard that keeps no image
    const auto path = services_->saveDialog({"bmp", {"*.bmp"}, "打印窗体"});
    if (!path) return;
    output::saveBitmap(*path, picture);
    services_->informationBox("打印的窗体保存到您指定的图形文件，您可打开该文件进行打印！");
}

void TFrmMain::Button4Click() {
    // The window shows the help's pages itself; help.chm and a viewer only when they are missing.
    if (const auto pages = persist::helpPagesPath(ProgramDir)) {
        showHelpPages(*this, QString::fromStdString(pages->string()));
        return;
    }
    const auto help = persist::helpFilePath(ProgramDir);
    if (!help || !services_->openDocument(help->string()))
        services_->messageBox(" help.chm 帮助文件损坏！");
}

void TFrmMain::Button5Click() { capacity::clearPoints(*this); }

void TFrmMain::ComboBox2Change() { capacity::applyPointCount(*this); }

void TFrmMain::applyHeadAvailability() {
    const bool ellipse = checked("RadioButton2");
    for (auto name : capacity::excludableHeadButtons()) input(name)->setEnabled(!ellipse);
}

void TFrmMain::RadioButtonMouseUp() {
    setChecked("RadioButton21", true);
    setChecked("RadioButton14", true);
    applyHeadAvailability();
}

void TFrmMain::PageControl1Change() {
    auto* right = findChild<QWidget*>(QStringLiteral("GroupBox2"));
    auto* left = findChild<QWidget*>(QStringLiteral("GroupBox3"));
    switch (activePage()) {
    case 0:
    case 1:
        right->setEnabled(true);
        left->setEnabled(true);
        setChecked("RadioButton21", true);
        setChecked("RadioButton14", true);
        if (activePage() == 0) {
            applyHeadAvailability();
            pageControl2_->setCurrentIndex(0);
        } else {
            for (auto name : capacity::excludableHeadButtons()) input(name)->setEnabled(false);
            pageControl2_->setCurrentIndex(1);
        }
        break;
    case 2:
    case 3:
        right->setEnabled(false);
        left->setEnabled(false);
        break;
    case 4:
        right->setEnabled(false);
        left->setEnabled(false);
        pageControl2_->setCurrentIndex(2);
        break;
    default: break;
    }
    // A vertical tank's bottom points and deadwood stand for the dead volume and attachment.
    const bool vertical = activePage() == capacity::kVerticalPage;
    for (const char* name : {"Label39", "Edit13", "Label40", "Label41", "Edit31", "Label42", "Edit32", "Label43", "Edit33"})
        findChild<QWidget*>(QString::fromLatin1(name))->setEnabled(!vertical);
}

void TFrmMain::ShowWeightLabel() {
    const bool weight = checked("CheckBox1");
    input("Edit37")->setVisible(weight);
    input("ComboBox1")->setVisible(weight);
    findChild<QWidget*>(QStringLiteral("Label46"))->setVisible(weight);
    findChild<QWidget*>(QStringLiteral("Label47"))->setVisible(!weight);
}

void TFrmMain::CheckBox1MouseUp() { ShowWeightLabel(); }

void TFrmMain::Edit37Change() {
    try {
        if (!kernel::isNumberText(text("Edit37"))) services_->messageBox("输入内容不是数字");
    } catch (...) {
        // A failure of the check itself must not disturb the typing.
    }
}

void TFrmMain::FormCreate() {
    ProgramDir = QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
    while (ProgramDir.size() > 1 && ProgramDir.back() == '/') ProgramDir.pop_back();
}

void TFrmMain::FormActivate() {
    if (activated_) return;
    activated_ = true;
    const persist::DataFolder folder = persist::dataFolder(ProgramDir);
    dataDir_ = folder.dir.string();
    tankFileMenu_->readRecentFiles(dataDir_);
    {
        // The results come back with the inputs they were made from.
        const auto hold = staleResults_->hold();
        startup_ = persist::loadStartupFiles(*this, folder, ProgramDir);
    }
    ShowWeightLabel();
    if (const std::string message = persist::startupMessage(startup_); !message.empty())
        services_->messageBox(message);
    if (!startupTankFile_.empty()) {
        const std::string path = std::exchange(startupTankFile_, {});
        runHandler([this, &path] { tankFileMenu_->openFile(path); });
    }
}

bool TFrmMain::FormClose() {
    const auto saved = persist::saveShutdownFilesReporting(*this, dataDir_.empty() ? dataDir() : dataDir_, startup_);
    for (const auto& message : saved.notes) services_->messageBox(message);
    for (const auto& failure : saved.failures)
        if (!services_->askCloseAnyway(failure + (endsInFullStop(failure) ? "" : "。") +
                                       "\n关闭后，这次输入的数据不会保存。仍然关闭吗？"))
            return false;
    return true;
}

void TFrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Without a window manager the window may never be activated: the first showing
    // counts as the first activation then.
    QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TFrmMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TFrmMain::closeEvent(QCloseEvent* event) {
    if (!tankFileMenu_->mayClose()) {
        event->ignore();
        return;
    }
    if (!FormClose()) return event->ignore();
    event->accept();
}

} // namespace kelvora::ui
