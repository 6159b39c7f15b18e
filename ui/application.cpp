#include "ui/application.h"

#include "kernel/errors.h"
#include "persist/io_error.h"

#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdlib>
#include <exception>

namespace kelvora::ui {

KelvoraApplication::KelvoraApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool KelvoraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (reportError) reportError(persist::userMessage(e));
    } catch (...) {
        if (reportError) reportError("程序内部错误，无法完成这项操作");
    }
    return false;
}

void installFontSubstitutes() {
    // Noto CJK draws Latin letters and digits as well as Chinese; the Song-style face of
    // Debian's older fonts reads "Excel" as "Exce1". WenQuanYi stays behind as a fallback.
    const QString serif = QStringLiteral("Noto Serif CJK SC");
    const QString sans = QStringLiteral("Noto Sans CJK SC");
    const QString fallback = QStringLiteral("WenQuanYi Micro Hei");
    QFont::insertSubstitutions(QStringLiteral("宋体"), {serif, fallback});
    QFont::insertSubstitutions(QStringLiteral("SimSun"), {serif, fallback});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {sans, fallback});
}

bool installQtTranslation(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

bool displayAvailable() {
    auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v && *v;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

} // namespace kelvora::ui
