#pragma once
// An edit field that takes only what its input allows, whichever way the text comes in.
// A numeric field (the key filters of the input table) takes a paste or a drop only when
// it is a plain decimal of the field's kind, digits or digits with one point, blanks
// around it trimmed and full-width digits read as ASCII; anything else leaves the field
// as it was. A field with a length limit stops taking input at that many characters
// (Unicode code points): typing, input-method commits, pastes and drops are cut to the
// room left. Text the program puts in (the settings file) is taken as it is. The editing
// shortcuts work in every field: Ctrl+A, Ctrl+C, Ctrl+X, Ctrl+V (checked like any paste)
// and Ctrl+Z.

#include "ui/controls.h"

#include <QClipboard>
#include <QLineEdit>

#include <optional>
#include <string_view>

class QMenu;

namespace kelvora::ui {

class TEdit : public QLineEdit {
public:
    explicit TEdit(QWidget* parent) : QLineEdit(parent) {}

    // The key filter and the length limit the input tables give the input `name`.
    void followInput(std::string_view name);

    // Digits or digits and the point, through the key filter of that mode.
    void setKeyFilter(KeyFilter::Mode mode);
    // At most `codePoints` characters by typing or pasting; 0 for no limit.
    void setMaxCodePoints(qsizetype codePoints) { maxCodePoints_ = codePoints; }
    qsizetype maxCodePoints() const { return maxCodePoints_; }

    // The text a paste or drop of `text` puts in, or nothing when the field refuses it.
    std::optional<QString> acceptable(const QString& text) const;
    // The clipboard's text (or the selection's) put in as a paste, when acceptable.
    void pasteChecked(QClipboard::Mode mode = QClipboard::Clipboard);
    // The field's context menu, its "Paste" going through pasteChecked.
    QMenu* contextMenu();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // `text` cut to the room the limit leaves beside the text that stays.
    QString fitted(const QString& text) const;

    std::optional<KeyFilter::Mode> mode_;
    qsizetype maxCodePoints_ = 0;
};

} // namespace kelvora::ui
