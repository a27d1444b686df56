#include "field_behaviours.h"

#include "numbers.h"

namespace pelomart {

void paramlong1_Change(FormControls& form) {
    const QString field = QStringLiteral("paramlong1");
    double value = leadingNumber(form.text(field));
    if (value > kHighestType) {
        value = kHighestType;
        // Runs this handler once more, nested; it finds 31 and changes no text.
        form.setText(field, QStringLiteral("31"));
    }
    // Compared unrounded: 28.4 is already a woman while the slider shows 28.
    form.setSliderValue(roundToLong(value));
    form.setCaption(QStringLiteral("sex"),
                    value > kLastManType ? QStringLiteral("woman") : QStringLiteral("man"));
}

void Slider1_Click(FormControls& form) {
    form.setText(QStringLiteral("paramlong1"), numberToText(std::int32_t{form.sliderValue()}));
}

void script_Change(FormControls& form) {
    form.setCaption(QStringLiteral("Label1"),
                    QStringLiteral("script length=") + QString::number(form.scriptLength()));
}

} // namespace pelomart
