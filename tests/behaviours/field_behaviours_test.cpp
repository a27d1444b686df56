#include "field_behaviours.h"

#include "memory_form.h"
#include "run_time_error.h"

#include <gtest/gtest.h>

#include <optional>

namespace pelomart {
namespace {

// Sets paramlong1 as typing would; the run-time error number its behaviour raised.
std::optional<int> enter(MemoryForm& form, const QString& text) {
    try {
        form.setText(Control::paramlong1, text);
        return std::nullopt;
    } catch (const RunTimeError& e) {
        return e.code();
    }
}

TEST(TypeParameter, FieldSliderAndLabelFollowTheText) {
    struct Row {
        const char* typed;
        const char* field;
        int slider;
        const char* sex;
    };
    const Row rows[] = {
        {"45", "31", 31, "woman"},
        {"28", "28", 28, "man"},
        {"29", "29", 29, "woman"},
        {"28.4 compares unrounded", "28.4 compares unrounded", 28, "woman"},
        {"31.0", "31.0", 31, "woman"},
        {"31.5", "31", 31, "woman"},
        {"2.5", "2.5", 2, "man"},
        {"3.5", "3.5", 4, "man"},
        {"28.5", "28.5", 28, "woman"},
        {"abc", "abc", 0, "man"},
        {"", "", 0, "man"},
        {"-", "-", 0, "man"},
        {"12abc", "12abc", 12, "man"},
        {"0,5", "0,5", 0, "man"},
        {"1e400", "31", 31, "woman"},
        {"-5", "-5", 0, "man"},
        {" 7", " 7", 7, "man"},
    };
    MemoryForm form;
    for (const Row& row : rows) {
        enter(form, "10"); // a known state between rows
        EXPECT_EQ(enter(form, QString::fromLatin1(row.typed)), std::nullopt) << row.typed;
        EXPECT_EQ(form.text(Control::paramlong1), QString::fromLatin1(row.field)) << row.typed;
        EXPECT_EQ(form.sliderValue(), row.slider) << row.typed;
        EXPECT_EQ(form.caption(Control::sex), QString::fromLatin1(row.sex)) << row.typed;
    }
}

TEST(TypeParameter, OverflowIsReportedAndDisplaysStay) {
    for (const char* text : {"-1e20", "-1e400"}) {
        MemoryForm form;
        enter(form, "29");
        EXPECT_EQ(enter(form, QString::fromLatin1(text)), 6) << text;
        EXPECT_EQ(form.text(Control::paramlong1), QString::fromLatin1(text));
        EXPECT_EQ(form.sliderValue(), 29) << text;
        EXPECT_EQ(form.caption(Control::sex), "woman") << text;
    }
}

TEST(FieldBehaviours, StartStateIsNotBroughtIntoStep) {
    const MemoryForm form;
    EXPECT_EQ(form.text(Control::paramlong1), "15");
    EXPECT_EQ(form.sliderValue(), 0);
    EXPECT_EQ(form.caption(Control::sex), "man");
    EXPECT_EQ(form.caption(Control::Label1), "");
}

TEST(FieldBehaviours, SliderClickWritesTheFieldAndTheLabelFollows) {
    MemoryForm form;
    for (int value : {29, 0, 31}) {
        form.setSliderValue(value);
        Slider1_Click(form);
        EXPECT_EQ(form.text(Control::paramlong1), QString::number(value));
        EXPECT_EQ(form.caption(Control::sex), value > 28 ? "woman" : "man") << value;
    }
}

TEST(FieldBehaviours, ScriptLengthCountsCharacters) {
    struct Row {
        QString script;
        const char* caption;
    };
    const Row rows[] = {
        {"", "script length=0"},
        {"a", "script length=1"},
        {"a\r\nb", "script length=4"},
        {QString(40000, QLatin1Char('x')), "script length=40000"},
    };
    MemoryForm form;
    for (const Row& row : rows) {
        form.setText(Control::script, row.script);
        EXPECT_EQ(form.caption(Control::Label1), row.caption);
    }
}

} // namespace
} // namespace pelomart
