// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "messages.h"

#include <gtest/gtest.h>

namespace pelomart {
namespace {

// Each row names the mix-up it would catch.
TEST(ControlCaption, NamesTheBoxAsTheWindowLabelsIt) {
    const std::pair<Control, const char*> rows[] = {
        {Control::xrotsing, "rot x"},            // the accessible name "rotation x" is no label
        {Control::yscalesing, "scale y"},        // column and row swapped
        {Control::z, "position z"},              // the last row of the first column
        {Control::namn, "internal name"},        // the label that names the box
        {Control::filenavn, "file name"},        // a label to the right of the first ones
        {Control::paramlong1, "type parameter"}, // no label: its accessible name
        {Control::paramsing5, "parameter 5"},    // not "Params", the label over all sixteen
        {Control::behavior, "behaviour"},        // not the control's name "behavior"
    };
    for (const auto& [control, caption] : rows) {
        EXPECT_EQ(controlCaption(control), QLatin1String(caption))
            << controlName(control).toStdString();
    }
}

RunTimeError errorIn(ErrorNumber number, const char* control, const char* text,
                     const char* detail = "") {
    RunTimeError error(number, detail);
    error.setControl(control, text);
    return error;
}

TEST(RunTimeErrorMessage, FirstTheNumberAndDescriptionThenWhatFailed) {
    struct Row {
        const char* name;
        RunTimeError error;
        const char* message;
        const char* locale = "en_US";
    };
    const Row rows[] = {
        {"a box's text and the limit it passed",
         errorIn(ErrorNumber::Overflow, "paramsing5", "1e39", "a number goes up to 3.4e38"),
         "Run-time error '6':\n\nOverflow\n\nparameter 5: 1e39\na number goes up to 3.4e38"},
        {"the script: its length, not its text",
         errorIn(ErrorNumber::Overflow, "script", "", "script length 40000, at most 32603"),
         "Run-time error '6':\n\nOverflow\n\nscript length 40000, at most 32603"},
        {"an empty box", errorIn(ErrorNumber::TypeMismatch, "x", ""),
         "Run-time error '13':\n\nType mismatch\n\nposition x: (empty)\n"
         "a number is written like 0.5 here"},
        {"a decimal comma where the point is read",
         errorIn(ErrorNumber::TypeMismatch, "xrotsing", "0,68114573"),
         "Run-time error '13':\n\nType mismatch\n\nrot x: 0,68114573\n"
         "write it as 0.68114573 here"},
        {"a decimal point where the comma is read, written the German way",
         errorIn(ErrorNumber::TypeMismatch, "paramlong1", "12.5"),
         "Run-time error '13':\n\nType mismatch\n\ntype parameter: 12.5\nwrite it as 12,5 here",
         "de_DE"},
        {"a control character and a long text, one short line",
         errorIn(ErrorNumber::TypeMismatch, "y", ("\x1b" + std::string(70, '9')).c_str()),
         "Run-time error '13':\n\nType mismatch\n\nposition y: \\x1B99999999999999999999999999"
         "999999999999999999999999999999\u2026\na number is written like 0.5 here"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(runTimeErrorMessage(row.error, QLocale(QLatin1String(row.locale))).toStdString(),
                  row.message)
            << row.name;
    }
}

} // namespace
} // namespace pelomart
