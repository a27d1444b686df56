// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "change_file_writer.h"

#include "run_time_error.h"
#include "shown_text.h"
#include "symbolic_links_posix.h"

#include <QFile>
#include <QRandomGenerator>

#if !defined(Q_OS_UNIX)
#error "change_file_writer.cpp is written for Unix systems"
#endif

#include <cerrno>
#include <chrono>
#include <climits>
#include <thread>
#include <utility>

namespace pelomart {
namespace {

constexpr int kMaxNameAttempts = 100;
// Linux's bounds for a file's list of attribute names and for one attribute's value.
constexpr qsizetype kLongestAttributeList = 65536;
constexpr qsizetype kLongestAttributeValue = 65536;
// Another writer holds the lock for a few milliseconds; one that holds it this long is
// stopped or hung, and the window must not hang with it.
constexpr std::chrono::milliseconds kLockRetry{10};
constexpr int kLockRetries = 1000;

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
    // A file system that cannot hold an extended attribute that the file has.
    case EOPNOTSUPP:
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

// One call of writeChangeFile; each step either succeeds or throws the run-time error.
class Writer {
public:
    Writer(SystemCalls& calls, const QString& path, const QByteArray& bytes, ChangeFileWrite* write)
        : m_calls(calls), m_path(path), m_bytes(bytes), m_write(write) {}

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
    void keepExtendedAttributes(int fd);
    [[noreturn]] void failToKeep(const QByteArray& attribute, int error) const;
    int lockDirectory();
    bool expecting() const { return m_write && m_write->expected; }
    void refuseIfChangedSinceRead();
    int writeAll(int fd);

