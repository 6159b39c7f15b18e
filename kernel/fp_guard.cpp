#include "kernel/fp_guard.h"

#include "kernel/errors.h"

namespace kelvora::kernel {

const char* arithmeticErrorText(int flags) {
    if (flags & FE_DIVBYZERO) return "Floating point division by zero";
    if (flags & FE_OVERFLOW) return "Floating point overflow";
    return "Invalid floating point operation";
}

void throwIfFailed() {
    if (const int flags = FpGuard::raised()) throw ArithmeticError(arithmeticErrorText(flags));
}

void throwNotFinite(double x) { throw ArithmeticError(arithmeticErrorText(std::isnan(x) ? FE_INVALID : FE_OVERFLOW)); }

} // namespace kelvora::kernel
