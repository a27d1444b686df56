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

// The cells of each row of the table whose header starts with "Offset".
std::vector<std::vector<std::string>> markdownTable(const std::string& document) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(document.substr(document.find("\n| Offset ") + 1));
    std::string line;
    std::getline(lines, line); // the header
    std::getline(lines, line); // the rule under it
    while (std::getline(lines, line) && line.starts_with("|")) {
        std::istringstream cells(line.substr(1));
        rows.emplace_back();
        for (std::string cell; std::getline(cells, cell, '|');) {
            rows.back().push_back(trimmed(cell));
        }
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

// The bytes a fixed field's Value cell stands for: a quoted text, hex bytes or a
// little-endian number.
std::string valueBytes(const std::string& type, const std::string& value, std::size_t size) {
    if (type == "text") {
        return value.substr(1, value.size() - 2);
    }
    std::string bytes;
    std::istringstream in(value);
    for (int byte; type == "bytes" && in >> std::hex >> byte;) {
        bytes += char(byte);
    }
    for (std::size_t i = 0; type != "bytes" && i < size; ++i) {
        bytes += char(evaluated(value) >> (8 * i));
    }
    return bytes;
}

struct Field {
    std::string name;
    std::string type;
    std::size_t offset;
    std::size_t size;
    bool fromBox;
};

// The layout's fields in file order, with offsets counted from the sizes it writes.
struct FieldList {
    std::vector<Field> fields;
    std::size_t offset = 0;

    void magic(const auto&, const char* name) { add(name, "bytes", 2); }
    void recordLength(const char* name) { add(name, "int16", 2); }
    void blockLength(const char* name) { add(name, "int16", 2); }
    void fixedByte(auto, const char* name) { add(name, "byte", 1); }
    void fixed16(auto, const char* name) { add(name, "int16", 2); }
    void fixed32(auto, const char* name) { add(name, "int32", 4); }
    void int32(auto, const char* name) { add(name, "int32", 4, true); }
    template <std::size_t N> void singles(const std::array<float, N>&, const char* name) {
        for (std::size_t i = 0; i < N; ++i) {
            const std::string axis = N == 3 ? std::string(1, char('x' + i)) : std::to_string(i + 2);
            add(name + (' ' + axis), "float", 4, true);
        }
    }
    void text(const std::string& value, const char* name, bool fromBox = true) {
        add(name + std::string(" length"), "int32", 4);
        add(name, "text", value.size(), fromBox);
    }
    void fixedText(const std::string& value, const char* name) { text(value, name, false); }
    void endOfBlock() {}
    void add(const std::string& name, const char* type, std::size_t size, bool fromBox = false) {
        fields.push_back({name, type, offset, size, fromBox});
        offset += size;
    }
};

TEST(FormatDocument, TableFollowsTheLayoutAndTheKaitaiIds) {
    HumanRecord human;
    human.name = std::string(kN, 'n');
    human.model = std::string(kM, 'm');
    human.script = std::string(kS, 's');
    FieldList layout;
    layout::walkHumanRecord(layout, human);
    layout.add("line end", "bytes", 2);
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
        } else {
            EXPECT_EQ(valueBytes(type, value, field.size), file.substr(field.offset, field.size))
                << value;
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
