#include "identify/tilt_fit.h"

#include "capacity/volume.h"

#include <Eigen/Dense>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace kelvora::identify {

using capacity::TTankDescription;

namespace {

double tankLength(const TTankDescription& d) { return d.L + d.left.dims.h + d.right.dims.h; }

// Beyond these the volume functions are no longer a tank lying in the ground.
constexpr double kMaxAlpha = 45, kMaxBeta = 80;
constexpr int kMaxIterations = 200;

} // namespace

TiltModel::TiltModel(const TTankDescription& d) : d_(d) {
    const double pLow = d.L - d.F; // from the probe to the described low end
    pLeft_ = d.lowerEndRight ? tankLength(d) - pLow : pLow;
}

TTankDescription TiltModel::describe(double signedAlpha, double beta) const {
    TTankDescription d = d_;
    d.lowerEndRight = signedAlpha < 0;
    d.alpha = std::fabs(signedAlpha);
    // As the description read from the window: a level axis makes the wedge cases divide by zero.
    if (d.alpha == 0) d.alpha = 0.001;
    d.beta = beta;
    const double pLow = d.lowerEndRight ? tankLength(d) - pLeft_ : pLeft_;
    d.F = d.L - pLow;
    return d;
}

double TiltModel::volume(double signedAlpha, double beta, double h) const {
    return 1000 * capacity::VolumeAtLevel(describe(signedAlpha, beta), h);
}

double TiltModel::signedAlpha() const { return d_.lowerEndRight ? -d_.alpha : d_.alpha; }

namespace {

using Vector = Eigen::VectorXd;
using Matrix = Eigen::MatrixXd;

constexpr double kDegree = 3.14159265358979323846 / 180;

// The residuals V(h_i; α, β) − V0 − N_i and their Jacobian over (α, u, V0), or (α, V0)
// with β fixed at 0. Both volume methods see β only through cos β, and dV/dβ vanishes at
// β = 0, where the sum is flat to fourth order and the steps would wander; over
// u = 1 − cos β the sum has a slope there, and a best fit that wants cos β above 1 stops at
// the bound u = 0, β = 0.
class Problem {
public:
    Problem(const TiltModel& model, const Records& records, bool betaZero)
        : model_(model), records_(records), betaZero_(betaZero) {}

    int parameters() const { return betaZero_ ? 2 : 3; }
    static double betaOf(double u) { return std::acos(1 - std::clamp(u, 0.0, 1.0)) / kDegree; }
    static double uOf(double beta) { return 1 - std::cos(beta * kDegree); }
    double alpha(const Vector& x) const { return x[0]; }
    double u(const Vector& x) const { return betaZero_ ? 0 : x[1]; }
    double beta(const Vector& x) const { return betaOf(u(x)); }
    double start(const Vector& x) const { return x[parameters() - 1]; }

    Vector volumes(double a, double b) const {
        const TTankDescription d = model_.describe(a, b);
        Vector V(static_cast<Eigen::Index>(records_.level.size()));
        double previous = 0;
        for (Eigen::Index i = 0; i < V.size(); ++i) {
            previous = capacity::VolumeAtLevel(d, records_.level[static_cast<std::size_t>(i)], previous);
            V[i] = 1000 * previous;
        }
        return V;
    }

    Vector net() const { return Eigen::Map<const Vector>(records_.net.data(), static_cast<Eigen::Index>(records_.net.size())); }

    Vector residuals(const Vector& x) const { return volumes(alpha(x), beta(x)).array() - start(x) - net().array(); }

    // Central differences (one-sided at the bound u = 0); V0 enters linearly.
    Matrix jacobian(const Vector& x) const {
        Matrix J(static_cast<Eigen::Index>(records_.level.size()), parameters());
        constexpr double step = 1e-4, uStep = 1e-7;
        const double a = alpha(x), b = beta(x);
        J.col(0) = (volumes(a + step, b) - volumes(a - step, b)) / (2 * step);
        if (!betaZero_) {
            const double low = std::max(0.0, u(x) - uStep), high = u(x) + uStep;
            J.col(1) = (volumes(a, betaOf(high)) - volumes(a, betaOf(low))) / (high - low);
        }
        J.col(parameters() - 1).setConstant(-1);
        return J;
    }

