#include "ui/controls.h"

#include "ui/grid_keyboard.h"

#include <QApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

namespace kelvora::ui {

namespace {

GridShape gridShape(const StringGridModel& model) {
    const capacity::StringGrid& grid = model.grid();
    return {grid.rowCount(), grid.colCount(), grid.fixedRows(), grid.fixedCols()};
}

} // namespace

TRadioButton::TRadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {
    setAutoExclusive(false);
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        if (!on || !parentWidget()) return;
        for (auto* other : parentWidget()->findChildren<TRadioButton*>(QString(), Qt::FindDirectChildrenOnly))
            if (other != this) other->setChecked(false);
    });
}

void TRadioButton::nextCheckState() {
    if (!isChecked()) setChecked(true);
}

void TRadioButton::mouseReleaseEvent(QMouseEvent* event) {
    QRadioButton::mouseReleaseEvent(event);
    if (onMouseUp) onMouseUp();
}

void TCheckBox::mouseReleaseEvent(QMouseEvent* event) {
    QCheckBox::mouseReleaseEvent(event);
    if (onMouseUp) onMouseUp();
}

bool KeyFilter::passes(Mode mode, const QString& typed) {
    if (typed.size() != 1) return typed.isEmpty();
    const QChar c = typed.front();
    if (c == QChar(8) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'))) return true;
    return mode == Mode::DigitsPoint && c == QLatin1Char('.');
}

QString KeyFilter::asciiDigits(QString text) {
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u >= u'０' && u <= u'９') c = QLatin1Char(static_cast<char>('0' + (u - u'０')));
        else if (u == u'．' || u == u'。' || u == u'｡') c = QLatin1Char('.');
    }
    return text;
}

bool KeyFilter::isEditingShortcut(const QKeyEvent* key) {
    for (const auto shortcut : {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut,
                                QKeySequence::Paste, QKeySequence::Undo, QKeySequence::Redo})
        if (key->matches(shortcut)) return true;
    return false;
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (editingShortcuts_ && isEditingShortcut(key)) return false;
        switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete: return false;
        default: break;
        }
        QString typed = key->text();
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) typed = QStringLiteral("\r");
        if (key->key() == Qt::Key_Escape) typed = QStringLiteral("\x1b");
        const QString ascii = asciiDigits(typed);
        if (ascii != typed && passes(mode_, ascii)) {
            QKeyEvent converted(QEvent::KeyPress, key->key(), key->modifiers(), ascii, key->isAutoRepeat());
            QCoreApplication::sendEvent(watched, &converted);
            return true;
        }
        if (!passes(mode_, typed)) return true;
    } else if (event->type() == QEvent::InputMethod) {
        // The composition shows as it is; of the committed text only what a key may type.
        auto* im = static_cast<QInputMethodEvent*>(event);
        QString kept;
        for (const QChar c : asciiDigits(im->commitString()))
            if (c != QChar(8) && passes(mode_, QString(c))) kept += c;
        if (kept != im->commitString()) {
            QInputMethodEvent filtered(im->preeditString(), im->attributes());
            filtered.setCommitString(kept, im->replacementStart(), im->replacementLength());
            QCoreApplication::sendEvent(watched, &filtered);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

int StringGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : grid_.rowCount(); }

int StringGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : grid_.colCount(); }

QVariant StringGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return QString::fromStdString(grid_.cell(index.column(), index.row()));
}

bool StringGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    grid_.setCell(index.column(), index.row(), value.toString().toStdString());
    emit dataChanged(index, index);
    return true;
}

bool StringGridModel::isFixed(const QModelIndex& index) const {
    return index.row() < grid_.fixedRows() || index.column() < grid_.fixedCols();
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    if (isFixed(index)) return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void StringGridModel::refresh() {
    beginResetModel();
    endResetModel();
}

namespace {

class CenteredCellDelegate : public QStyledItemDelegate {
public:
    CenteredCellDelegate(StringGridModel* model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}

    // StringGrid1DrawCell: the cell's brush, then its text on one line, centred, clipped.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QPalette& pal = option.palette;
        QBrush brush = pal.base();
        QColor pen = pal.color(QPalette::Text);
        if (model_->isFixed(index)) {
            brush = pal.button();
            pen = pal.color(QPalette::ButtonText);
        } else if (option.state & QStyle::State_Selected) {
            brush = pal.highlight();
            pen = pal.color(QPalette::HighlightedText);
        }
        painter->save();
        painter->fillRect(option.rect, brush);
        painter->setClipRect(option.rect);
        painter->setPen(pen);
        painter->setFont(option.font);
        const QString text = index.data(Qt::DisplayRole).toString();
        painter->drawText(option.rect, Qt::AlignCenter | Qt::TextSingleLine, text);
        painter->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->setAlignment(Qt::AlignCenter);
        editor->installEventFilter(new KeyFilter(KeyFilter::Mode::DigitsPoint, editor));
        return editor;
    }

protected:
    // The view installs the delegate on the editor after createEditor, so the delegate sees
    // every key before the cell's own filter and would commit and close on Enter; the grid
    // discards Enter here, ahead of it.
    bool eventFilter(QObject* editor, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
        }
        return QStyledItemDelegate::eventFilter(editor, event);
    }

private:
    StringGridModel* model_;
};

} // namespace

StringGridView::StringGridView(capacity::StringGrid& grid, QWidget* parent)
    : QTableView(parent), model_(new StringGridModel(grid, this)) {
    setModel(model_);
    setItemDelegate(new CenteredCellDelegate(model_, this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setShowGrid(true);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed |
                    QAbstractItemView::EditKeyPressed);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    connect(model_, &QAbstractItemModel::modelReset, this, &StringGridView::applyMetrics);
    applyMetrics();
}

void StringGridView::applyMetrics() {
    const int widths[] = {40, 85, 93};
    for (int c = 0; c < model_->columnCount(); ++c) setColumnWidth(c, c < 3 ? widths[c] : 64);
    verticalHeader()->setMinimumSectionSize(8);
    verticalHeader()->setDefaultSectionSize(24);
}

void StringGridView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    // Typing into a cell goes through the point filter before it opens the editor.
    if (!event->text().isEmpty() && !KeyFilter::passes(KeyFilter::Mode::DigitsPoint, event->text()) &&
        event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab && event->key() != Qt::Key_Delete &&
        event->key() != Qt::Key_Escape) {
        event->accept();
        return;
    }
    if (!event->text().isEmpty() && event->text().at(0).isPrint()) {
        const auto target = typingTarget({currentIndex().row(), currentIndex().column()}, gridShape(*model_));
        if (!target) return;
        setCurrentIndex(model_->index(target->row, target->col));
    }
    QTableView::keyPressEvent(event);
}

QModelIndex StringGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (action != MoveNext && action != MovePrevious) return QTableView::moveCursor(action, modifiers);
    const GridCell next = tabTarget({currentIndex().row(), currentIndex().column()}, action == MoveNext,
                                    gridShape(*model_));
    return model_->index(next.row, next.col);
}

} // namespace kelvora::ui
