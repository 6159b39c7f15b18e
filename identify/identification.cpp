#include "identify/identification.h"

#include "capacity/tank_description.h"
#include "kernel/number_text.h"

#include <cmath>
#include <cstdio>

namespace kelvora::identify {

IdentifyOutcome IdentifyTilt(capacity::NamedInputs& inputs, const Records& records, bool betaZero) {
    IdentifyOutcome outcome;
    if (capacity::Jgxs(inputs) != capacity::TStructureKind::skInclined) {
        outcome.message = messages::kNotInclined;
        return outcome;
    }
    auto read = capacity::ReadTankDescription(inputs, capacity::RequestType::LevelFor);
    if (!read.description) {
        outcome.message = read.message;
        return outcome;
    }
    Identification identification = fitTilt(*read.description, records, betaZero);
    outcome.message = std::move(identification.message);
    outcome.fit = std::move(identification.fit);
    outcome.now = std::move(read.description);
    return outcome;
}

std::string fixedText(double x, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, x);
    std::string text = buffer;
    // A value that rounds to zero has no sign.
    if (text.starts_with('-') && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

void adoptTilt(capacity::NamedInputs& inputs, const TiltFit& fit) {
    inputs.setText("Edit29", fixedText(fit.alpha, 4));
    inputs.setText("Edit30", fixedText(fit.beta, 4));
    const bool wasRight = inputs.checked("RadioButton4");
    if (wasRight != fit.lowerEndRight) inputs.setText("Edit39", kernel::formatGeneral(fit.F));
    inputs.setChecked(fit.lowerEndRight ? "RadioButton4" : "RadioButton3", true);
}

std::vector<std::string> resultLines(const TiltFit& fit) {
    return {
        std::string("low_end,") + (fit.lowerEndRight ? "right" : "left"),
        "alpha," + fixedText(fit.alpha, 4) + "," + fixedText(fit.alphaError, 4),
        "beta," + fixedText(fit.beta, 4) + "," + fixedText(fit.betaError, 4),
        "F," + kernel::formatGeneral(fit.F),
        "start_volume," + fixedText(fit.startVolume, 2) + "," + fixedText(fit.startError, 2),
        "rms," + fixedText(fit.rms, 2),
        "max_residual," + fixedText(fit.maxResidual, 2),
        "records," + std::to_string(fit.used) + "," + std::to_string(fit.skipped),
    };
}

} // namespace kelvora::identify
