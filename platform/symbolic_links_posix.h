// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "system_calls.h"

#include <QByteArray>
#include <functional>

namespace pelomart {

// Where a path leads once each symbolic link on the way is followed by hand. Not
// realpath(): a dangling link must lead to the file that a write through it would make.
struct FollowedPath {
    QByteArray path;     // the name reached
    bool exists = false; // it names something that is no link, and `status` holds it
    struct stat status {};
    int error = 0;       // the errno that stopped the walk, 0 when it reached its end
    int links = 0;       // the links followed before that errno, whose targets made the path
};

// Follows at most kMaxLinks links, as the kernel does. `onLink` sees each link, by its path
// and its own status, before it is followed, and may stop the walk by throwing.
FollowedPath followLinks(
    SystemCalls& calls, const QByteArray& path,
    const std::function<void(const QByteArray& link, const struct stat& status)>& onLink = {});

} // namespace pelomart
