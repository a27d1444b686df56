// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "human_record.h"

#include <optional>
#include <string>
#include <string_view>

namespace pelomart {

// What decodeHumanRecord made of a file: its record, or why it is not a change file.
struct DecodedHumanRecord {
    std::optional<HumanRecord> record;
    // Empty when `record` holds a value. Otherwise the first fault, with its byte offset,
    // the field, what was expected and what was found: "offset 92: human kind: expected 6,
    // found 7". A file that ends too early says where it ends.
    std::string error;
};

// Reads the whole contents of a change file: exactly one record followed by CR LF, every
// fixed value and both length fields as composeHumanRecord writes them, every text inside
// the record. Texts come back as the file's bytes. Whatever the input, it reads only
// inside `file` and holds no more than `file.size()` bytes of texts.
DecodedHumanRecord decodeHumanRecord(std::string_view file);

} // namespace pelomart
