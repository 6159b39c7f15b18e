#pragma once
// The application object: the general error report for every error that escapes an
// event handler, and the font substitutes for the faces the window names.

#include <QApplication>

#include <functional>
#include <string>

namespace kelvora::ui {

class KelvoraApplication : public QApplication {
public:
    KelvoraApplication(int& argc, char** argv);
    // The handler ends, the error is reported, the window stays usable.
    bool notify(QObject* receiver, QEvent* event) override;
    std::function<void(const std::string&)> reportError;
};

// "宋体" and "MS Sans Serif" resolve to installed CJK faces, so no text shows as boxes.
void installFontSubstitutes();

// Qt's own texts (dialog buttons, file dialog labels) in Chinese, from Qt's installed
// qtbase_zh_CN translation; false when it is not installed (the texts stay English).
bool installQtTranslation(QCoreApplication& app);

// True when there is a display to open a window on (or a platform chosen explicitly).
bool displayAvailable();

} // namespace kelvora::ui
