// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "change_file_writer.h"

#include "child_process.h"
#include "fault_injector.h"
#include "run_time_error.h"
#include "system_calls.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}
QT_END_NAMESPACE

namespace pelomart {
namespace {

using test::kNobody;
using test::startChild;

// Every byte value, so that a text-mode translation or a stop at a zero byte shows.
QByteArray changeBytes(int size, int seed = 0) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        bytes[i] = char((i * 7 + seed) & 0xFF);
    }
    return bytes;
}

const QByteArray oldBytes(50, 'o');

int writeCode(const QString& path, const QByteArray& bytes, SystemCalls& calls,
              ChangeFileWrite* write = nullptr) {
    try {
        writeChangeFile(QFile::encodeName(path), bytes, calls, write);
        return 0;
    } catch (const RunTimeError& error) {
        return error.code();
    }
}

int writeCode(const QString& path, const QByteArray& bytes) {
    SystemCalls posix;
    return writeCode(path, bytes, posix);
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
    while (it.hasNext()) {
        names << it.next().mid(dir.size() + 1);
    }
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

// l1 -> l2 -> ... -> l<count> -> `last`, as links in `dir`; returns them to check afterwards.
std::vector<std::pair<QString, QByteArray>> linkChain(int count, const QByteArray& last) {
    std::vector<std::pair<QString, QByteArray>> links;
    for (int i = 1; i <= count; ++i) {
        links.emplace_back(QStringLiteral("l%1").arg(i),
                           i == count ? last : QByteArray("l") + QByteArray::number(i + 1));
    }
    return links;
}

int writeCodeUnprivileged(const QString& path, const QByteArray& bytes) {
    return test::runUnprivileged([&] { return writeCode(path, bytes); });
}

TEST(ChangeFileWriter, WritesExactlyTheBytes) {
    struct Row {
        const char* what;
        QString name;
        std::optional<QByteArray> existing;
        int pathLength = 0; // directories before the name make the whole path this long
    };
    const Row rows[] = {
        {"new file", "new.chg", {}},
        {"replaces a longer file", "old.chg", changeBytes(1000, 3)},
        {"replaces a shorter file", "old.chg", oldBytes},
        {"backslash is an ordinary name character", "a\\b.chg", {}},
        {"name of 255 bytes", QString(251, 'n') + ".chg", {}},
        {"path of 4,091 bytes, too long for a temporary name beside it", "f.chg", oldBytes, 4091},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        QString name = row.name;
        for (int room = row.pathLength - int(dir.path().size() + 1 + name.size()); room > 0;
             room -= 201) {
            name.prepend(QString(std::min(200, room - 1), 'd') + '/');
        }
        const QString path = dir.path() + '/' + name;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        if (row.existing) {
            put(path, *row.existing);
        }
        EXPECT_EQ(writeCode(path, changeBytes(284)), 0);
        EXPECT_EQ(contents(path), changeBytes(284));
        EXPECT_EQ(tree(dir.path()).filter(row.name), QStringList{name});
        EXPECT_EQ(tree(dir.path()).filter(".pelomart"), QStringList());
    }
}

// An ACL in the system's own form: version 2, then (tag, permissions, id) for each entry.
const QByteArray kAcl("\x02\0\0\0"                    // version
                      "\x01\0\x06\0\xff\xff\xff\xff"  // owner rw-
                      "\x02\0\x04\0\xfe\xff\0\0"      // user 65534 r--
                      "\x04\0\x04\0\xff\xff\xff\xff"  // group r--
                      "\x10\0\x04\0\xff\xff\xff\xff"  // mask r--
                      "\x20\0\x04\0\xff\xff\xff\xff", // others r--
                      44);

// `kind` is "access" for a file's own ACL, "default" for what a directory gives new files.
void setAcl(const QString& path, const char* kind, const QByteArray& acl) {
    const QByteArray name = QByteArray("system.posix_acl_") + kind;
    EXPECT_TRUE(acl.isEmpty() || ::setxattr(QFile::encodeName(path).constData(), name.constData(),
                                            acl.constData(), acl.size(), 0) == 0);
}

QByteArray aclOf(const QString& path) {
    char acl[1024];
    const ssize_t size =
        ::getxattr(QFile::encodeName(path).constData(), "system.posix_acl_access", acl, sizeof acl);
    return QByteArray(acl, std::max<ssize_t>(size, 0));
}

// What an existing file keeps through the rename: mode, owner, ACL entries (and no ACL
// that the directory's default would give a new file). Its other names keep the old record.
TEST(ChangeFileWriter, NewFileGetsModeFromUmaskAndExistingFileKeepsItsOwn) {
    struct Row {
        const char* what;
        mode_t umask;
        std::optional<mode_t> existingMode;
        mode_t expected;
        QByteArray acl = {}; // the file's, before and after
        QByteArray directoryDefaultAcl = {};
        int otherNames = 0;
    };
    const Row rows[] = {
        {"new file under umask 022", 022, {}, 0644},
        {"new file under umask 027", 027, {}, 0640},
        {"existing 0640 file under umask 022", 022, 0640, 0640},
        {"existing 0604 file under umask 027", 027, 0604, 0604},
        {"existing file with ACL entries", 022, 0644, 0644, kAcl},
        {"existing file without, in a directory with a default ACL", 022, 0644, 0644, {}, kAcl},
        {"existing file with two other names", 022, 0644, 0644, {}, {}, 2},
        {"existing file with one other name", 022, 0644, 0644, {}, {}, 1},
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
                ASSERT_EQ(::chown(QFile::encodeName(path).constData(), kNobody, kNobody), 0);
            }
        }
        setAcl(path, "access", row.acl);
        setAcl(dir.path(), "default", row.directoryDefaultAcl);
        for (int i = 0; i < row.otherNames; ++i) {
            ASSERT_EQ(::link(QFile::encodeName(path).constData(),
                             QFile::encodeName(path + QString::number(i)).constData()),
                      0);
        }
        SystemCalls posix;
        ChangeFileWrite write;
        EXPECT_EQ(writeCode(path, changeBytes(284), posix, &write), 0);
        ::umask(savedUmask);
        EXPECT_EQ(aclOf(path), row.acl);
        EXPECT_EQ(write.otherNames, qint64(row.otherNames));
        for (int i = 0; i < row.otherNames; ++i) {
            EXPECT_EQ(contents(path + QString::number(i)), oldBytes);
        }
        EXPECT_EQ(contents(path), changeBytes(284));
        EXPECT_EQ(statusOf(path).st_mode & 07777, row.expected);
        if (row.existingMode && ::getuid() == 0) {
            EXPECT_EQ(statusOf(path).st_uid, kNobody) << "owner kept";
            EXPECT_EQ(statusOf(path).st_gid, kNobody) << "group kept";
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
        {"chain of 40 links, as many as the kernel follows", linkChain(40, "real.chg"), true, "l1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("sub");
        if (row.realExists) {
            put(dir.filePath("real.chg"), oldBytes);
        }
        for (const auto& [name, pointsTo] : row.links) {
            ASSERT_EQ(
                ::symlink(pointsTo.constData(), QFile::encodeName(dir.filePath(name)).constData()),
                0);
        }
        QStringList expectedTree = tree(dir.path()) << "real.chg";
        expectedTree.removeDuplicates();
        expectedTree.sort();

        EXPECT_EQ(writeCode(dir.filePath(row.writeAt), changeBytes(284)), 0);
        EXPECT_EQ(contents(dir.filePath("real.chg")), changeBytes(284));
        for (const auto& [name, pointsTo] : row.links) {
            EXPECT_EQ(linkTarget(dir.filePath(name)), pointsTo) << name.toStdString();
        }
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
        {"chain of 41 links, one more than the kernel follows",
         [](auto& dir) {
             for (const auto& [name, pointsTo] : linkChain(41, "old.chg")) {
                 ::symlink(pointsTo.constData(), QFile::encodeName(dir + '/' + name).constData());
             }
             return dir + "/l1";
         },
         ErrorNumber::PathNotFound},
        {"links that point at each other",
         [](auto& dir) {
             ::symlink("second", QFile::encodeName(dir + "/first").constData());
             ::symlink("first", QFile::encodeName(dir + "/second").constData());
             return dir + "/first";
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

TEST(ChangeFileWriter, DirectoryThatRefusesTheReplacementRewritesOnlyAWritableFile) {
    struct Row {
        const char* what;
        mode_t dirMode;
        uid_t fileOwner;
        mode_t fileMode;
        int expected;
        QByteArray afterwards;
        bool needsRoot;  // to give the file to another user
        gid_t group = 0; // the file's and the directory's, and the writer's besides; 0: the owner's
    };
    // Longer than the new bytes, so that an in-place rewrite must also cut the file short.
    const QByteArray longer = changeBytes(1000, 5);
    const Row rows[] = {
        {"file not writable either", 0555, kNobody, 0444, int(ErrorNumber::PermissionDenied),
         longer, false},
        {"writable file rewritten in place", 0555, kNobody, 0644, 0, changeBytes(284), false},
        // The temporary file can be made, but only the owner may replace a file there.
        {"sticky directory, another user's writable file", 01777, kNobody - 1, 0666, 0,
         changeBytes(284), true},
        // A new file would be the writer's, and lose the attributes only root may list.
        {"shared group directory, another user's file", 02775, kNobody - 1, 0664, 0,
         changeBytes(284), true, 4321},
    };
    bool skipped = false;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.needsRoot && ::getuid() != 0) {
            skipped = true;
            continue;
        }
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath("old.chg"));
        put(dir.filePath("old.chg"), longer);
        ASSERT_EQ(::chmod(path.constData(), row.fileMode), 0);
        const gid_t group = row.group ? row.group : row.fileOwner;
        if (::getuid() == 0) {
            ASSERT_EQ(::chown(path.constData(), row.fileOwner, group), 0);
            ASSERT_EQ(::setxattr(path.constData(), "trusted.kept", "1", 1, 0), 0);
            ASSERT_EQ(::chown(QFile::encodeName(dir.path()).constData(), 0, row.group), 0);
        }
        ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), row.dirMode), 0);
        const ino_t inode = statusOf(dir.filePath("old.chg")).st_ino;

        EXPECT_EQ(test::runUnprivileged(
                      [&] { return writeCode(dir.filePath("old.chg"), changeBytes(284)); }, group),
                  row.expected);
        EXPECT_EQ(contents(dir.filePath("old.chg")), row.afterwards);
        EXPECT_EQ(statusOf(dir.filePath("old.chg")).st_ino, inode) << "not replaced by a rename";
        if (::getuid() == 0) {
            EXPECT_EQ(statusOf(dir.filePath("old.chg")).st_uid, row.fileOwner);
            EXPECT_EQ(statusOf(dir.filePath("old.chg")).st_gid, group);
            EXPECT_EQ(::getxattr(path.constData(), "trusted.kept", nullptr, 0), 1);
        }
        EXPECT_EQ(tree(dir.path()), QStringList{"old.chg"});
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    }
    if (skipped) {
        GTEST_SKIP() << "the sticky-directory row needs root to give the file to another user";
    }
}

