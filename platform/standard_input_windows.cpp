// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "standard_input.h"

#include <windows.h>

namespace pelomart {
namespace {

bool g_closed = false;

} // namespace

// A process started without standard input has no handle there; nothing the program opens
// later takes its place, so there is nothing to claim.
void claimStandardInput() {
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    g_closed = input == nullptr || input == INVALID_HANDLE_VALUE;
}

bool standardInputClosed() {
    return g_closed;
}

} // namespace pelomart
