// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "record_in_boxes.h"

#include "human_record_reader.h"
#include "worked_example.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace pelomart {
namespace {

HumanRecord workedExample() {
    return decodeHumanRecord(test::workedExampleRecord() + "\r\n").record.value();
}

TEST(RecordInBoxes, WorkedExampleInTheUsersNumberFormat) {
    const RecordInBoxes texts = recordInBoxes(workedExample(), QLocale("de_DE"), "windows-1252");
    EXPECT_TRUE(texts.replaced.empty());
    EXPECT_EQ(texts[Control::x], "-1980");
    EXPECT_EQ(texts[Control::xrotsing], "0,6811457");
    EXPECT_EQ(texts[Control::zrotsing], "-0,73214793");
    EXPECT_EQ(texts[Control::paramsing8], "0,7");
    EXPECT_EQ(texts[Control::behavior], "No Reaction");
    EXPECT_EQ(texts[Control::script], startText(Control::script)) << "CR LF kept";
    EXPECT_EQ(texts[Control::filenavn], "");
}

// Each value that the boxes cannot give back: the box holds what the window can, and the
// list says what the file held and what make file writes.
TEST(RecordInBoxes, ValuesTheWindowCannotHoldAreListed) {
    struct Row {
        const char* name;
        std::function<void(HumanRecord&)> change;
        Control control;
        const char* box;
        const char* inFile;
        const char* written;
    };
    const Row rows[] = {
        {"type above 31", [](HumanRecord& h) { h.typeParameter = 40; }, Control::paramlong1, "31",
         "40", "31"},
        {"behaviour not in the list", [](HumanRecord& h) { h.behaviour = 5; }, Control::behavior,
         "", "5", "2 (No Reaction)"},
        {"NaN", [](HumanRecord& h) { h.position[1] = NAN; }, Control::y, "0", "nan", "0"},
        {"infinity", [](HumanRecord& h) { h.scale[2] = -INFINITY; }, Control::zscalesing,
         "-3,4028235e+38", "-inf", "-3,4028235e+38"},
        {"byte undefined in windows-1253",
         [](HumanRecord& h) {
             h.name = "A\xD2"
                      "B";
         },
         Control::namn, "A?B", "A\\xD2B", "A?B"},
        {"two bytes undefined in windows-1253",
         [](HumanRecord& h) {
             h.name = "A\xD2"
                      "B\xD2"
                      "C";
         },
         Control::namn, "A?B?C", "A\\xD2B\\xD2C", "A?B?C"},
        {"parameter other than its fixed value", [](HumanRecord& h) { h.parameters[3] = 31; },
         Control::paramsing5, "30", "31", "30"},
        {"script with a lone LF", [](HumanRecord& h) { h.script = "a\nb"; }, Control::script,
         "a\r\nb", "a line end other than CR LF", "CR LF"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HumanRecord human = workedExample();
        row.change(human);
        const RecordInBoxes texts = recordInBoxes(human, QLocale("de_DE"), "windows-1253");
        EXPECT_EQ(texts[row.control], QString::fromUtf8(row.box));
        ASSERT_EQ(texts.replaced.size(), 1u);
        EXPECT_EQ(texts.replaced[0].control, row.control);
        EXPECT_EQ(texts.replaced[0].inFile, QString::fromUtf8(row.inFile));
        EXPECT_EQ(texts.replaced[0].written, QString::fromUtf8(row.written));
    }
}

} // namespace
} // namespace pelomart
