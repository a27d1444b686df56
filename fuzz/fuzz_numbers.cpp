// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

// Whole-text conversions: textToSingle and textToLong under several locales.
// Input: byte 0 picks the locale (bits 0-2) and UTF-16 instead of UTF-8 (bit 7);
// the rest is the text.

#include "fuzz_support.h"
#include "numbers.h"
#include "run_time_error.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace pelomart::fuzz {
namespace {

template <typename Value> struct Outcome {
    std::optional<Value> value;
    int error = 0;

    bool operator==(const Outcome&) const = default;
};

// Only a value, Type mismatch or Overflow may come out; any other exception escapes
// and libFuzzer reports it.
template <typename Convert> auto attempt(Convert convert) {
    Outcome<decltype(convert())> outcome;
    try {
        outcome.value = convert();
    } catch (const RunTimeError& e) {
        outcome.error = e.code();
        FUZZ_REQUIRE(outcome.error == 13 || outcome.error == 6, "error %d", outcome.error);
    }
    return outcome;
}

Outcome<std::uint32_t> singleBits(const QString& text, const QLocale& locale) {
    return attempt([&] { return std::bit_cast<std::uint32_t>(textToSingle(text, locale)); });
}

Outcome<std::int32_t> toLong(const QString& text, const QLocale& locale) {
    return attempt([&] { return textToLong(text, locale); });
}

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The text in C syntax when it is a plain number that every locale must read: an ASCII
// sign, ASCII digits, the locale's decimal separator, an exponent; no grouping. Such a
// text can be checked against the C library's own correctly rounded conversion.
std::optional<std::string> plainNumber(const QString& text, const QString& decimalPoint) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == u' ' || text[begin] == u'\t')) {
        ++begin;
    }
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t')) {
        --end;
    }
    const QStringView t = QStringView(text).sliced(begin, end - begin);
    std::string out;
    qsizetype i = 0;
    auto sign = [&] {
        if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
            out += char(t[i++].unicode());
        }
    };
    auto digits = [&] {
        const qsizetype start = i;
        while (i < t.size() && isAsciiDigit(t[i])) {
            out += char(t[i++].unicode());
        }
        return i - start;
    };
    sign();
    qsizetype mantissa = digits();
    if (t.sliced(i).startsWith(decimalPoint)) {
        i += decimalPoint.size();
        out += '.';
        mantissa += digits();
    }
    if (mantissa == 0) {
        return std::nullopt;
    }
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        out += 'e';
        sign();
        if (digits() == 0) {
            return std::nullopt;
        }
    }
    if (i != t.size()) {
        return std::nullopt;
    }
    return out;
}

