// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "numbers.h"
#include "run_time_error.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfenv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace pelomart {
namespace {

// A value, or the error the conversion must throw.
template <typename Value> struct Outcome {
    Outcome(Value value) : value(value) {}
    Outcome(ErrorNumber error) : error(error) {}
    std::optional<Value> value;
    std::optional<ErrorNumber> error;
};

constexpr ErrorNumber kMismatch = ErrorNumber::TypeMismatch;
constexpr ErrorNumber kOverflow = ErrorNumber::Overflow;

template <typename Value, typename Convert>
void expectOutcome(const Outcome<Value>& expected, Convert convert) {
    try {
        const Value value = convert();
        ASSERT_TRUE(expected.value) << "expected error " << static_cast<int>(*expected.error);
        EXPECT_EQ(value, *expected.value);
    } catch (const RunTimeError& error) {
        ASSERT_TRUE(expected.error) << "unexpected error " << error.code();
        EXPECT_EQ(error.code(), static_cast<int>(*expected.error));
    }
}

// Floats are compared by their bit pattern, which the record writes little-endian.
template <typename Value> struct TextCase {
    const char* what;
    const char* locale;
    const char* text; // UTF-8
    Outcome<Value> expected;
};

TEST(TextToSingle, ReadsTheLocalesFormatAndNothingElse) {
    const std::vector<TextCase<std::uint32_t>> cases{
        {"decimal comma", "de_DE", "0,68114573", 0x3F2E5F91},
        {"negative decimal comma", "de_DE", "-0,73214793", 0xBF3B6E0C},
        {"whole number", "de_DE", "-1980", 0xC4F78000},
        {"dot grouping", "de_DE", "1.234,5", 0x449A5000},
        {"dot between too few digits", "de_DE", "1.5", kMismatch},
        {"exponent after decimal comma", "de_DE", "1,5e3", 0x44BB8000},
        {"plain space for no-break space", "cs_CZ", "1 234,5", 0x449A5000},
        {"no-break space", "cs_CZ", "1\u00A0234,5", 0x449A5000},
        {"plain space for narrow no-break space", "fr_FR", "1 234,5", 0x449A5000},
        {"comma not where groups go", "en_US", "0,68114573", kMismatch},
        {"comma grouping", "en_US", "1,234.5", 0x449A5000},
        {"Indian grouping", "en_US", "1,00,000", kMismatch},
        {"last group of two", "en_US", "10,00", kMismatch},
        {"leftmost group too long", "en_US", "1234,567", kMismatch},
        {"groups of three then two", "hi_IN", "12,34,567.5", 0x4996B43C},
        {"groups of three only", "hi_IN", "1,234,567", kMismatch},
        {"comma is nothing", "C", "1,5", kMismatch},
        {"minus sign U+2212", "sv_SE", "\u22121,5", 0xBFC00000},
        {"blanks around", "en_US", " 12\t", 0x41400000},
        {"no digits before the point", "en_US", ".5", 0x3F000000},
        {"no digits after the point", "en_US", "5.", 0x40A00000},
        {"no digits at all", "en_US", ".", kMismatch},
        {"exponent without digits", "en_US", "1e", kMismatch},
        {"empty", "en_US", "", kMismatch},
        {"blanks only", "en_US", " \t ", kMismatch},
        {"inf", "en_US", "inf", kMismatch},
        {"nan", "en_US", "nan", kMismatch},
        {"C hexadecimal", "en_US", "0x10", kMismatch},
        {"Basic hexadecimal", "en_US", "&H10", kMismatch},
        {"rounded once, not via double", "en_US", "1.0000000596046448", 0x3F800001},
        {"rounds up beyond the largest", "en_US", "3.4028236e38", kOverflow},
        {"beyond the range", "en_US", "-1e39", kOverflow},
        {"small digits, large exponent", "en_US", "0.00001e45", kOverflow},
        {"tiny becomes zero", "en_US", "1e-50", 0},
        {"large digits, tiny exponent", "en_US", "100000e-55", 0},
        {"smallest subnormal", "en_US", "1e-45", 1},
    };
    for (const TextCase<std::uint32_t>& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " (" + c.locale + ") \"" + c.text + "\"");
        const QLocale locale(QString::fromLatin1(c.locale));
        expectOutcome<std::uint32_t>(c.expected, [&] {
            return std::bit_cast<std::uint32_t>(textToSingle(QString::fromUtf8(c.text), locale));
        });
    }
}

