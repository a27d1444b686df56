// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "whole_file.h"

#include "system_calls.h"

#include <algorithm>
#include <cerrno>

namespace pelomart {
namespace {

QString kindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return QStringLiteral("a directory");
    }
    if (S_ISFIFO(mode)) {
        return QStringLiteral("a FIFO");
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return QStringLiteral("a device");
    }
    if (S_ISSOCK(mode)) {
        return QStringLiteral("a socket");
    }
    return QStringLiteral("not a regular file");
}

class Descriptor {
public:
    Descriptor(SystemCalls& calls, int fd) : m_calls(calls), m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0) {
            m_calls.close(m_fd);
        }
    }
    int fd() const { return m_fd; }

private:
    SystemCalls& m_calls;
    int m_fd;
};

FileContents failed(const QString& error) {
    return {std::nullopt, error};
}

QString tooLong(qint64 longest) {
    return QStringLiteral("longer than %1 bytes").arg(longest);
}

// Up to one byte past the bound, so that a longer input shows; a file may have grown
// since its size was read.
FileContents readBounded(SystemCalls& calls, int fd, qint64 longest, QByteArray bytes = {}) {
    if (const int error = readToEnd(calls, fd, bytes, longest + 1)) {
        return failed(qt_error_string(error));
    }
    if (bytes.size() > longest) {
        return failed(tooLong(longest));
    }
    return {std::move(bytes), {}};
}

} // namespace

int readToEnd(SystemCalls& calls, int fd, QByteArray& bytes, qint64 most) {
    // A piece at a time: standard input says nothing of its length beforehand.
    constexpr qint64 kPiece = 64 * 1024;
    while (bytes.size() < most) {
        const qsizetype filled = bytes.size();
        bytes.resize(filled + qsizetype(std::min(most - filled, kPiece)));
        const ssize_t count =
            calls.read(fd, bytes.data() + filled, std::size_t(bytes.size() - filled));
        const int error = errno;
        bytes.resize(filled + qsizetype(std::max<ssize_t>(count, 0)));
        if (count < 0 && error == EINTR) {
            continue;
        }
        if (count < 0) {
            return error;
        }
        if (count == 0) {
            break;
        }
    }
    return 0;
}

FileContents readWholeFile(const QByteArray& path, qint64 longest, SystemCalls& calls) {
    // O_NONBLOCK: opening a FIFO with no writer would otherwise wait for one.
    const Descriptor file(calls,
                          calls.open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC, 0));
    struct stat status {};
    if (file.fd() < 0 || calls.fstat(file.fd(), &status) != 0) {
        return failed(qt_error_string(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        return failed(kindOf(status.st_mode));
    }
    if (status.st_size > longest) {
        return failed(tooLong(longest));
    }
    QByteArray bytes;
    bytes.reserve(qsizetype(longest + 1));
    return readBounded(calls, file.fd(), longest, std::move(bytes));
}

FileContents readWholeFile(const QByteArray& path, qint64 longest) {
    SystemCalls posix;
    return readWholeFile(path, longest, posix);
}

FileContents readStandardInput(qint64 longest) {
    SystemCalls posix;
    return readBounded(posix, STDIN_FILENO, longest);
}

} // namespace pelomart
