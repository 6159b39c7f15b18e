#include "capacity/memory_inputs.h"

#include "capacity/calibration_grid.h"
#include "capacity/page_inputs.h"

#include <stdexcept>

namespace kelvora::capacity {

MemoryInputs::MemoryInputs() {
    for (auto table : {inputTable(), pageInputTable()})
        for (const auto& input : table) {
            State s;
            s.info = &input;
            s.items = fixedItems(input.name);
            states_.emplace(std::string(input.name), std::move(s));
        }
    setItemIndex("LevelForMode", kLevelForByVolume);
    setItemIndex("ProductGroup", 0);
    setItemIndex("VcfMode", 0);
}

MemoryInputs MemoryInputs::constructed() {
    MemoryInputs inputs;
    inputs.setChecked("RadioButton1", true);
    inputs.setChecked("RadioButton8", true);
    inputs.setChecked("RadioButton15", true);
    inputs.setText("ComboBox1", "单位");
    return inputs;
}

MemoryInputs MemoryInputs::afterStartup() {
    MemoryInputs inputs;
    setUpCalibrationGrid(inputs);
    inputs.setItemIndex("ComboBox3", 0);
    inputs.setItemIndex("ComboBox4", 0);
    return inputs;
}

MemoryInputs::State& MemoryInputs::state(std::string_view name) {
    auto it = states_.find(name);
    if (it == states_.end()) throw std::invalid_argument("unknown input '" + std::string(name) + "'");
    return it->second;
}

const MemoryInputs::State& MemoryInputs::state(std::string_view name) const {
    return const_cast<MemoryInputs*>(this)->state(name);
}

std::string MemoryInputs::text(std::string_view name) const {
    const State& s = state(name);
    if (s.info->kind == InputKind::PickList)
        return s.index >= 0 && s.index < static_cast<int>(s.items.size()) ? s.items[s.index] : std::string();
    return s.text;
}

void MemoryInputs::setText(std::string_view name, std::string_view text) {
    State& s = state(name);
    if (s.info->kind == InputKind::PickList) {
        s.index = -1;
        for (std::size_t i = 0; i < s.items.size(); ++i)
            if (s.items[i] == text) s.index = static_cast<int>(i);
        return;
    }
    s.text.assign(text);
}

bool MemoryInputs::checked(std::string_view name) const { return state(name).checked; }

void MemoryInputs::setChecked(std::string_view name, bool on) {
    State& s = state(name);
    if (on && s.info->kind == InputKind::RadioButton) {
        for (auto& [other, st] : states_)
            if (st.info->kind == InputKind::RadioButton && st.info->container == s.info->container)
                st.checked = false;
    }
    s.checked = on;
}

int MemoryInputs::itemIndex(std::string_view name) const { return state(name).index; }

void MemoryInputs::setItemIndex(std::string_view name, int index) {
    State& s = state(name);
    s.index = index >= 0 && index < static_cast<int>(s.items.size()) ? index : -1;
}

void MemoryInputs::setItems(std::string_view name, const std::vector<std::string>& items) {
    State& s = state(name);
    s.items = items;
    s.index = -1;
}

const std::vector<std::string>& MemoryInputs::items(std::string_view name) const { return state(name).items; }

} // namespace kelvora::capacity
