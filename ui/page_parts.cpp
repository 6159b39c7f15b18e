#include "ui/page_parts.h"

#include "capacity/page_inputs.h"
#include "capacity/table_curve.h"
#include "ui/Unit1.h"
#include "ui/field_edit.h"

#include <QAbstractButton>
#include <QChart>
#include <QKeyEvent>
#include <QLegend>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace kelvora::ui {

QString qtText(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QString pageInputLabel(const char* name) {
    const capacity::InputInfo* info = capacity::findPageInput(name);
    return info ? qtText(info->label) : QString();
}

QWidget* scrollingContent(QWidget* page, const QString& prefix) {
    // The page scrolls rather than widen the window: the window keeps the minimum size it
    // has without the page.
    auto* scroll = new QScrollArea(page);
    scroll->setObjectName(prefix + QStringLiteral("Scroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    auto* content = new QWidget(scroll);
    content->setObjectName(prefix + QStringLiteral("Content"));
    scroll->setWidget(content);
    return content;
}

void registerPageInput(TFrmMain& window, QWidget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    widget->setAccessibleName(QLatin1String(name));
    if (auto* edit = dynamic_cast<TEdit*>(widget)) edit->followInput(name);
    window.registerInput(name, widget);
}

void useSmallChartFonts(QChart* chart, std::initializer_list<QValueAxis*> axes, const QWidget* fontSource) {
    QFont small = fontSource->font();
    small.setPixelSize(10);
    chart->legend()->setFont(small);
    for (QValueAxis* axis : axes) {
        axis->setLabelsFont(small);
        axis->setTitleFont(small);
        axis->setTickCount(5);
    }
}

namespace {

class EnterClicks : public QObject {
public:
    EnterClicks(QAbstractButton* button, QObject* parent) : QObject(parent), button_(button) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (button_->isEnabled()) button_->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QAbstractButton* button_;
};

} // namespace

void clickOnEnter(QLineEdit* field, QAbstractButton* button) {
    field->installEventFilter(new EnterClicks(button, field));
}

void usePlainLabels(QValueAxis* axis) {
    const double step = axis->tickType() == QValueAxis::TicksDynamic
                            ? axis->tickInterval()
                            : (axis->max() - axis->min()) / std::max(axis->tickCount() - 1, 1);
    // The minor step of a dynamic axis is its anchor's too: labels fall on multiples of it.
    axis->setLabelFormat(QStringLiteral("%.%1f").arg(capacity::labelDecimals(step)));
}

void spanExactly(QValueAxis* axis, double low, double high, int intervals) {
    if (!(high > low)) high = low + 1;
    const double step = capacity::niceStep(high - low, intervals);
    axis->setRange(low, high);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(step);
    usePlainLabels(axis);
}

} // namespace kelvora::ui
