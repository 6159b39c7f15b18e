#pragma once
// Floating-point failure detection for the kernel. A failure is an invalid operation
// (square root of a negative number, 0/0, ...), a division of a non-zero number by zero,
// or an overflow; underflow and inexact results are not failures. The hardware exception
// flags answer exactly that question, for double and extended operations alike.

#include <cfenv>
#include <cmath>

namespace kelvora::kernel {

// Forces a value to be computed here, before the flags are read, and keeps a value whose
// only purpose is the check (a discarded arccos) from being optimised away.
template <typename T> inline T settle(T value) {
    asm volatile("" : "+m"(value) : : "memory");
    return value;
}

class FpGuard {
public:
    static constexpr int kFailures = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

    // Starts a guarded evaluation with the flags clear; the flags raised before are
    // restored at the end, so a failure the kernel absorbed leaves no trace for an
    // enclosing guard, and an enclosing guard's flags survive the kernel call.
    FpGuard() {
        fegetexceptflag(&saved_, FE_ALL_EXCEPT);
        feclearexcept(FE_ALL_EXCEPT);
    }
    ~FpGuard() { fesetexceptflag(&saved_, FE_ALL_EXCEPT); }
    FpGuard(const FpGuard&) = delete;
    FpGuard& operator=(const FpGuard&) = delete;

    // The failure flags raised since construction (or the last clear()).
    static int raised() { return fetestexcept(kFailures); }
    static bool failed() { return raised() != 0; }
    static void clear() { feclearexcept(FE_ALL_EXCEPT); }

private:
    fexcept_t saved_;
};

// Evaluates f(args...) with the failure flags watched: the result as a double, or
// `failure` when any step failed (a result too large for a double included). The
// arguments are settled after the flags are cleared, so no operation on them can be
// moved ahead of the clearing.
template <typename F, typename... A> double guarded(double failure, F&& f, A... args) {
    FpGuard guard;
    ((args = settle(args)), ...);
    const double result = settle(static_cast<double>(f(args...)));
    return FpGuard::failed() || !std::isfinite(result) ? failure : result;
}

// The text of the arithmetic error that a raised flag stands for.
const char* arithmeticErrorText(int flags);

// Throws ArithmeticError when a failure flag is raised.
void throwIfFailed();

} // namespace kelvora::kernel
