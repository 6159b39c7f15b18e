#include "ui/tank_file_menu.h"

#include "capacity/vocabulary.h"
#include "kernel/errors.h"
#include "persist/file_name.h"
#include "persist/io_error.h"
#include "persist/recent_files.h"
#include "persist/settings.h"
#include "persist/tank_file.h"
#include "ui/Unit1.h"
#include "ui/identify_page.h"
#include "ui/tank_changes.h"

#include <QAction>
#include <QFileInfo>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QTimer>

namespace kelvora::ui {

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// A path the dialogs and the command line give, with the tank file's extension.
std::string withExtension(std::string path) {
    if (!QFileInfo(q(path)).fileName().contains(QLatin1Char('.'))) path += persist::kTankFileExtension;
    return path;
}

// Setting the inputs from a file is not typing: the density field's number check, which
// answers each change of Edit37, stays quiet while it is refilled.
template <typename Apply> void quietly(TFrmMain& window, Apply&& apply) {
    const QSignalBlocker blocker(window.findChild<QLineEdit*>(QStringLiteral("Edit37")));
    apply();
}

} // namespace

TankFileMenu::TankFileMenu(TFrmMain& window)
    : QObject(&window), window_(window), bar_(new QMenuBar(&window)), watch_(new QTimer(this)) {
    bar_->setObjectName(QStringLiteral("MainMenu"));
    QMenu* file = bar_->addMenu(QStringLiteral("文件"));
    file->setObjectName(QStringLiteral("FileMenu"));
    auto add = [&](const char* name, const QString& text, QKeySequence keys, auto command) {
        QAction* action = file->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this,
                [this, command] { window_.runHandler([this, command] { command(this); }); });
        return action;
    };
    add("NewTankAction", QStringLiteral("新建"), QKeySequence::New, [](TankFileMenu* m) { m->newTank(); });
    add("OpenTankAction", QStringLiteral("打开…"), QKeySequence::Open, [](TankFileMenu* m) { m->open(); });
    add("SaveTankAction", QStringLiteral("保存"), QKeySequence::Save, [](TankFileMenu* m) { m->save(); });
    add("SaveTankAsAction", QStringLiteral("另存为…"), QKeySequence::SaveAs,
        [](TankFileMenu* m) { m->saveAs(); });
    file->addSeparator();
    recentMenu_ = file->addMenu(QStringLiteral("最近的文件"));
    recentMenu_->setObjectName(QStringLiteral("RecentTankMenu"));
    file->addSeparator();
    add("QuitAction", QStringLiteral("退出"), QKeySequence::Quit,
        [](TankFileMenu* m) { m->window_.close(); });
    if (window.layout()) window.layout()->setMenuBar(bar_);

    fillRecentMenu();
    // The change mark follows the inputs, whichever control or grid cell changed them.
    watch_->setInterval(300);
    connect(watch_, &QTimer::timeout, this, [this] { refreshTitle(); });
}

bool TankFileMenu::changed() const {
    return (!current_.empty() || untitled_) && tankContent(window_) != saved_;
}

std::string TankFileMenu::shownName() const {
    if (!current_.empty()) return QFileInfo(q(current_)).fileName().toStdString();
    return persist::proposedFileName(window_.text("TankNumber"), {}, "油罐") +
           std::string(persist::kTankFileExtension);
}

void TankFileMenu::refreshTitle() {
    const QString program =
        QString::fromUtf8(persist::kMainFormCaption.data(), persist::kMainFormCaption.size());
    if (current_.empty() && !changed()) {
        window_.setWindowTitle(program);
        return;
    }
    QString title = current_.empty() ? QStringLiteral("新油罐") : QFileInfo(q(current_)).fileName();
    const std::string number = window_.text("TankNumber");
    if (!number.empty()) title += QStringLiteral("（罐号 %1）").arg(q(number));
    if (changed()) title += QStringLiteral(" *");
    window_.setWindowTitle(title + QStringLiteral(" - ") + program);
}

bool TankFileMenu::settleChanges() {
    if (!changed()) return true;
    switch (window_.services().askSaveChanges(shownName())) {
    case SaveChanges::Save:
        return save();
    case SaveChanges::Discard:
        return true;
    case SaveChanges::Cancel:
        break;
    }
    return false;
}

void TankFileMenu::setCurrent(const std::string& path) {
    current_ = path;
    if (!path.empty()) untitled_ = false;
    saved_ = tankContent(window_);
    if (path.empty() && !untitled_)
        watch_->stop();
    else
        watch_->start();
    refreshTitle();
}

void TankFileMenu::remember(const std::string& path) {
    const std::string absolute = QFileInfo(q(path)).absoluteFilePath().toStdString();
    recent_ = persist::withRecentFile(recent_, absolute);
    fillRecentMenu();
    try {
        persist::saveRecentFiles(window_.dataDir(), recent_);
    } catch (const Error&) {
        // The list only saves a search; a data folder that cannot take it loses nothing else.
    }
}

void TankFileMenu::fillRecentMenu() {
    recentMenu_->clear();
    int n = 0;
    for (const auto& path : recent_) {
        QAction* action = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(++n).arg(q(path)));
        action->setObjectName(QStringLiteral("RecentTank%1").arg(n));
        connect(action, &QAction::triggered, this,
                [this, path] { window_.runHandler([this, path] { openFile(path); }); });
    }
    recentMenu_->setEnabled(!recent_.empty());
}

void TankFileMenu::newTank() {
    if (!settleChanges()) return;
    quietly(window_, [this] { capacity::resetToStartup(window_); });
    clearResults(window_);
    window_.ShowWeightLabel();
    untitled_ = true; // typed into since, it asks before it is lost like a file
    setCurrent({});
}

void TankFileMenu::open() {
    if (!settleChanges()) return;
    const auto path = window_.services().openDialog({"油罐文件 (*.tank)", "所有文件 (*)"});
    if (path) load(*path);
}

void TankFileMenu::openFile(const std::string& path) {
    if (settleChanges()) load(path);
}

void TankFileMenu::load(const std::string& path) {
    std::vector<std::string> defaults;
    quietly(window_, [&] { defaults = persist::loadTankFile(path, window_); });
    window_.identifyPage()->clearFit();
    window_.ShowWeightLabel();
    setCurrent(path);
    remember(path);
    // A file cut short or written by hand loads, but never silently on defaults.
    if (!defaults.empty()) window_.services().messageBox(persist::defaultsNote(defaults));
}

bool TankFileMenu::save() {
    if (current_.empty()) return saveAs();
    persist::saveTankFile(current_, window_);
    setCurrent(current_);
    remember(current_);
    return true;
}

bool TankFileMenu::saveAs() {
    const std::string proposed = persist::proposedFileName(window_.text("TankNumber"), {}, "油罐");
    const auto path = window_.services().saveDialog({"tank", {"油罐文件 (*.tank)"}, proposed});
    if (!path) return false;
    const std::string target = withExtension(*path);
    persist::saveTankFile(target, window_);
    setCurrent(target);
    remember(target);
    return true;
}

void TankFileMenu::readRecentFiles(const std::string& dataDir) {
    // Never merged with a list made before: nothing is remembered before the window is up.
    recent_ = persist::loadRecentFiles(dataDir);
    fillRecentMenu();
}

bool TankFileMenu::mayClose() {
    try {
        return settleChanges();
    } catch (const std::exception& e) {
        window_.services().errorReport(persist::userMessage(e));
        return false;
    }
}

} // namespace kelvora::ui
