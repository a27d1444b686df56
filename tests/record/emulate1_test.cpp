// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "emulate1.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace pelomart {
namespace {

std::string bytes(std::initializer_list<unsigned char> values) {
    return std::string(values.begin(), values.end());
}

TEST(Emulate1, IntegersLeastSignificantByteFirst) {
    struct Row {
        const char* name;
        std::string encoded;
        std::string expected;
    };
    const Row rows[] = {
        {"int16 100", EncodeInt16(100), bytes({0x64, 0x00})},
        {"int16 200", EncodeInt16(200), bytes({0xC8, 0x00})},
        {"int16 -6", EncodeInt16(-6), bytes({0xFA, 0xFF})},
        {"int16 -1 keeps high bytes", EncodeInt16(-1), bytes({0xFF, 0xFF})},
        {"int16 all bytes differ", EncodeInt16(0x1A2B), bytes({0x2B, 0x1A})},
        {"int16 most negative", EncodeInt16(INT16_MIN), bytes({0x00, 0x80})},
        {"int32 14 keeps its zero bytes", EncodeInt32(14), bytes({0x0E, 0x00, 0x00, 0x00})},
        {"int32 595", EncodeInt32(595), bytes({0x53, 0x02, 0x00, 0x00})},
        {"int32 257", EncodeInt32(257), bytes({0x01, 0x01, 0x00, 0x00})},
        {"int32 all bytes differ", EncodeInt32(0x01F2E3D4), bytes({0xD4, 0xE3, 0xF2, 0x01})},
        {"int32 -2", EncodeInt32(-2), bytes({0xFE, 0xFF, 0xFF, 0xFF})},
        {"int32 zero", EncodeInt32(0), bytes({0x00, 0x00, 0x00, 0x00})},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.encoded, row.expected) << row.name;
    }
}

TEST(Emulate1, SinglesAreTheirBinary32Image) {
    struct Row {
        const char* name;
        float value;
        std::string expected;
    };
    const Row rows[] = {
        {"one", 1.0f, bytes({0x00, 0x00, 0x80, 0x3F})},
        {"minus 1980", -1980.0f, bytes({0x00, 0x80, 0xF7, 0xC4})},
        {"0.7 is the nearest binary32, not a decimal", 0.7f, bytes({0x33, 0x33, 0x33, 0x3F})},
        {"negative zero keeps its sign", -0.0f, bytes({0x00, 0x00, 0x00, 0x80})},
        {"smallest subnormal", 1.4e-45f, bytes({0x01, 0x00, 0x00, 0x00})},
        {"all bytes differ", -2.3456e17f, bytes({0xC5, 0x54, 0x50, 0xDC})},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(EncodeSingle(row.value), row.expected) << row.name;
    }
}

} // namespace
} // namespace pelomart
