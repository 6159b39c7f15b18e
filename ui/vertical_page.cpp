#include "ui/vertical_page.h"

#include "capacity/page_inputs.h"
#include "capacity/vertical_description.h"
#include "ui/Unit1.h"
#include "ui/input_group.h"
#include "ui/page_parts.h"
#include "vertical/vertical_text.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>

namespace kelvora::ui {

namespace {

struct ListColumns {
    std::string_view input;
    const char* caption;
    QStringList headings;
};

std::array<ListColumns, 3> lists() {
    using namespace capacity::vertical_input;
    return {{{kCourses, "圈板", {"高度 mm", "周长 mm", "板厚 mm", "修正值 mm"}},
             {kBottom, "罐底点", {"高度 mm", "容积 L"}},
             {kDeadwood, "罐内附件", {"起点 mm", "终点 mm", "容积 L"}}}};
}

std::string toStd(const QString& s) {
    return s.toUtf8().toStdString();
}

} // namespace

VerticalPage::VerticalPage(TFrmMain& window, QTabWidget* structurePages)
    : QWidget(structurePages), window_(window) {
    setObjectName(QString::fromUtf8(capacity::kVerticalPageName.data()));
    QWidget* content = scrollingContent(this, QStringLiteral("VerticalPage"));
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(2, 2, 2, 2);
    using namespace capacity::vertical_input;
    static constexpr std::string_view kFields[] = {kTilt,      kDensity,  kRoofMass,
                                                   kRoofFloat, kRoofRest, kReferenceHeight};
    layout->addWidget(buildInputGroup(content, QString(), kFields, 1, [this](QWidget* w, const char* name) {
        registerPageInput(window_, w, name);
    }));
    auto* row = new QHBoxLayout;
    summary_ = new QLabel(content);
    summary_->setObjectName(QStringLiteral("VerticalSummary"));
    auto* edit = new QPushButton(QStringLiteral("圈板…"), content);
    edit->setObjectName(QStringLiteral("VerticalListsButton"));
    edit->setToolTip(QStringLiteral("圈板、罐底点和罐内附件的表格"));
    row->addWidget(summary_, 1);
    row->addWidget(edit);
    layout->addLayout(row);
    // The lists' own inputs: the dialog's grids show and change them.
    for (const auto& list : lists()) {
        auto* hidden = new QLineEdit(content);
        hidden->setVisible(false);
        hidden->setToolTip(QString::fromUtf8(capacity::findPageInput(list.input)->hint.data()));
        registerPageInput(window_, hidden, list.input.data());
        connect(hidden, &QLineEdit::textChanged, this, [this] { updateSummary(); });
    }
    connect(edit, &QPushButton::clicked, this, [this] { editLists(); });
    structurePages->addTab(this, QStringLiteral("立式圆筒"));
    updateSummary();
}

void VerticalPage::editLists() {
    VerticalListsDialog dialog(window_, this);
    if (dialog.exec() == QDialog::Accepted) dialog.apply();
}

void VerticalPage::updateSummary() {
    using namespace capacity::vertical_input;
    auto count = [this](std::string_view name) {
        return static_cast<int>(vertical::splitEntries(window_.text(name)).size());
    };
    summary_->setText(QStringLiteral("%1 圈板，%2 个罐底点，%3 段附件")
                          .arg(count(kCourses))
                          .arg(count(kBottom))
                          .arg(count(kDeadwood)));
}

VerticalListsDialog::VerticalListsDialog(TFrmMain& window, QWidget* parent)
    : QDialog(parent), window_(window) {
    setObjectName(QStringLiteral("VerticalListsDialog"));
    setWindowTitle(QStringLiteral("立式圆筒：圈板、罐底点、罐内附件"));
    auto* layout = new QVBoxLayout(this);
    auto* tabs = new QTabWidget(this);
    const auto all = lists();
    for (int k = 0; k < 3; ++k) {
        auto* page = new QWidget(tabs);
        auto* pageLayout = new QVBoxLayout(page);
        auto* grid = new QTableWidget(0, static_cast<int>(all[k].headings.size()), page);
        grid->setObjectName(QString::fromUtf8(all[k].input.data()) + QStringLiteral("Grid"));
        grid->setHorizontalHeaderLabels(all[k].headings);
        grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        for (const auto& entry : vertical::splitEntries(window_.text(all[k].input))) {
            const int r = grid->rowCount();
            grid->insertRow(r);
            for (std::size_t c = 0; c < entry.size() && static_cast<int>(c) < grid->columnCount(); ++c)
                grid->setItem(r, static_cast<int>(c),
                              new QTableWidgetItem(QString::fromUtf8(entry[c].c_str())));
        }
        grids_[k] = grid;
        auto* buttons = new QHBoxLayout;
        auto* add = new QPushButton(QStringLiteral("添加行"), page);
        auto* remove = new QPushButton(QStringLiteral("删除行"), page);
        auto* paste = new QPushButton(QStringLiteral("粘贴"), page);
        paste->setToolTip(QStringLiteral("从电子表格复制的行（以制表符或逗号分列）插到当前行之后"));
        for (auto* b : {add, remove, paste})
            buttons->addWidget(b);
        buttons->addStretch(1);
        connect(add, &QPushButton::clicked, grid, [grid] { grid->insertRow(grid->currentRow() + 1); });
        connect(remove, &QPushButton::clicked, grid, [grid] {
            if (grid->currentRow() >= 0) grid->removeRow(grid->currentRow());
        });
        connect(paste, &QPushButton::clicked, this,
                [this, grid] { pasteRows(grid, QApplication::clipboard()->text()); });
        pageLayout->addWidget(grid);
        pageLayout->addLayout(buttons);
        tabs->addTab(page, QString::fromUtf8(all[k].caption));
    }
    layout->addWidget(tabs);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
    resize(560, 420);
}

void VerticalListsDialog::pasteRows(QTableWidget* grid, const QString& text) {
    int r = grid->currentRow() + 1;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty()) continue;
        const QStringList cells =
            trimmed.split(trimmed.contains(QLatin1Char('\t')) ? QLatin1Char('\t') : QLatin1Char(','));
        grid->insertRow(r);
        for (int c = 0; c < cells.size() && c < grid->columnCount(); ++c)
            grid->setItem(r, c, new QTableWidgetItem(cells[c].trimmed()));
        ++r;
    }
}

void VerticalListsDialog::apply() {
    const auto all = lists();
    for (int k = 0; k < 3; ++k) {
        std::vector<std::vector<std::string>> entries;
        for (int r = 0; r < grids_[k]->rowCount(); ++r) {
            std::vector<std::string> fields;
            for (int c = 0; c < grids_[k]->columnCount(); ++c) {
                const QTableWidgetItem* item = grids_[k]->item(r, c);
                fields.push_back(item ? toStd(item->text().trimmed()) : std::string());
            }
            // Trailing empty cells are an optional field not given; an empty row is no entry.
            while (!fields.empty() && fields.back().empty())
                fields.pop_back();
            if (!fields.empty()) entries.push_back(std::move(fields));
        }
        window_.setText(all[k].input, vertical::joinEntries(entries));
    }
}

} // namespace kelvora::ui
