#pragma once
// Where the window first opens: at its designed bounds where the screen's available area
// holds them, otherwise moved and shrunk just enough to lie wholly inside it (a 1366×768
// laptop has no room for 798 pixels of height below top 144).

#include <QRect>

class QScreen;
class QWidget;

namespace kelvora::ui {

// The window's designed outer bounds, title bar and borders included.
inline constexpr QRect kDesignedBounds{198, 144, 1183, 798};

// `wanted` moved, then shrunk where it is larger, to lie inside `available`; unchanged
// when it already does. An empty `available` (no screen known) changes nothing.
QRect clampToArea(const QRect& wanted, const QRect& available);

// Places `window` at the designed bounds clamped to `available`. The frame is not known
// before the first show, so the bounds go to move() and the client size is the outer size
// less the frame the designed bounds assume (16 by 38 pixels).
void placeWindow(QWidget& window, const QRect& available);

// The available area of the screen the window opens on; empty when there is none.
QRect availableArea(const QWidget& window);

} // namespace kelvora::ui
