#pragma once
// Gauss–Legendre quadrature of a fixed order, its nodes found once by Newton's method on
// the Legendre polynomial. The exact head volumes split their integrals where the
// integrand has a kink, so that each piece is smooth and a fixed rule of modest order is
// exact to the last digits that matter.

#include <array>
#include <cmath>

namespace kelvora::geometry {

template <int N> class GaussLegendre {
public:
    GaussLegendre() {
        const long double pi = 3.14159265358979323846264338327950288L;
        for (int i = 0; i < (N + 1) / 2; ++i) {
            long double x = std::cos(pi * (i + 0.75L) / (N + 0.5L)), dp = 1;
            for (int iteration = 0; iteration < 100; ++iteration) {
                // P_N(x) and its derivative by the three-term recurrence.
                long double p0 = 1, p1 = x;
                for (int k = 2; k <= N; ++k) {
                    const long double p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
                    p0 = p1, p1 = p2;
                }
                dp = N * (x * p1 - p0) / (x * x - 1);
                const long double step = p1 / dp;
                x -= step;
                if (std::fabs(step) < 1e-19L) break;
            }
            const long double w = 2 / ((1 - x * x) * dp * dp);
            nodes_[i] = static_cast<double>(-x), nodes_[N - 1 - i] = static_cast<double>(x);
            weights_[i] = weights_[N - 1 - i] = static_cast<double>(w);
        }
    }

    // ∫ f over [a, b].
    template <typename F> double operator()(F&& f, double a, double b) const {
        const double half = (b - a) / 2, mid = (a + b) / 2;
        double sum = 0;
        for (int i = 0; i < N; ++i)
            sum += weights_[i] * f(mid + half * nodes_[i]);
        return sum * half;
    }

private:
    std::array<double, N> nodes_{}, weights_{};
};

} // namespace kelvora::geometry
