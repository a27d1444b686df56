#include "human_record_reader.h"

#include "worked_example.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pelomart {
namespace {

std::string workedExampleFile() {
    return test::workedExampleRecord() + "\r\n";
}

TEST(DecodeHumanRecord, WorkedExampleGivesItsValues) {
    const DecodedHumanRecord decoded = decodeHumanRecord(workedExampleFile());
    ASSERT_EQ(decoded.error, "");
    const HumanRecord& h = *decoded.record;
    EXPECT_EQ(h.position, (std::array<float, 3>{-1980, -5, 18}));
    EXPECT_EQ(h.scale, (std::array<float, 3>{1, 1, 1}));
    EXPECT_EQ(h.rotation, (std::array<float, 3>{0.68114573f, 0, -0.73214793f}));
    EXPECT_EQ(h.name, "Zozed's_Driver");
    EXPECT_EQ(h.model, "ZozedTAXIdriverHIGH.i3d");
    EXPECT_EQ(h.behaviour, 2);
    EXPECT_EQ(h.typeParameter, 15);
    EXPECT_EQ(h.parameters, (std::array<float, 16>{1, 150, 30, 30, 30, 30, 0.7f, 1, 0, 1, 0.3f, 1,
                                                   1, 0.8f, 80, 0.8f}));
    EXPECT_EQ(
        h.script,
        "dim_act 5\r\ndim_flt 5\r\ndim_frm 5\r\nfindactor 0,\"\"\r\nfindactor 1,\"Zozed\"\r\n");
}

TEST(DecodeHumanRecord, RefusesEveryDamageWithWhereAndWhat) {
    struct Row {
        const char* name;
        std::optional<std::size_t> byteAt; // this byte replaced by `byte`
        unsigned char byte;
        std::optional<std::size_t> cutTo; // the file cut to this many bytes
        const char* appended;
        const char* message;
    };
    const Row rows[] = {
        {"second magic byte", 1, 0x05, {}, "", "offset 0: magic: expected D2 04, found D2 05"},
        {"record length one more",
         2,
         0x1B,
         {},
         "",
         "offset 2: record length: expected 282, found 283"},
        {"record length negative",
         3,
         0x81,
         {},
         "",
         "offset 2: record length: expected 282, found -32486"},
        {"record length high half",
         5,
         0x01,
         {},
         "",
         "offset 4: record length, high half: expected 0, found 256"},
        {"record format", 6, 0x65, {}, "", "offset 6: record format: expected 100, found 101"},
        {"block length", 8, 0x70, {}, "", "offset 8: block length: expected 113, found 112"},
        {"block nine", 12, 0x0A, {}, "", "offset 12: block nine: expected 9, found 10"},
        {"zero before the name", 53, 0x80, {}, "", "offset 52: reserved: expected 0, found -32768"},
        {"name length past the file",
         57,
         0x01,
         {},
         "",
         "offset 56: internal name length: expected at most 224, found 270 "
         "(the file ends at offset 284)"},
        {"name length negative",
         59,
         0xFF,
         {},
         "",
         "offset 56: internal name length: expected at most 224, found -16777202"},
        {"sector name length",
         74,
         0x0F,
         {},
         "",
         "offset 74: sector name length: expected 14, found 15"},
        {"sector name",
         78,
         0x00,
         {},
         "",
         "offset 78: sector name: expected \"Primary sector\", found \"\\x00rimary sector\""},
        {"model name one longer",
         92,
         0x18,
         {},
         "",
         "offset 8: block length: expected 114, found 113"},
        {"human section", 119, 0xC9, {}, "", "offset 119: human section: expected 200, found 201"},
        {"human section id",
         122,
         0x03,
         {},
         "",
         "offset 121: human section id: expected 595, found 851"},
        {"human section count",
         125,
         0x1C,
         {},
         "",
         "offset 125: human section count: expected 27, found 28"},
        {"human kind", 129, 0x07, {}, "", "offset 129: human kind: expected 6, found 7"},
        {"script section",
         202,
         0x02,
         {},
         "",
         "offset 202: script section: expected 257, found 258"},
        {"zero before the script", 206, 0x01, {}, "", "offset 206: reserved: expected 0, found 1"},
        {"script one longer",
         208,
         0x47,
         {},
         "",
         "offset 2: record length: expected 283, found 282"},
        {"script one shorter",
         208,
         0x45,
         {},
         "",
         "offset 2: record length: expected 281, found 282"},
        {"line feed alone", 282, 0x0A, {}, "", "offset 282: line end: expected 0D 0A, found 0A 0A"},
        {"empty file",
         {},
         0,
         0,
         "",
         "offset 0: magic: expected 2 bytes, found the end of the file at offset 0"},
        {"one byte",
         {},
         0,
         1,
         "",
         "offset 0: magic: expected 2 bytes, found the end of the file at offset 1"},
        {"cut inside a parameter",
         {},
         0,
         152,
         "",
         "offset 150: parameter 5: expected 4 bytes, found the end of the file at offset 152"},
        {"cut inside the name",
         {},
         0,
         65,
         "",
         "offset 56: internal name length: expected at most 5, found 14 "
         "(the file ends at offset 65)"},
        {"cut inside the script",
         {},
         0,
         262,
         "",
         "offset 208: script length: expected at most 50, found 70 (the file ends at offset 262)"},
        {"no line end",
         {},
         0,
         282,
         "",
         "offset 282: line end: expected 2 bytes, found the end of the file at offset 282"},
        {"carriage return alone",
         {},
         0,
         283,
         "",
         "offset 282: line end: expected 2 bytes, found the end of the file at offset 283"},
        {"a byte after the line end",
         {},
         0,
         {},
         "x",
         "offset 284: end of file: expected no more bytes, found 1 more"},
        {"a second line end",
         {},
         0,
         {},
         "\r\n",
         "offset 284: end of file: expected no more bytes, found 2 more"},
    };
    for (const Row& row : rows) {
        std::string file = workedExampleFile();
        if (row.byteAt) {
            ASSERT_NE(file[*row.byteAt], static_cast<char>(row.byte)) << row.name;
            file[*row.byteAt] = static_cast<char>(row.byte);
        }
        if (row.cutTo) {
            file.resize(*row.cutTo);
        }
        file += row.appended;
        const DecodedHumanRecord decoded = decodeHumanRecord(file);
        EXPECT_FALSE(decoded.record.has_value()) << row.name;
        EXPECT_EQ(decoded.error, row.message) << row.name;
    }
}

} // namespace
} // namespace pelomart
