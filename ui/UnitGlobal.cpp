#include "ui/UnitGlobal.h"

namespace kelvora::ui {

std::string ConfigPath;

TGlobal::TGlobal(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Global"));
    setWindowTitle(QStringLiteral("Global"));
    setGeometry(184, 164, 696, 480);
}

} // namespace kelvora::ui