// The kernel's rule for links in shared sticky directories, which the writer must apply
// itself because it follows links by hand: dir/shared/link -> ../real.chg, and
// dir/first -> shared/link from a plain directory.
TEST(ChangeFileWriter, FollowsALinkInASharedStickyDirectoryOnlyAsTheKernelWould) {
    constexpr uid_t kOther = 4242;
    constexpr uid_t kOwner = 4343;
    struct Row {
        const char* what;
        const char* writeAt;
        mode_t sharedMode;
        std::optional<uid_t> follower;       // unset: the link's owner
        std::optional<uid_t> directoryOwner; // unset: the link's owner
        std::optional<uid_t> linkOwner;      // given for real with lchown, as root
        int expected;
    };
    const int refused = int(ErrorNumber::PermissionDenied);
    const Row rows[] = {
        {"link owned by the follower", "shared/link", 01777, {}, kOwner, {}, 0},
        {"link owned by the directory's owner", "shared/link", 01777, kOther, {}, {}, 0},
        {"another user's link", "shared/link", 01777, kOther, kOwner, {}, refused},
        {"another user's link, through a link", "first", 01777, kOther, kOwner, {}, refused},
        {"another user's link, not sticky", "shared/link", 0777, kOther, kOwner, {}, 0},
        {"another user's link, not world-writable", "shared/link", 01775, kOther, kOwner, {}, 0},
        {"nobody's link, run by root", "shared/link", 01777, {}, {}, kNobody, refused},
    };
    bool skipped = false;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.linkOwner && ::getuid() != 0) {
            skipped = true;
            continue;
        }
        QTemporaryDir dir;
        put(dir.filePath("real.chg"), oldBytes);
        ASSERT_TRUE(QDir(dir.path()).mkdir("shared"));
        const QByteArray link = QFile::encodeName(dir.filePath("shared/link"));
        ASSERT_EQ(::symlink("../real.chg", link.constData()), 0);
        ASSERT_EQ(::symlink("shared/link", QFile::encodeName(dir.filePath("first")).constData()),
                  0);
        if (row.linkOwner) {
            ASSERT_EQ(::lchown(link.constData(), *row.linkOwner, *row.linkOwner), 0);
        }
        ASSERT_EQ(::chmod(QFile::encodeName(dir.filePath("shared")).constData(), row.sharedMode),
                  0);
        const QStringList before = tree(dir.path());
        test::FaultInjector calls;
        calls.euid = row.follower;
        calls.directoryOwner = row.directoryOwner;

        EXPECT_EQ(writeCode(dir.filePath(row.writeAt), changeBytes(284), calls), row.expected);
        EXPECT_EQ(contents(dir.filePath("real.chg")),
                  row.expected == 0 ? changeBytes(284) : oldBytes);
        EXPECT_EQ(linkTarget(dir.filePath("shared/link")), "../real.chg");
        EXPECT_EQ(tree(dir.path()), before);
    }
    if (skipped) {
        GTEST_SKIP() << "the row with nobody's link needs root to give the link to nobody";
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
    if (::getuid() != 0 || ::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "needs root and a tmpfs mount; the file-size limit case still runs";
    }
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
    const int code = test::runInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return writeCode(dir.filePath("old.chg"), changeBytes(284));
    });
    EXPECT_EQ(code, int(ErrorNumber::DiskFull));
    EXPECT_EQ(contents(dir.filePath("old.chg")), oldBytes);
    EXPECT_EQ(tree(dir.path()), QStringList{"old.chg"});
}

