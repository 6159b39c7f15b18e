#include "ui/wait_cursor.h"

#include <QApplication>

namespace kelvora::ui {

// Override cursors stack, so nested guards each take down only their own.
WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

} // namespace kelvora::ui
