// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "change_file_reader.h"

#include "system_calls.h"

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

} // namespace

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
    // Up to one byte past the bound: the file may have grown since fstat.
    QByteArray bytes(longest + 1, Qt::Uninitialized);
    qint64 filled = 0;
    while (filled < bytes.size()) {
        const ssize_t count =
            calls.read(file.fd(), bytes.data() + filled, std::size_t(bytes.size() - filled));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return failed(qt_error_string(errno));
        }
        if (count == 0) {
            break;
        }
        filled += count;
    }
    if (filled > longest) {
        return failed(tooLong(longest));
    }
    bytes.truncate(filled);
    return {std::move(bytes), {}};
}

FileContents readWholeFile(const QByteArray& path, qint64 longest) {
    SystemCalls posix;
    return readWholeFile(path, longest, posix);
}

} // namespace pelomart
