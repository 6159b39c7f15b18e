#pragma once
// The window's menu bar "文件": 新建, 打开…, 保存, 另存为…, the five tank files used last,
// and 退出. With a tank file open the title names it and its 罐号, marked with "*" while
// the inputs differ from the file, and closing the window or the file with such changes
// asks first (保存 / 不保存 / 取消). A tank begun with 新建 asks the same once typed into
// ("新油罐 *" in the title), its 保存 being 另存为. Otherwise, with no tank file open, the
// title is exactly "Kelvora" and nothing asks: the inputs go to Config.ini at close as
// always. The quick calculation's level is no change to a tank.

#include <QObject>

#include <string>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QTimer;

namespace kelvora::ui {

class TFrmMain;

class TankFileMenu : public QObject {
public:
    // Puts the menu bar above the window's content.
    explicit TankFileMenu(TFrmMain& window);

    // The menu's commands; errors are thrown for the window's general error report.
    void newTank();
    void open();
    void openFile(const std::string& path);
    bool save();
    bool saveAs();

    // Before the window closes: false when the user keeps it open (取消, or a failed save).
    bool mayClose();
    // The list of the tank files used last, from the data folder, once the window knows it.
    void readRecentFiles(const std::string& dataDir);

    const std::string& currentFile() const { return current_; }
    bool changed() const;
    std::vector<std::string> recentFiles() const { return recent_; }
    QMenuBar* menuBar() const { return bar_; }
    // The title for the current file and inputs.
    void refreshTitle();

private:
    // Asks about unsaved changes of an open file; false when the user cancelled.
    bool settleChanges();
    // Opens without asking; a file that cannot be taken leaves inputs and title as they were.
    void load(const std::string& path);
    void setCurrent(const std::string& path);
    void remember(const std::string& path);
    void fillRecentMenu();
    // The file's name, or the name 另存为 proposes for a tank begun with 新建.
    std::string shownName() const;

    TFrmMain& window_;
    QMenuBar* bar_;
    QMenu* recentMenu_ = nullptr;
    QTimer* watch_;
    std::string current_;
    std::string saved_;     // the tank's text (tankContent) when opened, saved or begun
    bool untitled_ = false; // begun with 新建 and not saved to a file since
    std::vector<std::string> recent_;
};

} // namespace kelvora::ui
