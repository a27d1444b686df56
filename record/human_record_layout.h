// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

// The record's fields in file order, walked by the composer and the reader alike, so that
// the layout and its fixed values are written down in one place.

#include "human_record.h"

#include <cstdint>

namespace pelomart::layout {

// Fixed values of the layout; the game expects exactly these.
constexpr std::uint8_t kMagic[] = {0xD2, 0x04};
constexpr std::int16_t kRecordFormat = 100;
constexpr std::int16_t kFixedAtOffset12 = 9; // its meaning is not known; the game expects 9
constexpr char kSectorName[] = "Primary sector";
constexpr std::int16_t kHumanSection = 200;
constexpr std::int32_t kHumanSectionId = 595;
constexpr std::int16_t kHumanSectionCount = 27;
constexpr std::uint8_t kHumanKind = 0x06;
constexpr std::int32_t kScriptSection = 257;

// Offset of the block length's first counted byte: it counts from the format field on.
constexpr std::size_t kBlockStart = 6;

// Calls one member of `walker` per field; `Human` is HumanRecord for reading and
// const HumanRecord for composing. The names are those a bad file's message gives.
template <typename Walker, typename Human> void walkHumanRecord(Walker& w, Human& h) {
    w.magic(kMagic, "magic");                             //  0  D2 04
    w.recordLength("record length");                      //  2  bytes of the whole record
    w.fixed16(0, "record length, high half");             //  4
    w.fixed16(kRecordFormat, "record format");            //  6
    w.blockLength("block length");                        //  8  bytes from offset 6 on
    w.fixed16(0, "block length, high half");              // 10
    w.fixed16(kFixedAtOffset12, "fixed value");           // 12
    w.fixed16(0, "reserved");                             // 14
    w.singles(h.position, "position");                    // 16
    w.singles(h.scale, "scale");                          // 28
    w.singles(h.rotation, "rotation");                    // 40
    w.fixed16(0, "reserved");                             // 52
    w.fixed16(0, "reserved");                             // 54
    w.text(h.name, "internal name");                      // 56  N, then the internal name
    w.fixedText(kSectorName, "sector name");              // 60 + N  14, then "Primary sector"
    w.text(h.model, "model name");                        // 78 + N  M, then the model name
    w.endOfBlock();                                       // the block length counts to here
    w.fixed16(kHumanSection, "human section");            // 82 + N + M
    w.fixed32(kHumanSectionId, "human section id");       // 84 + N + M
    w.fixed16(kHumanSectionCount, "human section count"); // 88 + N + M
    w.fixed16(0, "reserved");                             // 90 + N + M
    w.fixedByte(kHumanKind, "human kind");                // 92 + N + M
    w.int32(h.behaviour, "behaviour code");               // 93 + N + M
    w.int32(h.typeParameter, "type parameter");           // 97 + N + M
    w.singles(h.parameters, "parameter");                 // 101 + N + M  parameters 2 to 17
    w.fixed32(kScriptSection, "script section");          // 165 + N + M
    w.fixed16(0, "reserved");                             // 169 + N + M
    w.text(h.script, "script");                           // 171 + N + M  S, then the script
}

} // namespace pelomart::layout
