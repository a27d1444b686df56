// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

namespace pelomart {

// Looks at descriptor 0 as the program was started, before anything else opens a file.
// When it is closed, /dev/null takes its number, so that no descriptor the program opens
// later (Qt's own event descriptor would be the first) is ever read as standard input, and
// standardInputClosed() says so from then on. Called again, it looks again.
void claimStandardInput();

// Whether standard input was closed when claimStandardInput() last looked.
bool standardInputClosed();

} // namespace pelomart