// The two ways a write goes, step by step in the order of the calls, and what a failure
// of each call leaves.
enum class OnFailure {
    Reported,           // the error's number, and the file as the step says
    GoesOnIfRefused,    // EACCES: the write goes another way (in place, say)
    ReportedIfDiskFull, // a reservation the file system cannot make is no failure
    NotReported,        // the write goes on: after the rename, or without the lock
    Forced,             // the refusal that sends the write down this path
};
enum class Afterwards { Old, New, NewOverOldTail, ShortWriteOverOld };

struct Step {
    test::Call call;
    OnFailure onFailure;
    Afterwards afterwards;
    int openFlags = 0; // flags an open must carry
};

struct WritePath {
    const char* what;
    std::vector<test::Fault> forced;
    std::vector<Step> steps;
    std::vector<Afterwards> afterAKill;
};

using test::Call;
using enum OnFailure;
using enum Afterwards;

// The lock's steps, alike on both paths: its file is made, shared and locked, and the
// lock is checked to have kept its name. Without the lock the write goes on.
const std::vector<Step> lockSteps = {
    {Call::Open, NotReported, New},    {Call::Open, NotReported, New, O_CREAT | O_EXCL},
    {Call::Fstat, NotReported, New},   {Call::Fchmod, NotReported, New},
    {Call::Fcntl, NotReported, New},   {Call::Fstat, NotReported, New},
    {Call::Fstatat, NotReported, New},
};

