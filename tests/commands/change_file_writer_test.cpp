#include "change_file_writer.h"

#include "run_time_error.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}
QT_END_NAMESPACE

namespace pelomart {
namespace {

constexpr uid_t nobody = 65534;

// Every byte value, so that a text-mode translation or a stop at a zero byte shows.
QByteArray changeBytes(int size, int seed = 0) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + seed) & 0xFF);
    return bytes;
}

const QByteArray oldBytes(50, 'o');

int writeCode(const QString& path, const QByteArray& bytes) {
    try {
        writeChangeFile(path, bytes);
        return 0;
    } catch (const RunTimeError& error) {
        return error.code();
    }
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Everything below `dir`, hidden names included: a left-over temporary file shows here.
QStringList tree(const QString& dir) {
    QStringList names;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << it.next().mid(dir.size() + 1);
    names.sort();
    return names;
}

struct stat statusOf(const QString& path) {
    struct stat status {};
    ::lstat(QFile::encodeName(path).constData(), &status);
    return status;
}

QByteArray linkTarget(const QString& path) {
    char target[4096];
    const ssize_t size = ::readlink(QFile::encodeName(path).constData(), target, sizeof target);
    return size < 0 ? QByteArray("<not a link>") : QByteArray(target, size);
}

pid_t startChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    return pid;
}

int exitCodeOf(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Root passes every permission check, so the child writes as "nobody".
int writeCodeUnprivileged(const QString& path, const QByteArray& bytes) {
    return exitCodeOf(startChild([&] {
        if (::getuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0))
            return 200;
        return writeCode(path, bytes);
    }));
}

TEST(ChangeFileWriter, WritesExactlyTheBytes) {
    struct Row {
        const char* what;
        QString name;
        std::optional<QByteArray> existing;
    };
    const Row rows[] = {
        {"new file", "new.chg", {}},
        {"replaces a longer file", "old.chg", changeBytes(1000, 3)},
        {"replaces a shorter file", "old.chg", oldBytes},
        {"backslash is an ordinary name character", "a\\b.chg", {}},
        {"name of 255 bytes", QString(251, 'n') + ".chg", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        const QString path = dir.path() + '/' + row.name;
        if (row.existing)
            put(path, *row.existing);
        EXPECT_EQ(writeCode(path, changeBytes(284)), 0);
        EXPECT_EQ(contents(path), changeBytes(284));
        EXPECT_EQ(tree(dir.path()), QStringList{row.name});
    }
}

TEST(ChangeFileWriter, NewFileGetsModeFromUmaskAndExistingFileKeepsItsOwn) {
    struct Row {
        const char* what;
        mode_t umask;
        std::optional<mode_t> existingMode;
        mode_t expected;
    };
    const Row rows[] = {
        {"new file under umask 022", 022, {}, 0644},
        {"new file under umask 027", 027, {}, 0640},
        {"existing 0640 file under umask 022", 022, 0640, 0640},
        {"existing 0604 file under umask 027", 027, 0604, 0604},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        const QString path = dir.path() + "/mode.chg";
        const mode_t savedUmask = ::umask(row.umask);
        if (row.existingMode) {
            put(path, oldBytes);
            ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), *row.existingMode), 0);
            if (::getuid() == 0) {
                ASSERT_EQ(::chown(QFile::encodeName(path).constData(), nobody, nobody), 0);
            }
        }
        EXPECT_EQ(writeCode(path, changeBytes(284)), 0);
        ::umask(savedUmask);
        EXPECT_EQ(contents(path), changeBytes(284));
        EXPECT_EQ(statusOf(path).st_mode & 07777, row.expected);
        if (row.existingMode && ::getuid() == 0) {
            EXPECT_EQ(statusOf(path).st_uid, nobody) << "owner kept";
            EXPECT_EQ(statusOf(path).st_gid, nobody) << "group kept";
        }
    }
}

