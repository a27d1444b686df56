// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

// A number's bytes, least significant first, whatever the host's own byte order.
// The record carries them as characters of an ordinary byte string; a zero byte
// is just another character.
namespace pelomart {

namespace detail {
template <typename Unsigned> std::string littleEndian(Unsigned value) {
    std::string bytes(sizeof(Unsigned), '\0');
    for (std::size_t i = 0; i < sizeof(Unsigned); ++i) {
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}
} // namespace detail

inline std::string EncodeInt16(std::int16_t value) {
    return detail::littleEndian(static_cast<std::uint16_t>(value));
}

inline std::string EncodeInt32(std::int32_t value) {
    return detail::littleEndian(static_cast<std::uint32_t>(value));
}

inline std::string EncodeSingle(float value) {
    static_assert(sizeof(float) == 4);
    return detail::littleEndian(std::bit_cast<std::uint32_t>(value));
}

// The inverse: a number of the type's width from the first bytes of `bytes`, least
// significant first. The caller has checked that there are that many.
template <typename Integer> Integer decodeLittleEndian(std::string_view bytes) {
    using Unsigned = std::make_unsigned_t<Integer>;
    Unsigned value = 0;
    for (std::size_t i = 0; i < sizeof(Integer); ++i) {
        value |= static_cast<Unsigned>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    }
    return static_cast<Integer>(value);
}

} // namespace pelomart
