#include "identify/identification.h"

#include "capacity/tank_description.h"
#include "kernel/number_text.h"

#include <cmath>
#include <cstdio>

namespace kelvora::identify {

IdentifyOutcome readInclinedTank(capacity::NamedInputs& inputs) {
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
    outcome.now = std::move(read.description);
    return outcome;
}

IdentifyOutcome fitInclinedTank(IdentifyOutcome tank, const Records& records, bool betaZero,
                                const FitControl& control) {
    if (tank.stopped()) return tank;
    Identification identification = fitTilt(*tank.now, records, betaZero, {}, control);
    tank.message = std::move(identification.message);
    tank.fit = std::move(identification.fit);
    tank.cancelled = identification.cancelled;
    return tank;
}

IdentifyOutcome IdentifyTilt(capacity::NamedInputs& inputs, const Records& records, bool betaZero) {
    return fitInclinedTank(readInclinedTank(inputs), records, betaZero);
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
    std::string outliers = "outliers," + std::to_string(fit.outliers.size());
    for (std::size_t k = 0; k < fit.outliers.size() && k < kListedOutliers; ++k)
        outliers += "," + std::to_string(fit.outliers[k]);
    return {
        std::string("method,") + (fit.exact ? "exact" : "formulas"),
        std::string("low_end,") + (fit.lowerEndRight ? "right" : "left"),
        "alpha," + fixedText(fit.alpha, 4) + "," + fixedText(fit.alphaError, 4),
        fit.betaFixed ? std::string("beta,0,fixed")
                      : "beta," + fixedText(fit.beta, 4) + "," + fixedText(fit.betaError, 4),
        "F," + kernel::formatGeneral(fit.F),
        "start_volume," + fixedText(fit.startVolume, 2) + "," + fixedText(fit.startError, 2),
        "rms," + fixedText(fit.rms, 2),
        "max_residual," + fixedText(fit.maxResidual, 2),
        "records," + std::to_string(fit.used) + "," + std::to_string(fit.skipped),
        outliers,
    };
}

std::string sampleNote(const TiltFit& fit) {
    if (fit.sampled == 0) return {};
    return "记录多于" + std::to_string(kMaxFittedRecords) + "条：α、β按均匀抽取的" +
           std::to_string(fit.sampled) + "条记录拟合，残差按全部" +
           std::to_string(fit.used + fit.outliers.size()) + "条记录计算。";
}

} // namespace kelvora::identify
