#include "form1.h"

#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace pelomart {
namespace {

TEST(TypeSlider, AClickOnTheTickMarksPagesTowardsIt) {
    struct Row {
        const char* what;
        int x; // from the left edge; negative from the right edge
        int value;
    };
    const Row rows[] = {
        {"left of the thumb", 2, 10},
        {"right of the thumb", -3, 20},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        Form1 form(dir.path());
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        auto* slider = form.findChild<QSlider*>("Slider1");
        slider->setValue(15);

        // The ticks are drawn along the bottom rows, below the track.
        const QPoint tick(row.x >= 0 ? row.x : slider->width() + row.x, slider->height() - 2);
        QTest::mouseClick(slider, Qt::LeftButton, {}, tick);
        EXPECT_EQ(slider->value(), row.value);
        EXPECT_EQ(form.text(Control::paramlong1), QString::number(row.value)) << "the field follows";
    }
}

} // namespace
} // namespace pelomart
