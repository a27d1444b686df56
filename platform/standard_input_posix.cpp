// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "standard_input.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace pelomart {
namespace {

bool g_closed = false;

} // namespace

void claimStandardInput() {
    g_closed = ::fcntl(STDIN_FILENO, F_GETFD) == -1 && errno == EBADF;
    if (g_closed) {
        // The lowest free number is 0, so the open takes it; should it fail, a later open
        // would, and standardInputClosed() still keeps it from being read.
        ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    }
}

bool standardInputClosed() {
    return g_closed;
}

} // namespace pelomart
