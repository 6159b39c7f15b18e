#include "ui/Unit1.h"
#include "ui/UnitGlobal.h"
#include "ui/application.h"

#include <QCoreApplication>
#include <QIcon>

#include <cstdio>

int main(int argc, char** argv) {
    using namespace kelvora::ui;
    if (!displayAvailable()) {
        std::fprintf(stderr, "kelvora: no display to open the window on (DISPLAY is not set)\n");
        return 1;
    }
    KelvoraApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvora"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kelvora"));
    QGuiApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("kelvora"), QIcon(QStringLiteral(":/icons/kelvora.png"))));
    installFontSubstitutes();
    TFrmMain frmMain;
    app.reportError = [&frmMain](const std::string& text) { frmMain.services().errorReport(text); };
    TGlobal global;
    frmMain.move(198, 144);
    frmMain.show();
    return app.exec();
}
