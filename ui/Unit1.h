#pragma once
// The main window: every input of a tank description, the table and quick-calculation
// groups, the density row, the calibration grid, the buttons and the reference pictures.
// The window owns all state; requests read its controls through the named inputs.

#include "capacity/named_inputs.h"
#include "capacity/row_list.h"
#include "capacity/string_grid.h"
#include "persist/startup.h"
#include "ui/window_services.h"

#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace kelvora::ui {

class StaleResults;
class StringGridView;
class IdentifyPage;
class TablePage;
class TankFileMenu;
class TCheckBox;
class TRadioButton;

// The executable's directory, without a trailing separator; set by FormCreate.
extern std::string ProgramDir;

class TFrmMain : public QWidget, public capacity::NamedInputs {
public:
    // `services` answers the boxes and dialogs; the window's own Qt services when null.
    explicit TFrmMain(std::unique_ptr<WindowServices> services = nullptr, QWidget* parent = nullptr);
    ~TFrmMain() override;

    // NamedInputs over the controls, by component name.
    std::string text(std::string_view name) const override;
    void setText(std::string_view name, std::string_view text) override;
    bool checked(std::string_view name) const override;
    void setChecked(std::string_view name, bool on) override;
    int itemIndex(std::string_view name) const override;
    void setItemIndex(std::string_view name, int index) override;
    void setItems(std::string_view name, const std::vector<std::string>& items) override;
    int activePage() const override;
    void setActivePage(int page) override;
    capacity::StringGrid& grid() override { return grid_; }
    const capacity::StringGrid& grid() const override { return grid_; }
    void gridChanged() override;

    // Event handlers.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void ComboBox2Change();
    void PageControl1Change();
    void RadioButtonMouseUp();
    void CheckBox1MouseUp();
    void Edit37Change();
    void ShowWeightLabel();
    void FormCreate();
    void FormActivate();
    // Saves the settings; false when they could not be and the user keeps the window open.
    bool FormClose();

    // ListBox1's content: the rows of the last generated table.
    const capacity::RowList& rows() const { return rows_; }
    void clearRows() { rows_.clear(); }
    // The "容积表" page of PageControl2.
    TablePage* tablePage() const { return tablePage_; }
    // The "变位识别" page of PageControl2.
    IdentifyPage* identifyPage() const { return identifyPage_; }
    // Makes a control of a page reachable by name through the named inputs.
    void registerInput(std::string_view name, QWidget* widget);
    WindowServices& services() { return *services_; }
    // Runs a handler; an error escaping it becomes the general error report.
    void runHandler(const std::function<void()>& handler);
    // The data folder of Config.ini and bd.txt (persist/data_folder.h).
    std::string dataDir() const;
    // The menu bar's 文件 menu, over tank files.
    TankFileMenu& tankFileMenu() { return *tankFileMenu_; }
    // A tank file to open once the settings are restored at the first activation
    // (`kelvora FILE.tank`).
    void openAtStartup(const std::string& path) { startupTankFile_ = path; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    QWidget* buildHeadGroup(QWidget* parent, bool left);
    void buildStructurePages(QWidget* parent);
    void buildTableGroup(QWidget* parent);
    void buildQuickGroup(QWidget* parent);
    void buildDensityRow(QWidget* parent);
    void buildFigures(QWidget* parent);
    void setTabOrderFromInputTable();
    void applyHeadAvailability();

    QLineEdit* edit(std::string_view name) const;
    QWidget* input(std::string_view name) const;
    QLineEdit* makeEdit(QWidget* parent, const char* name, int x, int y, int w);
    TRadioButton* makeRadio(QWidget* parent, const char* name, int x, int y, int w);
    QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h = 17);

    std::unique_ptr<WindowServices> services_;
    std::map<std::string, QWidget*, std::less<>> inputs_;
    capacity::StringGrid grid_;
    capacity::RowList rows_;
    QTabWidget* pageControl1_ = nullptr;
    QTabWidget* pageControl2_ = nullptr;
    StringGridView* grid1_ = nullptr;
    TablePage* tablePage_ = nullptr;
    StaleResults* staleResults_ = nullptr;
    IdentifyPage* identifyPage_ = nullptr;
    bool activated_ = false;
    std::string dataDir_;
    persist::StartupLoad startup_;
    TankFileMenu* tankFileMenu_ = nullptr;
    std::string startupTankFile_;
    // The inputs read while a handler runs, in order (ui/conversion_focus.h).
    mutable std::vector<std::string> readInputs_;
    bool recordReads_ = false;
};

} // namespace kelvora::ui
