#include "identify/tilt_fit.h"

#include "kernel/number_text.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <utility>

namespace kelvora::identify {

using capacity::TTankDescription;

namespace {

using Vector = Eigen::VectorXd;
using Matrix = Eigen::MatrixXd;

constexpr double kDegree = std::numbers::pi / 180;
// Beyond these the volume functions are no longer a tank lying in the ground; the page
// refuses an inclination of 45° or more.
constexpr double kMaxAlpha = 45, kMaxBeta = 80;
constexpr int kMaxIterations = 200;
// The grid sees at most kGridRecords records and the first descents kSearchRecords: enough
// to tell the basins apart.
constexpr std::size_t kGridRecords = 300, kSearchRecords = 1500;
// The residuals of a large file are computed in runs of this many, a cancel seen between runs.
constexpr std::size_t kRun = 1 << 16;

// Unwinds a cancelled fit to fitTilt, which answers it.
struct Cancelled {};

// The share of the work done, reported as stages go, and the cancel looked at each time.
class Progress {
public:
    explicit Progress(const FitControl& control) : control_(control) {}
    void stage(double from, double to) {
        from_ = from, to_ = to;
        report(0);
    }
    // Never back: a stage's steps may start over (the rounds of a descent).
    void report(double share) const {
        if (control_.cancelled()) throw Cancelled{};
        done_ = std::max(done_, from_ + (to_ - from_) * std::clamp(share, 0.0, 1.0));
        if (control_.progress) control_.progress(done_);
    }

private:
    const FitControl& control_;
    double from_ = 0, to_ = 1;
    mutable double done_ = 0;
};

Vector vectorOf(const std::vector<double>& v) {
    return Eigen::Map<const Vector>(v.data(), static_cast<Eigen::Index>(v.size()));
}

// The residuals of a sample of the records and their Jacobian over (α, u, V0), or (α, V0)
// with β fixed at 0. Both volume methods see β only through cos β, and dV/dβ vanishes at
// β = 0, where the sum is flat to fourth order and the steps would wander; over
// u = 1 − cos β the sum has a slope there, and a best fit that wants cos β above 1 stops at
// the bound u = 0, β = 0.
class Problem {
public:
    Problem(const TiltModel& model, const RecordSample& records, bool betaZero)
        : model_(model), records_(records), net_(vectorOf(records.net)), betaZero_(betaZero) {}

    // Each record's residual counts with its weight (the square root of it multiplies the
    // residual); without weights every record counts alike.
    void weigh(const Vector& weights) { root_ = weights.cwiseSqrt(); }

    bool betaZero() const { return betaZero_; }
    int parameters() const { return betaZero_ ? 2 : 3; }
    Eigen::Index size() const { return net_.size(); }
    static double betaOf(double u) { return std::acos(1 - std::clamp(u, 0.0, 1.0)) / kDegree; }
    static double uOf(double beta) { return 1 - std::cos(beta * kDegree); }
    double alpha(const Vector& x) const { return x[0]; }
    double u(const Vector& x) const { return betaZero_ ? 0 : x[1]; }
    double beta(const Vector& x) const { return betaOf(u(x)); }
    double start(const Vector& x) const { return x[parameters() - 1]; }

    Vector volumes(double a, double b) const { return vectorOf(volumesAt(model_, a, b, records_.level)); }
    const Vector& net() const { return net_; }
    Vector plainResiduals(const Vector& x) const {
        return volumes(alpha(x), beta(x)).array() - start(x) - net_.array();
    }
    Vector residuals(const Vector& x) const {
        Vector r = plainResiduals(x);
        if (root_.size()) r.array() *= root_.array();
        return r;
    }

    // Central differences (one-sided at the bound u = 0); V0 enters linearly.
    Matrix jacobian(const Vector& x) const {
        Matrix J(size(), parameters());
        constexpr double step = 1e-4, uStep = 1e-7;
        const double a = alpha(x), b = beta(x);
        J.col(0) = (volumes(a + step, b) - volumes(a - step, b)) / (2 * step);
        if (!betaZero_) {
            const double low = std::max(0.0, u(x) - uStep), high = u(x) + uStep;
            J.col(1) = (volumes(a, betaOf(high)) - volumes(a, betaOf(low))) / (high - low);
        }
        J.col(parameters() - 1).setConstant(-1);
        if (root_.size()) J.array().colwise() *= root_.array();
        return J;
    }

