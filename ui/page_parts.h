#pragma once
// What the pages of PageControl2 beyond the figures share: a content area that scrolls
// rather than widen the window, inputs registered with the window by component name,
// their labels from the page input table, and chart axes with small labels that fit a
// narrow chart whole.

#include <QString>

#include <initializer_list>
#include <string_view>

class QAbstractButton;
class QChart;
class QLineEdit;
class QValueAxis;
class QWidget;

namespace kelvora::ui {

class TFrmMain;

QString qtText(std::string_view s);

// The label of a page input in the page input table; empty for other names.
QString pageInputLabel(const char* name);

// Fills `page` with a frameless scroll area named `<prefix>Scroll` and returns the content
// widget inside it, named `<prefix>Content`, for the page's layout.
QWidget* scrollingContent(QWidget* page, const QString& prefix);

// The widget's object and accessible names become `name`, and the window reaches it by it.
void registerPageInput(TFrmMain& window, QWidget* widget, const char* name);

// The legend and the axes' labels and titles in a 10-pixel font, five ticks per axis.
void useSmallChartFonts(QChart* chart, std::initializer_list<QValueAxis*> axes, const QWidget* fontSource);

// Enter in `field` clicks `button`. Installed after the field's key filter, which refuses
// every key but the digits, it sees the key first.
void clickOnEnter(QLineEdit* field, QAbstractButton* button);

// Labels in plain decimals, as many as the axis's current ticks need (set after its range).
void usePlainLabels(QValueAxis* axis);
// The axis spans exactly [low, high], its ticks at round multiples of a nice step.
void spanExactly(QValueAxis* axis, double low, double high, int intervals = 6);

} // namespace kelvora::ui
