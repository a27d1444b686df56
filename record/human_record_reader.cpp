// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "human_record_reader.h"

#include "emulate1.h"
#include "human_record_layout.h"

#include <bit>
#include <cstdio>

namespace pelomart {
namespace {

// Why the file is refused; thrown inside the reader only.
struct Refusal {
    std::string message;
};

std::string hexBytes(std::string_view bytes) {
    std::string text;
    for (unsigned char byte : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", byte);
        text += text.empty() ? "" : " ";
        text += hex;
    }
    return text;
}

// A text in quotes, each byte outside printable ASCII as \xNN. Written here again, not
// taken from common's escapedByte: the record is standard C++ only and links no Qt.
std::string quoted(std::string_view bytes) {
    std::string text = "\"";
    for (unsigned char byte : bytes) {
        if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\') {
            text += static_cast<char>(byte);
        } else {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            text += escape;
        }
    }
    return text + "\"";
}

// Checks each field against its fixed value as the layout walks it, and takes the others
// into the record.
class Reader {
public:
    explicit Reader(std::string_view file) : m_file(file) {}

    void magic(const std::uint8_t (&magic)[2], const char* name) {
        const std::string expected{static_cast<char>(magic[0]), static_cast<char>(magic[1])};
        const std::size_t at = m_pos;
        const std::string_view found = take(2, name);
        if (found != expected) {
            refuse(at, name, hexBytes(expected), hexBytes(found));
        }
    }
    void recordLength(const char* name) { m_recordLength = lengthField(name); }
    void blockLength(const char* name) { m_blockLength = lengthField(name); }
    void fixedByte(std::uint8_t value, const char* name) { expect<std::uint8_t>(value, name); }
    void fixed16(std::int16_t value, const char* name) { expect<std::int16_t>(value, name); }
    void fixed32(std::int32_t value, const char* name) { expect<std::int32_t>(value, name); }
    void int32(std::int32_t& value, const char* name) { value = number<std::int32_t>(name); }

    template <std::size_t N> void singles(std::array<float, N>& values, const char* name) {
        for (std::size_t i = 0; i < N; ++i) {
            // Triples are x, y, z; the sixteen parameters are numbered from 2.
            const std::string field =
                std::string(name) + ' ' +
                (N == 3 ? std::string(1, char('x' + i)) : std::to_string(i + 2));
            values[i] = std::bit_cast<float>(number<std::uint32_t>(field));
        }
    }

    void text(std::string& text, const char* name) {
        const std::string lengthName = std::string(name) + " length";
        const std::size_t at = m_pos;
        const auto length = number<std::int32_t>(lengthName);
        // Bounded by the file alone: a text that runs into the closing line end or past the
        // record length is refused by those checks once the walk gets there.
        const std::size_t room = m_file.size() - m_pos;
        if (length < 0 || static_cast<std::size_t>(length) > room) {
            std::string found = std::to_string(length);
            if (length > 0) {
                found += " (the file ends at offset " + std::to_string(m_file.size()) + ")";
            }
            refuse(at, lengthName, "at most " + std::to_string(room), found);
        }
        text = std::string(take(static_cast<std::size_t>(length), name));
    }

    void fixedText(std::string_view expected, const char* name) {
        expect<std::int32_t>(static_cast<std::int32_t>(expected.size()),
                             std::string(name) + " length");
        const std::size_t at = m_pos;
        const std::string_view found = take(expected.size(), name);
        if (found != expected) {
            refuse(at, name, quoted(expected), quoted(found));
        }
    }

    void endOfBlock() { checkLength(m_blockLength, m_pos - layout::kBlockStart); }

    // After the last field: the record length, the closing CR LF and nothing more.
    void endOfRecord() {
        checkLength(m_recordLength, m_pos);
        const std::size_t at = m_pos;
        const std::string_view lineEnd = take(2, "line end");
        if (lineEnd != kLineEnd) {
            refuse(at, "line end", hexBytes(kLineEnd), hexBytes(lineEnd));
        }
        if (m_pos != m_file.size()) {
            refuse(m_pos, "end of file", "no more bytes",
                   std::to_string(m_file.size() - m_pos) + " more");
        }
    }

private:
    // A length field, checked once the bytes it counts have been read.
    struct LengthField {
        std::size_t offset = 0;
        std::string name;
        std::int16_t value = 0;
    };

    LengthField lengthField(const char* name) {
        const std::size_t at = m_pos;
        return {at, name, number<std::int16_t>(name)};
    }

    static void checkLength(const LengthField& field, std::size_t measured) {
        if (field.value < 0 || static_cast<std::size_t>(field.value) != measured) {
            refuse(field.offset, field.name, std::to_string(measured), std::to_string(field.value));
        }
    }

    [[noreturn]] static void refuse(std::size_t offset, std::string_view field,
                                    const std::string& expected, const std::string& found) {
        throw Refusal{"offset " + std::to_string(offset) + ": " + std::string(field) +
                      ": expected " + expected + ", found " + found};
    }

    std::string_view take(std::size_t size, std::string_view field) {
        if (size > m_file.size() - m_pos) {
            refuse(m_pos, field, std::to_string(size) + " bytes",
                   "the end of the file at offset " + std::to_string(m_file.size()));
        }
        const std::string_view bytes = m_file.substr(m_pos, size);
        m_pos += size;
        return bytes;
    }

    // A little-endian number of the type's width.
    template <typename Integer> Integer number(std::string_view field) {
        return decodeLittleEndian<Integer>(take(sizeof(Integer), field));
    }

    template <typename Integer> void expect(Integer value, std::string_view field) {
        const std::size_t at = m_pos;
        const Integer found = number<Integer>(field);
        if (found != value) {
            // Widened so that a byte prints as a number, not a character.
            refuse(at, field, std::to_string(static_cast<long long>(value)),
                   std::to_string(static_cast<long long>(found)));
        }
    }

    std::string_view m_file;
    std::size_t m_pos = 0;
    LengthField m_recordLength;
    LengthField m_blockLength;
};

} // namespace

DecodedHumanRecord decodeHumanRecord(std::string_view file) {
    Reader reader(file);
    HumanRecord human;
    try {
        layout::walkHumanRecord(reader, human);
        reader.endOfRecord();
    } catch (const Refusal& refusal) {
        return {std::nullopt, refusal.message};
    }
    return {std::move(human), {}};
}

} // namespace pelomart
