#pragma once
// The help's pages shown by the window itself: the contents of the compiled help (its
// help.hhc) beside the page, with 后退, 前进 and 首页. The pages are the HTML the build
// makes with help.chm, in UTF-8 (help/stage.py); no viewer outside the program is needed.

#include <QString>
#include <QWidget>

#include <vector>

class QTextBrowser;
class QTreeWidget;

namespace kelvora::ui {

// One entry of the contents: its caption, its page (relative, "table.html#dead") and its
// depth (0 for the top level).
struct HelpTopic {
    QString name, page;
    int depth = 0;
};

// The entries of a help.hhc's text, in order; none for a text without any.
std::vector<HelpTopic> readHelpContents(const QString& hhc);

class HelpWindow : public QWidget {
public:
    // A window of its own, owned by `owner` and closed with it.
    explicit HelpWindow(QWidget* owner);

    // Shows the pages whose first page is `index` (its folder's help.hhc as the contents).
    void showPages(const QString& index);

    QTextBrowser* browser() const { return browser_; }
    QTreeWidget* contents() const { return contents_; }

private:
    QTextBrowser* browser_;
    QTreeWidget* contents_;
    QString index_;
};

// "帮助" with the pages found: the window's help window, made at the first call, shows them.
HelpWindow* showHelpPages(QWidget& owner, const QString& index);

} // namespace kelvora::ui