TEST(TextToLong, RoundsHalfToEvenWithinInt32) {
    const std::vector<TextCase<std::int32_t>> cases{
        {"half down to even", "en_US", "2.5", 2},
        {"half up to even", "en_US", "3.5", 4},
        {"negative half to even", "en_US", "-2.5", -2},
        {"just above a half", "en_US", "2.5000000000000000001", 3},
        {"half from an exponent", "en_US", "0.0025e3", 2},
        {"largest", "en_US", "2147483647", 2147483647},
        {"largest plus a half", "en_US", "2147483647.5", kOverflow},
        {"smallest minus a half", "en_US", "-2147483648.5",
         std::numeric_limits<std::int32_t>::min()},
        {"smallest minus more", "en_US", "-2147483648.51", kOverflow},
        {"exponent beyond", "en_US", "1e10", kOverflow},
        {"many digits", "en_US", "99999999999999999999", kOverflow},
        {"tiny", "en_US", "1e-400", 0},
        {"dot grouping", "de_DE", "1.234", 1234},
        {"dot between too few digits", "de_DE", "1.5", kMismatch},
    };
    for (const TextCase<std::int32_t>& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " (" + c.locale + ") \"" + c.text + "\"");
        const QLocale locale(QString::fromLatin1(c.locale));
        expectOutcome<std::int32_t>(c.expected,
                                    [&] { return textToLong(QString::fromUtf8(c.text), locale); });
    }
}

TEST(LeadingNumber, ReadsTheLongestNumberAtTheStart) {
    const double infinity = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        const char* text;
        double expected;
    };
    const std::vector<Case> cases{
        {"letters end it", "12abc", 12},
        {"a comma ends it", "0,5", 0},
        {"a second point ends it", "1.2.3", 1.2},
        {"no number", "abc", 0},
        {"empty", "", 0},
        {"a sign alone", "-", 0},
        {"blanks before", " \t7", 7},
        {"decimal point", "28.4", 28.4},
        {"no digits before the point", ".5", 0.5},
        {"exponent", "1e3", 1000},
        {"negative with exponent", "-1e20", -1e20},
        {"e without digits", "1e", 1},
        {"e with a sign only", "1e+", 1},
        {"beyond the double range", "1e400", infinity},
        {"negative beyond the range", "-1e400", -infinity},
        {"below the double range", "1e-400", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ": \"" + c.text + "\"");
        EXPECT_EQ(leadingNumber(QString::fromUtf8(c.text)), c.expected);
    }
}

TEST(RoundToLong, HalfToEvenWithinInt32InEveryRoundingMode) {
    struct Case {
        const char* what;
        double value;
        Outcome<std::int32_t> expected;
    };
    const std::vector<Case> cases{
        {"half down to even", 28.5, 28},
        {"half up to even", 29.5, 30},
        {"negative half to even", -28.5, -28},
        {"largest double below a half", 0.49999999999999994, 0},
        {"largest plus a half", 2147483647.5, kOverflow},
        {"smallest minus a half", -2147483648.5, std::numeric_limits<std::int32_t>::min()},
        {"smallest minus more", -2147483648.6, kOverflow},
        {"infinity", std::numeric_limits<double>::infinity(), kOverflow},
        {"not a number", std::numeric_limits<double>::quiet_NaN(), kOverflow},
    };
    struct RestoreRoundingMode {
        int saved = std::fegetround();
        ~RestoreRoundingMode() { std::fesetround(saved); }
    } restore;
    for (int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        ASSERT_EQ(std::fesetround(mode), 0);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << " in rounding mode " << mode);
            expectOutcome<std::int32_t>(c.expected, [&] { return roundToLong(c.value); });
        }
    }
}

TEST(NumberToText, FifteenDigitsWithTheLocalesDecimalSeparator) {
    struct Case {
        double value;
        const char* locale;
        const char* expected; // UTF-8
    };
    const std::vector<Case> cases{
        {0.7, "de_DE", "0,7"},           {0.7, "en_US", "0.7"},       {150.0, "de_DE", "150"},
        {0.3, "de_DE", "0,3"},           {0.1 + 0.2, "en_US", "0.3"}, {-5.0, "C", "-5"},
        {1234567.0, "cs_CZ", "1234567"}, {1e20, "en_US", "1e+20"},    {-0.0, "en_US", "0"},
        {0.5, "ar_EG", "0\u066B5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " in " << c.locale);
        EXPECT_EQ(numberToText(c.value, QLocale(QString::fromLatin1(c.locale))),
                  QString::fromUtf8(c.expected));
    }
    EXPECT_EQ(numberToText(std::numeric_limits<std::int32_t>::min()), u"-2147483648");
}

// The fixed parameters are written to the fields as text and read back from them.
TEST(NumberToText, ReadsBackInTheSameLocale) {
    for (const char* name : {"de_DE", "cs_CZ", "en_US", "C", "fr_FR", "sv_SE", "hi_IN"}) {
        const QLocale locale(QString::fromLatin1(name));
        for (double value : {0.7, 0.3, 150.0, -5.0, 1e20, 1234567.0, 1.0 / 3.0}) {
            SCOPED_TRACE(testing::Message() << value << " in " << name);
            EXPECT_EQ(
                std::bit_cast<std::uint32_t>(textToSingle(numberToText(value, locale), locale)),
                std::bit_cast<std::uint32_t>(static_cast<float>(value)));
        }
    }
}

} // namespace
} // namespace pelomart
