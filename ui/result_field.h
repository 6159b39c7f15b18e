#pragma once
// A result field shows every character of its result, whatever the window's size: at the
// field's own font when the text fits, otherwise at the largest smaller size at which it
// does, so the first digits are never scrolled out of sight.

class QLineEdit;
class QString;

namespace kelvora::ui {

// `field` keeps fitting its text from now on, on every change of the text or the size.
// `widest` is the widest result it is expected to hold: a field in a layout is never made
// narrower than that text at its own font; empty for a field placed by hand.
void showWholeText(QLineEdit* field, const QString& widest);

} // namespace kelvora::ui
