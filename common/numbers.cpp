// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "numbers.h"

#include "decimal.h"
#include "run_time_error.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace pelomart {
using namespace detail;

namespace {

QStringView trimmedBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.sliced(begin, end - begin);
}

bool isSpaceSeparator(const QString& separator) {
    return separator == u" " || separator == u"\u00A0" || separator == u"\u202F";
}

// Drops the direction marks some locales put before their signs, so that the bare
// sign a user types is recognised too.
QString withoutDirectionMarks(QString sign) {
    sign.remove(QChar(0x200E));
    sign.remove(QChar(0x200F));
    sign.remove(QChar(0x061C));
    return sign;
}

void addToken(QStringList& tokens, const QString& token) {
    if (!token.isEmpty() && !tokens.contains(token)) {
        tokens.append(token);
    }
}

void longestFirst(QStringList& tokens) {
    std::stable_sort(tokens.begin(), tokens.end(),
                     [](const QString& a, const QString& b) { return a.size() > b.size(); });
}

// How the locale writes numbers, as far as reading them back needs it.
struct NumberFormat {
    QString decimalPoint;
    QStringList groupSeparators;
    QStringList negativeSigns;
    QStringList positiveSigns;
    char16_t nativeZero = u'0';
    int primaryGroup = 0; // 0: the locale does not group digits
    int secondaryGroup = 0;

    explicit NumberFormat(const QLocale& given) {
        // The options only tell how this QLocale object formats (QLocale("C") omits
        // the separators, QLocale::system() in C does not); reading depends on the data,
        // unless reading is told to take no groups.
        const bool grouped = !given.numberOptions().testFlag(QLocale::RejectGroupSeparator);
        QLocale locale = given;
        locale.setNumberOptions(QLocale::DefaultNumberOptions);

        decimalPoint = locale.decimalPoint();
        const QString separator = grouped ? locale.groupSeparator() : QString();
        if (isSpaceSeparator(separator)) {
            groupSeparators = {QStringLiteral(" "), QStringLiteral("\u00A0"),
                               QStringLiteral("\u202F")};
        } else if (!separator.isEmpty()) {
            groupSeparators = {separator};
        }

        negativeSigns = {QStringLiteral("-")};
        addToken(negativeSigns, locale.negativeSign());
        addToken(negativeSigns, withoutDirectionMarks(locale.negativeSign()));
        longestFirst(negativeSigns);
        positiveSigns = {QStringLiteral("+")};
        addToken(positiveSigns, locale.positiveSign());
        addToken(positiveSigns, withoutDirectionMarks(locale.positiveSign()));
        longestFirst(positiveSigns);

        const QString zero = locale.zeroDigit();
        if (zero.size() == 1) {
            nativeZero = zero.front().unicode();
        }

        if (!separator.isEmpty()) {
            const QStringList groups = locale.toString(1234567890123LL).split(separator);
            if (groups.size() >= 2) {
                primaryGroup = digitCount(groups.back());
                secondaryGroup =
                    groups.size() >= 3 ? digitCount(groups[groups.size() - 2]) : primaryGroup;
            }
        }
    }

    static int digitCount(const QString& group) {
        return static_cast<int>(
            std::count_if(group.begin(), group.end(), [](QChar c) { return c.isDigit(); }));
    }

    // The digit's value, or -1.
    int digitValue(QChar c) const {
        const char16_t code = c.unicode();
        if (const int ascii = asciiDigitValue(c); ascii >= 0) {
            return ascii;
        }
        if (code >= nativeZero && code <= nativeZero + 9) {
            return code - nativeZero;
        }
        return -1;
    }
};

class LocaleNumberReader {
public:
    LocaleNumberReader(QStringView text, const NumberFormat& format)
        : m_text(text), m_format(format) {}

    // The whole text as one number, or nothing.
    std::optional<Decimal> read() {
        Decimal number;
        if (takeAny(m_format.negativeSigns)) {
            number.negative = true;
        } else {
            takeAny(m_format.positiveSigns);
        }
        if (!readInteger(number.integer)) {
            return std::nullopt;
        }
        if (take(m_format.decimalPoint)) {
            readDigits(number.fraction);
        }
        if (number.integer.empty() && number.fraction.empty()) {
            return std::nullopt;
        }
        if (take(u"e") || take(u"E")) {
            if (takeAny(m_format.negativeSigns)) {
                number.exponentNegative = true;
            } else {
                takeAny(m_format.positiveSigns);
            }
            if (!readDigits(number.exponentDigits)) {
                return std::nullopt;
            }
        }
        if (m_position != m_text.size()) {
            return std::nullopt;
        }
        return number;
    }

private:
    bool take(QStringView token) {
        if (token.isEmpty() || !m_text.sliced(m_position).startsWith(token)) {
            return false;
        }
        m_position += token.size();
        return true;
    }

