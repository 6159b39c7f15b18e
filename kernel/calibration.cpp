#include "kernel/calibration.h"

#include "kernel/fp_guard.h"

namespace kelvora::kernel {

namespace {

using LD = long double;

// Two-point form through (x0, y0) and (x1, y1) at t, evaluated left to right in extended
// precision; only the result is rounded to a double.
double line(LD x0, LD y0, LD x1, LD y1, LD t) {
    FpGuard guard;
    const double v = settle(static_cast<double>(settle(y0) + (y1 - y0) * (settle(t) - x0) / (x1 - x0)));
    throwIfFailed();
    return v;
}

} // namespace

double GetValueLagrange(int n, std::span<const double> X, std::span<const double> Y, double t) {
    if (n == 1) return Y[0];
    const int last = n - 1;
    if (t == X[last]) return Y[last];
    if (t > X[last]) return line(X[last - 1], Y[last - 1], X[last], Y[last], t);
    if (!(t > X[0])) {
        FpGuard guard;
        const LD y0 = Y[0], y1 = Y[1], x0 = X[0], x1 = X[1];
        const double v = settle(static_cast<double>(settle(y0) - (y1 - y0) * (settle(x0) - t) / (x1 - x0)));
        throwIfFailed();
        return v;
    }
    int i = 1;
    while (i < last && !(t <= X[i])) ++i;
    return line(X[i - 1], Y[i - 1], X[i], Y[i], t);
}

} // namespace kelvora::kernel
