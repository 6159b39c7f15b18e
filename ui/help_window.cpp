#include "ui/help_window.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace kelvora::ui {

std::vector<HelpTopic> readHelpContents(const QString& hhc) {
    // Each entry is an <OBJECT type="text/sitemap"> with its Name and Local; its depth is
    // the number of <UL> open around it, the outermost list being the top level.
    static const QRegularExpression token(
        QStringLiteral("<\\s*(/?)\\s*ul\\b[^>]*>|<object\\s+type=\"text/sitemap\"\\s*>(.*?)</object>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression param(
        QStringLiteral("<param\\s+name=\"(\\w+)\"\\s+value=\"([^\"]*)\"\\s*/?>"),
        QRegularExpression::CaseInsensitiveOption);
    std::vector<HelpTopic> topics;
    int lists = 0;
    for (auto it = token.globalMatch(hhc); it.hasNext();) {
        const auto match = it.next();
        if (match.capturedStart(2) < 0) { // a list opened or closed
            lists += match.captured(1).isEmpty() ? 1 : -1;
            continue;
        }
        HelpTopic topic;
        topic.depth = std::max(lists - 1, 0);
        for (auto p = param.globalMatch(match.captured(2)); p.hasNext();) {
            const auto field = p.next();
            if (field.captured(1).compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
                topic.name = field.captured(2);
            else if (field.captured(1).compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0)
                topic.page = field.captured(2);
        }
        if (!topic.name.isEmpty() && !topic.page.isEmpty()) topics.push_back(topic);
    }
    return topics;
}

HelpWindow::HelpWindow(QWidget* owner)
    : QWidget(owner, Qt::Window), browser_(new QTextBrowser(this)), contents_(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Kelvora 帮助"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* back = new QPushButton(QStringLiteral("后退"), this);
    back->setObjectName(QStringLiteral("HelpBack"));
    auto* forward = new QPushButton(QStringLiteral("前进"), this);
    forward->setObjectName(QStringLiteral("HelpForward"));
    auto* home = new QPushButton(QStringLiteral("首页"), this);
    home->setObjectName(QStringLiteral("HelpHome"));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(home, &QPushButton::clicked, browser_, &QTextBrowser::home);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    // Addresses on the web open in the desktop's browser; the pages' own links stay here.
    browser_->setOpenExternalLinks(true);
    contents_->setObjectName(QStringLiteral("HelpContents"));
    contents_->setHeaderHidden(true);
    connect(contents_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { browser_->setSource(item->data(0, Qt::UserRole).toUrl()); });
    connect(contents_, &QTreeWidget::itemClicked, contents_, &QTreeWidget::itemActivated);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        if (!browser_->documentTitle().isEmpty()) setWindowTitle(browser_->documentTitle());
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(home);
    buttons->addStretch(1);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 600});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    // Fits a 1024×768 desktop with the main window's frame beside it.
    resize(820, 600);
}

void HelpWindow::showPages(const QString& index) {
    if (index != index_) {
        index_ = index;
        const QDir folder = QFileInfo(index).absoluteDir();
        contents_->clear();
        QFile hhc(folder.filePath(QStringLiteral("help.hhc")));
        std::vector<QTreeWidgetItem*> parents;
        if (hhc.open(QIODevice::ReadOnly))
            for (const HelpTopic& topic : readHelpContents(QString::fromUtf8(hhc.readAll()))) {
                parents.resize(std::min<std::size_t>(parents.size(), static_cast<std::size_t>(topic.depth)));
                auto* item =
                    parents.empty() ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(parents.back());
                item->setText(0, topic.name);
                const auto hash = topic.page.indexOf(QLatin1Char('#'));
                QUrl page = QUrl::fromLocalFile(folder.filePath(topic.page.left(hash)));
                if (hash >= 0) page.setFragment(topic.page.mid(hash + 1));
                item->setData(0, Qt::UserRole, page);
                parents.push_back(item);
            }
        contents_->expandAll();
        contents_->setVisible(contents_->topLevelItemCount() > 0);
        browser_->clearHistory();
        browser_->setSource(QUrl::fromLocalFile(index));
    }
    show();
    raise();
    activateWindow();
}

HelpWindow* showHelpPages(QWidget& owner, const QString& index) {
    // HelpWindow has no meta-object of its own: found by its name, checked by its type.
    auto* help = dynamic_cast<HelpWindow*>(
        owner.findChild<QWidget*>(QStringLiteral("HelpWindow"), Qt::FindDirectChildrenOnly));
    if (!help) help = new HelpWindow(&owner);
    help->showPages(index);
    return help;
}

} // namespace kelvora::ui
