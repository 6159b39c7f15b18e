#pragma once
// What the window needs of the desktop: message boxes, the general error report, the save
// dialog, the document opener and the clipboard. The window reaches them only through
// this interface, so tests answer them with a recording double.

#include <QImage>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QPrinter;
class QWidget;

namespace kelvora::ui {

struct SaveDialogRequest {
    std::string defaultExtension;     // "xls", without the point
    std::vector<std::string> filters; // "*.xls", "*.xlsx": the first is offered first
    std::string fileName;             // proposed name, without extension
};

// The answer to "save the changes?" before a tank file is closed.
enum class SaveChanges { Save, Discard, Cancel };

class WindowServices {
public:
    virtual ~WindowServices() = default;

    // Modal, one OK button, titled with the application's title.
    virtual void messageBox(const std::string& text) = 0;
    // Modal, caption "提示", information icon.
    virtual void informationBox(const std::string& text) = 0;
    // Modal, error icon, the application's title; `text` already ends in a full stop.
    virtual void errorBox(const std::string& text) = 0;
    // The chosen full path, or nothing when cancelled.
    virtual std::optional<std::string> saveDialog(const SaveDialogRequest& request) = 0;
    // The chosen existing file's full path, or nothing when cancelled; `filters` as
    // "记录文件 (*.csv *.xls)", the first offered first.
    virtual std::optional<std::string> openDialog(const std::vector<std::string>& filters) = 0;
    // Modal, 保存 / 不保存 / 取消, naming the file whose changes would be lost.
    virtual SaveChanges askSaveChanges(const std::string& fileName) = 0;
    // Modal, 关闭 / 取消, after `text` says what would be lost: true to close anyway.
    virtual bool askCloseAnyway(const std::string& text) = 0;
    // A whole number from `min` to `max`, `value` proposed; nothing when cancelled.
    virtual std::optional<int> askNumber(const std::string& label, int value, int min, int max) = 0;
    // Modal, 是 / 否, the application's title; true for 是.
    virtual bool askYesNo(const std::string& question) = 0;
    // Opens a document with the desktop's viewer; false when that failed.
    virtual bool openDocument(const std::string& path) = 0;
    virtual void setClipboardImage(const QImage& image) = 0;
    virtual QImage clipboardImage() = 0;
    // The system's print dialog over `printer`; false when cancelled.
    virtual bool printDialog(QPrinter& printer) = 0;

    // The general error report of an error that escaped a handler.
    void errorReport(const std::string& text);
};

// The application's title: the executable's file name without extension.
std::string applicationTitle();

// The desktop's own boxes and dialogs, owned by `parent`.
class QtWindowServices : public WindowServices {
public:
    explicit QtWindowServices(QWidget* parent) : parent_(parent) {}
    void messageBox(const std::string& text) override;
    void informationBox(const std::string& text) override;
    void errorBox(const std::string& text) override;
    std::optional<std::string> saveDialog(const SaveDialogRequest& request) override;
    std::optional<std::string> openDialog(const std::vector<std::string>& filters) override;
    SaveChanges askSaveChanges(const std::string& fileName) override;
    bool askCloseAnyway(const std::string& text) override;
    std::optional<int> askNumber(const std::string& label, int value, int min, int max) override;
    bool askYesNo(const std::string& question) override;
    bool openDocument(const std::string& path) override;
    void setClipboardImage(const QImage& image) override;
    QImage clipboardImage() override;
    bool printDialog(QPrinter& printer) override;

private:
    QWidget* parent_;
    QString lastFolder_; // of the last confirmed file dialog; empty before the first
};

} // namespace kelvora::ui
