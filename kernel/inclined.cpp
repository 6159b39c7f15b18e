#include "kernel/inclined.h"

#include "kernel/fp_guard.h"
#include "kernel/fp_math.h"

#include <cmath>

namespace kelvora::kernel {

double GaoDuBianHuan(double A, double L, double p, double alpha, double beta, double h) {
    using LD = long double;
    return guarded(
        0.0,
        [](LD A, LD L, LD p, LD alpha, LD beta, LD h) {
            const LD t = std::tan(alpha * kPi / 180);
            const LD cosBeta = std::cos(beta * kPi / 180);
            // The tilted gauge shortens the distance of the reading from mid-height.
            const double E = static_cast<double>(h * cosBeta + A * (1 - cosBeta) / 2 - h);
            double F;
            if (t * (L - p) > h) {
                // The upper end is dry: a wedge from the lower end.
                const LD cot = 1 / t;
                F = static_cast<double>((h + t * p) * (h + t * p) * cot / (2 * L));
            } else if (A - t * p > h) {
                // The surface meets neither bottom nor top: the depth at mid-length.
                F = static_cast<double>(t * (p - L / 2) + h);
            } else {
                // The lower end is full: the empty wedge ends at the upper end.
                const LD cot = 1 / t;
                const LD gap = cot * (A - h) + L - p;
                F = static_cast<double>(A - gap * gap * t / (2 * L));
            }
            return LD(F) + E;
        },
        LD(A), LD(L), LD(p), LD(alpha), LD(beta), LD(h));
}

} // namespace kelvora::kernel