    // The step's end kept within the bounds of u; nothing when α leaves its range.
    std::optional<Vector> admissible(Vector x) const {
        if (!x.allFinite() || std::fabs(alpha(x)) >= kMaxAlpha) return std::nullopt;
        if (!betaZero_) x[1] = std::clamp(x[1], 0.0, uOf(kMaxBeta));
        return x;
    }

    // At the bound u = 0 with the descent pushing beyond it, u is held.
    bool heldAtBound(const Vector& x, const Vector& gradient) const {
        return !betaZero_ && x[1] <= 0 && gradient[1] > 0;
    }

    // The point for the angles with the best V0 for them, the mean of V − N.
    Vector point(double a, double b) const {
        Vector x(parameters());
        x[0] = a;
        if (!betaZero_) x[1] = uOf(b);
        const Vector d = volumes(a, b) - net_;
        x[parameters() - 1] = root_.size() ? d.dot(root_.cwiseAbs2()) / root_.squaredNorm() : d.mean();
        return x;
    }

    // The sum of squares for the angles with the best V0: n times the variance of V − N.
    double cost(double a, double b) const {
        const Vector d = volumes(a, b) - net_;
        return (d.array() - d.mean()).square().sum();
    }

private:
    const TiltModel& model_;
    const RecordSample& records_;
    Vector net_;
    bool betaZero_;
    Vector root_;
};

struct Solution {
    Vector x;
    double cost = std::numeric_limits<double>::infinity();
    bool converged = false;
};

// The cosine between the residuals and the steepest column of the Jacobian, each free
// parameter alone: zero at a minimum, whatever the units of the parameters.
double gradientCosine(const Problem& problem, const Matrix& J, const Vector& r, const Vector& x) {
    const Vector g = J.transpose() * r;
    const double norm = r.norm();
    if (norm == 0) return 0;
    double largest = 0;
    for (int j = 0; j < problem.parameters(); ++j) {
        if (j == 1 && problem.heldAtBound(x, g)) continue;
        const double column = J.col(j).norm();
        if (column > 0) largest = std::max(largest, std::fabs(g[j]) / (column * norm));
    }
    return largest;
}

// Levenberg–Marquardt with Marquardt's scaling by the diagonal, so degrees and litres
// need no scaling of their own. It ends converged when the residuals stand at right
// angles to the Jacobian (the gradient vanishes), when the steps or the gains fall to
// rounding, or when no step lowers a sum whose gradient has already nearly vanished; it
// ends unconverged after kMaxIterations, or at the edge of the angles' range.
Solution levenbergMarquardt(const Problem& problem, Vector x, const Progress& progress) {
    constexpr double kGradientTolerance = 1e-8, kStalledGradient = 1e-4;
    Solution s;
    Vector r = problem.residuals(x);
    double cost = r.squaredNorm();
    // Residuals at the rounding of the volumes leave the gradient's direction to chance.
    const double floor = 1e-18 * std::max(1.0, problem.net().squaredNorm());
    double lambda = 1e-3;
    for (int iteration = 0; iteration < kMaxIterations && !s.converged; ++iteration) {
        progress.report(iteration / 30.0);
        const Matrix J = problem.jacobian(x);
        const double cosine = gradientCosine(problem, J, r, x);
        if (cosine <= kGradientTolerance || cost <= floor) {
            s.converged = true;
            break;
        }
        const Matrix A = J.transpose() * J;
        const Vector g = J.transpose() * r;
        const Vector diagonal = A.diagonal().cwiseMax(1e-12 * std::max(1.0, A.diagonal().maxCoeff()));
        bool improved = false;
        while (lambda < 1e16) {
            Matrix M = A;
            M.diagonal() += lambda * diagonal;
            Vector delta = M.ldlt().solve(-g);
            // At the bound β = 0 with the step pushing beyond it, the other parameters move
            // on their own: the bound's variable is held.
            if (!problem.betaZero() && x[1] <= 0 && delta[1] < 0) {
                M.row(1).setZero();
                M.col(1).setZero();
                M(1, 1) = 1;
                Vector held = g;
                held[1] = 0;
                delta = M.ldlt().solve(-held);
            }
            if (const auto next = problem.admissible(x + delta)) {
                const Vector step = *next - x;
                const Vector rn = problem.residuals(*next);
                const double cn = rn.squaredNorm();
                if (std::isfinite(cn) && cn <= cost) {
                    const double gain = cost - cn;
                    x = *next, r = rn;
                    cost = cn;
                    lambda = std::max(lambda / 10, 1e-12);
                    improved = true;
                    s.converged = gain <= 1e-14 * cost + floor ||
                                  (step.array().abs() <= 1e-10 * (1 + x.array().abs())).all();
                    break;
                }
            }
            lambda *= 10;
        }
        if (!improved) {
            // Stalled: a minimum within the rounding of the volumes only where the gradient
            // has already all but vanished.
            s.converged = cosine <= kStalledGradient;
            break;
        }
    }
    // A sum still falling towards the edge of the angles' range has no minimum in it.
    if (std::fabs(problem.alpha(x)) > 0.9 * kMaxAlpha || problem.beta(x) > 0.9 * kMaxBeta)
        s.converged = false;
    s.x = x;
    s.cost = cost;
    return s;
}

// Up to `count` of `indices`, evenly spaced, the first and the last among them.
std::vector<std::size_t> evenlySpaced(const std::vector<std::size_t>& indices, std::size_t count) {
    if (indices.size() <= count) return indices;
    std::vector<std::size_t> out(count);
    const std::size_t last = indices.size() - 1;
    for (std::size_t k = 0; k < count; ++k)
        out[k] = indices[k * last / (count - 1)];
    return out;
}

RecordSample sampleOf(const RecordSample& all, const std::vector<std::size_t>& indices) {
    RecordSample s;
    s.level.reserve(indices.size());
    s.net.reserve(indices.size());
    for (std::size_t i : indices) {
        s.level.push_back(all.level[i]);
        s.net.push_back(all.net[i]);
    }
    return s;
}

// The grid the search starts from: every α the page accepts, finer where tanks lie, and β
// from nearly level to the steepest tilt the volume functions describe.
const std::vector<double>& gridAlphas() {
    static const std::vector<double> alphas = [] {
        std::vector<double> a{0};
        for (double x : {0.5,  1.0,  1.5,  2.0,  3.0,  4.0,  5.0,  6.5,  8.0,  10.0,
                         12.0, 14.0, 17.0, 20.0, 23.0, 26.0, 30.0, 34.0, 38.0, 42.0}) {
            a.push_back(x);
            a.push_back(-x);
        }
        std::sort(a.begin(), a.end());
        return a;
    }();
    return alphas;
}
const std::vector<double> kGridBetas{1, 4, 8, 14, 22, 32, 45, 60, 75};

// The grid's local minima, best first, at most `count`.
std::vector<StartingPoint> gridStarts(const Problem& problem, const Progress& progress, std::size_t count) {
    const std::vector<double>& alphas = gridAlphas();
    const std::vector<double> betas = problem.betaZero() ? std::vector<double>{0} : kGridBetas;
    const std::size_t na = alphas.size(), nb = betas.size();
    std::vector<double> cost(na * nb);
    for (std::size_t i = 0; i < na; ++i) {
        progress.report(static_cast<double>(i) / static_cast<double>(na));
        for (std::size_t j = 0; j < nb; ++j) {
            const double c = problem.cost(alphas[i], betas[j]);
            cost[i * nb + j] = std::isfinite(c) ? c : std::numeric_limits<double>::infinity();
        }
    }
    std::vector<std::pair<double, StartingPoint>> minima;
    for (std::size_t i = 0; i < na; ++i)
        for (std::size_t j = 0; j < nb; ++j) {
            const double c = cost[i * nb + j];
            if (!std::isfinite(c)) continue;
            bool lowest = true;
            for (std::size_t k = i > 0 ? i - 1 : 0; k <= std::min(i + 1, na - 1) && lowest; ++k)
                for (std::size_t l = j > 0 ? j - 1 : 0; l <= std::min(j + 1, nb - 1); ++l)
                    if (cost[k * nb + l] < c) lowest = false;
            if (lowest) minima.push_back({c, {alphas[i], betas[j]}});
        }
    std::sort(minima.begin(), minima.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    std::vector<StartingPoint> starts;
    for (std::size_t k = 0; k < minima.size() && k < count; ++k)
        starts.push_back(minima[k].second);
    return starts;
}

// The records' distinct levels, rising, and each record's place among them: a gauge reads
// to a tenth or a hundredth of a millimetre, so a long file repeats its levels, and each
// volume is computed once.
struct DistinctLevels {
    std::vector<double> level;
    std::vector<std::uint32_t> of; // per record
};

DistinctLevels distinctLevels(const RecordSample& all) {
    std::vector<std::uint32_t> order(all.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<std::uint32_t>(i);
    std::sort(order.begin(), order.end(), [&](auto x, auto y) { return all.level[x] < all.level[y]; });
    DistinctLevels d;
    d.of.resize(all.size());
    for (std::uint32_t i : order) {
        if (d.level.empty() || d.level.back() != all.level[i]) d.level.push_back(all.level[i]);
        d.of[i] = static_cast<std::uint32_t>(d.level.size() - 1);
    }
    return d;
}

// Every record's residual for the point, the volumes in runs.
std::vector<double> allResiduals(const TiltModel& model, double a, double b, double start,
                                 const RecordSample& all, const DistinctLevels& distinct,
                                 const Progress& progress) {
    std::vector<double> V;
    V.reserve(distinct.level.size());
    for (std::size_t from = 0; from < distinct.level.size(); from += kRun) {
        progress.report(static_cast<double>(from) / static_cast<double>(distinct.level.size()));
        const auto run =
            volumesAt(model, a, b, distinct.level, from, std::min(distinct.level.size(), from + kRun));
        V.insert(V.end(), run.begin(), run.end());
    }
    std::vector<double> r(all.size());
    for (std::size_t i = 0; i < r.size(); ++i)
        r[i] = V[distinct.of[i]] - start - all.net[i];
    return r;
}

double median(std::vector<double> v) {
    const auto middle = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), middle, v.end());
    if (v.size() % 2) return *middle;
    return (*middle + *std::max_element(v.begin(), middle)) / 2;
}

// The records whose residual lies too far from the residuals' median.
std::vector<std::size_t> outliersOf(const std::vector<double>& residuals) {
    const double m = median(residuals);
    std::vector<double> deviation(residuals.size());
    for (std::size_t i = 0; i < residuals.size(); ++i)
        deviation[i] = std::fabs(residuals[i] - m);
    const double limit = std::max(kOutlierDeviations * median(deviation), kOutlierFloor);
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < residuals.size(); ++i)
        if (deviation[i] > limit) out.push_back(i);
    return out;
}

// Tukey's biweight for the residuals r about their median at a scale from their median
// absolute deviation, the cut-off at least kOutlierFloor: the first fit then follows the
// bulk of the records, and a typed level far off does not drag every residual with it.
Vector biweights(const Vector& r) {
    std::vector<double> v(r.data(), r.data() + r.size());
    const double m = median(v);
    for (double& x : v)
        x = std::fabs(x - m);
    const double cutoff = std::max(4.685 * 1.4826 * median(v), kOutlierFloor);
    Vector w(r.size());
    for (Eigen::Index i = 0; i < r.size(); ++i) {
        const double t = std::fabs(r[i] - m) / cutoff;
        w[i] = t < 1 ? (1 - t * t) * (1 - t * t) : 0;
    }
    return w;
}

// The fit made robust by reweighting from a least-squares solution, a few rounds.
Solution robustly(Problem& problem, Solution s, const Progress& progress) {
    constexpr int kRounds = 5;
    for (int round = 0; round < kRounds; ++round) {
        problem.weigh(biweights(problem.plainResiduals(s.x)));
        const Solution next = levenbergMarquardt(problem, s.x, progress);
        if (!next.converged) break;
        const bool settled = ((next.x - s.x).array().abs() <= 1e-6 * (1 + s.x.array().abs())).all();
        s = next;
        if (settled) break;
    }
    return s;
}

struct Covariance {
    Matrix matrix;
    bool ok = false;
};

Covariance covarianceOf(const Problem& problem, const Solution& s) {
    const Matrix J = problem.jacobian(s.x);
    const auto n = static_cast<double>(problem.size());
    const double variance = s.cost / (n - problem.parameters());
    const Eigen::FullPivLU<Matrix> information(J.transpose() * J);
    if (!information.isInvertible()) return {};
    Covariance c{variance * information.inverse(), true};
    c.ok = c.matrix.allFinite() && (c.matrix.diagonal().array() >= 0).all();
    return c;
}

} // namespace

