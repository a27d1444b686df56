#include "human_record.h"

#include "run_time_error.h"

namespace pelomart {
namespace {

// Fixed values of the layout; the game expects exactly these.
constexpr std::int16_t kRecordFormat = 100;
constexpr std::int16_t kBlockNine = 9;
constexpr char kSectorName[] = "Primary sector";
constexpr std::int16_t kHumanSection = 200;
constexpr std::int32_t kHumanSectionId = 595;
constexpr std::int16_t kHumanSectionCount = 27;
constexpr char kHumanKind = 0x06;
constexpr std::int32_t kScriptSection = 257;

struct Composed {
    std::string bytes;
    std::size_t endOfModel = 0; // offset just past the model name
};

std::string lengthAndText(const std::string& text) {
    return EncodeInt32(static_cast<std::int32_t>(text.size())) + text;
}

std::string threeSingles(const std::array<float, 3>& values) {
    return EncodeSingle(values[0]) + EncodeSingle(values[1]) + EncodeSingle(values[2]);
}

Composed compose(const HumanRecord& h, std::int16_t recordLength, std::int16_t blockLength) {
    Composed out;
    std::string& r = out.bytes;
    r += '\xD2';                     //  0  magic D2 04
    r += '\x04';                     //  1
    r += EncodeInt16(recordLength);  //  2  bytes of the whole record
    r += EncodeInt16(0);             //  4
    r += EncodeInt16(kRecordFormat); //  6
    r += EncodeInt16(blockLength);   //  8  bytes from offset 6 to the end of the model name
    r += EncodeInt16(0);             // 10
    r += EncodeInt16(kBlockNine);    // 12
    r += EncodeInt16(0);             // 14
    r += threeSingles(h.position);   // 16
    r += threeSingles(h.scale);      // 28
    r += threeSingles(h.rotation);   // 40
    r += EncodeInt16(0);             // 52
    r += EncodeInt16(0);             // 54
    r += lengthAndText(h.name);      // 56  N, then the internal name
    r += lengthAndText(kSectorName); // 60 + N
    r += lengthAndText(h.model);     // 78 + N  M, then the model name
    out.endOfModel = r.size();
    r += EncodeInt16(kHumanSection);      // 82 + N + M
    r += EncodeInt32(kHumanSectionId);    // 84 + N + M
    r += EncodeInt16(kHumanSectionCount); // 88 + N + M
    r += EncodeInt16(0);                  // 90 + N + M
    r += kHumanKind;                      // 92 + N + M
    r += EncodeInt32(h.behaviour);        // 93 + N + M
    r += EncodeInt32(h.typeParameter);    // 97 + N + M
    for (float parameter : h.parameters) {
        r += EncodeSingle(parameter); // 101 + N + M, sixteen of them
    }
    r += EncodeInt32(kScriptSection); // 165 + N + M
    r += EncodeInt16(0);              // 169 + N + M
    r += lengthAndText(h.script);     // 171 + N + M  S, then the script
    return out;
}

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
    const Composed draft = compose(human, 0, 0);
    const std::int16_t blockLength = toInt16(draft.endOfModel - 6);
    const std::int16_t recordLength = toInt16(draft.bytes.size());
    return compose(human, recordLength, blockLength).bytes;
}

} // namespace pelomart
