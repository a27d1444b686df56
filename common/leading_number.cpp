// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "numbers.h"

#include "decimal.h"

#include <limits>

namespace pelomart {
using namespace detail;

double leadingNumber(const QString& text) {
    qsizetype position = 0;
    const qsizetype size = text.size();

    while (position < size && isBlank(text[position])) {
        ++position;
    }
    Decimal number;
    if (position < size && (text[position] == u'-' || text[position] == u'+')) {
        number.negative = text[position] == u'-';
        ++position;
    }
    readDigits(text, position, number.integer, asciiDigitValue);
    if (position < size && text[position] == u'.') {
        ++position;
        readDigits(text, position, number.fraction, asciiDigitValue);
    }
    if (number.integer.empty() && number.fraction.empty()) {
        return 0.0;
    }
    if (position < size && (text[position] == u'e' || text[position] == u'E')) {
        // An exponent without digits is no exponent: the number ends before the "e".
        qsizetype digitsStart = position + 1;
        bool negativeExponent = false;
        if (digitsStart < size && (text[digitsStart] == u'-' || text[digitsStart] == u'+')) {
            negativeExponent = text[digitsStart] == u'-';
            ++digitsStart;
        }
        if (readDigits(text, digitsStart, number.exponentDigits, asciiDigitValue)) {
            number.exponentNegative = negativeExponent;
        }
    }

    const auto [value, range] = toBinary<double>(number);
    if (range == Range::Overflow) {
        return number.negative ? -std::numeric_limits<double>::infinity()
                               : std::numeric_limits<double>::infinity();
    }
    return value;
}

} // namespace pelomart