    // The step's end kept within the bounds of u; nothing when α leaves its range.
    std::optional<Vector> admissible(Vector x) const {
        if (!x.allFinite() || std::fabs(alpha(x)) >= kMaxAlpha) return std::nullopt;
        if (!betaZero_) x[1] = std::clamp(x[1], 0.0, uOf(kMaxBeta));
        return x;
    }

    bool heldAtBound(const Vector& x, const Vector& delta) const { return !betaZero_ && x[1] <= 0 && delta[1] < 0; }

    // The best V0 for given angles: the mean of V − N.
    Vector startingPoint(double a, double b) const {
        Vector x(parameters());
        x[0] = a;
        if (!betaZero_) x[1] = uOf(b);
        x[parameters() - 1] = (volumes(a, b) - net()).mean();
        return x;
    }

private:
    const TiltModel& model_;
    const Records& records_;
    bool betaZero_;
};

struct Solution {
    Vector x;
    double cost = std::numeric_limits<double>::infinity();
    bool converged = false;
};

// Levenberg–Marquardt with Marquardt's scaling by the diagonal, so degrees and litres
// need no scaling of their own.
Solution levenbergMarquardt(const Problem& problem, Vector x) {
    Solution s;
    Vector r = problem.residuals(x);
    double cost = r.squaredNorm();
    double lambda = 1e-3;
    for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
        const Matrix J = problem.jacobian(x);
        const Matrix A = J.transpose() * J;
        const Vector g = J.transpose() * r;
        Vector diagonal = A.diagonal().cwiseMax(1e-12 * std::max(1.0, A.diagonal().maxCoeff()));
        bool improved = false;
        Vector step;
        while (lambda < 1e16) {
            Matrix M = A;
            M.diagonal() += lambda * diagonal;
            Vector delta = M.ldlt().solve(-g);
            // At the bound β = 0 with the step pushing beyond it, the other parameters move
            // on their own: the bound's variable is held.
            if (problem.heldAtBound(x, delta)) {
                M.row(1).setZero();
                M.col(1).setZero();
                M(1, 1) = 1;
                Vector held = g;
                held[1] = 0;
                delta = M.ldlt().solve(-held);
            }
            const auto next = problem.admissible(x + delta);
            if (next) {
                step = *next - x;
                const Vector rn = problem.residuals(*next);
                const double cn = rn.squaredNorm();
                if (std::isfinite(cn) && cn <= cost) {
                    const double gain = cost - cn;
                    x = *next, r = rn;
                    cost = cn;
                    lambda = std::max(lambda / 10, 1e-12);
                    improved = true;
                    if (gain <= 1e-14 * cost + 1e-18 ||
                        ((step.array().abs() <= 1e-9 * (1 + x.array().abs())).all())) {
                        s.converged = true;
                    }
                    break;
                }
            }
            lambda *= 10;
        }
        // No step lowers the sum any more: the minimum within rounding, unless the steps
        // were cut short by the range of the angles (below).
        if (!improved) s.converged = true;
        if (s.converged || !improved) break;
    }
    // A sum still falling towards the edge of the angles' range has no minimum in it.
    if (std::fabs(problem.alpha(x)) > 0.9 * kMaxAlpha || problem.beta(x) > 0.9 * kMaxBeta) s.converged = false;
    s.x = x;
    s.cost = cost;
    return s;
}

} // namespace

const std::vector<StartingPoint>& defaultStartingPoints() {
    // Both ends low, a slight and a marked inclination, a slight and a marked tilt.
    static const std::vector<StartingPoint> starts{{0.5, 4}, {-0.5, 4}, {2.5, 12}, {-2.5, 12}};
    return starts;
}

