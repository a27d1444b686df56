// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "change_file_writer.h"

#include "run_time_error.h"
#include "shown_text.h"
#include "system_calls.h"

#include <QFile>
#include <QRandomGenerator>

#if !defined(Q_OS_UNIX)
#error "change_file_writer.cpp is written for Unix systems"
#endif

#include <cerrno>
#include <climits>
#include <utility>

namespace pelomart {
namespace {

constexpr int kMaxLinks = 40;
constexpr int kMaxNameAttempts = 100;

ErrorNumber errorNumberFor(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
        return ErrorNumber::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return ErrorNumber::PermissionDenied;
    case EISDIR:
    case EBUSY:
    case EXDEV:
    case ETXTBSY:
    // Only a target that is a FIFO or a device gives these, which the writer otherwise
    // refuses as not a regular file.
    case ENXIO:
    case ENODEV:
        return ErrorNumber::PathFileAccess;
    case ENAMETOOLONG:
        return ErrorNumber::BadFileName;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ErrorNumber::DiskFull;
    default:
        return ErrorNumber::DeviceIO;
    }
}

[[noreturn]] void fail(ErrorNumber number, const QString& path, const QString& reason) {
    throw RunTimeError(number, (path + QStringLiteral(": ") + reason).toStdString());
}

[[noreturn]] void failWith(int error, const QString& path) {
    fail(errorNumberFor(error), path, qt_error_string(error));
}

// Closes the descriptor and, unless kept, removes the file, so that a failure at any
// step leaves no temporary file behind.
class OpenFile {
public:
    OpenFile(SystemCalls& calls, int fd, QByteArray removeOnFailure = {})
        : m_calls(calls), m_fd(fd), m_remove(std::move(removeOnFailure)) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() { discard(); }

    int fd() const { return m_fd; }

    // Returns 0 or the errno of a close that reports a late write error. Linux frees the
    // descriptor even when close is interrupted, so EINTR is no failure and no retry.
    int close() {
        const int result = m_calls.close(m_fd);
        m_fd = -1;
        return result == 0 || errno == EINTR ? 0 : errno;
    }
    void keep() { m_remove.clear(); }
    void discard() {
        if (m_fd >= 0) {
            m_calls.close(m_fd);
            m_fd = -1;
        }
        if (!m_remove.isEmpty()) {
            m_calls.unlink(m_remove.constData());
            m_remove.clear();
        }
    }

private:
    SystemCalls& m_calls;
    int m_fd;
    QByteArray m_remove;
};

void checkName(const QByteArray& encoded, const QString& path) {
    if (encoded.isEmpty() || encoded.endsWith('/')) {
        fail(ErrorNumber::BadFileName, path, QStringLiteral("no file name"));
    }
    if (encoded.contains('\0')) {
        fail(ErrorNumber::BadFileName, path, QStringLiteral("the name contains a null character"));
    }
    for (const QByteArray& component : encoded.split('/')) {
        if (component.size() > NAME_MAX) {
            failWith(ENAMETOOLONG, path);
        }
    }
}

QByteArray directoryOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) {
        return ".";
    }
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

// One call of writeChangeFile; each step either succeeds or throws the run-time error.
class Writer {
public:
    Writer(SystemCalls& calls, const QString& path, const QByteArray& bytes)
        : m_calls(calls), m_path(path), m_bytes(bytes) {}

    void resolve(const QByteArray& encoded);
    void refuseWhatAnOpenWouldRefuse();
    bool replaceByRename();
    void rewriteInPlace();

private:
    [[noreturn]] void failWith(int error) const { pelomart::failWith(error, m_path); }
    [[noreturn]] void failOnResolvedPath(int error, int linksFollowed) const;
    void refuseUnprotectedLink();
    // The directory refuses a new name, or a sticky directory refuses to let the rename
    // replace another user's file, while the existing file itself may still be writable.
    bool refusedByDirectory(int error) const {
        return m_exists && (error == EACCES || error == EPERM);
    }
    int createTemporary(QByteArray& tempPath);
    void fillTemporary(OpenFile& temp);
    void keepOwnerAndMode(int fd);
    int writeAll(int fd);
    void syncDirectory();

