// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

// The decimal form that both number readers build, and its one rounding to binary.

#include <QChar>
#include <QStringView>
#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

namespace pelomart::detail {

// A number as written: its digits without separators, and its exponent in
// decimal. Kept as text so that the binary value is rounded only once.
struct Decimal {
    bool negative = false;
    std::string integer;
    std::string fraction;
    std::string exponentDigits;
    bool exponentNegative = false;
};

// Any exponent beyond this is out of every range we convert to; saturating
// keeps the arithmetic below from overflowing on absurd texts.
inline constexpr long long kExponentLimit = 1'000'000'000'000LL;

inline long long exponentValue(const Decimal& number) {
    long long value = 0;
    for (char digit : number.exponentDigits) {
        value = std::min(value * 10 + (digit - '0'), kExponentLimit);
    }
    return number.exponentNegative ? -value : value;
}

// Where the decimal point falls among integer + fraction digits.
inline long long pointPosition(const Decimal& number) {
    return static_cast<long long>(number.integer.size()) + exponentValue(number);
}

// The power of ten of the first nonzero digit; nothing for a zero.
inline std::optional<long long> magnitude(const Decimal& number) {
    const std::size_t first = (number.integer + number.fraction).find_first_not_of('0');
    if (first == std::string::npos) {
        return std::nullopt;
    }
    return pointPosition(number) - 1 - static_cast<long long>(first);
}

enum class Range { Inside, Overflow, Underflow };

template <typename Binary> std::pair<Binary, Range> toBinary(const Decimal& number) {
    std::string ascii;
    ascii.reserve(number.integer.size() + number.fraction.size() + number.exponentDigits.size() +
                  5);
    if (number.negative) {
        ascii += '-';
    }
    ascii += number.integer.empty() ? std::string("0") : number.integer;
    if (!number.fraction.empty()) {
        ascii += '.';
        ascii += number.fraction;
    }
    if (!number.exponentDigits.empty()) {
        ascii += number.exponentNegative ? "e-" : "e";
        ascii += number.exponentDigits;
    }

    // The text is well formed by construction: the only failure left is the range.
    Binary value{};
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // libstdc++ reports both ends this way and leaves the value untouched.
        const Binary zero = number.negative ? -Binary(0) : Binary(0);
        const std::optional<long long> power = magnitude(number);
        if (power && *power >= 0) {
            return {zero, Range::Overflow};
        }
        return {zero, Range::Underflow};
    }
    return {value, Range::Inside};
}

// The value of an ASCII digit, or -1.
inline int asciiDigitValue(QChar c) {
    return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : -1;
}

// Appends the digits from `position` on to `digits` as ASCII and moves past them;
// `digitValue` gives a character's value, or -1 where the digits end. Whether any was read.
template <typename DigitValue>
bool readDigits(QStringView text, qsizetype& position, std::string& digits, DigitValue digitValue) {
    const std::size_t before = digits.size();
    while (position < text.size()) {
        const int value = digitValue(text[position]);
        if (value < 0) {
            break;
        }
        digits += static_cast<char>('0' + value);
        ++position;
    }
    return digits.size() > before;
}

inline bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

} // namespace pelomart::detail