    bool takeAny(const QStringList& tokens) {
        return std::any_of(tokens.begin(), tokens.end(),
                           [this](const QString& token) { return take(token); });
    }

    bool readDigits(std::string& digits) {
        return detail::readDigits(m_text, m_position, digits,
                                  [this](QChar c) { return m_format.digitValue(c); });
    }

    // Digits with group separators only where the locale itself puts them:
    // the last group primaryGroup long, the ones before secondaryGroup long,
    // the leftmost no longer than secondaryGroup.
    bool readInteger(std::string& digits) {
        std::vector<int> groups;
        int current = 0;
        while (true) {
            const std::size_t before = digits.size();
            readDigits(digits);
            current += static_cast<int>(digits.size() - before);
            if (m_format.primaryGroup == 0 || current == 0 || !takeAny(m_format.groupSeparators)) {
                break;
            }
            groups.push_back(current);
            current = 0;
        }
        if (groups.empty()) {
            return true;
        }
        if (current != m_format.primaryGroup) {
            return false;
        }
        if (groups.front() > m_format.secondaryGroup) {
            return false;
        }
        return std::all_of(groups.begin() + 1, groups.end(),
                           [this](int size) { return size == m_format.secondaryGroup; });
    }

    QStringView m_text;
    const NumberFormat& m_format;
    qsizetype m_position = 0;
};

Decimal readLocaleNumber(const QString& text, const QLocale& locale) {
    const NumberFormat format(locale);
    std::optional<Decimal> number = LocaleNumberReader(trimmedBlanks(text), format).read();
    if (!number) {
        throw RunTimeError(ErrorNumber::TypeMismatch);
    }
    return *number;
}

// Rounds the exact decimal, half to even; a rounded double could land on the
// wrong side of a half.
std::int32_t roundDecimalToLong(const Decimal& number) {
    const std::optional<long long> power = magnitude(number);
    if (!power) {
        return 0;
    }
    if (*power >= 10) {
        throw RunTimeError(ErrorNumber::Overflow);
    }
    const std::string digits = number.integer + number.fraction;
    const long long first = static_cast<long long>(digits.find_first_not_of('0'));
    const long long point = pointPosition(number);
    auto digitAt = [&](long long index) {
        if (index < 0 || index >= static_cast<long long>(digits.size())) {
            return 0;
        }
        return digits[static_cast<std::size_t>(index)] - '0';
    };

    long long whole = 0;
    for (long long index = first; index < point; ++index) {
        whole = whole * 10 + digitAt(index);
    }
    const int roundingDigit = digitAt(point);
    const bool aboveHalf =
        digits.find_first_not_of('0', static_cast<std::size_t>(std::max(point + 1, 0LL))) !=
        std::string::npos;
    if (roundingDigit > 5 || (roundingDigit == 5 && (aboveHalf || whole % 2 != 0))) {
        ++whole;
    }

    const long long value = number.negative ? -whole : whole;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        throw RunTimeError(ErrorNumber::Overflow);
    }
    return static_cast<std::int32_t>(value);
}

} // namespace

QLocale plainNotation() {
    QLocale notation = QLocale::c();
    notation.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return notation;
}

float textToSingle(const QString& text, const QLocale& locale) {
    const auto [value, range] = toBinary<float>(readLocaleNumber(text, locale));
    if (range == Range::Overflow) {
        throw RunTimeError(ErrorNumber::Overflow);
    }
    return value;
}

std::int32_t textToLong(const QString& text, const QLocale& locale) {
    return roundDecimalToLong(readLocaleNumber(text, locale));
}

std::int32_t roundToLong(double value) {
    // Comparisons first: NaN fails both, and no out-of-range value reaches a cast.
    if (!(value >= -2147483648.5 && value <= 2147483647.5)) {
        throw RunTimeError(ErrorNumber::Overflow);
    }
    // floor() and the subtraction are exact here, whatever the rounding mode.
    const double below = std::floor(value);
    const double rest = value - below;
    double rounded = below;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(below, 2.0) != 0.0)) {
        rounded = below + 1.0;
    }
    if (rounded < -2147483648.0 || rounded > 2147483647.0) {
        throw RunTimeError(ErrorNumber::Overflow);
    }
    return static_cast<std::int32_t>(rounded);
}

QString numberToText(std::int32_t value) {
    return QString::number(value);
}

QString numberToText(double value, const QLocale& locale) {
    QString text = QString::number(value, 'g', 15);
    text.replace(u'.', locale.decimalPoint());
    return text;
}

} // namespace pelomart
