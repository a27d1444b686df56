// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

// docs/FORMAT.md's record table, held against the layout that the composer and the reader
// walk and against the ids of data/pelomart-change.ksy, so that neither can drift from it.

#include "human_record_composer.h"
#include "human_record_layout.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

namespace pelomart {
namespace {

std::string fileText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" `");
    const auto last = text.find_last_not_of(" `");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The cells of each row of the first table whose header starts with "Offset".
std::vector<std::vector<std::string>> markdownTable(const std::string& document) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(document);
    bool inTable = false;
    for (std::string line; std::getline(lines, line);) {
        if (!inTable) {
            inTable = line.starts_with("| Offset ");
            continue;
        }
        if (!line.starts_with("|")) {
            break;
        }
        if (line.starts_with("|-")) {
            continue;
        }
        std::vector<std::string> cells;
        std::istringstream cellStream(line.substr(1));
        for (std::string cell; std::getline(cellStream, cell, '|');) {
            cells.push_back(trimmed(cell));
        }
        rows.push_back(cells);
    }
    return rows;
}

// Text lengths for which every offset expression of the table gives a distinct value.
constexpr long kN = 3, kM = 5, kS = 11;

// "82 + N + M" with the lengths above.
long evaluated(const std::string& expression) {
    long sum = 0;
    std::istringstream terms(expression);
    for (std::string term; std::getline(terms, term, '+');) {
        term = trimmed(term);
        sum += term == "N" ? kN : term == "M" ? kM : term == "S" ? kS : std::stol(term);
    }
    return sum;
}

struct Field {
    std::string name;
    std::string type;
    std::size_t offset;
    std::size_t size;
    bool fromBox;
};

// The layout's fields in file order, with offsets counted from the sizes it writes.
class FieldList {
public:
    std::vector<Field> fields;

    void magic(const std::uint8_t (&)[2], const char* name) { add(name, "bytes", 2, false); }
    void recordLength(const char* name) { add(name, "int16", 2, false); }
    void blockLength(const char* name) { add(name, "int16", 2, false); }
    void fixedByte(std::uint8_t, const char* name) { add(name, "byte", 1, false); }
    void fixed16(std::int16_t, const char* name) { add(name, "int16", 2, false); }
    void fixed32(std::int32_t, const char* name) { add(name, "int32", 4, false); }
    void int32(std::int32_t, const char* name) { add(name, "int32", 4, true); }
    template <std::size_t N> void singles(const std::array<float, N>&, const char* name) {
        for (std::size_t i = 0; i < N; ++i) {
            const std::string axis = N == 3 ? std::string(1, char('x' + i)) : std::to_string(i + 2);
            add(std::string(name) + ' ' + axis, "float", 4, true);
        }
    }
    void text(const std::string& text, const char* name) {
        add(std::string(name) + " length", "int32", 4, false);
        add(name, "text", text.size(), true);
    }
    void fixedText(const std::string& text, const char* name) {
        add(std::string(name) + " length", "int32", 4, false);
        add(name, "text", text.size(), false);
    }
    void endOfBlock() {}

private:
    void add(const std::string& name, const char* type, std::size_t size, bool fromBox) {
        fields.push_back({name, type, m_offset, size, fromBox});
        m_offset += size;
    }
    std::size_t m_offset = 0;
};

long littleEndian(const std::string& bytes, std::size_t offset, std::size_t size) {
    unsigned long value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        value |= static_cast<unsigned long>(static_cast<unsigned char>(bytes[offset + i]))
                 << (8 * i);
    }
    // Signed, as the game reads these fields.
    return size == 1   ? long(value)
           : size == 2 ? long(std::int16_t(value))
                       : long(std::int32_t(value));
}

std::string hex(const std::string& bytes) {
    std::string text;
    for (const unsigned char byte : bytes) {
        static const char digits[] = "0123456789ABCDEF";
        text += text.empty() ? "" : " ";
        text += {digits[byte >> 4], digits[byte & 15]};
    }
    return text;
}

TEST(FormatDocument, TableFollowsTheLayoutAndTheKaitaiIds) {
    HumanRecord human;
    human.name = std::string(kN, 'n');
    human.model = std::string(kM, 'm');
    human.script = std::string(kS, 's');
    FieldList layout;
    layout::walkHumanRecord(layout, human);
    layout.fields.push_back({"line end", "bytes", layout.fields.back().offset + kS, 2, false});
    const std::string file = composeHumanRecord(human) + kLineEnd;

    const auto rows = markdownTable(fileText(PELOMART_FORMAT_MD));
    ASSERT_EQ(rows.size(), layout.fields.size()) << "rows in FORMAT.md's record table";
    std::vector<std::string> kaitaiIds;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Field& field = layout.fields[i];
        ASSERT_EQ(rows[i].size(), 7u) << "row " << i + 1;
        const auto& [offset, size, type, name, value, box, kaitaiId] = std::tie(
            rows[i][0], rows[i][1], rows[i][2], rows[i][3], rows[i][4], rows[i][5], rows[i][6]);
        SCOPED_TRACE("row " + std::to_string(i + 1) + ", " + field.name);
        EXPECT_EQ(name, field.name);
        EXPECT_EQ(type, field.type);
        EXPECT_EQ(evaluated(offset), long(field.offset));
        EXPECT_EQ(evaluated(size), long(field.size));
        kaitaiIds.push_back(kaitaiId);
        if (field.fromBox) {
            // A box's value: no fixed value, and the box's name is the Kaitai id.
            EXPECT_EQ(value, "");
            EXPECT_EQ(box.substr(0, box.find('`')), kaitaiId);
        } else if (type == "bytes") {
            EXPECT_EQ(value, hex(file.substr(field.offset, field.size)));
        } else if (type == "text") {
            EXPECT_EQ(value, '"' + file.substr(field.offset, field.size) + '"');
        } else {
            EXPECT_EQ(evaluated(value), littleEndian(file, field.offset, field.size)) << value;
        }
    }

    std::vector<std::string> ksyIds;
    const std::regex seqId(R"(^  - id: (\w+)$)");
    std::istringstream ksy(fileText(PELOMART_KSY));
    for (std::string line; std::getline(ksy, line);) {
        if (std::smatch match; std::regex_match(line, match, seqId)) {
            ksyIds.push_back(match[1]);
        }
    }
    EXPECT_EQ(kaitaiIds, ksyIds);
}

} // namespace
} // namespace pelomart
