#include "ui/page_parts.h"

#include "capacity/page_inputs.h"
#include "ui/Unit1.h"
#include "ui/field_edit.h"

#include <QChart>
#include <QLegend>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QValueAxis>

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

} // namespace kelvora::ui