TEST(ChangeFileWriter, WritesThroughSymbolicLinks) {
    struct Row {
        const char* what;
        std::vector<std::pair<QString, QByteArray>> links; // name, where it points
        bool realExists;
        QString writeAt;
    };
    const Row rows[] = {
        {"link beside its file", {{"link", "real.chg"}}, true, "link"},
        {"relative link from another directory", {{"sub/link", "../real.chg"}}, true, "sub/link"},
        {"chain of links", {{"first", "second"}, {"second", "real.chg"}}, true, "first"},
        {"dangling link creates its target", {{"link", "real.chg"}}, false, "link"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("sub");
        if (row.realExists)
            put(dir.filePath("real.chg"), oldBytes);
        for (const auto& [name, pointsTo] : row.links)
            ASSERT_EQ(
                ::symlink(pointsTo.constData(), QFile::encodeName(dir.filePath(name)).constData()),
                0);
        QStringList expectedTree = tree(dir.path()) << "real.chg";
        expectedTree.removeDuplicates();
        expectedTree.sort();

        EXPECT_EQ(writeCode(dir.filePath(row.writeAt), changeBytes(284)), 0);
        EXPECT_EQ(contents(dir.filePath("real.chg")), changeBytes(284));
        for (const auto& [name, pointsTo] : row.links)
            EXPECT_EQ(linkTarget(dir.filePath(name)), pointsTo) << name.toStdString();
        EXPECT_EQ(tree(dir.path()), expectedTree);
    }
}

TEST(ChangeFileWriter, FailuresLeaveTheDirectoryAsItWas) {
    struct Row {
        const char* what;
        std::function<QString(const QString& dir)> target;
        ErrorNumber expected;
    };
    const Row rows[] = {
        {"missing directory", [](auto& dir) { return dir + "/missing/new.chg"; },
         ErrorNumber::PathNotFound},
        {"a file used as a directory", [](auto& dir) { return dir + "/old.chg/new.chg"; },
         ErrorNumber::PathNotFound},
        {"dangling link into a missing directory",
         [](auto& dir) {
             const bool made =
                 ::symlink("missing/new.chg", QFile::encodeName(dir + "/link").constData()) == 0;
             return made ? dir + "/link" : QString();
         },
         ErrorNumber::PathNotFound},
        {"name is a directory",
         [](auto& dir) {
             QDir(dir).mkdir("sub");
             return dir + "/sub";
         },
         ErrorNumber::PathFileAccess},
        {"name ends in the separator", [](auto& dir) { return dir + '/'; },
         ErrorNumber::BadFileName},
        {"empty path", [](auto&) { return QString(); }, ErrorNumber::BadFileName},
        {"name of 256 bytes", [](auto& dir) { return dir + '/' + QString(256, 'n'); },
         ErrorNumber::BadFileName},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        put(dir.filePath("old.chg"), oldBytes);
        const QString target = row.target(dir.path());
        const QStringList before = tree(dir.path());

        EXPECT_EQ(writeCode(target, changeBytes(284)), int(row.expected));
        EXPECT_EQ(contents(dir.filePath("old.chg")), oldBytes);
        EXPECT_EQ(tree(dir.path()), before);
    }
}

TEST(ChangeFileWriter, UnwritableDirectoryRewritesOnlyAWritableFile) {
    struct Row {
        const char* what;
        bool fileWritable;
        int expected;
        QByteArray afterwards;
    };
    // Longer than the new bytes, so that an in-place rewrite must also cut the file short.
    const QByteArray longer = changeBytes(1000, 5);
    const Row rows[] = {
        {"file not writable either", false, int(ErrorNumber::PermissionDenied), longer},
        {"writable file rewritten in place", true, 0, changeBytes(284)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath("old.chg"));
        put(dir.filePath("old.chg"), longer);
        ASSERT_EQ(::chmod(path.constData(), row.fileWritable ? 0644 : 0444), 0);
        if (row.fileWritable && ::getuid() == 0) {
            ASSERT_EQ(::chown(path.constData(), nobody, nobody), 0);
        }
        ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);

        EXPECT_EQ(writeCodeUnprivileged(dir.filePath("old.chg"), changeBytes(284)), row.expected);
        EXPECT_EQ(contents(dir.filePath("old.chg")), row.afterwards);
        EXPECT_EQ(tree(dir.path()), QStringList{"old.chg"});
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    }
}

TEST(ChangeFileWriter, ReadOnlyFileIsRefusedEvenInAWritableDirectory) {
    // The directory would allow replacing it by a rename; a plain open would not.
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("kept.chg"));
    put(dir.filePath("kept.chg"), oldBytes);
    ASSERT_EQ(::chmod(path.constData(), 0444), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);

    EXPECT_EQ(writeCodeUnprivileged(dir.filePath("kept.chg"), changeBytes(284)),
              int(ErrorNumber::PermissionDenied));
    EXPECT_EQ(contents(dir.filePath("kept.chg")), oldBytes);
    EXPECT_EQ(tree(dir.path()), QStringList{"kept.chg"});
}

TEST(ChangeFileWriter, FullFilesystemLeavesTheOldFile) {
    QTemporaryDir dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (::getuid() != 0 || ::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "needs root and a tmpfs mount; the file-size limit case still runs";
    struct Unmount {
        const char* at;
        ~Unmount() { ::umount(at); }
    } unmount{mountPoint.constData()};
    put(dir.filePath("old.chg"), oldBytes);
    const int filler = ::open((mountPoint + "/filler").constData(), O_WRONLY | O_CREAT, 0644);
    const QByteArray block(4096, 'f');
    while (::write(filler, block.constData(), block.size()) > 0) {
    }
    ::close(filler);
    const QStringList before = tree(dir.path());

    EXPECT_EQ(writeCode(dir.filePath("old.chg"), changeBytes(284)), int(ErrorNumber::DiskFull));
    EXPECT_EQ(contents(dir.filePath("old.chg")), oldBytes);
    EXPECT_EQ(tree(dir.path()), before);
}

TEST(ChangeFileWriter, FileSizeLimitLeavesTheOldFile) {
    QTemporaryDir dir;
    put(dir.filePath("old.chg"), oldBytes);
    const int code = exitCodeOf(startChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return writeCode(dir.filePath("old.chg"), changeBytes(284));
    }));
    EXPECT_EQ(code, int(ErrorNumber::DiskFull));
    EXPECT_EQ(contents(dir.filePath("old.chg")), oldBytes);
    EXPECT_EQ(tree(dir.path()), QStringList{"old.chg"});
}

TEST(ChangeFileWriter, TwoWritersAtOnceLeaveOneWholeFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("race.chg");
    const QByteArray first = changeBytes(284, 1);
    const QByteArray second = changeBytes(300, 2);
    put(path, first);
    auto writer = [&](const QByteArray& bytes) {
        return startChild([&] {
            for (int i = 0; i < 200; ++i) {
                if (writeCode(path, bytes) != 0)
                    return 1;
            }
            return 0;
        });
    };
    writer(first);
    writer(second);

    // Read while they write: a reader, too, must only ever see a whole file.
    int mixed = 0;
    for (int running = 2; running > 0;) {
        const QByteArray seen = contents(path);
        mixed += seen != first && seen != second;
        int status = 0;
        if (::waitpid(-1, &status, WNOHANG) > 0) {
            --running;
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
    }
    EXPECT_EQ(mixed, 0);
    const QByteArray last = contents(path);
    EXPECT_TRUE(last == first || last == second);
    EXPECT_EQ(tree(dir.path()), QStringList{"race.chg"});
}

} // namespace
} // namespace pelomart
