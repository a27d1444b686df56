// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "human_record_reader.h"

#include "worked_example.h"

#include <gtest/gtest.h>

#include <string>

namespace pelomart {
namespace {

void expectRefused(const std::string& file, const char* name, const char* message) {
    const DecodedHumanRecord decoded = decodeHumanRecord(file);
    EXPECT_FALSE(decoded.record.has_value()) << name;
    EXPECT_EQ(decoded.error, message) << name;
}

// One byte of the worked-example file changed.
TEST(DecodeHumanRecord, RefusesAChangedByteNamingWhereAndWhat) {
    struct Row {
        const char* name;
        std::size_t offset;
        unsigned char byte;
        const char* message;
    };
    const Row rows[] = {
        {"magic", 1, 0x05, "offset 0: magic: expected D2 04, found D2 05"},
        {"record length", 2, 0x1B, "offset 2: record length: expected 282, found 283"},
        {"record format", 6, 0x65, "offset 6: record format: expected 100, found 101"},
        {"block length", 8, 0x70, "offset 8: block length: expected 113, found 112"},
        {"zero before the name", 53, 0x80, "offset 52: reserved: expected 0, found -32768"},
        {"name longer than the file", 57, 0x01,
         "offset 56: internal name length: expected at most 224, found 270 "
         "(the file ends at offset 284)"},
        {"name length negative", 59, 0xFF,
         "offset 56: internal name length: expected at most 224, found -16777202"},
        {"sector name length", 74, 0x0F, "offset 74: sector name length: expected 14, found 15"},
        {"sector name", 78, 0x00,
         "offset 78: sector name: expected \"Primary sector\", found \"\\x00rimary sector\""},
        {"model one longer", 92, 0x18, "offset 8: block length: expected 114, found 113"},
        {"human section id", 122, 0x03, "offset 121: human section id: expected 595, found 851"},
        {"human kind", 129, 0x07, "offset 129: human kind: expected 6, found 7"},
        {"script one shorter", 208, 0x45, "offset 2: record length: expected 281, found 282"},
        {"line feed alone", 282, 0x0A, "offset 282: line end: expected 0D 0A, found 0A 0A"},
    };
    for (const Row& row : rows) {
        std::string file = test::workedExampleRecord() + "\r\n";
        ASSERT_NE(file[row.offset], static_cast<char>(row.byte)) << row.name;
        file[row.offset] = static_cast<char>(row.byte);
        expectRefused(file, row.name, row.message);
    }
}

// The worked-example file cut short, or with bytes after its line end.
TEST(DecodeHumanRecord, RefusesAShortOrLongFileNamingWhereItEnds) {
    struct Row {
        const char* name;
        std::size_t size;
        const char* appended;
        const char* message;
    };
    const Row rows[] = {
        {"empty file", 0, "",
         "offset 0: magic: expected 2 bytes, found the end of the file at offset 0"},
        {"cut inside a parameter", 152, "",
         "offset 150: parameter 5: expected 4 bytes, found the end of the file at offset 152"},
        {"cut inside the name", 65, "",
         "offset 56: internal name length: expected at most 5, found 14 (the file ends at offset "
         "65)"},
        {"cut inside the script", 262, "",
         "offset 208: script length: expected at most 50, found 70 (the file ends at offset 262)"},
        {"no line end", 282, "",
         "offset 282: line end: expected 2 bytes, found the end of the file at offset 282"},
        {"carriage return alone", 283, "",
         "offset 282: line end: expected 2 bytes, found the end of the file at offset 283"},
        {"a byte after the line end", 284, "x",
         "offset 284: end of file: expected no more bytes, found 1 more"},
        {"a second line end", 284, "\r\n",
         "offset 284: end of file: expected no more bytes, found 2 more"},
    };
    for (const Row& row : rows) {
        const std::string file = (test::workedExampleRecord() + "\r\n").substr(0, row.size);
        expectRefused(file + row.appended, row.name, row.message);
    }
}

} // namespace
} // namespace pelomart