    SystemCalls& m_calls;
    const QString& m_path;
    const QByteArray& m_bytes;
    ChangeFileWrite* m_write;
    QByteArray m_target; // where the bytes go, with symbolic links followed
    bool m_exists = false;
    struct stat m_status {};
};

// Where the bytes go: the path with its symbolic links followed, each link checked against
// the kernel's protected-symlinks rule before it is followed.
void Writer::resolve(const QByteArray& encoded) {
    const FollowedPath followed =
        followLinks(m_calls, encoded, [this](const QByteArray& link, const struct stat& status) {
            m_target = link;
            m_status = status;
            refuseUnprotectedLink();
        });
    if (followed.error != 0) {
        failOnResolvedPath(followed.error, followed.links);
    }
    m_target = followed.path;
    m_exists = followed.exists;
    m_status = followed.status;
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
    OpenFile directory(m_calls, lockDirectory());
    refuseIfChangedSinceRead();
    if (m_calls.rename(tempPath.constData(), m_target.constData()) != 0) {
        const int error = errno;
        if (refusedByDirectory(error)) {
            temp.discard();
            return false;
        }
        failWith(error);
    }
    temp.keep();
    if (m_exists && m_status.st_nlink > 1 && m_write) {
        m_write->otherNames = m_status.st_nlink - 1;
    }
    // The rename has replaced the file for good; a failing sync cannot undo that, so it is
    // not reported as a failure.
    if (directory.fd() >= 0) {
        m_calls.fsync(directory.fd());
    }
    return true;
}

// Pelomart's writers lock the target's directory rather than the file: a rename puts a new
// file in the old one's place, so a lock on the file would be a lock on a name that no
// longer leads to it, and a file still to be made has nothing to lock yet. flock, because
// the kernel drops it with the last descriptor, so a killed writer blocks nobody. Returns
// the locked directory's descriptor, or -1 where the system gives no lock (a directory
// that may not be read, a file system without flock) and nothing depends on one.
int Writer::lockDirectory() {
    const int fd =
        m_calls.open(directoryOf(m_target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    int error = errno;
    for (int retries = 0; fd >= 0; ++retries) {
        if (m_calls.flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return fd;
        }
        error = errno;
        if (error == EWOULDBLOCK && retries < kLockRetries) {
            std::this_thread::sleep_for(kLockRetry);
        } else if (error != EINTR) {
            m_calls.close(fd);
            break;
        }
    }
    if (error == EWOULDBLOCK) {
        fail(ErrorNumber::PathFileAccess, m_path,
             QStringLiteral("another program has been writing in its directory for 10 seconds"));
    }
    // Without the lock another writer could replace the file between the comparison and
    // the rename, and its change would be lost without a word.
    if (expecting()) {
        fail(errorNumberFor(error), m_path,
             QStringLiteral("its directory cannot be locked against other writers: ") +
                 qt_error_string(error));
    }
    return -1;
}

// Under the lock: a writer that read the file replaces it only if nobody has changed it since.
void Writer::refuseIfChangedSinceRead() {
    if (!expecting()) {
        return;
    }
    const QByteArray& expected = *m_write->expected;
    const QString changed = QStringLiteral(
        "another program changed the file since it was read; it keeps that program's version");
    OpenFile file(m_calls, m_calls.open(m_target.constData(),
                                        O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0));
    if (file.fd() < 0) {
        if (errno == ENOENT || errno == ELOOP) {
            fail(ErrorNumber::PathFileAccess, m_path, changed);
        }
        failWith(errno);
    }
    // One byte more than expected shows a file that has grown.
    QByteArray now;
    if (const int error = readToEnd(m_calls, file.fd(), now, expected.size() + 1)) {
        failWith(error);
    }
    if (now != expected) {
        fail(ErrorNumber::PathFileAccess, m_path, changed);
    }
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
        keepExtendedAttributes(temp.fd());
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

QList<QByteArray> attributeNames(const QByteArray& list, ssize_t size) {
    QList<QByteArray> names = QByteArray(list.constData(), size).split('\0');
    names.removeAll(QByteArray());
    return names;
}

// ACL entries are the attribute system.posix_acl_access, so they come with the others. Only
// what this process may list can be kept: the kernel lists trusted.* to root alone.
void Writer::keepExtendedAttributes(int fd) {
    QByteArray list(kLongestAttributeList, Qt::Uninitialized);
    ssize_t size = m_calls.llistxattr(m_target.constData(), list.data(), size_t(list.size()));
    if (size < 0 && errno != EOPNOTSUPP) {
        failWith(errno);
    }
    const QList<QByteArray> kept = attributeNames(list, size < 0 ? 0 : size);
    QByteArray value(kLongestAttributeValue, Qt::Uninitialized);
    for (const QByteArray& name : kept) {
        const ssize_t length = m_calls.lgetxattr(m_target.constData(), name.constData(),
                                                 value.data(), size_t(value.size()));
        if (length < 0 && errno == ENODATA) {
            continue; // removed since it was listed
        }
        if (length < 0 ||
            m_calls.fsetxattr(fd, name.constData(), value.constData(), size_t(length), 0) != 0) {
            failToKeep(name, errno);
        }
    }
    // The new file may have come with attributes that the old one lacks: the ACL that a
    // directory's default ACL gives every new file, for one.
    size = m_calls.flistxattr(fd, list.data(), size_t(list.size()));
    if (size < 0) {
        if (errno == EOPNOTSUPP) {
            return;
        }
        failWith(errno);
    }
    for (const QByteArray& name : attributeNames(list, size)) {
        if (!kept.contains(name) && m_calls.fremovexattr(fd, name.constData()) != 0 &&
            errno != ENODATA) {
            failToKeep(name, errno);
        }
    }
}

void Writer::failToKeep(const QByteArray& attribute, int error) const {
    const QString acl =
        attribute.startsWith("system.posix_acl") ? QStringLiteral(" (its ACL)") : QString();
    fail(errorNumberFor(error), m_path,
         QStringLiteral("its extended attribute %1%2 cannot be kept, so it is left as it was: %3")
             .arg(shownPath(attribute), acl, qt_error_string(error)));
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

// Overwrites the file as an ordinary open for writing would. Not atomic, so claim the
// space first, which lets a full disk or a size limit fail before any old byte is touched.
// O_NOFOLLOW: the file checked above, never a link put in its place since.
void Writer::rewriteInPlace() {
    OpenFile directory(m_calls, lockDirectory());
    refuseIfChangedSinceRead();
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

QByteArray directoryOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) {
        return ".";
    }
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

void writeChangeFile(const QByteArray& path, const QByteArray& bytes, SystemCalls& calls,
                     ChangeFileWrite* write) {
    const QString shown = shownPath(path);
    checkName(path, shown);
    Writer writer(calls, shown, bytes, write);
    writer.resolve(path);
    writer.refuseWhatAnOpenWouldRefuse();
    if (!writer.replaceByRename()) {
        writer.rewriteInPlace();
    }
}

void writeChangeFile(const QByteArray& path, const QByteArray& bytes, ChangeFileWrite* write) {
    SystemCalls posix;
    writeChangeFile(path, bytes, posix, write);
}

} // namespace pelomart
