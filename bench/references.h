// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <string>
#include <vector>

namespace bench {

// The least any program can do to put `bytes` on disk: one write and one fsync.
void plainWrite(const QByteArray& path, const QByteArray& bytes);

// The least a write that never loses the old file can do: a temporary file written and
// synced, renamed over the target, and the directory synced.
void safeReplace(const QByteArray& directory, const QByteArray& name, const QByteArray& bytes);

// The subdirectory names of `path`, sorted, with nothing but the standard library.
std::vector<std::string> sortedSubdirectories(const std::string& path);

// A directory holding `count` subdirectories, made on first use and kept for later runs.
std::string manySubdirectories(int count);

} // namespace bench
