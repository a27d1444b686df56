// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "human_record_composer.h"

#include "emulate1.h"
#include "human_record_layout.h"
#include "run_time_error.h"

namespace pelomart {
namespace {

// Appends each field's bytes; the two length fields get the values it was made with.
class Composer {
public:
    Composer(std::int16_t recordLength, std::int16_t blockLength)
        : m_recordLength(recordLength), m_blockLength(blockLength) {}

    void magic(const std::uint8_t (&magic)[2], const char*) {
        m_bytes += static_cast<char>(magic[0]);
        m_bytes += static_cast<char>(magic[1]);
    }
    void recordLength(const char*) { m_bytes += EncodeInt16(m_recordLength); }
    void blockLength(const char*) { m_bytes += EncodeInt16(m_blockLength); }
    void fixedByte(std::uint8_t value, const char*) { m_bytes += static_cast<char>(value); }
    void fixed16(std::int16_t value, const char*) { m_bytes += EncodeInt16(value); }
    void fixed32(std::int32_t value, const char*) { m_bytes += EncodeInt32(value); }
    void int32(std::int32_t value, const char*) { m_bytes += EncodeInt32(value); }
    template <std::size_t N> void singles(const std::array<float, N>& values, const char*) {
        for (float value : values) {
            m_bytes += EncodeSingle(value);
        }
    }
    void text(const std::string& text, const char*) {
        m_bytes += EncodeInt32(static_cast<std::int32_t>(text.size()));
        m_bytes += text;
    }
    void fixedText(const std::string& text, const char* name) { this->text(text, name); }
    void endOfBlock() { m_endOfModel = m_bytes.size(); }

    const std::string& bytes() const { return m_bytes; }
    std::size_t endOfModel() const { return m_endOfModel; }

private:
    std::int16_t m_recordLength;
    std::int16_t m_blockLength;
    std::string m_bytes;
    std::size_t m_endOfModel = 0;
};

std::int16_t toInt16(std::size_t length) {
    if (length > static_cast<std::size_t>(kMaxRecordLength)) {
        throw RunTimeError(ErrorNumber::Overflow);
    }
    return static_cast<std::int16_t>(length);
}

} // namespace

std::string composeHumanRecord(const HumanRecord& human) {
    // The first pass only measures; both length fields have a fixed width, so the
    // lengths it gives are those of the final record.
    Composer draft(0, 0);
    layout::walkHumanRecord(draft, human);
    const std::int16_t blockLength = toInt16(draft.endOfModel() - layout::kBlockStart);
    const std::int16_t recordLength = toInt16(draft.bytes().size());
    Composer record(recordLength, blockLength);
    layout::walkHumanRecord(record, human);
    return record.bytes();
}

} // namespace pelomart
