// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "change_file_writer.h"

#include "run_time_error.h"
#include "shown_text.h"
#include "file_place.h"
#include "system_calls.h"

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
constexpr std::chrono::seconds kLockWait{10};
// Shorter than a temporary name (".pelomart-" and six letters), so never taken for one.
constexpr char kLockName[] = ".pelomart-lock";

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
    OpenFile(SystemCalls& calls, int fd, QByteArray removeOnFailure = {}, int directory = AT_FDCWD)
        : m_calls(calls), m_fd(fd), m_remove(std::move(removeOnFailure)), m_directory(directory) {}
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
            m_calls.unlinkat(m_directory, m_remove.constData(), 0);
            m_remove.clear();
        }
    }

private:
    SystemCalls& m_calls;
    int m_fd;
    QByteArray m_remove;
    int m_directory;
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
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;
    ~Writer();

    void resolve(const QByteArray& encoded);
    FilePlace place() const;
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
    void openDirectory(int base, const QByteArray& path, int linksFollowed);
    int createTemporary(QByteArray& tempName);
    bool fillTemporary(OpenFile& temp);
    bool keepOwnerAndMode(int fd);
    void keepExtendedAttributes(int fd);
    [[noreturn]] void failToKeep(const QByteArray& attribute, int error) const;
    void lockDirectory();
    void refuseUnopenableLock(int error);
    void shareLock(int fd);
    bool namesLock(int fd);
    bool expecting() const { return m_write && m_write->expected; }
    void refuseIfChangedSinceRead();
    bool isResolvedFile(int fd) const;
    int writeAll(int fd);

    SystemCalls& m_calls;
    const QString& m_path;
    const QByteArray& m_bytes;
    ChangeFileWrite* m_write;
    // Where the bytes go, with symbolic links followed. Every step works relative to the
    // target's directory, held open: a path that the system takes is taken whole, even where
    // a temporary name beside it would be too long.
    int m_directory = -1;
    QByteArray m_name; // the target's name in m_directory; empty for a link that ends in '/'
    int m_lock = -1;
    bool m_lockTried = false;
    bool m_exists = false;
    struct stat m_status {};
};

// The lock goes with its name, removed while it is still held: see lockDirectory.
Writer::~Writer() {
    if (m_lock >= 0) {
        m_calls.unlinkat(m_directory, kLockName, 0);
        m_calls.close(m_lock);
    }
    if (m_directory >= 0) {
        m_calls.close(m_directory);
    }
}

