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

// The raised failure flags and their clearing, read straight from the x87 status word and
// MXCSR on x86-64 (extended operations raise them in the one, double operations in the
// other); the library's <cfenv> elsewhere. The library calls save and load the whole x87
// environment, which would dominate a table of a million levels.
namespace fpflags {
// Invalid operation, division by zero and overflow: the flags that mean failure. The
// others (inexact, underflow, denormal) are raised all the time and are left alone.
inline constexpr unsigned kMask = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
#if defined(__x86_64__)
inline unsigned read() {
    unsigned short sw;
    unsigned mxcsr;
    asm volatile("fnstsw %0" : "=am"(sw));
    asm volatile("stmxcsr %0" : "=m"(mxcsr));
    return (sw | mxcsr) & kMask;
}
// Leaves exactly `flags` of the failure flags raised: in MXCSR, whose flags are writable,
// the x87 ones cleared. Nothing is written when nothing changes, the usual case.
inline void set(unsigned flags) {
    unsigned short sw;
    unsigned mxcsr;
    asm volatile("fnstsw %0" : "=am"(sw));
    if (sw & kMask) asm volatile("fnclex");
    asm volatile("stmxcsr %0" : "=m"(mxcsr));
    if ((mxcsr & kMask) != (flags & kMask)) {
        mxcsr = (mxcsr & ~kMask) | (flags & kMask);
        asm volatile("ldmxcsr %0" : : "m"(mxcsr));
    }
}
#else
inline unsigned read() { return static_cast<unsigned>(fetestexcept(kMask)); }
inline void set(unsigned flags) {
    feclearexcept(kMask);
    if (flags) feraiseexcept(static_cast<int>(flags));
}
#endif
} // namespace fpflags

class FpGuard {
public:
    static constexpr int kFailures = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

    // Starts a guarded evaluation with the flags clear; the flags raised before are
    // restored at the end, so a failure the kernel absorbed leaves no trace for an
    // enclosing guard, and an enclosing guard's flags survive the kernel call.
    FpGuard() : saved_(fpflags::read()) {
        if (saved_) fpflags::set(0);
    }
    ~FpGuard() {
        if (fpflags::read() != saved_) fpflags::set(saved_);
    }
    FpGuard(const FpGuard&) = delete;
    FpGuard& operator=(const FpGuard&) = delete;

    // The failure flags raised since construction.
    static int raised() { return static_cast<int>(fpflags::read()) & kFailures; }
    static bool failed() { return raised() != 0; }

private:
    unsigned saved_;
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

// A result the double range cannot hold ends the request the way the hardware exception
// would have: infinity is an overflow, NaN an invalid operation. Returns x when finite.
[[noreturn]] void throwNotFinite(double x);
inline double finiteOrThrow(double x) {
    if (std::isfinite(x)) [[likely]]
        return x;
    throwNotFinite(x);
}

} // namespace kelvora::kernel
