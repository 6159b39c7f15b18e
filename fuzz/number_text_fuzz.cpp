// The text-to-number conversions every input goes through, on arbitrary text: no crash or
// undefined behaviour, and the results agree with each other and with the formatting.

#include "fuzz_check.h"
#include "kernel/errors.h"
#include "kernel/number_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace kelvora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const auto whole = kernel::tryStrToInt(text);
    FUZZ_CHECK(kernel::tryStrToInt(" " + text) == whole); // leading blanks never count
    FUZZ_CHECK(kernel::strToIntDef(text, 7) == whole.value_or(7));
    if (whole) {
        FUZZ_CHECK(kernel::tryStrToInt(std::to_string(*whole)) == whole);
        FUZZ_CHECK(kernel::strToInt(text) == *whole);
    } else {
        bool threw = false;
        try {
            kernel::strToInt(text);
        } catch (const ConvertError&) {
            threw = true;
        }
        FUZZ_CHECK(threw);
    }

    const auto number = kernel::tryStrToFloat(text);
    FUZZ_CHECK(kernel::tryStrToFloat(" " + text + " ") == number);
    if (!number) return 0;
    FUZZ_CHECK(std::isfinite(*number));
    FUZZ_CHECK(kernel::strToFloat(text) == *number);
    char exact[40];
    std::snprintf(exact, sizeof exact, "%.17g", *number);
    FUZZ_CHECK(kernel::tryStrToFloat(exact) == number);
    // The shown forms read back as (nearly) the number, well inside the double range.
    if (std::fabs(*number) < 1e300) {
        // Fifteen correctly rounded significant digits: the same decimal as the C library's,
        // and distinct 15-digit decimals read back as distinct doubles.
        char digits15[40];
        std::snprintf(digits15, sizeof digits15, "%.14e", *number);
        const auto general = kernel::tryStrToFloat(kernel::formatGeneral(*number));
        FUZZ_CHECK(general && *general == std::strtod(digits15, nullptr));
        const auto rounded = kernel::tryStrToFloat(kernel::RoundToStr(*number));
        FUZZ_CHECK(rounded && std::fabs(*rounded - *number) <= 0.005 + 1e-14 * std::fabs(*number));
    }
    return 0;
}