std::vector<Step> operator+(std::vector<Step> first, const std::vector<Step>& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

const std::vector<Step> openAndCheck = {
    {Call::OpenDirectory, GoesOnIfRefused, Old},
    {Call::Fstatat, Reported, Old},
    {Call::Faccessat, Reported, Old},
};

const WritePath writePaths[] = {
    {"replace by rename",
     {},
     openAndCheck + lockSteps +
         std::vector<Step>{
             {Call::Open, GoesOnIfRefused, Old},
             {Call::Fchown, Reported, Old},
             {Call::Fchmod, Reported, Old},
             {Call::Open, GoesOnIfRefused, Old, O_NOFOLLOW}, // the old file's attributes
             {Call::Close, NotReported, New},
             {Call::Write, Reported, Old},
             {Call::Fsync, Reported, Old},
             {Call::Close, Reported, Old},
             {Call::Renameat, GoesOnIfRefused, Old},
             {Call::FsyncDirectory, NotReported, New},
             {Call::Unlinkat, NotReported, New},
             {Call::Close, NotReported, New},
             {Call::CloseDirectory, NotReported, New},
         },
     {Old, New}},
    // Not atomic: a crash between the write and the cut leaves the new bytes over the
    // old file's tail.
    {"rewrite in place",
     {{Call::Open, 3, EACCES}},
     openAndCheck + lockSteps +
         std::vector<Step>{
             {Call::Open, Forced, Old},
             {Call::Open, Reported, Old, O_NOFOLLOW | O_NONBLOCK}, // nor a FIFO since
             {Call::Fstat, Reported, Old},                         // nor another file since
             {Call::Fallocate, ReportedIfDiskFull, Old},
             {Call::Write, Reported, Old},
             {Call::Ftruncate, Reported, NewOverOldTail},
             {Call::Fsync, Reported, New},
             {Call::Close, Reported, New},
             {Call::Unlinkat, NotReported, New},
             {Call::Close, NotReported, New},
             {Call::CloseDirectory, NotReported, New},
         },
     {Old, New, NewOverOldTail}},
};

constexpr size_t kShortWrite = 100;
// Longer than the new bytes, so that a missing cut shows.
const QByteArray longOldBytes = changeBytes(1000, 5);
const QByteArray newBytes = changeBytes(284);

QByteArray expectedFile(Afterwards afterwards) {
    switch (afterwards) {
    case Old:
        return longOldBytes;
    case New:
        return newBytes;
    case NewOverOldTail:
        return newBytes + longOldBytes.mid(newBytes.size());
    case ShortWriteOverOld:
        return newBytes.left(kShortWrite) + longOldBytes.mid(kShortWrite);
    }
    return {};
}

std::vector<Call> callsOf(const std::vector<Step>& steps) {
    std::vector<Call> calls;
    for (const Step& step : steps) {
        calls.push_back(step.call);
    }
    return calls;
}

std::string namesOf(const std::vector<Call>& calls) {
    std::string names;
    for (Call call : calls) {
        names += std::string(names.empty() ? "" : ", ") + test::nameOf(call);
    }
    return names;
}

// The data reaches the disk before the rename, and the rename before the call returns.
TEST(ChangeFileWriter, SuccessfulWriteMakesItsCallsInDurableOrder) {
    for (const WritePath& path : writePaths) {
        SCOPED_TRACE(path.what);
        QTemporaryDir dir;
        put(dir.filePath("old.chg"), longOldBytes);
        test::FaultInjector calls(path.forced);

        EXPECT_EQ(writeCode(dir.filePath("old.chg"), newBytes, calls), 0);
        EXPECT_EQ(namesOf(calls.sequence), namesOf(callsOf(path.steps)));
        EXPECT_EQ(contents(dir.filePath("old.chg")), newBytes);
        for (size_t i = 0; i < std::min(path.steps.size(), calls.openFlags.size()); ++i) {
            const int flags = path.steps[i].openFlags;
            EXPECT_EQ(calls.openFlags[i] & flags, flags) << "call " << i;
        }
    }
}

TEST(ChangeFileWriter, EachFailingCallIsReportedAndLeavesAWholeFile) {
    struct ErrorClass {
        const char* what;
        int error;
        ErrorNumber expected;
    };
    const ErrorClass errorClasses[] = {
        {"EIO", EIO, ErrorNumber::DeviceIO},
        {"ENOSPC", ENOSPC, ErrorNumber::DiskFull},
        {"EDQUOT", EDQUOT, ErrorNumber::DiskFull},
        {"EFBIG", EFBIG, ErrorNumber::DiskFull},
        {"EACCES", EACCES, ErrorNumber::PermissionDenied},
        {"EROFS", EROFS, ErrorNumber::PermissionDenied},
        {"EXDEV", EXDEV, ErrorNumber::PathFileAccess},
        {"ENOTDIR", ENOTDIR, ErrorNumber::PathNotFound},
    };
    for (const WritePath& path : writePaths) {
        std::map<Call, int> seen;
        for (const Step& step : path.steps) {
            const int nth = ++seen[step.call];
            if (step.onFailure == Forced) {
                continue;
            }
            for (const ErrorClass& error : errorClasses) {
                SCOPED_TRACE(std::string(path.what) + ": " + test::nameOf(step.call) + " #" +
                             std::to_string(nth) + " fails with " + error.what);
                const bool goesOn = step.onFailure == NotReported ||
                                    (step.onFailure == GoesOnIfRefused && error.error == EACCES) ||
                                    (step.onFailure == ReportedIfDiskFull &&
                                     error.expected != ErrorNumber::DiskFull);
                QTemporaryDir dir;
                put(dir.filePath("old.chg"), longOldBytes);
                std::vector<test::Fault> faults = path.forced;
                faults.push_back({step.call, nth, error.error});
                test::FaultInjector calls(faults);

                EXPECT_EQ(writeCode(dir.filePath("old.chg"), newBytes, calls),
                          goesOn ? 0 : int(error.expected));
                EXPECT_EQ(contents(dir.filePath("old.chg")),
                          expectedFile(goesOn ? New : step.afterwards));
                // Only the lock's own removal, failing, leaves its file for the next writer.
                QStringList left = tree(dir.path());
                left.removeOne(step.call == Call::Unlinkat ? ".pelomart-lock" : "");
                EXPECT_EQ(left, QStringList{"old.chg"});
            }
        }
    }
}

// The errors that EachFailingCallIsReportedAndLeavesAWholeFile does not try, each where the
// writer meets it.
TEST(ChangeFileWriter, EachErrnoIsReportedInItsClass) {
    struct Row {
        const char* what;
        const char* writeAt; // "link" points at "old.chg"
        std::vector<test::Fault> faults;
        ErrorNumber expected;
    };
    using enum ErrorNumber;
    // The directory refuses the temporary file, so the file itself is opened, and fails.
    auto failingOpenInPlace = [](int error) {
        return std::vector<test::Fault>{{Call::Open, 3, EACCES}, {Call::Open, 4, error}};
    };
    const Row rows[] = {
        {"ELOOP: a directory loops", "old.chg", {{Call::Fstatat, 1, ELOOP}}, PathNotFound},
        {"ELOOP past a link", "link", {{Call::Fstatat, 2, ELOOP}}, PathNotFound},
        {"ENAMETOOLONG as given", "old.chg", {{Call::Fstatat, 1, ENAMETOOLONG}}, BadFileName},
        {"ENAMETOOLONG past a link", "link", {{Call::Fstatat, 2, ENAMETOOLONG}}, PathNotFound},
        {"EPERM: an immutable file", "old.chg", {{Call::Faccessat, 1, EPERM}}, PermissionDenied},
        {"ETXTBSY: a running program", "old.chg", failingOpenInPlace(ETXTBSY), PathFileAccess},
        {"ENXIO: a FIFO without a reader", "old.chg", failingOpenInPlace(ENXIO), PathFileAccess},
        {"ENODEV: a driverless device", "old.chg", failingOpenInPlace(ENODEV), PathFileAccess},
        {"EOPNOTSUPP: an attribute that cannot be kept",
         "old.chg",
         {{Call::Fsetxattr, 1, EOPNOTSUPP}},
         PathFileAccess},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        put(dir.filePath("old.chg"), oldBytes);
        setAcl(dir.filePath("old.chg"), "access", kAcl);
        ASSERT_EQ(::symlink("old.chg", QFile::encodeName(dir.filePath("link")).constData()), 0);
        test::FaultInjector calls(row.faults);

        EXPECT_EQ(writeCode(dir.filePath(row.writeAt), changeBytes(284), calls), int(row.expected));
        EXPECT_EQ(contents(dir.filePath("old.chg")), oldBytes);
        EXPECT_EQ(tree(dir.path()), (QStringList{"link", "old.chg"}));
    }
}

TEST(ChangeFileWriter, ShortAndInterruptedCallsAreCarriedThrough) {
    struct Row {
        const char* what;
        std::vector<test::Fault> faults;
        int expected;
        Afterwards afterwards[2]; // replaced by rename, rewritten in place
    };
    const Row rows[] = {
        {"short write, then the rest", {{Call::Write, 1, 0, kShortWrite}}, 0, {New, New}},
        {"short write, then no space",
         {{Call::Write, 1, 0, kShortWrite}, {Call::Write, 2, ENOSPC}},
         int(ErrorNumber::DiskFull),
         {Old, ShortWriteOverOld}},
        {"write interrupted, then retried", {{Call::Write, 1, EINTR}}, 0, {New, New}},
        {"close interrupted", {{Call::Close, 1, EINTR}, {Call::Close, 2, EINTR}}, 0, {New, New}},
    };
    for (const Row& row : rows) {
        for (int pathIndex = 0; pathIndex < 2; ++pathIndex) {
            const WritePath& path = writePaths[pathIndex];
            SCOPED_TRACE(std::string(row.what) + ", " + path.what);
            QTemporaryDir dir;
            put(dir.filePath("old.chg"), longOldBytes);
            std::vector<test::Fault> faults = path.forced;
            faults.insert(faults.end(), row.faults.begin(), row.faults.end());
            test::FaultInjector calls(faults);

            EXPECT_EQ(writeCode(dir.filePath("old.chg"), newBytes, calls), row.expected);
            EXPECT_EQ(contents(dir.filePath("old.chg")), expectedFile(row.afterwards[pathIndex]));
            EXPECT_EQ(tree(dir.path()), QStringList{"old.chg"});
        }
    }
}

TEST(ChangeFileWriter, KilledAtAnyCallLeavesAWholeFileAndAtMostOneTemporary) {
    const QByteArray later = changeBytes(300, 9);
    for (const WritePath& path : writePaths) {
        for (int step = 0; step < int(path.steps.size()); ++step) {
            for (const bool afterTheCall : {false, true}) {
                SCOPED_TRACE(
                    std::string(path.what) + ": killed " + (afterTheCall ? "after " : "before ") +
                    test::nameOf(path.steps[step].call) + " (call " + std::to_string(step) + ")");
                QTemporaryDir dir;
                const QString target = dir.filePath("old.chg");
                put(target, longOldBytes);

                EXPECT_EQ(test::runInChild([&] {
                              test::FaultInjector calls(path.forced, {step, afterTheCall});
                              return writeCode(target, newBytes, calls);
                          }),
                          128 + SIGKILL);
                const QByteArray left = contents(target);
                EXPECT_TRUE(std::ranges::any_of(
                    path.afterAKill, [&](Afterwards whole) { return left == expectedFile(whole); }))
                    << left.size() << " bytes";
                // The lock's file, where the kill came while it was held, and a temporary.
                QStringList others = tree(dir.path());
                others.removeOne("old.chg");
                others.removeOne(".pelomart-lock");
                EXPECT_LE(others.size(), 1) << others.join(' ').toStdString();
                for (const QString& name : others) {
                    EXPECT_TRUE(name.startsWith(".pelomart-")) << name.toStdString();
                }

                EXPECT_EQ(writeCode(target, later), 0);
                EXPECT_EQ(contents(target), later);
            }
        }
    }
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
                if (writeCode(path, bytes) != 0) {
                    return 1;
                }
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

// A writer that holds what it read replaces the file only if it still holds that, whatever
// another process did just before the lock. The other writer is a real process that holds
// none of this one's descriptors, and so none of its locks.
TEST(ChangeFileWriter, AnotherWritersChangeIsNeverLost) {
    struct Row {
        const char* what;
        Call before; // the other writer goes just before the first call of this kind
        std::vector<test::Fault> faults;
        QByteArray theirs;
        int expected; // and the other's: 0 written, 1 refused as changed since it read
        int nth = 1;
        bool renames = false; // a program that takes no lock and renames its file into place
    };
    const Row rows[] = {
        {"replaced just before the lock", Call::Fcntl, {}, changeBytes(300, 3), 1},
        {"grown by one byte", Call::Fcntl, {}, longOldBytes + 'g', 1},
        {"replaced, where the directory refuses a new file",
         Call::Fcntl,
         {{Call::Open, 3, EACCES}},
         changeBytes(300, 3),
         1},
        // This writer holds the lock, so the other, which read the same old bytes, waits and
        // then finds this one's.
        {"the other waits for the lock", Call::Renameat, {}, changeBytes(300, 3), 0},
        // Between the comparison and the open for the rewrite in place, its 6th.
        {"swapped for another file just before the rewrite in place",
         Call::Open,
         {{Call::Open, 4, EACCES}},
         changeBytes(300, 3),
         1,
         6,
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        const QString target = dir.filePath("old.chg");
        put(target, longOldBytes);
        pid_t other = -1;
        test::FaultInjector calls(row.faults);
        calls.beforeCall = [&](Call call, int nth) {
            if (call == row.before && nth == row.nth) {
                other = startChild([&] {
                    ::close_range(3, ~0U, 0);
                    if (row.renames) {
                        put(dir.filePath("theirs"), row.theirs);
                        return ::rename(QFile::encodeName(dir.filePath("theirs")).constData(),
                                        QFile::encodeName(target).constData());
                    }
                    ChangeFileWrite write{longOldBytes};
                    try {
                        writeChangeFile(QFile::encodeName(target), row.theirs, &write);
                        return 0;
                    } catch (const RunTimeError& error) {
                        return error.detail().find("changed") != std::string::npos ? 1 : 2;
                    }
                });
                // Time enough to compare and rename, were it not kept out.
                row.expected == 0 ? void(::usleep(300'000)) : void(test::exitCodeOf(other));
            }
        };
        ChangeFileWrite write{longOldBytes};

        EXPECT_EQ(writeCode(target, newBytes, calls, &write),
                  row.expected == 0 ? 0 : int(ErrorNumber::PathFileAccess));
        if (row.expected == 0) {
            EXPECT_EQ(test::exitCodeOf(other), 1);
        }
        EXPECT_EQ(contents(target), row.expected == 0 ? newBytes : row.theirs);
        EXPECT_EQ(tree(dir.path()), QStringList{"old.chg"});
    }
}

// The writers' lock: a writer waits while another holds it, a reader's lock on the
// directory holds nobody up, and a writer stopped while it waits leaves nothing behind.
TEST(ChangeFileWriter, TheLockHoldsUpOnlyWritersAndNothingIsLeftOfAWait) {
    struct Row {
        const char* what;
        int heldFor = 0;           // seconds another writer holds the lock
        bool readerFlocks = false; // on the directory, throughout
        bool interrupted = false;  // Ctrl+C while the writer waits
        int expected = 0;
        mode_t lockMode = 0; // of a file in the lock's place, whose first open is refused
    };
    const int refused = int(ErrorNumber::PathFileAccess);
    const Row rows[] = {
        {"another writer holds it for 3 seconds", 3},
        {"a reader holds flock on the directory", 0, true},
        {"Ctrl+C while another writer holds it", 2, false, true, 128 + SIGINT},
        {"another user's file in the lock's place", 0, false, false, refused, 0644},
        {"a lock just made, whose maker has still to share it", 0, false, false, 0, 0600},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        put(dir.filePath("old.chg"), oldBytes);
        const QString lock = dir.filePath(".pelomart-lock");
        if (row.lockMode != 0) {
            put(lock, {});
            ASSERT_EQ(::chmod(QFile::encodeName(lock).constData(), row.lockMode), 0);
        }
        const int directory = ::open(QFile::encodeName(dir.path()).constData(), O_RDONLY);
        ASSERT_EQ(::flock(directory, row.readerFlocks ? LOCK_EX : LOCK_UN), 0);
        const pid_t holder = row.heldFor == 0
                                 ? -1
                                 : test::holdWritersLock(dir.path().toStdString(), [&](auto ready) {
                                       ready();
                                       ::sleep(row.heldFor);
                                   });
        const auto start = std::chrono::steady_clock::now();
        int signalled[2];
        ASSERT_EQ(::pipe(signalled), 0);
        // As a shell starts a command: a test run in the background ignores SIGINT. Ctrl+C
        // comes only once the writer takes it, however slowly the child starts.
        const pid_t writer = startChild([&] {
            std::signal(SIGINT, SIG_DFL);
            ::close(signalled[0]);
            ::close(signalled[1]);
            const std::vector<test::Fault> lockOpenRefused{{Call::Open, 1, EACCES}};
            test::FaultInjector calls(row.lockMode != 0 ? lockOpenRefused
                                                        : std::vector<test::Fault>{});
            return writeCode(dir.filePath("old.chg"), newBytes, calls);
        });
        ::close(signalled[1]);
        char none;
        ASSERT_EQ(::read(signalled[0], &none, 1), 0);
        ::close(signalled[0]);
        if (row.interrupted) {
            ::usleep(300'000);
            ::kill(writer, SIGINT);
        }
        EXPECT_EQ(test::exitCodeOf(writer), row.expected);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_GE(took, std::chrono::seconds(row.interrupted ? 0 : row.heldFor));
        EXPECT_LT(took, std::chrono::seconds(row.heldFor + 2)) << "waited on past the lock";
        EXPECT_EQ(holder < 0 ? 0 : test::exitCodeOf(holder), 0);
        ::close(directory);
        EXPECT_EQ(contents(dir.filePath("old.chg")), row.expected == 0 ? newBytes : oldBytes);
        // Another's file is left alone; a lock file that a writer may open, it takes and removes.
        EXPECT_EQ(tree(dir.path()),
                  (row.expected == refused ? QStringList{".pelomart-lock", "old.chg"}
                                           : QStringList{"old.chg"}));
    }
}

} // namespace
} // namespace pelomart
