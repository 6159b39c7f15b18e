#pragma once
// The tank of the million-row benchmarks: a circular tank with two non-standard dished
// heads, 2600 mm high, tabulated in steps of `step` mm (0.0026 mm gives 1,000,001 rows).

#include "capacity/memory_inputs.h"

namespace kelvora::bench {

inline capacity::MemoryInputs dishedTank(const char* step) {
    auto in = capacity::MemoryInputs::afterStartup();
    in.setChecked("RadioButton1", true);
    in.setText("Edit1", "2600");
    in.setText("Edit2", "8000");
    in.setChecked("RadioButton5", true);
    in.setText("Edit38", "25"), in.setText("Edit43", "525"), in.setText("Edit44", "2600");
    in.setChecked("RadioButton6", true);
    in.setText("Edit45", "25"), in.setText("Edit46", "525"), in.setText("Edit47", "2600");
    in.setText("Edit6", "0");
    in.setText("Edit7", "2600");
    in.setText("Edit8", step);
    in.setText("Edit9", "9999");
    for (auto name : {"Edit13", "Edit31", "Edit32", "Edit33"})
        in.setText(name, "0");
    return in;
}

} // namespace kelvora::bench
