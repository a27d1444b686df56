#include "numbers.h"

#include "decimal.h"

#include <limits>

namespace pelomart {
using namespace detail;

namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

double leadingNumber(const QString& text) {
    qsizetype position = 0;
    const qsizetype size = text.size();
    auto readDigits = [&](std::string& digits) {
        while (position < size && isAsciiDigit(text[position])) {
            digits += static_cast<char>(text[position].unicode());
            ++position;
        }
    };

    while (position < size && isBlank(text[position])) {
        ++position;
    }
    Decimal number;
    if (position < size && (text[position] == u'-' || text[position] == u'+')) {
        number.negative = text[position] == u'-';
        ++position;
    }
    readDigits(number.integer);
    if (position < size && text[position] == u'.') {
        ++position;
        readDigits(number.fraction);
    }
    if (number.integer.empty() && number.fraction.empty()) {
        return 0.0;
    }
    if (position < size && (text[position] == u'e' || text[position] == u'E')) {
        qsizetype digitsStart = position + 1;
        bool negativeExponent = false;
        if (digitsStart < size && (text[digitsStart] == u'-' || text[digitsStart] == u'+')) {
            negativeExponent = text[digitsStart] == u'-';
            ++digitsStart;
        }
        if (digitsStart < size && isAsciiDigit(text[digitsStart])) {
            position = digitsStart;
            number.exponentNegative = negativeExponent;
            readDigits(number.exponentDigits);
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
