// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "messages.h"

#include "numbers.h"
#include "shown_text.h"

#include <cmath>

namespace pelomart {
namespace {

// A text as one short line: a pasted script or a name of thousands of characters would
// otherwise make the box wider than the screen.
QString oneLine(const QString& text) {
    constexpr qsizetype kLongest = 60;
    if (text.isEmpty()) {
        return QStringLiteral("(empty)");
    }
    return shownBeginning(text, kLongest);
}

bool isNumberBox(Control control) {
    return (control >= Control::x && control <= Control::zrotsing) ||
           (control >= Control::paramlong1 && control <= Control::paramsing17);
}

// A number that this system cannot read, written the way it reads numbers: "0,68114573"
// becomes "write it as 0.68114573 here" under en_US. Otherwise how a number is written here.
QString howToWrite(const QString& text, const QLocale& locale) {
    // Without digit groups a text that one of the two notations reads has either no decimal
    // separator or the one of that notation, so the two never read one text differently.
    for (QLocale other : {QLocale(QLocale::English, QLocale::UnitedStates),
                          QLocale(QLocale::German, QLocale::Germany)}) {
        other.setNumberOptions(QLocale::RejectGroupSeparator);
        bool read = false;
        const double number = other.toDouble(text.trimmed(), &read);
        if (!read) {
            continue;
        }
        QString written = numberToText(number, locale);
        if (number == 0 && std::signbit(number)) {
            written.prepend(locale.negativeSign()); // "-0" makes another float than "0"
        }
        try {
            textToSingle(written, locale);
            return QStringLiteral("write it as %1 here").arg(written);
        } catch (const RunTimeError&) {
            // Infinite, or too large: how a number is written says more.
            break;
        }
    }
    return QStringLiteral("a number is written like %1 here").arg(numberToText(0.5, locale));
}

} // namespace

QString runTimeErrorMessage(const RunTimeError& error, const QLocale& locale) {
    QString message = QStringLiteral("Run-time error '%1':\n\n%2")
                          .arg(error.code())
                          .arg(QString::fromUtf8(error.what()));
    const std::optional<Control> control = controlNamed(QString::fromStdString(error.control()));
    const QString text = QString::fromStdString(error.controlText());
    const QString detail = QString::fromStdString(error.detail());
    QStringList lines;
    if (control && !(text.isEmpty() && !detail.isEmpty())) {
        lines << controlCaption(*control) + QStringLiteral(": ") + oneLine(text);
        if (error.code() == int(ErrorNumber::TypeMismatch) && isNumberBox(*control)) {
            lines << howToWrite(text, locale);
        }
    }
    if (!detail.isEmpty()) {
        lines << detail;
    }
    if (!lines.isEmpty()) {
        message += QStringLiteral("\n\n") + lines.join(QLatin1Char('\n'));
    }
    return message;
}

QString cannotOpenMessage(const QString& shownPath, const QString& reason) {
    return QStringLiteral("%1 cannot be opened:\n\n%2").arg(shownPath, reason);
}

QString replacedValuesMessage(const QString& shownName,
                              const std::vector<ReplacedValue>& replaced) {
    QString message = QStringLiteral("%1 holds values that the window cannot make again. Each box "
                                     "shows what \"make file\" will write instead:\n")
                          .arg(shownName);
    for (const ReplacedValue& value : replaced) {
        message +=
            QStringLiteral("\n%1: %2 in the file, make file writes %3")
                .arg(controlCaption(value.control), oneLine(value.inFile), oneLine(value.written));
    }
    return message;
}

QString replaceTextsQuestion(const QString& shownName) {
    return QStringLiteral("Replace the texts in the boxes with the values in %1? What you typed "
                          "since the last file made or opened will be lost.")
        .arg(shownName);
}

} // namespace pelomart
