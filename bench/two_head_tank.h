#pragma once
// The tank of the level-from-volume and uncertainty benchmarks: D 2600, L 8000, an
// ellipsoidal head at the left and a non-standard dished head at the right, no dead volume
// and no attachment.

#include "capacity/memory_inputs.h"

namespace kelvora::bench {

inline capacity::MemoryInputs twoHeadTank() {
    auto in = capacity::MemoryInputs::afterStartup();
    in.setChecked("RadioButton1", true);
    in.setText("Edit1", "2600");
    in.setText("Edit2", "8000");
    in.setChecked("RadioButton15", true);
    in.setText("Edit21", "25"), in.setText("Edit22", "675");
    in.setChecked("RadioButton6", true);
    in.setText("Edit45", "25"), in.setText("Edit46", "525"), in.setText("Edit47", "2600");
    for (auto name : {"Edit13", "Edit31", "Edit32", "Edit33"})
        in.setText(name, "0");
    return in;
}

} // namespace kelvora::bench
