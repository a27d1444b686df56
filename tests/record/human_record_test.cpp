// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "human_record_composer.h"

#include "human_record_reader.h"
#include "run_time_error.h"
#include "worked_example.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <random>

namespace pelomart {
namespace {

HumanRecord workedExample() {
    HumanRecord h;
    h.position = {-1980.0f, -5.0f, 18.0f};
    h.scale = {1.0f, 1.0f, 1.0f};
    h.rotation = {0.68114573f, 0.0f, -0.73214793f};
    h.name = "Zozed's_Driver";
    h.model = "ZozedTAXIdriverHIGH.i3d";
    h.behaviour = 2;
    h.typeParameter = 15;
    h.parameters = {1, 150, 30, 30, 30, 30, 0.7f, 1, 0, 1, 0.3f, 1, 1, 0.8f, 80, 0.8f};
    h.script =
        "dim_act 5\r\ndim_flt 5\r\ndim_frm 5\r\nfindactor 0,\"\"\r\nfindactor 1,\"Zozed\"\r\n";
    return h;
}

// The unsigned little-endian value of n bytes at offset, read apart from the product's reader.
std::uint32_t littleEndianAt(const std::string& bytes, std::size_t offset, std::size_t n) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < n; ++i) {
        value |= std::uint32_t(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    }
    return value;
}

TEST(HumanRecord, ShippedValuesGiveTheKnownRecord) {
    const std::string record = composeHumanRecord(workedExample());
    ASSERT_EQ(record.size(), 282u);
    EXPECT_EQ(record, test::workedExampleRecord());
}

TEST(HumanRecord, EmptyTextsLeaveOnlyTheirZeroLength) {
    HumanRecord h = workedExample();
    h.name.clear();
    h.model.clear();
    h.script.clear();
    const std::string record = composeHumanRecord(h);

    ASSERT_EQ(record.size(), 175u);
    EXPECT_EQ(littleEndianAt(record, 2, 2), 175u) << "record length";
    EXPECT_EQ(littleEndianAt(record, 8, 2), 76u) << "block length";
    EXPECT_EQ(littleEndianAt(record, 56, 4), 0u) << "name length";
    EXPECT_EQ(littleEndianAt(record, 60, 4), 14u) << "sector name follows directly";
    EXPECT_EQ(record.substr(64, 14), "Primary sector");
    EXPECT_EQ(littleEndianAt(record, 78, 4), 0u) << "model length";
    EXPECT_EQ(littleEndianAt(record, 171, 4), 0u) << "record ends with the script's zero length";
}

TEST(HumanRecord, BlockLengthFollowsNameAndModelButNotScript) {
    struct Row {
        const char* name;
        std::size_t nameLength, modelLength, scriptLength;
        unsigned recordLength, blockLength;
    };
    const Row rows[] = {
        {"all empty", 0, 0, 0, 175, 76},
        {"script only", 0, 0, 1000, 1175, 76},
        {"name and model", 5, 7, 0, 187, 88},
        {"all three", 5, 7, 300, 487, 88},
    };
    for (const Row& row : rows) {
        HumanRecord h;
        h.name.assign(row.nameLength, 'n');
        h.model.assign(row.modelLength, 'm');
        h.script.assign(row.scriptLength, 's');
        const std::string record = composeHumanRecord(h);
        EXPECT_EQ(record.size(), row.recordLength) << row.name;
        EXPECT_EQ(littleEndianAt(record, 2, 2), row.recordLength) << row.name;
        EXPECT_EQ(littleEndianAt(record, 8, 2), row.blockLength) << row.name;
    }
}

TEST(HumanRecord, LengthLimitIs32767Bytes) {
    struct Row {
        const char* name;
        std::size_t scriptLength; // with the shipped name and model, 37 characters
        bool fits;
    };
    const Row rows[] = {
        {"largest record", 32555, true},
        {"one byte more", 32556, false},
        {"far too long", 70000, false},
    };
    for (const Row& row : rows) {
        HumanRecord h = workedExample();
        h.script.assign(row.scriptLength, 'x');
        if (row.fits) {
            EXPECT_EQ(composeHumanRecord(h).size(), 32767u) << row.name;
        } else {
            try {
                composeHumanRecord(h);
                ADD_FAILURE() << row.name << ": no overflow";
            } catch (const RunTimeError& e) {
                EXPECT_EQ(e.code(), 6) << row.name;
            }
        }
    }
}

TEST(HumanRecord, BlockLengthNearTheLimitStaysPositive) {
    // The record always outgrows the block, so the block length never overflows on its
    // own; what can go wrong is its encoding near the top of the 16-bit range.
    HumanRecord h;
    h.name.assign(32592 - 1, 'n');
    h.model = "m";
    const std::string record = composeHumanRecord(h);
    EXPECT_EQ(record.size(), 32767u);
    EXPECT_EQ(littleEndianAt(record, 8, 2), 76u + 32592u);
    h.model = "mm";
    EXPECT_THROW(composeHumanRecord(h), RunTimeError);
}

TEST(HumanRecord, RandomValuesReadBackUnchanged) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<std::uint32_t> bits;
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 400);
    auto anySingle = [&] { return std::bit_cast<float>(bits(random)); };
    auto anyText = [&] {
        // One text in four is empty: the lengths then sit right against each other.
        std::string text(static_cast<std::size_t>(std::max(0, length(random) - 100)), '\0');
        for (char& c : text) {
            c = static_cast<char>(byte(random));
        }
        return text;
    };

    for (int round = 0; round < 500; ++round) {
        HumanRecord h;
        for (float& v : h.position) {
            v = anySingle();
        }
        for (float& v : h.scale) {
            v = anySingle();
        }
        for (float& v : h.rotation) {
            v = anySingle();
        }
        for (float& v : h.parameters) {
            v = anySingle();
        }
        h.name = anyText();
        h.model = anyText();
        h.script = anyText();
        h.behaviour = static_cast<std::int32_t>(bits(random));
        h.typeParameter = static_cast<std::int32_t>(bits(random));

        const std::string file = composeHumanRecord(h) + kLineEnd;
        const DecodedHumanRecord decoded = decodeHumanRecord(file);
        ASSERT_EQ(decoded.error, "") << "round " << round;
        const HumanRecord& back = *decoded.record;
        // Compare floats by their bits: NaN payloads and signed zeros must survive too.
        auto sameBits = [](const auto& a, const auto& b) {
            return std::memcmp(a.data(), b.data(), sizeof(float) * a.size()) == 0;
        };
        ASSERT_TRUE(sameBits(back.position, h.position)) << "round " << round;
        ASSERT_TRUE(sameBits(back.scale, h.scale)) << "round " << round;
        ASSERT_TRUE(sameBits(back.rotation, h.rotation)) << "round " << round;
        ASSERT_TRUE(sameBits(back.parameters, h.parameters)) << "round " << round;
        ASSERT_EQ(back.name, h.name);
        ASSERT_EQ(back.model, h.model);
        ASSERT_EQ(back.script, h.script);
        ASSERT_EQ(back.behaviour, h.behaviour);
        ASSERT_EQ(back.typeParameter, h.typeParameter);
        ASSERT_EQ(composeHumanRecord(back) + kLineEnd, file) << "round " << round;
    }
}

} // namespace
} // namespace pelomart
