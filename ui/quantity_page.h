#pragma once
// The "油量计算" page of PageControl2: the oil in the tank as the trade counts it, litres at
// 20 °C and kilograms in air (ρ20, VCF20, V20, mass), and the delivery check against the
// ticket ("卸油交接"). Its inputs are registered with the window by name and persist in
// [Kelvora]; a result is taken away as soon as an input it was made from changes.

#include "quantity/quantity.h"

#include <QWidget>

#include <optional>
#include <string_view>
#include <vector>

class QLabel;
class QPushButton;
class QTabWidget;

namespace kelvora::ui {

class TFrmMain;

class QuantityPage : public QWidget {
public:
    // Creates the page as the next page of `pages` and registers its inputs with `window`.
    // Made after every other input of the window, which it watches.
    QuantityPage(TFrmMain& window, QTabWidget* pages);

    // "用快捷计算的液位": the level of the quick calculation (Edit35) into QuantityLevel.
    void UseQuickLevelClick();
    // "计算": Vt, ρ20, VCF20, V20 and the mass.
    void QuantityClick();
    // "核对": the delivery check.
    void DeliveryClick();
    // "导出交接单…": the record of the check shown, as an A4 PDF.
    void ExportClick();

    const std::optional<quantity::DeliveryOutcome>& delivery() const { return delivery_; }

private:
    struct Result {
        QLabel* label;
        QLabel* field; // a label, not an input: results are never saved nor typed into
        QString caption, unit;
    };
    void registerInput(QWidget* widget, const char* name);
    QWidget* buildDensity();
    QWidget* buildQuantity();
    QWidget* buildDelivery();
    Result makeResult(QWidget* parent, const char* name, const QString& caption, const QString& unit);
    void show(Result& result, const QString& text, std::optional<quantity::Mode> mode);
    void watchInputs();
    void inputChanged(std::string_view name);
    void clearQuantity();
    void clearDelivery();

    TFrmMain& window_;
    QWidget* content_ = nullptr;
    std::vector<Result> quantityResults_, deliveryResults_;
    QPushButton* export_ = nullptr;
    bool quantityShown_ = false;
    std::optional<quantity::DeliveryOutcome> delivery_;
};

} // namespace kelvora::ui
