#include "ui/result_field.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QStyle>

#include <cmath>

namespace kelvora::ui {

namespace {

// Qt's line edit keeps this much room on each side of its text inside the frame.
constexpr int kLineEditMargin = 2;
constexpr double kSmallestPixels = 7;

class WholeText : public QObject {
public:
    WholeText(QLineEdit* field, const QString& widest) : QObject(field), field_(field), font_(field->font()) {
        if (!widest.isEmpty())
            field->setMinimumWidth(chrome() + static_cast<int>(std::ceil(advance(font_, widest))));
        connect(field, &QLineEdit::textChanged, this, [this] { fit(); });
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize) fit();
        return false;
    }

private:
    int chrome() const {
        const QMargins text = field_->textMargins();
        const int frame = field_->hasFrame()
                              ? field_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, field_)
                              : 0;
        // One more pixel on the right for the cursor after the last character.
        return 2 * frame + 2 * kLineEditMargin + text.left() + text.right() + 1;
    }

    static double advance(const QFont& font, const QString& text) {
        return QFontMetricsF(font).horizontalAdvance(text);
    }

    void fit() {
        const double room = field_->width() - chrome();
        const QString text = field_->text();
        QFont font = font_;
        const bool points = font.pointSizeF() > 0;
        double size = points ? font.pointSizeF() : font.pixelSize();
        const double step = points ? 0.25 : 1;
        const double smallest = points ? kSmallestPixels * 72 / field_->logicalDpiY() : kSmallestPixels;
        while (advance(font, text) > room && size - step >= smallest) {
            size -= step;
            if (points)
                font.setPointSizeF(size);
            else
                font.setPixelSize(static_cast<int>(size));
        }
        if (font != field_->font()) field_->setFont(font);
    }

    QLineEdit* field_;
    QFont font_;
};

} // namespace

void showWholeText(QLineEdit* field, const QString& widest) {
    new WholeText(field, widest);
}

} // namespace kelvora::ui
