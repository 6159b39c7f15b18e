#include "identify/tilt_model.h"

#include "capacity/volume.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace kelvora::identify {

using capacity::TTankDescription;

namespace {

double tankLength(const TTankDescription& d) {
    return d.L + d.left.dims.h + d.right.dims.h;
}

// Below this many readings a second thread costs more than it saves.
constexpr std::size_t kSharedRun = 2000;

void fill(const TTankDescription& d, const std::vector<double>& levels, std::size_t from, std::size_t to,
          double* out) {
    double previous = 0;
    for (std::size_t i = from; i < to; ++i) {
        previous = capacity::VolumeAtLevel(d, levels[i], previous);
        out[i - from] = 1000 * previous;
    }
}

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

double TiltModel::signedAlpha() const {
    return d_.lowerEndRight ? -d_.alpha : d_.alpha;
}

std::vector<double> volumesAt(const TiltModel& model, double signedAlpha, double beta,
                              const std::vector<double>& levels, std::size_t from, std::size_t to) {
    const TTankDescription d = model.describe(signedAlpha, beta);
    std::vector<double> V(to - from);
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    if (cores == 1 || to - from < kSharedRun) {
        fill(d, levels, from, to, V.data());
        return V;
    }
    const std::size_t half = from + (to - from) / 2;
    std::thread other([&] { fill(d, levels, half, to, V.data() + (half - from)); });
    fill(d, levels, from, half, V.data());
    other.join();
    return V;
}

std::vector<double> volumesAt(const TiltModel& model, double signedAlpha, double beta,
                              const std::vector<double>& levels) {
    return volumesAt(model, signedAlpha, beta, levels, 0, levels.size());
}

} // namespace kelvora::identify
