#pragma once
// Inputs for capacity tests, written the way the settings file and the batch tool name
// them: text for edit fields and combo boxes, "1"/"0" for radio buttons and check boxes.

#include "capacity/input_table.h"
#include "capacity/memory_inputs.h"
#include "capacity/page_inputs.h"

#include <initializer_list>
#include <string_view>
#include <utility>

namespace kelvora::test {

using Assignments = std::initializer_list<std::pair<std::string_view, std::string_view>>;

inline void set(capacity::MemoryInputs& in, Assignments values) {
    for (auto [name, value] : values) {
        const auto* info = capacity::findAnyInput(name);
        if (info->kind == capacity::InputKind::CheckBox || info->kind == capacity::InputKind::RadioButton)
            in.setChecked(name, value == "1");
        else
            in.setText(name, value);
    }
}

// A circular horizontal tank, D 2000, L 5000, flat heads, table 0..2000 by 500.
inline capacity::MemoryInputs circularTank(Assignments extra = {}) {
    auto in = capacity::MemoryInputs::afterStartup();
    set(in, {{"RadioButton1", "1"}, {"Edit1", "2000"}, {"Edit2", "5000"}, {"RadioButton21", "1"},
             {"RadioButton14", "1"}, {"Edit6", "0"}, {"Edit7", "2000"}, {"Edit8", "500"}, {"Edit9", "10"},
             {"Edit35", "500"}, {"Edit13", "0"}, {"Edit31", "0"}, {"Edit32", "0"}, {"Edit33", "0"}});
    set(in, extra);
    return in;
}

} // namespace kelvora::test
