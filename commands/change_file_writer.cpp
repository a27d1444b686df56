#include "change_file_writer.h"

#include "run_time_error.h"

#include <QFile>
#include <QRandomGenerator>

#if !defined(Q_OS_UNIX)
#error "change_file_writer.cpp is written for Unix systems"
#endif

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace pelomart {
namespace {

constexpr int maxLinks = 40;
constexpr int maxNameAttempts = 100;

ErrorNumber errorNumberFor(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return ErrorNumber::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return ErrorNumber::PermissionDenied;
    case EISDIR:
    case EBUSY:
    case EXDEV:
    case ETXTBSY:
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
    explicit OpenFile(int fd, QByteArray removeOnFailure = {})
        : m_fd(fd), m_remove(std::move(removeOnFailure)) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() { discard(); }

    int fd() const { return m_fd; }

    // Returns 0 or the errno of a close that reports a late write error.
    int close() {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 || errno == EINTR ? 0 : errno;
    }
    void keep() { m_remove.clear(); }
    void discard() {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
        if (!m_remove.isEmpty()) {
            ::unlink(m_remove.constData());
            m_remove.clear();
        }
    }

private:
    int m_fd;
    QByteArray m_remove;
};

void checkName(const QByteArray& encoded, const QString& path) {
    if (encoded.isEmpty() || encoded.endsWith('/'))
        fail(ErrorNumber::BadFileName, path, QStringLiteral("no file name"));
    if (encoded.contains('\0'))
        fail(ErrorNumber::BadFileName, path, QStringLiteral("the name contains a null character"));
    for (const QByteArray& component : encoded.split('/')) {
        if (component.size() > NAME_MAX)
            failWith(ENAMETOOLONG, path);
    }
}

QByteArray directoryOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return ".";
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

struct Target {
    QByteArray path; // where the bytes go, with symbolic links followed
    bool exists = false;
    struct stat status {};
};

// Follows a chain of symbolic links by hand: a dangling link must lead to the file to
// create, which realpath() would not give.
Target resolve(const QByteArray& encoded, const QString& path) {
    Target target{encoded};
    for (int links = 0;; ++links) {
        if (::lstat(target.path.constData(), &target.status) != 0) {
            if (errno == ENOENT)
                return target;
            failWith(errno, path);
        }
        if (!S_ISLNK(target.status.st_mode)) {
            target.exists = true;
            return target;
        }
        if (links == maxLinks)
            failWith(ELOOP, path);
        char link[PATH_MAX];
        const ssize_t size = ::readlink(target.path.constData(), link, sizeof link);
        if (size < 0)
            failWith(errno, path);
        if (size == sizeof link)
            failWith(ENAMETOOLONG, path);
        const QByteArray linkTarget(link, size);
        target.path =
            linkTarget.startsWith('/') ? linkTarget : directoryOf(target.path) + '/' + linkTarget;
    }
}

// A short hidden name: it must fit even where the target's name already uses all 255 bytes.
int createTemporary(const QByteArray& directory, QByteArray& tempPath) {
    static constexpr char letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const QByteArray prefix = directory + (directory.endsWith('/') ? "" : "/") + ".pelomart-";
    for (int attempt = 0; attempt < maxNameAttempts; ++attempt) {
        QByteArray name = prefix;
        for (int i = 0; i < 6; ++i)
            name += letters[QRandomGenerator::system()->bounded(int(sizeof letters) - 1)];
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            tempPath = name;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

// Returns 0 or the errno of the failing write; a file-size limit shows as a short
// write followed by EFBIG.
int writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (written == 0)
            return EIO;
        data += written;
        left -= written;
    }
    return 0;
}

void keepOwnerAndMode(int fd, const struct stat& old, const QString& path) {
    // Only a privileged process may hand the file to another owner; otherwise the
    // new file stays ours, as any rewrite by this user would leave it.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM)
        failWith(errno, path);
    // After fchown, which clears set-id bits.
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        failWith(errno, path);
}

// The directory refuses new names, but the file itself may be writable: overwrite it
// as an ordinary open for writing would. Not atomic, so claim the space first, which
// lets a full disk or a size limit fail before any old byte is touched.
void rewriteInPlace(const QByteArray& target, const QByteArray& bytes, const QString& path) {
    OpenFile file(::open(target.constData(), O_WRONLY | O_CLOEXEC));
    if (file.fd() < 0)
        failWith(errno, path);
    if (!bytes.isEmpty()) {
        const int error = ::posix_fallocate(file.fd(), 0, bytes.size());
        if (error == ENOSPC || error == EDQUOT || error == EFBIG)
            failWith(error, path);
    }
    if (const int error = writeAll(file.fd(), bytes))
        failWith(error, path);
    if (::ftruncate(file.fd(), bytes.size()) != 0 || ::fsync(file.fd()) != 0)
        failWith(errno, path);
    if (const int error = file.close())
        failWith(error, path);
}

// The rename has already replaced the file; a failure here cannot undo that, so it is
// not reported as one.
void syncDirectory(const QByteArray& directory) {
    const int fd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

bool refusedByDirectory(int error) {
    return error == EACCES || error == EPERM;
}

} // namespace

void writeChangeFile(const QString& path, const QByteArray& bytes) {
    const QByteArray encoded = QFile::encodeName(path);
    checkName(encoded, path);
    const Target target = resolve(encoded, path);
    if (target.path.endsWith('/') || (target.exists && S_ISDIR(target.status.st_mode)))
        failWith(EISDIR, path);
    if (target.exists && !S_ISREG(target.status.st_mode))
        fail(ErrorNumber::PathFileAccess, path, QStringLiteral("not a regular file"));

    // A file that an ordinary open for writing would refuse (read-only, another user's)
    // is refused here too, although the directory would let a rename replace it.
    if (target.exists && ::faccessat(AT_FDCWD, target.path.constData(), W_OK, AT_EACCESS) != 0)
        failWith(errno, path);

    const QByteArray directory = directoryOf(target.path);
    QByteArray tempPath;
    const int fd = createTemporary(directory, tempPath);
    if (fd < 0) {
        const int error = errno;
        if (target.exists && refusedByDirectory(error))
            return rewriteInPlace(target.path, bytes, path);
        failWith(error, path);
    }
    OpenFile temp(fd, tempPath);
    if (target.exists)
        keepOwnerAndMode(temp.fd(), target.status, path);
    if (const int error = writeAll(temp.fd(), bytes))
        failWith(error, path);
    if (::fsync(temp.fd()) != 0)
        failWith(errno, path);
    if (const int error = temp.close())
        failWith(error, path);
    if (::rename(tempPath.constData(), target.path.constData()) != 0) {
        const int error = errno;
        // A sticky directory lets us add a name but not replace another user's file.
        if (target.exists && refusedByDirectory(error)) {
            temp.discard();
            return rewriteInPlace(target.path, bytes, path);
        }
        failWith(error, path);
    }
    temp.keep();
    syncDirectory(directory);
}

} // namespace pelomart