// Whether the plain number's fraction is exactly one half: its digits from the decimal
// point on, with the exponent applied, are a 5 and zeros only.
bool isExactHalf(const std::string& c) {
    const std::size_t e = c.find('e');
    const std::string mantissa = c.substr(0, e);
    // Saturated: far beyond any digits these inputs can hold.
    long long exponent = 0;
    bool negativeExponent = false;
    for (std::size_t i = e == std::string::npos ? c.size() : e + 1; i < c.size(); ++i) {
        if (c[i] == '-') {
            negativeExponent = true;
        } else if (c[i] != '+') {
            exponent = std::min(exponent * 10 + (c[i] - '0'), 1'000'000'000LL);
        }
    }
    if (negativeExponent) {
        exponent = -exponent;
    }
    std::string digits;
    long long point = -1;
    for (char ch : mantissa) {
        if (ch == '.') {
            point = static_cast<long long>(digits.size());
        } else if (ch >= '0' && ch <= '9') {
            digits += ch;
        }
    }
    if (point < 0) {
        point = static_cast<long long>(digits.size());
    }
    point += exponent;
    if (point < 0 || point >= static_cast<long long>(digits.size()) ||
        digits[static_cast<std::size_t>(point)] != '5') {
        return false;
    }
    return digits.find_first_not_of('0', static_cast<std::size_t>(point) + 1) == std::string::npos;
}

void checkAgainstCLibrary(const std::string& c, const Outcome<std::uint32_t>& single,
                          const Outcome<std::int32_t>& whole) {
    errno = 0;
    const float expected = std::strtof(c.c_str(), nullptr);
    if (errno == ERANGE && std::isinf(expected)) {
        FUZZ_REQUIRE(single.error == 6, "\"%s\" overflows a float", c.c_str());
    } else {
        FUZZ_REQUIRE(single.value == std::bit_cast<std::uint32_t>(expected),
                     "\"%s\": strtof gives %a", c.c_str(), double(expected));
    }

    // A double is off by less than 2^-21 below 2^32: it decides the rounding except
    // within that distance of a half.
    const double d = std::strtod(c.c_str(), nullptr);
    if (!std::isfinite(d) || std::fabs(d) >= 4294967296.0) {
        FUZZ_REQUIRE(whole.error == 6, "\"%s\" is beyond int32", c.c_str());
        return;
    }
    const double below = std::floor(d);
    const double fraction = d - below;
    auto inRange = [](double v) { return v >= -2147483648.0 && v <= 2147483647.0; };
    auto matches = [&](double candidate) {
        return inRange(candidate) ? whole.value == std::int32_t(candidate) : whole.error == 6;
    };
    if (std::fabs(fraction - 0.5) > 1e-6) {
        FUZZ_REQUIRE(matches(fraction < 0.5 ? below : below + 1), "\"%s\" rounds to %.17g",
                     c.c_str(), fraction < 0.5 ? below : below + 1);
    } else if (isExactHalf(c)) {
        // Below 2^32 a half is exact in a double.
        const double even = std::fmod(below, 2.0) == 0.0 ? below : below + 1;
        FUZZ_REQUIRE(matches(even), "\"%s\" is a half and rounds to %.17g", c.c_str(), even);
    } else {
        FUZZ_REQUIRE(matches(below) || matches(below + 1), "\"%s\" rounds to a neighbour of %.17g",
                     c.c_str(), d);
    }
}

void checkText(const QString& text, const QLocale& locale) {
    const Outcome<std::uint32_t> single = singleBits(text, locale);
    const Outcome<std::int32_t> whole = toLong(text, locale);
    const std::string shown = quoted(text).toStdString() + " in " + locale.name().toStdString();

    // One reader decides what is a number for both.
    FUZZ_REQUIRE((single.error == 13) == (whole.error == 13), "%s: errors %d and %d", shown.c_str(),
                 single.error, whole.error);
    FUZZ_REQUIRE(singleBits(QStringLiteral(" \t") + text + QStringLiteral("\t "), locale) == single,
                 "%s: blanks around change the value", shown.c_str());

    if (const std::optional<std::string> c = plainNumber(text, locale.decimalPoint())) {
        checkAgainstCLibrary(*c, single, whole);
    }

    if (single.error == 6) {
        FUZZ_REQUIRE(whole.error == 6, "%s: beyond float but not beyond int32", shown.c_str());
    }
    if (single.value) {
        const float f = std::bit_cast<float>(*single.value);
        FUZZ_REQUIRE(std::isfinite(f), "%s gives %a", shown.c_str(), double(f));

        // The float is within half an ulp of the decimal, the integer within a half.
        if (whole.value) {
            const double distance = std::fabs(double(*whole.value) - double(f));
            FUZZ_REQUIRE(distance <= 0.5 + std::fabs(double(f)) * 0x1p-23,
                         "%s: integer %d, float %a", shown.c_str(), *whole.value, double(f));
        } else if (whole.error == 6) {
            FUZZ_REQUIRE(std::fabs(f) >= 2147483648.0f, "%s: overflow, but float %a", shown.c_str(),
                         double(f));
        }

        // Our own writer, and Qt's with the locale's grouping, signs and digits: the
        // shortest decimal of the double reads back as the float it came from.
        for (const QString& written :
             {numberToText(double(f), locale),
              locale.toString(double(f), 'f', QLocale::FloatingPointShortest)}) {
            const Outcome<std::uint32_t> back = singleBits(written, locale);
            FUZZ_REQUIRE(back.value && std::bit_cast<float>(*back.value) == f,
                         "%s: %a written as %s reads back as error %d or %a", shown.c_str(),
                         double(f), qPrintable(written), back.error,
                         back.value ? double(std::bit_cast<float>(*back.value)) : 0.0);
        }
    }
    if (whole.value) {
        const QString written = numberToText(*whole.value);
        FUZZ_REQUIRE(toLong(written, locale).value == whole.value,
                     "%s: %d does not read back from %s", shown.c_str(), *whole.value,
                     qPrintable(written));
    }
}

} // namespace
} // namespace pelomart::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    using namespace pelomart::fuzz;
    checkText(textFrom(data + 1, size - 1, (data[0] & 0x80) != 0), localeFor(data[0] & 7));
    return 0;
}
