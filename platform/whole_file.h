// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace pelomart {

class SystemCalls;

// A file's whole contents, or why it cannot be read ("a directory", "a FIFO", "longer than
// N bytes", the system's reason). `path` is the system's bytes for the file.
struct FileContents {
    std::optional<QByteArray> bytes;
    QString error;
};

// Reads at most `longest` bytes. Anything but a regular file is refused before a byte is
// read, and the open cannot block: a FIFO or a device named by mistake never hangs the
// caller. A file longer than `longest` is refused, having read at most one byte more.
FileContents readWholeFile(const QByteArray& path, qint64 longest);
// The same, with every system call made through `calls` (POSIX).
FileContents readWholeFile(const QByteArray& path, qint64 longest, SystemCalls& calls);

// Standard input to its end, as bytes whatever the system does with text, or why not: the
// system's reason, or "longer than N bytes".
FileContents readStandardInput(qint64 longest);

} // namespace pelomart