    SystemCalls& m_calls;
    const QString& m_path;
    const QByteArray& m_bytes;
    QByteArray m_target; // where the bytes go, with symbolic links followed
    bool m_exists = false;
    struct stat m_status {};
};

// Follows a chain of symbolic links by hand: a dangling link must lead to the file to
// create, which realpath() would not give.
void Writer::resolve(const QByteArray& encoded) {
    m_target = encoded;
    for (int links = 0;; ++links) {
        if (m_calls.lstat(m_target.constData(), &m_status) != 0) {
            if (errno == ENOENT) {
                return;
            }
            failOnResolvedPath(errno, links);
        }
        if (!S_ISLNK(m_status.st_mode)) {
            m_exists = true;
            return;
        }
        if (links == kMaxLinks) {
            failWith(ELOOP);
        }
        refuseUnprotectedLink();
        char link[PATH_MAX];
        const ssize_t size = m_calls.readlink(m_target.constData(), link, sizeof link);
        if (size < 0) {
            failWith(errno);
        }
        if (size == sizeof link) {
            failOnResolvedPath(ENAMETOOLONG, links + 1);
        }
        const QByteArray linkTarget(link, size);
        m_target =
            linkTarget.startsWith('/') ? linkTarget : directoryOf(m_target) + '/' + linkTarget;
    }
}

// Once a link is followed, the path is the link's doing, not a bad name given by the user.
void Writer::failOnResolvedPath(int error, int linksFollowed) const {
    if (error == ENAMETOOLONG && linksFollowed > 0) {
        fail(ErrorNumber::PathNotFound, m_path, qt_error_string(error));
    }
    failWith(error);
}

