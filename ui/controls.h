#pragma once
// The window's own control behaviour on top of Qt's widgets: radio buttons that a
// program can clear, mouse-release handlers that run after the click took effect, the
// two key filters, and the calibration grid over the grid content of the named inputs.

#include "capacity/string_grid.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>

namespace kelvora::ui {

// Excludes the other radio buttons of its container when checked; unlike Qt's own
// exclusive groups it can be cleared, so a group can stand with none selected. A click
// on a checked button leaves it checked.
class TRadioButton : public QRadioButton {
public:
    explicit TRadioButton(const QString& text, QWidget* parent);
    std::function<void()> onMouseUp; // after the release was handled

protected:
    void nextCheckState() override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class TCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;
    std::function<void()> onMouseUp; // after the release was handled: the box has toggled

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// EditKeyPress lets through digits and backspace; EditKeyPressPoint also the point.
// Every other typed character is dropped before it reaches the field: signs, commas,
// blanks, letters, Enter, Escape, and the control characters of the copy, cut, paste and
// undo shortcuts, unless the field takes those shortcuts itself (a number field, which
// checks a paste as it checks any). Keys that type nothing (arrows, Delete, Tab) pass.
// The full-width digits and points a Chinese input method types, by key or as a committed
// text, arrive as their ASCII forms.
class KeyFilter : public QObject {
public:
    enum class Mode { Digits, DigitsPoint };
    KeyFilter(Mode mode, QObject* parent) : QObject(parent), mode_(mode) {}
    static bool passes(Mode mode, const QString& typed);
    // Select all, copy, cut, paste, undo and redo reach the field.
    void passEditingShortcuts() { editingShortcuts_ = true; }
    static bool isEditingShortcut(const QKeyEvent* key);
    // "０"-"９" as "0"-"9"; "．", "。" and "｡" (the point key under a Chinese input
    // method) as "."; every other character as it is.
    static QString asciiDigits(QString text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Mode mode_;
    bool editingShortcuts_ = false;
};

// The grid's cells as a table model; fixed row 0 and column 0 are not editable.
class StringGridModel : public QAbstractTableModel {
public:
    StringGridModel(capacity::StringGrid& grid, QObject* parent) : QAbstractTableModel(parent), grid_(grid) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool isFixed(const QModelIndex& index) const;
    const capacity::StringGrid& grid() const { return grid_; }
    void refresh();

private:
    capacity::StringGrid& grid_;
};

// StringGrid1: every cell drawn centred on one line and clipped, the editor filtered by
// EditKeyPressPoint, Enter discarded so it neither opens nor closes an editor.
class StringGridView : public QTableView {
public:
    StringGridView(capacity::StringGrid& grid, QWidget* parent);
    StringGridModel* gridModel() const { return model_; }
    // Column widths and row heights as the grid has them.
    void applyMetrics();

    // No search: a key typed on a fixed cell must not jump to another row (grid_keyboard.h).
    void keyboardSearch(const QString&) override {}

protected:
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    StringGridModel* model_;
};

} // namespace kelvora::ui
