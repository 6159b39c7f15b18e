#include "ui/Unit1.h"
#include "ui/UnitGlobal.h"
#include "ui/application.h"
#include "ui/window_placement.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    using namespace kelvora::ui;
    if (!displayAvailable()) {
        std::fprintf(stderr, "kelvora: no display to open the window on (DISPLAY is not set)\n");
        return 1;
    }
    KelvoraApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvora"));
    installFontSubstitutes();
    installQtTranslation(app);
    TFrmMain frmMain;
    app.reportError = [&frmMain](const std::string& text) { frmMain.services().errorReport(text); };
    TGlobal global;
    placeWindow(frmMain, availableArea(frmMain));
    frmMain.show();
    return app.exec();
}
