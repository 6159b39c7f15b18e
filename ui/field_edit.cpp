#include "ui/field_edit.h"

#include "capacity/page_inputs.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

namespace kelvora::ui {

namespace {

qsizetype codePoints(const QString& text) {
    qsizetype n = 0;
    for (const QChar c : text)
        if (!c.isLowSurrogate()) ++n;
    return n;
}

// Digits, with at most one point among them in the point mode; at least one digit.
bool isPlainNumber(const QString& text, KeyFilter::Mode mode) {
    int digits = 0, points = 0;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            ++digits;
        else if (c == QLatin1Char('.') && mode == KeyFilter::Mode::DigitsPoint)
            ++points;
        else
            return false;
    }
    return digits > 0 && points <= 1;
}

} // namespace

void TEdit::followInput(std::string_view name) {
    const capacity::InputInfo* info = capacity::findAnyInput(name);
    if (info && info->filter != capacity::KeyFilter::None)
        setKeyFilter(info->filter == capacity::KeyFilter::Digits ? KeyFilter::Mode::Digits
                                                                 : KeyFilter::Mode::DigitsPoint);
    setMaxCodePoints(static_cast<qsizetype>(capacity::maxTextLength(name)));
}

void TEdit::setKeyFilter(KeyFilter::Mode mode) {
    mode_ = mode;
    auto* filter = new KeyFilter(mode, this);
    filter->passEditingShortcuts();
    installEventFilter(filter);
    setInputMethodHints(mode == KeyFilter::Mode::Digits ? Qt::ImhDigitsOnly : Qt::ImhFormattedNumbersOnly);
}

QString TEdit::fitted(const QString& text) const {
    if (maxCodePoints_ <= 0) return text;
    qsizetype room = maxCodePoints_ - codePoints(this->text()) + codePoints(selectedText());
    qsizetype end = 0;
    for (; end < text.size() && room > 0; ++end)
        if (!text[end].isHighSurrogate()) --room;
    if (end < text.size() && text[end].isLowSurrogate()) ++end;
    return text.left(end);
}

std::optional<QString> TEdit::acceptable(const QString& text) const {
    if (mode_) {
        const QString number = KeyFilter::asciiDigits(text).trimmed();
        if (!isPlainNumber(number, *mode_)) return std::nullopt;
        return fitted(number);
    }
    return fitted(text);
}

void TEdit::pasteChecked(QClipboard::Mode mode) {
    if (isReadOnly()) return;
    const auto text = acceptable(QGuiApplication::clipboard()->text(mode));
    if (text && !text->isEmpty()) insert(*text);
}

QMenu* TEdit::contextMenu() {
    QMenu* menu = createStandardContextMenu();
    // Qt's "Paste" is known by its text; it is named here so that it can be found again.
    for (QAction* action : menu->actions()) {
        if (!action->text().startsWith(QLineEdit::tr("&Paste"))) continue;
        action->setObjectName(QStringLiteral("edit-paste"));
        action->disconnect(this);
        connect(action, &QAction::triggered, this, [this] { pasteChecked(); });
    }
    return menu;
}

void TEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        pasteChecked();
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.front().isPrint() && fitted(typed) != typed) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString kept = fitted(event->commitString());
    if (kept == event->commitString()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&cut);
}

void TEdit::mouseReleaseEvent(QMouseEvent* event) {
    // The middle button pastes the selection on X11: the same check as any paste.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        deselect();
        pasteChecked(QClipboard::Selection);
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = contextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TEdit::dropEvent(QDropEvent* event) {
    // Text moved within the field is the field's own; text from elsewhere counts as a paste.
    if (event->source() != this && event->mimeData()->hasText()) {
        const QString text = event->mimeData()->text();
        const auto kept = acceptable(text);
        if (!kept || *kept != text) {
            event->ignore();
            return;
        }
    }
    QLineEdit::dropEvent(event);
}

} // namespace kelvora::ui
