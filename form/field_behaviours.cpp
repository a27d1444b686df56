// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "field_behaviours.h"

#include "numbers.h"
#include "run_time_error.h"

#include <limits>

namespace pelomart {
namespace {

// The type as make file will read it: the whole text as a number in the regional format,
// rounded half to even. A text that is no such number (half typed, or one make file
// refuses) falls back to its leading number, so that the slider follows the typing from
// its first digit.
double typeValue(const QString& text, const QLocale& locale) {
    try {
        return textToLong(text, locale);
    } catch (const RunTimeError& error) {
        if (error.code() != int(ErrorNumber::Overflow)) {
            return leadingNumber(text);
        }
        // A whole number beyond 32 bits: above the limit, or too low for the slider.
        const QString trimmed = text.trimmed();
        const bool negative = trimmed.startsWith(u'-') || trimmed.startsWith(locale.negativeSign());
        constexpr double kInfinity = std::numeric_limits<double>::infinity();
        return negative ? -kInfinity : kInfinity;
    }
}

} // namespace

void paramlong1_Change(FormControls& form, const QLocale& locale) {
    double value = typeValue(form.text(Control::paramlong1), locale);
    if (value > kHighestType) {
        value = kHighestType;
        // Runs this handler once more, nested; it finds 31 and changes no text.
        form.setText(Control::paramlong1, numberToText(std::int32_t{kHighestType}));
    }
    // Compared unrounded: a leading number of 28.4 is already a woman while the slider
    // shows 28.
    form.setSliderValue(roundToLong(value));
    form.setCaption(Control::sex, QLatin1String(sexOf(value)));
}

void Slider1_Click(FormControls& form) {
    form.setText(Control::paramlong1, numberToText(std::int32_t{form.sliderValue()}));
}

void script_Change(FormControls& form) {
    form.setCaption(Control::Label1,
                    QLatin1String(kScriptLengthCaption) + QString::number(form.scriptLength()));
}

} // namespace pelomart
