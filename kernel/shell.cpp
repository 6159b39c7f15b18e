#include "kernel/shell.h"

#include "kernel/fp_guard.h"
#include "kernel/fp_math.h"

namespace kelvora::kernel {

double YuangTong(double D, double W, double h, double L) {
    return guarded(
        -1.0,
        [](long double D, long double W, long double h, long double L) {
            // Area of the circular segment of a circle of diameter D filled to h.
            const long double S = D * D / 4 * arcSin(2 * h / D - 1) + (h - D / 2) * std::sqrt(D * h - h * h) +
                                  kPi * D * D / 8;
            // The ellipse stretches the circle horizontally by W/D.
            return S * (L * W / D) * 1e-9L;
        },
        static_cast<long double>(D), static_cast<long double>(W), static_cast<long double>(h),
        static_cast<long double>(L));
}

} // namespace kelvora::kernel
