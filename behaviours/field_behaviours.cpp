#include "field_behaviours.h"

#include "numbers.h"

namespace pelomart {

void paramlong1_Change(FormControls& form) {
    double value = leadingNumber(form.text(Control::paramlong1));
    if (value > kHighestType) {
        value = kHighestType;
        // Runs this handler once more, nested; it finds 31 and changes no text.
        form.setText(Control::paramlong1, numberToText(std::int32_t{kHighestType}));
    }
    // Compared unrounded: 28.4 is already a woman while the slider shows 28.
    form.setSliderValue(roundToLong(value));
    form.setCaption(Control::sex, QLatin1String(value > kLastManType ? kWoman : kMan));
}

void Slider1_Click(FormControls& form) {
    form.setText(Control::paramlong1, numberToText(std::int32_t{form.sliderValue()}));
}

void script_Change(FormControls& form) {
    form.setCaption(Control::Label1,
                    QLatin1String(kScriptLengthCaption) + QString::number(form.scriptLength()));
}

} // namespace pelomart
