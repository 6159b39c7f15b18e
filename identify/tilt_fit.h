#pragma once
// Identification of an inclined tank's longitudinal inclination α and the probe's
// transverse tilt β from a station's records: the least-squares fit of the tank's own
// volume function (by the method its table uses) to the cumulative volume moved.

#include "capacity/tank_description.h"
#include "identify/records.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvora::identify {

// The inclined tank with α signed over both ends: α > 0 lowers the left end, α < 0 the
// right one, and the probe stays where the description puts it, whichever end is low.
class TiltModel {
public:
    explicit TiltModel(const capacity::TTankDescription& d);

    // The description with the left (α ≥ 0) or right (α < 0) end low at |α|, β, and the
    // F measured to the high end for the probe's place.
    capacity::TTankDescription describe(double signedAlpha, double beta) const;

    // Litres at the probe's reading h, by the description's method.
    double volume(double signedAlpha, double beta, double h) const;

    // The description's own α signed by its low end.
    double signedAlpha() const;

private:
    capacity::TTankDescription d_;
    double pLeft_ = 0; // axial distance from the probe to the left end of the tank's length
};

struct TiltFit {
    bool lowerEndRight = false;
    double alpha = 0, beta = 0, startVolume = 0;          // degrees ≥ 0, litres
    double alphaError = 0, betaError = 0, startError = 0; // standard errors
    double correlation = 0;                               // of α and β
    double rms = 0, maxResidual = 0;                      // litres
    std::size_t used = 0, skipped = 0;
    double F = 0; // Edit39 for the fitted low end
    std::vector<double> residualsBefore, residualsAfter; // litres, per record
    capacity::TTankDescription fitted;                   // the tank as the fit describes it
};

struct Identification {
    std::optional<TiltFit> fit;
    std::string message; // a refusal
};

// Levenberg–Marquardt from a few fixed starting points over α, β and the starting
// volume V0, minimising Σ (V(h_i; α, β) − V0 − N_i)²; with betaZero β stays 0.
// The starting points (signed α, β in degrees); β never 0, where dV/dβ vanishes.
struct StartingPoint {
    double alpha, beta;
};
const std::vector<StartingPoint>& defaultStartingPoints();
Identification fitTilt(const capacity::TTankDescription& d, const Records& records, bool betaZero,
                       const std::vector<StartingPoint>& starts = defaultStartingPoints());

// The largest difference in litres between the tables of two descriptions of the same
// tank, over the section's height, and the level where it occurs.
struct TableChange {
    double litres = 0, level = 0;
};
TableChange tableChange(const capacity::TTankDescription& now, const capacity::TTankDescription& fitted);

namespace messages {
inline constexpr const char* kTooFewRecords = "呵呵，可用记录不足10条，无法识别变位！";
inline constexpr const char* kNarrowLevels = "呵呵，记录的液位跨度不足罐高的10%，无法识别变位！";
inline constexpr const char* kNoConvergence = "呵呵，拟合不收敛，无法识别变位！";
inline constexpr const char* kNotIdentifiable = "呵呵，这些记录确定不了α和β，无法识别变位！";
} // namespace messages

} // namespace kelvora::identify
