// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

// leadingNumber and roundToLong.
// Input: byte 0 picks the rounding mode roundToLong runs in (bits 0-1) and what the
// rest is (bit 2): clear, a UTF-8 text for leadingNumber whose result is then rounded;
// set, a double's 8 bytes for roundToLong alone.

#include "fuzz_support.h"
#include "numbers.h"
#include "run_time_error.h"

#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace pelomart::fuzz {
namespace {

constexpr int kRoundingModes[] = {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO};

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The longest leading number in C syntax, found without the code under test, for strtod
// to convert: blanks, a sign, digits with at most one point, an exponent only when it
// has digits. Empty when there is no number.
std::string leadingNumberText(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    std::string out;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        out += char(text[i++].unicode());
    }
    bool anyDigit = false;
    while (i < text.size() && isAsciiDigit(text[i])) {
        out += char(text[i++].unicode());
        anyDigit = true;
    }
    if (i < text.size() && text[i] == u'.') {
        out += '.';
        ++i;
        while (i < text.size() && isAsciiDigit(text[i])) {
            out += char(text[i++].unicode());
            anyDigit = true;
        }
    }
    if (!anyDigit) {
        return {};
    }
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == u'-' || text[j] == u'+')) {
            exponent += char(text[j++].unicode());
        }
        if (j < text.size() && isAsciiDigit(text[j])) {
            while (j < text.size() && isAsciiDigit(text[j])) {
                exponent += char(text[j++].unicode());
            }
            out += exponent;
        }
    }
    return out;
}

void checkLeadingNumber(const QString& text) {
    const double value = leadingNumber(text);
    FUZZ_REQUIRE(!std::isnan(value), "%s gives NaN", qPrintable(quoted(text)));
    const std::string c = leadingNumberText(text);
    // strtod gives an infinity beyond the range and rounds correctly otherwise.
    const double expected = c.empty() ? 0.0 : std::strtod(c.c_str(), nullptr);
    FUZZ_REQUIRE(std::bit_cast<std::uint64_t>(value) == std::bit_cast<std::uint64_t>(expected),
                 "%s gives %a, strtod(\"%s\") %a", qPrintable(quoted(text)), value, c.c_str(),
                 expected);
}

// The caller's rounding mode must not matter: the window never changes it, but a
// library it loads could.
void checkRoundToLong(double value, int mode) {
    // Built with -frounding-math: this runs in the default mode, before the switch.
    const double nearest = std::nearbyint(value);
    const bool inRange = nearest >= -2147483648.0 && nearest <= 2147483647.0; // false for NaN

    FUZZ_REQUIRE(std::fesetround(mode) == 0, "rounding mode %d", mode);
    int error = 0;
    std::int32_t result = 0;
    try {
        result = roundToLong(value);
    } catch (const RunTimeError& e) {
        error = e.code();
    }
    std::fesetround(FE_TONEAREST);

    if (inRange) {
        FUZZ_REQUIRE(error == 0 && result == std::int32_t(nearest),
                     "%a in mode %d: %d or error %d, not %.17g", value, mode, result, error,
                     nearest);
    } else {
        FUZZ_REQUIRE(error == 6, "%a in mode %d: %d or error %d, not Overflow", value, mode, result,
                     error);
    }
}

} // namespace
} // namespace pelomart::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelomart::fuzz;
    if (size == 0) {
        return 0;
    }
    const int mode = kRoundingModes[data[0] & 3];
    if (data[0] & 4) {
        if (size < 9) {
            return 0;
        }
        double value;
        std::memcpy(&value, data + 1, sizeof value);
        checkRoundToLong(value, mode);
        return 0;
    }
    const QString text = textFrom(data + 1, size - 1, false);
    checkLeadingNumber(text);
    checkRoundToLong(pelomart::leadingNumber(text), mode);
    return 0;
}
