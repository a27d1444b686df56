// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "field_behaviours.h"

#include "memory_form.h"
#include "numbers.h"
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

// The box, the slider and the label show the type that make file will write: the whole
// text read in the regional format and rounded half to even; a text make file refuses falls
// back to its leading number.
TEST(TypeParameter, FieldSliderAndLabelShowWhatTheFileGets) {
    struct Row {
        const char* locale;
        const char* typed;
        const char* field;
        int slider;
        const char* sex;
        std::optional<int> file; // none: make file refuses the text (error 13)
    };
    const Row rows[] = {
        {"de_DE", "28,6", "28,6", 29, "woman", 29},
        {"de_DE", "1.234", "31", 31, "woman", 31},
        {"de_DE", "31,5", "31", 31, "woman", 31},
        {"en_US", "1,000", "31", 31, "woman", 31},
        {"en_US", "3.5", "3.5", 4, "man", 4},
        {"de_DE", "12abc", "12abc", 12, "man", std::nullopt},
        {"en_US", "28.4", "28.4", 28, "man", 28},
        {"de_DE", "28.4", "28.4", 28, "woman", std::nullopt},
        {"en_US", "45", "31", 31, "woman", 31},
        {"en_US", "28", "28", 28, "man", 28},
        {"en_US", "29", "29", 29, "woman", 29},
        {"en_US", "31.0", "31.0", 31, "woman", 31},
        {"en_US", "2.5", "2.5", 2, "man", 2},
        {"en_US", "28.5", "28.5", 28, "man", 28},
        {"en_US", "abc", "abc", 0, "man", std::nullopt},
        {"en_US", "", "", 0, "man", std::nullopt},
        {"en_US", "-", "-", 0, "man", std::nullopt},
        {"en_US", "0,5", "0,5", 0, "man", std::nullopt},
        {"en_US", "1e400", "31", 31, "woman", 31},
        {"en_US", "-5", "-5", 0, "man", -5},
        {"en_US", " 7", " 7", 7, "man", 7},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.locale) + " \"" + row.typed + '"');
        const QLocale locale(QString::fromLatin1(row.locale));
        MemoryForm form(locale);
        enter(form, "10"); // a known state
        EXPECT_EQ(enter(form, QString::fromLatin1(row.typed)), std::nullopt);
        EXPECT_EQ(form.text(Control::paramlong1), QString::fromLatin1(row.field));
        EXPECT_EQ(form.sliderValue(), row.slider);
        EXPECT_EQ(form.caption(Control::sex), QString::fromLatin1(row.sex));
        std::optional<int> file;
        try {
            file = textToLong(form.text(Control::paramlong1), locale);
        } catch (const RunTimeError& error) {
            EXPECT_EQ(error.code(), 13);
        }
        EXPECT_EQ(file, row.file);
    }
}

TEST(TypeParameter, OverflowIsReportedAndDisplaysStay) {
    for (const char* text : {"-1e20", "-1e400"}) {
        MemoryForm form(QLocale::c());
        enter(form, "29");
        EXPECT_EQ(enter(form, QString::fromLatin1(text)), 6) << text;
        EXPECT_EQ(form.text(Control::paramlong1), QString::fromLatin1(text));
        EXPECT_EQ(form.sliderValue(), 29) << text;
        EXPECT_EQ(form.caption(Control::sex), "woman") << text;
    }
}

TEST(FieldBehaviours, SliderClickWritesTheFieldAndTheLabelFollows) {
    MemoryForm form;
    const struct {
        int value;
        const char* field;
        const char* sex;
    } rows[] = {{29, "29", "woman"}, {0, "0", "man"}, {31, "31", "woman"}};
    for (const auto& row : rows) {
        form.setSliderValue(row.value);
        Slider1_Click(form);
        EXPECT_EQ(form.text(Control::paramlong1), row.field);
        EXPECT_EQ(form.caption(Control::sex), row.sex) << row.value;
    }
}

} // namespace
} // namespace pelomart
