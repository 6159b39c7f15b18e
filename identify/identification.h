#pragma once
// The identification request over the window's inputs, shared by the page "变位识别" and
// the batch tool: the inclined tank's description read as the level-from-volume request
// reads it, the fit, its lines of text, and the adoption of the fitted angles.

#include "capacity/named_inputs.h"
#include "identify/tilt_fit.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvora::identify {

struct IdentifyOutcome {
    std::string message; // a validation stop or a refusal
    std::optional<TiltFit> fit;
    std::optional<capacity::TTankDescription> now; // the tank as the inputs describe it
    bool cancelled = false;                        // a fit cancelled: neither result nor message
    bool stopped() const { return !message.empty() || cancelled; }
};

// Reads the inclined tank (shell, heads, dead volume, attachment; not the table's range nor
// Edit35) and fits it to the records. A filled field that is not a number throws, as the
// other requests do.
IdentifyOutcome IdentifyTilt(capacity::NamedInputs& inputs, const Records& records, bool betaZero);

// The two halves of IdentifyTilt, so that the window reads its inputs on its own thread
// and fits on another: the tank (its message when the inputs describe none), and the fit
// of that tank with the records.
IdentifyOutcome readInclinedTank(capacity::NamedInputs& inputs);
IdentifyOutcome fitInclinedTank(IdentifyOutcome tank, const Records& records, bool betaZero,
                                const FitControl& control = {});

// "采用": the fitted α and β into Edit29 and Edit30 (four decimals, as shown), the low end
// into RadioButton3/RadioButton4 and, when the low end changes, F into Edit39 so the probe
// stays where it is.
void adoptTilt(capacity::NamedInputs& inputs, const TiltFit& fit);

// x with exactly `decimals` decimals: 1.87344 → "1.8734".
std::string fixedText(double x, int decimals);

// The result as the batch tool prints it, one "name,value[,error]" per line: the method
// first, then the low end, the angles ("beta,0,fixed" when β was held at 0), F, V0, the
// residuals, the records used and skipped, and the records set aside with up to
// kListedOutliers of their numbers.
std::vector<std::string> resultLines(const TiltFit& fit);
inline constexpr std::size_t kListedOutliers = 10;

// When the angles were fitted to a sample of the records: the line that says so (empty otherwise).
std::string sampleNote(const TiltFit& fit);

namespace messages {
inline constexpr const char* kNotInclined = "呵呵，变位识别只用于倾斜圆筒，请先选择倾斜圆筒页！";
} // namespace messages

} // namespace kelvora::identify
