#pragma once
// The inclined tank of the full-volume and uncertainty tests: A = B = 3000 mm, L = 8000 mm,
// spherical-cap heads H = 1000 mm at both ends, α 2.1195°, β 4.2403°, F 6000 mm, the low
// end left, exact geometry, the table from 0 to 3000 mm by 1 mm.

#include "fixture.h"

namespace kelvora::test {

inline capacity::MemoryInputs capHeadedInclinedTank(Assignments extra = {}) {
    auto in = capacity::MemoryInputs::afterStartup();
    in.setActivePage(1);
    set(in, {{"Edit29", "2.1195"},   {"Edit30", "4.2403"}, {"Edit39", "6000"},     {"Edit40", "3000"},
             {"Edit41", "3000"},     {"Edit42", "8000"},   {"RadioButton18", "1"}, {"Edit27", "1000"},
             {"RadioButton11", "1"}, {"Edit17", "1000"},   {"RadioButton3", "1"},  {"ExactGeometry", "1"},
             {"Edit6", "0"},         {"Edit7", "3000"},    {"Edit8", "1"},         {"Edit9", "50"},
             {"Edit13", "0"},        {"Edit31", "0"},      {"Edit32", "0"},        {"Edit33", "0"}});
    set(in, extra);
    return in;
}

} // namespace kelvora::test
