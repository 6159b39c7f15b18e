#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace kelvora::ui {

namespace {

// The designed bounds hold a client area of 1167 by 760.
constexpr QSize kFrame{16, 38};

} // namespace

QRect clampToArea(const QRect& wanted, const QRect& available) {
    if (!available.isValid()) return wanted;
    const int w = std::min(wanted.width(), available.width());
    const int h = std::min(wanted.height(), available.height());
    const int x = std::clamp(wanted.x(), available.left(), available.left() + available.width() - w);
    const int y = std::clamp(wanted.y(), available.top(), available.top() + available.height() - h);
    return {x, y, w, h};
}

void placeWindow(QWidget& window, const QRect& available) {
    const QRect bounds = clampToArea(kDesignedBounds, available);
    window.move(bounds.topLeft());
    window.resize(bounds.size() - kFrame);
}

QRect availableArea(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace kelvora::ui
