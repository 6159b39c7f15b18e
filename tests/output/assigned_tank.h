#pragma once
// Inputs set by component name as the window's fields hold them: a radio button or check
// box by "1" or "0", every other input by its text.

#include "capacity/input_table.h"
#include "capacity/memory_inputs.h"
#include "capacity/page_inputs.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace kelvora::test {

using Assignments = std::vector<std::pair<std::string, std::string>>;

// The page-0 inputs after start-up with `lists` applied in order (a later value wins).
inline capacity::MemoryInputs assignedTank(std::initializer_list<const Assignments*> lists) {
    auto in = capacity::MemoryInputs::afterStartup();
    in.setActivePage(0);
    for (const Assignments* list : lists)
        for (const auto& [name, value] : *list) {
            const auto kind = capacity::findAnyInput(name)->kind;
            if (kind == capacity::InputKind::CheckBox || kind == capacity::InputKind::RadioButton)
                in.setChecked(name, value == "1");
            else
                in.setText(name, value);
        }
    return in;
}

} // namespace kelvora::test
