#pragma once
// NamedInputs over plain values, for the batch tool and the tests.

#include "capacity/input_table.h"
#include "capacity/named_inputs.h"

#include <map>
#include <string>

namespace kelvora::capacity {

class MemoryInputs : public NamedInputs {
public:
    // The inputs as the window is constructed: RadioButton1, RadioButton8 and
    // RadioButton15 checked, ComboBox1 showing "单位", LevelForMode on its first item,
    // nothing else set. The page's inputs (pageInputTable) are there in every state.
    static MemoryInputs constructed();
    // The inputs after start-up without a settings file: every field empty, no radio
    // button checked, ComboBox2 on "8" with its grid set up, both head choices on "add".
    static MemoryInputs afterStartup();

    std::string text(std::string_view name) const override;
    void setText(std::string_view name, std::string_view text) override;
    bool checked(std::string_view name) const override;
    void setChecked(std::string_view name, bool on) override;
    int itemIndex(std::string_view name) const override;
    void setItemIndex(std::string_view name, int index) override;
    void setItems(std::string_view name, const std::vector<std::string>& items) override;
    int activePage() const override { return page_; }
    void setActivePage(int page) override { page_ = page; }
    StringGrid& grid() override { return grid_; }
    const StringGrid& grid() const override { return grid_; }

    const std::vector<std::string>& items(std::string_view name) const;

private:
    MemoryInputs();

    struct State {
        const InputInfo* info = nullptr;
        std::string text;
        bool checked = false;
        int index = -1;
        std::vector<std::string> items;
    };
    State& state(std::string_view name);
    const State& state(std::string_view name) const;

    std::map<std::string, State, std::less<>> states_;
    int page_ = 0;
    StringGrid grid_;
};

} // namespace kelvora::capacity