std::size_t recordNumber(const Records& records, std::size_t i) {
    return records.line.size() == records.level.size() ? records.line[i] : i + 1;
}

std::string outsideTankMessage(std::size_t record, double level, double height) {
    return "呵呵，记录文件第 " + std::to_string(record) + " 行的液位 " + kernel::formatGeneral(level) +
           " 毫米在罐外（应在 0～" + kernel::formatGeneral(height) + " 毫米之间），无法识别变位！";
}

std::string tooManyOutliersMessage(std::size_t count, std::size_t records) {
    return "呵呵，" + std::to_string(records) + " 条记录中有 " + std::to_string(count) +
           " 条（超过5%）离拟合太远，这些记录不可信，无法识别变位！";
}

Identification fitTilt(const TTankDescription& d, const Records& records, bool betaZero,
                       const std::vector<StartingPoint>& starts, const FitControl& control) {
    Identification out;
    const std::size_t n = records.level.size();
    for (std::size_t i = 0; i < n; ++i)
        if (!(records.level[i] >= 0 && records.level[i] <= d.A)) {
            out.message = outsideTankMessage(recordNumber(records, i), records.level[i], d.A);
            return out;
        }
    if (n < 10) {
        out.message = messages::kTooFewRecords;
        return out;
    }
    const auto [low, high] = std::minmax_element(records.level.begin(), records.level.end());
    if (!(*high - *low >= 0.1 * d.A)) {
        out.message = messages::kNarrowLevels;
        return out;
    }
    try {
        Progress progress(control);
        const TiltModel model(d);
        const RecordSample all{records.level, records.net};
        const DistinctLevels distinct = distinctLevels(all);
        std::vector<std::size_t> used(n);
        for (std::size_t i = 0; i < n; ++i)
            used[i] = i;

        // The largest RMS a fit may have: a share of the range of the net volume of the records used.
        auto rmsLimit = [&] {
            double lowNet = std::numeric_limits<double>::infinity(), highNet = -lowNet;
            for (std::size_t i : used)
                lowNet = std::min(lowNet, all.net[i]), highNet = std::max(highNet, all.net[i]);
            return kMaxRmsShare * (highNet - lowNet);
        };

        // The basin from the grid (or the points given) over a few records, the fit there
        // made robust, so that records far off can be told from the rest.
        bool fixed = betaZero;
        const RecordSample few = sampleOf(all, evenlySpaced(used, kSearchRecords));
        Problem coarse(model, few, fixed);
        progress.stage(0, 0.2);
        const RecordSample grid = sampleOf(all, evenlySpaced(used, kGridRecords));
        const std::vector<StartingPoint> from =
            starts.empty() ? gridStarts(Problem(model, grid, fixed), progress, 4) : starts;
        Solution best, lowest;
        for (std::size_t k = 0; k < from.size(); ++k) {
            progress.stage(0.2 + 0.2 * k / from.size(), 0.2 + 0.2 * (k + 1) / from.size());
            const Solution s =
                levenbergMarquardt(coarse, coarse.point(from[k].alpha, from[k].beta), progress);
            if (s.converged && s.cost < best.cost) best = s;
            if (s.cost < lowest.cost) lowest = s;
        }
        if (!best.converged) {
            // Where no descent settles, a sum far above what the records allow is a poor fit.
            const double rms = std::sqrt(lowest.cost / static_cast<double>(few.size()));
            out.message = rms > rmsLimit() ? messages::kPoorFit : messages::kNoConvergence;
            return out;
        }
        progress.stage(0.4, 0.5);
        const Solution robust = robustly(coarse, best, progress);
        double a = coarse.alpha(robust.x), b = coarse.beta(robust.x);

        // One pass over every record's residual sets the outliers aside.
        progress.stage(0.5, 0.6);
        std::vector<double> residuals =
            allResiduals(model, a, b, coarse.start(robust.x), all, distinct, progress);
        const std::vector<std::size_t> outliers = outliersOf(residuals);
        if (static_cast<double>(outliers.size()) > kMaxOutlierShare * static_cast<double>(n)) {
            out.message = tooManyOutliersMessage(outliers.size(), n);
            return out;
        }
        if (!outliers.empty()) {
            std::vector<bool> aside(n, false);
            for (std::size_t i : outliers)
                aside[i] = true;
            used.clear();
            for (std::size_t i = 0; i < n; ++i)
                if (!aside[i]) used.push_back(i);
        }

        // Least squares over the records used, or an evenly spaced sample of them.
        const RecordSample fitted = sampleOf(all, evenlySpaced(used, kMaxFittedRecords));
        auto descend = [&](bool betaFixedAtZero, double alpha, double beta) -> std::optional<Solution> {
            const Problem problem(model, fitted, betaFixedAtZero);
            const Solution s = levenbergMarquardt(problem, problem.point(alpha, beta), progress);
            if (!s.converged) return std::nullopt;
            return s;
        };
        progress.stage(0.6, 0.75);
        std::optional<Solution> found = descend(fixed, a, b);
        if (!found) {
            out.message = messages::kNoConvergence;
            return out;
        }
        auto angles = [&](const Solution& s) {
            const Problem p(model, fitted, fixed);
            return std::pair{p.alpha(s.x), p.beta(s.x)};
        };

        auto rmsOver = [&](const std::vector<double>& r) {
            double sum = 0;
            for (std::size_t i : used)
                sum += r[i] * r[i];
            return std::sqrt(sum / static_cast<double>(used.size()));
        };
        const double limit = rmsLimit();

        // The verdict on one fit: its residuals over every record, and its covariance.
        Covariance covariance;
        auto evaluate = [&](double from, double to) {
            progress.stage(from, to);
            std::tie(a, b) = angles(*found);
            const Problem problem(model, fitted, fixed);
            residuals = allResiduals(model, a, b, problem.start(found->x), all, distinct, progress);
            covariance = covarianceOf(problem, *found);
        };
        evaluate(0.75, 0.88);
        if (!(rmsOver(residuals) <= limit)) {
            out.message = messages::kPoorFit;
            return out;
        }
        bool betaFixed = false;
        auto betaError = [&] {
            // β's error is the change of β for one standard error of u; near β = 0, where β
            // is not linear in u, this is the one-sided error that stays finite.
            const double u = Problem::uOf(b), uError = std::sqrt(covariance.matrix(1, 1));
            return Problem::betaOf(u + uError) - b;
        };
        if (!fixed && covariance.ok && betaError() > kMaxAngleError) {
            // β enters only through cos β: near 0 the records cannot tell it from 0, and
            // its error says so without the fit being poor.
            fixed = betaFixed = true;
            progress.stage(0.88, 0.92);
            found = descend(true, a, 0);
            if (!found) {
                out.message = messages::kNoConvergence;
                return out;
            }
            evaluate(0.92, 0.96);
        }
        if (!covariance.ok) {
            out.message = messages::kNotIdentifiable;
            return out;
        }
        const Matrix& C = covariance.matrix;
        const int p = fixed ? 2 : 3;
        if (!(rmsOver(residuals) <= limit) || !(std::sqrt(C(0, 0)) <= kMaxAngleError)) {
            out.message = messages::kPoorFit;
            return out;
        }

        TiltFit fit;
        const Problem problem(model, fitted, fixed);
        const Vector& x = found->x;
        fit.exact = d.exactGeometry;
        fit.lowerEndRight = a < 0;
        fit.alpha = std::fabs(a);
        fit.beta = b;
        fit.betaFixed = betaFixed;
        fit.startVolume = problem.start(x);
        fit.alphaError = std::sqrt(C(0, 0));
        fit.startError = std::sqrt(C(p - 1, p - 1));
        if (!fixed) {
            fit.betaError = betaError();
            // β rises with u, so the correlation keeps its sign; α ≥ 0 turns it with the low end.
            const double c = C(0, 1) / (fit.alphaError * std::sqrt(C(1, 1)));
            fit.correlation = std::isfinite(c) ? c * (a < 0 ? -1 : 1) : 0;
        }
        fit.rms = rmsOver(residuals);
        for (std::size_t i : used)
            fit.maxResidual = std::max(fit.maxResidual, std::fabs(residuals[i]));
        fit.residualsAfter = std::move(residuals);
        // Before: the description's own angles with the best V0 for them over the records used.
        progress.stage(0.96, 1);
        std::vector<double> before =
            allResiduals(model, model.signedAlpha(), d.beta, 0, all, distinct, progress);
        double mean = 0;
        for (std::size_t i : used)
            mean += before[i];
        mean /= static_cast<double>(used.size());
        for (double& r : before)
            r -= mean;
        fit.residualsBefore = std::move(before);
        fit.used = used.size();
        fit.skipped = records.skipped;
        fit.sampled = fitted.size() < used.size() ? fitted.size() : 0;
        for (std::size_t i : outliers)
            fit.outliers.push_back(recordNumber(records, i));
        fit.fitted = model.describe(a, b);
        fit.F = fit.fitted.F;
        out.fit = std::move(fit);
    } catch (const Cancelled&) {
        out = {};
        out.cancelled = true;
    }
    return out;
}

} // namespace kelvora::identify
