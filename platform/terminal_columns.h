// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

namespace pelomart {

// The columns a terminal gives a character: two for a wide East Asian character, none for a
// combining mark, one for what has no width of its own (an unassigned character). The
// character is never a control: those are escaped before they are measured.
int terminalColumns(char32_t c);

} // namespace pelomart