// The kernel's protected-symlinks rule, which following links by hand would bypass: in a
// shared sticky directory such as /tmp, another user's link could otherwise turn this
// write onto any file that we may write, and the rename would replace it.
void Writer::refuseUnprotectedLink() {
    const uid_t linkOwner = m_status.st_uid;
    if (linkOwner == m_calls.geteuid()) {
        return;
    }
    struct stat directory {};
    if (m_calls.stat(directoryOf(m_target).constData(), &directory) != 0) {
        failWith(errno);
    }
    const bool shared = (directory.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
    if (shared && linkOwner != directory.st_uid) {
        fail(ErrorNumber::PermissionDenied, m_path,
             QStringLiteral("a symbolic link in a shared sticky directory, owned by another user"));
    }
}

// A file that an ordinary open for writing would refuse (read-only, another user's)
// is refused here too, although the directory would let a rename replace it.
void Writer::refuseWhatAnOpenWouldRefuse() {
    if (m_target.endsWith('/') || (m_exists && S_ISDIR(m_status.st_mode))) {
        failWith(EISDIR);
    }
    if (m_exists && !S_ISREG(m_status.st_mode)) {
        fail(ErrorNumber::PathFileAccess, m_path, QStringLiteral("not a regular file"));
    }
    if (m_exists && m_calls.faccessat(AT_FDCWD, m_target.constData(), W_OK, AT_EACCESS) != 0) {
        failWith(errno);
    }
}

// Returns false, leaving nothing behind, where the directory refuses the replacement.
bool Writer::replaceByRename() {
    QByteArray tempPath;
    const int fd = createTemporary(tempPath);
    if (fd < 0) {
        const int error = errno;
        if (refusedByDirectory(error)) {
            return false;
        }
        failWith(error);
    }
    OpenFile temp(m_calls, fd, tempPath);
    fillTemporary(temp);
    if (m_calls.rename(tempPath.constData(), m_target.constData()) != 0) {
        const int error = errno;
        if (refusedByDirectory(error)) {
            temp.discard();
            return false;
        }
        failWith(error);
    }
    temp.keep();
    syncDirectory();
    return true;
}

// A short hidden name: it must fit even where the target's name already uses all 255 bytes.
int Writer::createTemporary(QByteArray& tempPath) {
    static constexpr char letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const QByteArray directory = directoryOf(m_target);
    const QByteArray prefix = directory + (directory.endsWith('/') ? "" : "/") + ".pelomart-";
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        QByteArray name = prefix;
        for (int i = 0; i < 6; ++i) {
            name += letters[QRandomGenerator::system()->bounded(int(sizeof letters) - 1)];
        }
        const int fd =
            m_calls.open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            tempPath = name;
            return fd;
        }
        if (errno != EEXIST) {
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

// The bytes reach the disk before the rename may put them in the target's place.
void Writer::fillTemporary(OpenFile& temp) {
    if (m_exists) {
        keepOwnerAndMode(temp.fd());
    }
    if (const int error = writeAll(temp.fd())) {
        failWith(error);
    }
    if (m_calls.fsync(temp.fd()) != 0) {
        failWith(errno);
    }
    if (const int error = temp.close()) {
        failWith(error);
    }
}

void Writer::keepOwnerAndMode(int fd) {
    // Only a privileged process may hand the file to another owner; otherwise the
    // new file stays ours, as any rewrite by this user would leave it.
    if (m_calls.fchown(fd, m_status.st_uid, m_status.st_gid) != 0 && errno != EPERM) {
        failWith(errno);
    }
    // After fchown, which clears set-id bits.
    if (m_calls.fchmod(fd, m_status.st_mode & 07777) != 0) {
        failWith(errno);
    }
}

// Returns 0 or the errno of the failing write; a file-size limit shows as a short
// write followed by EFBIG.
int Writer::writeAll(int fd) {
    const char* data = m_bytes.constData();
    qsizetype left = m_bytes.size();
    while (left > 0) {
        const ssize_t written = m_calls.write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return EIO;
        }
        data += written;
        left -= written;
    }
    return 0;
}

// The rename has already replaced the file; a failure here cannot undo that, so it is
// not reported as one.
void Writer::syncDirectory() {
    const int fd =
        m_calls.open(directoryOf(m_target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) {
        return;
    }
    m_calls.fsync(fd);
    m_calls.close(fd);
}

// Overwrites the file as an ordinary open for writing would. Not atomic, so claim the
// space first, which lets a full disk or a size limit fail before any old byte is touched.
// O_NOFOLLOW: the file checked above, never a link put in its place since.
void Writer::rewriteInPlace() {
    OpenFile file(m_calls,
                  m_calls.open(m_target.constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0));
    if (file.fd() < 0) {
        failWith(errno);
    }
    if (!m_bytes.isEmpty()) {
        const int error = m_calls.posix_fallocate(file.fd(), 0, m_bytes.size());
        if (error == ENOSPC || error == EDQUOT || error == EFBIG) {
            failWith(error);
        }
    }
    if (const int error = writeAll(file.fd())) {
        failWith(error);
    }
    if (m_calls.ftruncate(file.fd(), m_bytes.size()) != 0 || m_calls.fsync(file.fd()) != 0) {
        failWith(errno);
    }
    if (const int error = file.close()) {
        failWith(error);
    }
}

} // namespace

void writeChangeFile(const QByteArray& path, const QByteArray& bytes, SystemCalls& calls) {
    const QString shown = shownPath(path);
    checkName(path, shown);
    Writer writer(calls, shown, bytes);
    writer.resolve(path);
    writer.refuseWhatAnOpenWouldRefuse();
    if (!writer.replaceByRename()) {
        writer.rewriteInPlace();
    }
}

void writeChangeFile(const QByteArray& path, const QByteArray& bytes) {
    SystemCalls posix;
    writeChangeFile(path, bytes, posix);
}

} // namespace pelomart