Identification fitTilt(const TTankDescription& d, const Records& records, bool betaZero,
                       const std::vector<StartingPoint>& starts) {
    Identification out;
    const std::size_t n = records.level.size();
    if (n < 10) {
        out.message = messages::kTooFewRecords;
        return out;
    }
    const auto [low, high] = std::minmax_element(records.level.begin(), records.level.end());
    if (!(*high - *low >= 0.1 * d.A)) {
        out.message = messages::kNarrowLevels;
        return out;
    }
    const TiltModel model(d);
    const Problem problem(model, records, betaZero);

    Solution best;
    for (const StartingPoint& start : starts) {
        const Solution s = levenbergMarquardt(problem, problem.startingPoint(start.alpha, start.beta));
        if (s.converged && s.cost < best.cost) best = s;
    }
    if (!best.converged) {
        out.message = messages::kNoConvergence;
        return out;
    }

    const Vector& x = best.x;
    const Matrix J = problem.jacobian(x);
    const int p = problem.parameters();
    const double variance = best.cost / static_cast<double>(n - static_cast<std::size_t>(p));
    const Eigen::FullPivLU<Matrix> information(J.transpose() * J);
    if (!information.isInvertible()) {
        out.message = messages::kNotIdentifiable;
        return out;
    }
    const Matrix covariance = variance * information.inverse();
    if (!covariance.allFinite() || (covariance.diagonal().array() < 0).any()) {
        out.message = messages::kNotIdentifiable;
        return out;
    }

    TiltFit fit;
    const double a = problem.alpha(x), b = problem.beta(x);
    fit.lowerEndRight = a < 0;
    fit.alpha = std::fabs(a);
    fit.beta = b;
    fit.startVolume = problem.start(x);
    fit.alphaError = std::sqrt(covariance(0, 0));
    fit.startError = std::sqrt(covariance(p - 1, p - 1));
    if (!betaZero) {
        // β's error is the change of β for one standard error of u; near β = 0, where β
        // is not linear in u, this is the one-sided error that stays finite.
        const double uError = std::sqrt(covariance(1, 1));
        fit.betaError = Problem::betaOf(problem.u(x) + uError) - fit.beta;
        // β rises with u, so the correlation keeps its sign; α ≥ 0 turns it with the low end.
        const double c = covariance(0, 1) / (fit.alphaError * uError);
        fit.correlation = std::isfinite(c) ? c * (a < 0 ? -1 : 1) : 0;
    }
    const Vector after = problem.residuals(x);
    fit.residualsAfter.assign(after.data(), after.data() + after.size());
    fit.rms = std::sqrt(after.squaredNorm() / static_cast<double>(n));
    fit.maxResidual = after.cwiseAbs().maxCoeff();
    // Before: the description's own angles with the best V0 for them.
    Vector before = problem.volumes(model.signedAlpha(), d.beta) - problem.net();
    before.array() -= before.mean();
    fit.residualsBefore.assign(before.data(), before.data() + before.size());
    fit.used = n;
    fit.skipped = records.skipped;
    fit.fitted = model.describe(a, b);
    fit.F = fit.fitted.F;
    out.fit = std::move(fit);
    return out;
}

TableChange tableChange(const TTankDescription& now, const TTankDescription& fitted) {
    TableChange change;
    constexpr int kSteps = 1000;
    double previousNow = 0, previousFitted = 0;
    for (int k = 0; k <= kSteps; ++k) {
        const double h = now.A * k / kSteps;
        previousNow = capacity::VolumeAtLevel(now, h, previousNow);
        previousFitted = capacity::VolumeAtLevel(fitted, h, previousFitted);
        const double difference = 1000 * std::fabs(previousFitted - previousNow);
        if (difference > change.litres) change = {difference, h};
    }
    return change;
}

} // namespace kelvora::identify
