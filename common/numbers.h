// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>

// Conversions between the window's texts and numbers. Failures throw RunTimeError.
// Read by hand rather than with QLocale::toFloat/toDouble: toFloat rounds twice, to a
// double and then to a float, so "1.00000005960464477550" becomes 1 where the nearest
// float is 1.00000012; and both take "inf" and "nan" as numbers, which no field may hold.
namespace pelomart {

// The notation that pelomart-chg prints numbers in and reads them in unless told a
// locale: "." as the decimal point and no digit grouping, so that a text copied from its
// output reads as the same number in every environment, and "1,500" is refused rather
// than taken for 1500. A locale with QLocale::RejectGroupSeparator set reads no groups.
QLocale plainNotation();

// The whole text (blanks around allowed) must be a number in the locale's format:
// its decimal separator, its digit grouping where the locale puts groups, a sign and
// an exponent. Not a number: TypeMismatch. Beyond the float range: Overflow.
// The result is the binary32 nearest to the decimal value written.
float textToSingle(const QString& text, const QLocale& locale = QLocale());

// Same number rules; a fraction rounds half to even. Outside int32: Overflow.
std::int32_t textToLong(const QString& text, const QLocale& locale = QLocale());

// Reads the longest leading number of the text with "." as the decimal point,
// whatever the locale. Blanks before it are skipped; no number gives 0. Never throws.
// A number beyond the double range gives an infinity of its sign.
double leadingNumber(const QString& text);

// Nearest integer, a half to the even neighbour; outside int32: Overflow.
std::int32_t roundToLong(double value);

QString numberToText(std::int32_t value);
// At most 15 significant digits, no trailing zeros, the locale's decimal separator,
// no digit grouping, Latin digits.
QString numberToText(double value, const QLocale& locale = QLocale());

} // namespace pelomart
