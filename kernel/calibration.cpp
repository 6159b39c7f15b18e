#include "kernel/calibration.h"

#include "kernel/fp_guard.h"

namespace kelvora::kernel {

namespace {

// Two-point form through (x0, y0) and (x1, y1) at t.
double line(double x0, double y0, double x1, double y1, double t) {
    FpGuard guard;
    const double v = settle(settle(y0) + (y1 - y0) * (settle(t) - x0) / (x1 - x0));
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
        const double v = settle(Y[0] - (Y[1] - Y[0]) * (settle(X[0]) - t) / (X[1] - X[0]));
        throwIfFailed();
        return v;
    }
    int i = 1;
    while (i < last && !(t <= X[i])) ++i;
    return line(X[i - 1], Y[i - 1], X[i], Y[i], t);
}

} // namespace kelvora::kernel
