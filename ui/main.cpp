#include "ui/Unit1.h"
#include "ui/UnitGlobal.h"
#include "ui/application.h"
#include "ui/window_placement.h"

#include <QCoreApplication>
#include <QIcon>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv) {
    // Past a file-size limit a write fails with EFBIG, which the save reports, instead of
    // the signal ending the program with the temporary file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
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
    installQtTranslation(app);
    TFrmMain frmMain;
    // `kelvora FILE.tank`, as the desktop opens a tank file with a double-click.
    if (const QStringList args = QCoreApplication::arguments(); args.size() > 1)
        frmMain.openAtStartup(args.at(1).toStdString());
    app.reportError = [&frmMain](const std::string& text) { frmMain.services().errorReport(text); };
    TGlobal global;
    placeWindow(frmMain, availableArea(frmMain));
    frmMain.show();
    return app.exec();
}
