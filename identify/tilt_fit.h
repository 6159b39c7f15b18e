#pragma once
// Identification of an inclined tank's longitudinal inclination α and the probe's
// transverse tilt β from a station's records: the least-squares fit of the tank's own
// volume function (by the method its table uses) to the cumulative volume moved. Readings
// outside the tank are refused, outliers set aside, and a fit that explains the records
// poorly is refused rather than reported.

#include "capacity/tank_description.h"
#include "identify/records.h"
#include "identify/table_change.h"
#include "identify/tilt_model.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelvora::identify {

struct TiltFit {
    bool exact = false; // fitted by exact geometry, otherwise by the required formulas
    bool lowerEndRight = false;
    double alpha = 0, beta = 0, startVolume = 0;          // degrees ≥ 0, litres
    double alphaError = 0, betaError = 0, startError = 0; // standard errors
    double correlation = 0;                               // of α and β
    bool betaFixed = false;          // β held at 0: the records could not tell it from 0
    double rms = 0, maxResidual = 0; // litres, over the records used
    std::size_t used = 0, skipped = 0;
    std::size_t sampled = 0;           // the angles fitted to this many evenly spaced records; 0: to all used
    std::vector<std::size_t> outliers; // the set-aside records' numbers, in the file's order
    double F = 0;                      // Edit39 for the fitted low end
    std::vector<double> residualsBefore, residualsAfter; // litres, per record, set-aside ones too
    capacity::TTankDescription fitted;                   // the tank as the fit describes it
};

struct Identification {
    std::optional<TiltFit> fit;
    std::string message; // a refusal
    bool cancelled = false;
};

// What a caller on another thread sees of a fit and how it stops one.
struct FitControl {
    std::function<void(double)> progress; // the share done, 0 to 1
    const std::atomic<bool>* cancel = nullptr;
    bool cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
};

// The angles are fitted to at most this many records, evenly spaced over the file; every
// record's residual is computed all the same.
inline constexpr std::size_t kMaxFittedRecords = 20'000;
// A record is set aside when its residual lies further than this many median absolute
// deviations (and at least kOutlierFloor litres) from the residuals' median.
inline constexpr double kOutlierDeviations = 5, kOutlierFloor = 1;
// More than this share set aside and the records are not trusted.
inline constexpr double kMaxOutlierShare = 0.05;
// A fit whose RMS exceeds this share of the net volume's range, or an angle's standard
// error above kMaxAngleError degrees, explains nothing.
inline constexpr double kMaxRmsShare = 0.01, kMaxAngleError = 0.5;

// Levenberg–Marquardt over α, β and the starting volume V0, minimising
// Σ (V(h_i; α, β) − V0 − N_i)², from the best points of a coarse grid over every α and β
// the inclined page accepts, or from the starting points given (signed α, β in degrees);
// with betaZero β stays 0.
struct StartingPoint {
    double alpha, beta;
};
Identification fitTilt(const capacity::TTankDescription& d, const Records& records, bool betaZero,
                       const std::vector<StartingPoint>& starts = {}, const FitControl& control = {});

// The number a record is known by: its line in the file where the records carry it, else
// its place among the records (1-based).
std::size_t recordNumber(const Records& records, std::size_t i);

namespace messages {
inline constexpr const char* kTooFewRecords = "呵呵，可用记录不足10条，无法识别变位！";
inline constexpr const char* kNarrowLevels = "呵呵，记录的液位跨度不足罐高的10%，无法识别变位！";
inline constexpr const char* kNoConvergence = "呵呵，拟合不收敛，无法识别变位！";
inline constexpr const char* kNotIdentifiable = "呵呵，这些记录确定不了α和β，无法识别变位！";
inline constexpr const char* kPoorFit = "拟合质量太差，无法识别变位";
} // namespace messages

// "呵呵，记录文件第 n 行的液位 h 毫米在罐外（应在 0～A 毫米之间），无法识别变位！"
std::string outsideTankMessage(std::size_t record, double level, double height);
// "呵呵，有 n 条记录（超过5%）离拟合太远，这些记录不可信，无法识别变位！"
std::string tooManyOutliersMessage(std::size_t count, std::size_t records);

} // namespace kelvora::identify
