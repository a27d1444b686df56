// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "human_record.h"

#include <string>

namespace pelomart {

// The record's bytes with both length fields filled in. Throws RunTimeError
// (Overflow) when the record would be longer than kMaxRecordLength.
std::string composeHumanRecord(const HumanRecord& human);

} // namespace pelomart
