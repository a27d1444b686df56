// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace pelomart {

// One human as the change file holds it. Texts are already in the code page:
// one byte per character.
struct HumanRecord {
    std::array<float, 3> position{};
    std::array<float, 3> scale{};
    std::array<float, 3> rotation{};
    std::string name;
    std::string model;
    std::int32_t behaviour = 2;
    std::int32_t typeParameter = 0;
    std::array<float, 16> parameters{}; // parameters 2 to 17
    std::string script;
};

// The largest record the 16-bit length field can describe.
constexpr int kMaxRecordLength = 32767;

// What closes a change file after its one record.
inline constexpr char kLineEnd[] = "\r\n";

} // namespace pelomart
