// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

// decodeHumanRecord over any bytes: it must neither crash nor read outside the input,
// every file it accepts must compose back to the same bytes, and every refusal must
// name an offset inside the file.
// Input: the whole contents of a change file.

#include "fuzz_support.h"
#include "human_record_composer.h"
#include "human_record_reader.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelomart;
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const DecodedHumanRecord decoded = decodeHumanRecord(file);
    if (!decoded.record) {
        const std::string prefix = "offset ";
        FUZZ_REQUIRE(decoded.error.starts_with(prefix), "message \"%s\"", decoded.error.c_str());
        const std::size_t offset = std::stoul(decoded.error.substr(prefix.size()));
        FUZZ_REQUIRE(offset <= size, "offset %zu in a file of %zu bytes", offset, size);
        return 0;
    }
    FUZZ_REQUIRE(decoded.error.empty(), "accepted with \"%s\"", decoded.error.c_str());
    const std::string again = composeHumanRecord(*decoded.record) + kLineEnd;
    FUZZ_REQUIRE(again == file, "composed back to %zu bytes from %zu", again.size(), size);
    return 0;
}
