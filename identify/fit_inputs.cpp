#include "identify/fit_inputs.h"

#include "capacity/result_inputs.h"

#include <array>

namespace kelvora::identify {

bool fitReads(std::string_view input, const capacity::NamedInputs& inputs) {
    constexpr std::array<std::string_view, 7> kOwn{"RecordsFile", "LevelColumn",        "InColumn",
                                                   "OutColumn",   "CumulativeInColumn", "CumulativeOutColumn",
                                                   "BetaZero"};
    for (std::string_view own : kOwn)
        if (input == own) return true;
    if (input == "LevelForValue" || input == "LevelForMode") return false;
    return capacity::resultReads(capacity::kLevelForResult, input, inputs);
}

} // namespace kelvora::identify