QByteArray nameOf(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

// Follows a chain of symbolic links by hand: a dangling link must lead to the file to
// create, which realpath() would not give.
void Writer::resolve(const QByteArray& encoded) {
    m_name = nameOf(encoded);
    openDirectory(AT_FDCWD, directoryOf(encoded), 0);
    for (int links = 0;; ++links) {
        if (m_calls.fstatat(m_directory, m_name.constData(), &m_status, AT_SYMLINK_NOFOLLOW) != 0) {
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
        const ssize_t size = m_calls.readlinkat(m_directory, m_name.constData(), link, sizeof link);
        if (size < 0) {
            failWith(errno);
        }
        if (size == sizeof link) {
            failOnResolvedPath(ENAMETOOLONG, links + 1);
        }
        const QByteArray linkTarget(link, size);
        m_name = nameOf(linkTarget);
        if (linkTarget.contains('/')) {
            openDirectory(linkTarget.startsWith('/') ? AT_FDCWD : m_directory,
                          directoryOf(linkTarget), links + 1);
        }
    }
}

// Read access lets the directory be synced after the rename; without it, a descriptor that
// serves only as the place the other calls start from.
void Writer::openDirectory(int base, const QByteArray& path, int linksFollowed) {
    int fd = m_calls.openat(base, path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0 && errno == EACCES) {
        fd = m_calls.openat(base, path.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC, 0);
    }
    if (fd < 0) {
        failOnResolvedPath(errno, linksFollowed);
    }
    if (m_directory >= 0) {
        m_calls.close(m_directory);
    }
    m_directory = fd;
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
    if (m_calls.fstat(m_directory, &directory) != 0) {
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
    if (m_name.isEmpty() || (m_exists && S_ISDIR(m_status.st_mode))) {
        failWith(EISDIR);
    }
    if (m_exists && !S_ISREG(m_status.st_mode)) {
        fail(ErrorNumber::PathFileAccess, m_path, QStringLiteral("not a regular file"));
    }
    if (m_exists && m_calls.faccessat(m_directory, m_name.constData(), W_OK, AT_EACCESS) != 0) {
        failWith(errno);
    }
}

// Returns false, leaving nothing behind, where the directory refuses the replacement.
// The lock comes first, so that a writer stopped while it waits (Ctrl+C, SIGTERM) leaves no
// temporary file. Where the process may not give the new file the old one's owner and
// group, the file is rewritten in place instead, which keeps them with everything else.
bool Writer::replaceByRename() {
    lockDirectory();
    refuseIfChangedSinceRead();
    QByteArray tempName;
    const int fd = createTemporary(tempName);
    if (fd < 0) {
        const int error = errno;
        if (refusedByDirectory(error)) {
            return false;
        }
        failWith(error);
    }
    OpenFile temp(m_calls, fd, tempName, m_directory);
    if (!fillTemporary(temp)) {
        temp.discard();
        return false;
    }
    if (m_calls.renameat(m_directory, tempName.constData(), m_directory, m_name.constData()) != 0) {
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
    // not reported as a failure (nor the descriptor that cannot sync, where the directory
    // may not be read).
    m_calls.fsync(m_directory);
    return true;
}

// Pelomart's writers take turns in a directory through an OFD write lock (F_OFD_SETLK) on
// the hidden file ".pelomart-lock" in it, not on the file itself: a rename puts a new file
// in the old one's place, so a lock on the file would be a lock on a name that no longer
// leads to it, and a file still to be made has nothing to lock yet.
// - Only a writer can take it. A reader may flock a directory or read-lock any file it may
//   open, and so hold every writer up; the lock file is made only by one who may write the
//   directory, and only those who may write the directory may open it (see shareLock).
// - The kernel drops it when the last descriptor closes, so a killed writer blocks nobody;
//   O_CLOEXEC keeps it from a child process.
// - It is there only while held: its holder removes the name before letting go, and a
//   writer that gets the lock on a file that no longer has the name starts again. A killed
//   writer leaves it behind; the next writer takes it and removes it.
// Where it cannot be made (a directory that takes no new file), the write goes on without
// it, unless it compares: then another writer could replace the file between the
// comparison and the rename, and its change would be lost without a word.
void Writer::lockDirectory() {
    if (m_lockTried) {
        return;
    }
    m_lockTried = true;
    const auto giveUp = std::chrono::steady_clock::now() + kLockWait;
    constexpr int flags = O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int error = 0;
    for (;;) {
        int fd = m_calls.openat(m_directory, kLockName, flags, 0);
        bool held = false;
        bool made = false;
        if (fd < 0 && (errno == EACCES || errno == EPERM)) {
            refuseUnopenableLock(errno);
            held = true;
        } else if (fd < 0 && errno == ENOENT) {
            fd = m_calls.openat(m_directory, kLockName, flags | O_CREAT | O_EXCL, 0600);
            made = fd >= 0;
            if (made) {
                shareLock(fd);
            }
            held = fd < 0 && errno == EEXIST;
        }
        error = errno;
        if (fd >= 0) {
            struct flock lock {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            const bool locked = m_calls.fcntl(fd, F_OFD_SETLK, &lock) == 0;
            error = errno;
            if (locked && namesLock(fd)) {
                m_lock = fd;
                return;
            }
            held = locked || error == EAGAIN || error == EACCES || error == EINTR;
            // A file system without these locks: the file made for nothing goes again.
            if (made && !held) {
                m_calls.unlinkat(m_directory, kLockName, 0);
            }
            m_calls.close(fd);
        }
        if (!held) {
            break;
        }
        if (std::chrono::steady_clock::now() >= giveUp) {
            if (m_write) {
                m_write->lockHeld = true;
            }
            fail(ErrorNumber::PathFileAccess, m_path,
                 QStringLiteral("a lock on its directory has been held for 10 seconds; "
                                "nothing was written"));
        }
        std::this_thread::sleep_for(kLockRetry);
    }
    if (expecting()) {
        fail(errorNumberFor(error), m_path,
             QStringLiteral("its directory cannot be locked against other writers (%1): %2")
                 .arg(QLatin1String(kLockName), qt_error_string(error)));
    }
}

// A lock file that this user may not open is waited for only while it may be a lock: one
// just made, whose maker has still to share it, or one in a directory that nobody shares,
// each with the mode it is made with. Anything else there (another user's 0644 file, a
// FIFO) never lets a writer in, so waiting for it would end in a held lock that nobody holds:
// that fails at once, with the number of a held lock. A write that does not compare fails
// too rather than go on without the lock: a user who may open that file may be comparing
// under it.
void Writer::refuseUnopenableLock(int error) {
    struct stat lock {};
    if (m_calls.fstatat(m_directory, kLockName, &lock, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) {
            return; // let go since: try again
        }
    } else if (S_ISREG(lock.st_mode) && (lock.st_mode & 07777) == (S_IRUSR | S_IWUSR)) {
        return;
    }
    fail(ErrorNumber::PathFileAccess, m_path,
         QStringLiteral("the lock file %1 in its directory cannot be opened: %2; nothing was "
                        "written")
             .arg(QLatin1String(kLockName), qt_error_string(error)));
}

// Read and write for each class of user that may write the directory, with the directory's
// group, and nothing for the others: a process that could open the file could hold a read
// lock on it and keep every writer out. Whatever fails leaves it the maker's alone.
void Writer::shareLock(int fd) {
    struct stat directory {};
    if (m_calls.fstat(m_directory, &directory) != 0) {
        return;
    }
    mode_t mode = S_IRUSR | S_IWUSR;
    if ((directory.st_mode & S_IWGRP) && m_calls.fchown(fd, uid_t(-1), directory.st_gid) == 0) {
        mode |= S_IRGRP | S_IWGRP;
    }
    if (directory.st_mode & S_IWOTH) {
        mode |= S_IROTH | S_IWOTH;
    }
    m_calls.fchmod(fd, mode);
}

// Whether the locked file still has the lock's name: its holder may have removed it between
// this writer's open and its lock.
bool Writer::namesLock(int fd) {
    struct stat locked {};
    struct stat named {};
    return m_calls.fstat(fd, &locked) == 0 &&
           m_calls.fstatat(m_directory, kLockName, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           locked.st_dev == named.st_dev && locked.st_ino == named.st_ino;
}

// Under the lock: a writer that read the file replaces it only if nobody has changed it since.
void Writer::refuseIfChangedSinceRead() {
    if (!expecting()) {
        return;
    }
    const QByteArray& expected = *m_write->expected;
    const QString changed = QStringLiteral(
        "another program changed the file since it was read; it keeps that program's version");
    OpenFile file(m_calls, m_calls.openat(m_directory, m_name.constData(),
                                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0));
    if (file.fd() < 0) {
        if (errno == ENOENT || errno == ELOOP) {
            fail(ErrorNumber::PathFileAccess, m_path, changed);
        }
        failWith(errno);
    }
    if (!isResolvedFile(file.fd())) {
        fail(ErrorNumber::PathFileAccess, m_path, changed);
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
int Writer::createTemporary(QByteArray& tempName) {
    static constexpr char letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        QByteArray name = ".pelomart-";
        for (int i = 0; i < 6; ++i) {
            name += letters[QRandomGenerator::system()->bounded(int(sizeof letters) - 1)];
        }
        const int fd = m_calls.openat(m_directory, name.constData(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            tempName = name;
            return fd;
        }
        if (errno != EEXIST) {
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

// The bytes reach the disk before the rename may put them in the target's place. False
// where the file would not keep its owner and group.
bool Writer::fillTemporary(OpenFile& temp) {
    if (m_exists) {
        if (!keepOwnerAndMode(temp.fd())) {
            return false;
        }
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
    return true;
}

// Only a privileged process may hand the file to another owner, or to a group it is not
// in: false then. So in a shared folder another user's file is rewritten in place, which
// keeps its owner, and its trusted.* attributes, which only root may list to copy.
bool Writer::keepOwnerAndMode(int fd) {
    if (m_calls.fchown(fd, m_status.st_uid, m_status.st_gid) != 0) {
        if (errno == EPERM) {
            return false;
        }
        failWith(errno);
    }
    // After fchown, which clears set-id bits.
    if (m_calls.fchmod(fd, m_status.st_mode & 07777) != 0) {
        failWith(errno);
    }
    return true;
}

QList<QByteArray> attributeNames(const QByteArray& list, ssize_t size) {
    QList<QByteArray> names = QByteArray(list.constData(), size).split('\0');
    names.removeAll(QByteArray());
    return names;
}

// ACL entries are the attribute system.posix_acl_access, so they come with the others. Only
// what this process may list can be kept: the kernel lists trusted.* to root alone.
// The old file is opened to read them (the calls by name have no form relative to a
// directory); for writing where it may not be read, as it may be written.
void Writer::keepExtendedAttributes(int fd) {
    constexpr int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int oldFd = m_calls.openat(m_directory, m_name.constData(), O_RDONLY | flags, 0);
    if (oldFd < 0 && errno == EACCES) {
        oldFd = m_calls.openat(m_directory, m_name.constData(), O_WRONLY | flags, 0);
    }
    OpenFile old(m_calls, oldFd);
    if (old.fd() < 0) {
        failWith(errno);
    }
    QByteArray list(kLongestAttributeList, Qt::Uninitialized);
    ssize_t size = m_calls.flistxattr(old.fd(), list.data(), size_t(list.size()));
    if (size < 0 && errno != EOPNOTSUPP) {
        failWith(errno);
    }
    const QList<QByteArray> kept = attributeNames(list, size < 0 ? 0 : size);
    QByteArray value(kLongestAttributeValue, Qt::Uninitialized);
    for (const QByteArray& name : kept) {
        const ssize_t length =
            m_calls.fgetxattr(old.fd(), name.constData(), value.data(), size_t(value.size()));
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
// O_NOFOLLOW: the file checked above, never a link put in its place since. O_NONBLOCK: a
// FIFO put in its place since fails at once (ENXIO) instead of waiting for a reader forever.
void Writer::rewriteInPlace() {
    lockDirectory();
    refuseIfChangedSinceRead();
    OpenFile file(m_calls, m_calls.openat(m_directory, m_name.constData(),
                                          O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0));
    if (file.fd() < 0) {
        failWith(errno);
    }
    // The open goes by name: another program may have put a file of its own there since the
    // checks, which then never saw it.
    if (!isResolvedFile(file.fd())) {
        fail(ErrorNumber::PathFileAccess, m_path,
             QStringLiteral("another program replaced the file; nothing was written"));
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

// Whether `fd` is the file that resolve found and the checks were made on.
bool Writer::isResolvedFile(int fd) const {
    struct stat opened {};
    if (m_calls.fstat(fd, &opened) != 0) {
        failWith(errno);
    }
    return opened.st_dev == m_status.st_dev && opened.st_ino == m_status.st_ino;
}

// An existing file by its device and inode; a file still to be made by its folder's and
// its own name.
FilePlace Writer::place() const {
    if (m_exists) {
        return FilePlace{quint64(m_status.st_dev), quint64(m_status.st_ino), {}};
    }
    struct stat directory {};
    if (m_calls.fstat(m_directory, &directory) != 0) {
        failWith(errno);
    }
    return FilePlace{quint64(directory.st_dev), quint64(directory.st_ino), m_name};
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

// The writer's own walk, so that two names count as one file exactly where the writes
// through them would land in one.
std::optional<FilePlace> placeOf(const QByteArray& path) {
    SystemCalls posix;
    const QString shown = shownPath(path);
    try {
        checkName(path, shown);
        const QByteArray noBytes;
        Writer writer(posix, shown, noBytes, nullptr);
        writer.resolve(path);
        return writer.place();
    } catch (const RunTimeError&) {
        return std::nullopt;
    }
}

} // namespace pelomart
