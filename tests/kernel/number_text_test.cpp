#include "kernel/errors.h"
#include "kernel/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace kelvora::kernel {
namespace {

TEST(RoundToStr, TwoDecimalsTiesToEvenOnTheExtendedQuotient) {
    struct Case { double x; const char* text; };
    const Case cases[] = {
        {1234.5678, "1234.57"}, {0.125, "0.12"}, {2.675, "2.67"}, {0.004, "0"},     {1.0, "1"},
        {1500.004, "1500"},     {0.005, "0"}, {-2.675, "-2.67"}, {-1.0, "-1"},    {0.0, "0"},
        {1e15, "1E15"},         {123456789012.345, "123456789012.34"}, {0.07, "0.07"}, {1700.0, "1700"},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundToStr(c.x), c.text) << c.x;
}

TEST(FormatGeneral, FifteenSignificantDigits) {
    struct Case { long double x; const char* text; };
    const Case cases[] = {
        {12.5L, "12.5"},      {3, "3"},
        {0.07L, "0.07"},      {1e15L, "1E15"},
        {1.5e-6L, "1.5E-6"},  {999999999999999.0L, "999999999999999"},
        {0.00001L, "0.00001"}, {0.0000099999L, "9.9999E-6"},
        {-12.5L, "-12.5"},    {0, "0"},
        {-0.0L, "0"},         {1.0L / 3, "0.333333333333333"},
        {2.0L / 3, "0.666666666666667"}, {1.23e20L, "1.23E20"},
        {123456789.123456789L, "123456789.123457"}, {30 * 0.1L, "3"},
        {125 * 0.1L, "12.5"}, {-1e-7L, "-1E-7"},
        {9999999999999995.0L, "1E16"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatGeneral(c.x), c.text) << static_cast<double>(c.x);
}

TEST(FormatGeneral, DigitsEqualTheCorrectlyRoundedOnes) {
    // Levels and volumes of every size, exact ties included: the shown digits are the
    // value correctly rounded to 15 significant digits.
    std::mt19937_64 random(2024);
    std::uniform_real_distribution<double> mantissa(1, 10);
    std::uniform_int_distribution<int> exponent(-12, 20);
    std::vector<long double> values{1234567890123.125L, 0.5L, 2.5L, 0.0026L * 7, 1e14L + 0.5L};
    for (int i = 0; i < 200000; ++i) {
        const long double x = mantissa(random) * std::pow(10.0L, exponent(random));
        values.push_back(i % 2 ? x : -x);
        values.push_back(static_cast<long double>(static_cast<double>(x)) * 0.1L);
    }
    for (long double x : values) {
        char exact[64];
        std::snprintf(exact, sizeof exact, "%.14Le", x);
        const std::string shown = formatGeneral(x);
        ASSERT_EQ(std::strtold(shown.c_str(), nullptr), std::strtold(exact, nullptr)) << exact << " shown " << shown;
    }
}

TEST(StrToFloat, PlainDecimalsOnly) {
    struct Case { const char* text; bool ok; double value; };
    const Case cases[] = {
        {"12.5", true, 12.5}, {" 3 ", true, 3},  {"-4", true, -4},     {"+4.", true, 4},  {".5", true, 0.5},
        {"1e3", true, 1000},  {"2E-2", true, 0.02}, {"1e-400", true, 0}, {"0", true, 0},
        {"", false, 0},       {".", false, 0},   {"1,5", false, 0},    {"inf", false, 0}, {"nan", false, 0},
        {"0x10", false, 0},   {"1e999", false, 0}, {"1e", false, 0},   {"--1", false, 0}, {"1.2.3", false, 0},
        {"12a", false, 0},    {"  ", false, 0},  {"\t1", false, 0},    {"infinity", false, 0},
    };
    for (const auto& c : cases) {
        const auto v = tryStrToFloat(c.text);
        EXPECT_EQ(v.has_value(), c.ok) << '"' << c.text << '"';
        if (c.ok && v) {
            EXPECT_DOUBLE_EQ(*v, c.value) << '"' << c.text << '"';
        }
    }
    try {
        strToFloat("1,5");
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'1,5' is not a valid floating point value");
    }
}

TEST(IsNumberText, TheDensityFieldsCheck) {
    struct Case { const char* text; bool number; };
    const Case cases[] = {
        {"0.85", true}, {"0", true},    {"0.", true},  {".", true},   {" 850 ", true}, {"-1", true},
        {"1e", true},   {"1E+", true},  {"1e-3", true}, {"+.5", true}, {"\t7\r", true},
        {"", false},    {"0.8.", false}, {"e5", false}, {"abc", false}, {"1,5", false}, {"+", false},
        {"1e5e", false}, {"- 1", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isNumberText(c.text), c.number) << '"' << c.text << '"';
}

TEST(StrToInt, ThirtyTwoBitWholeNumbers) {
    struct Case { const char* text; bool ok; int value; };
    const Case cases[] = {
        {"12", true, 12},          {"  12", true, 12},         {"-7", true, -7},       {"+7", true, 7},
        {"$1F", true, 31},         {"0x1", true, 1},           {"x10", true, 16},      {"0X1f", true, 31},
        {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1}, {"$FFFFFFFF", true, -1},
        {"2147483648", false, 0},  {"99999999999", false, 0},  {"", false, 0},         {"12 ", false, 0},
        {"1.5", false, 0},         {"yes", false, 0},          {"$", false, 0},        {"0x", false, 0},
    };
    for (const auto& c : cases) {
        const auto v = tryStrToInt(c.text);
        EXPECT_EQ(v.has_value(), c.ok) << '"' << c.text << '"';
        if (c.ok && v) {
            EXPECT_EQ(*v, c.value) << '"' << c.text << '"';
        }
    }
    EXPECT_EQ(strToIntDef("abc", 9999), 9999);
    EXPECT_EQ(strToIntDef("8", 9999), 8);
    try {
        strToInt("abc");
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    }
}

std::string repeat(std::string_view piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

TEST(ConversionMessage, QuotesAtMostSixtyFourCharacters) {
    struct Case { std::string text, quoted; };
    const std::string a64 = repeat("a", 64), cjk64 = repeat("数", 64);
    const Case cases[] = {
        {a64, a64},
        {a64 + "b", a64 + "…"},
        {cjk64, cjk64},
        {cjk64 + "数", cjk64 + "…"},
        // A three-byte character right at the cut is kept whole or left out whole.
        {repeat("a", 63) + "数数", repeat("a", 63) + "数…"},
        {repeat("数", 63) + "a" + "\xF0\x9F\x98\x80", repeat("数", 63) + "a…"},
        {repeat("x,", 64 * 1024), repeat("x,", 32) + "…"}, // a pasted 128 KiB
    };
    for (const auto& c : cases) {
        try {
            strToFloat(c.text);
            ADD_FAILURE() << c.text.size() << " bytes converted";
        } catch (const ConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + c.quoted + "' is not a valid floating point value");
        }
        try {
            strToInt(c.text);
            ADD_FAILURE() << c.text.size() << " bytes converted";
        } catch (const ConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + c.quoted + "' is not a valid integer value");
        }
    }
}

} // namespace
} // namespace kelvora::kernel
