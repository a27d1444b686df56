// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

// What the companion does with what only Linux's file system has: symbolic links, FIFOs, a
// removed working directory, names that are not UTF-8.

#include "change_file_tool_fixture.h"

#include "child_process.h"
#include "human_record_composer.h"
#include "human_record_reader.h"
#include "shown_text.h"

#include <QDir>
#include <cstdio>
#include <functional>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace pelomart::chg {

int makePipe(int ends[2]) {
    return ::pipe(ends);
}

namespace {

// Two objects whose names reach one file through links: nothing is written, and the file
// keeps what it held (a dangling link leads to the file the first object would make).
TEST_F(ChangeFileTool, MakeRefusesTwoNamesOfOneFile) {
    const QByteArray a = QFile::encodeName(path("a.chg"));
    const QByteArray b = QFile::encodeName(path("b.chg"));
    const std::tuple<const char*, std::function<int()>, QByteArray> rows[] = {
        {"symbolic link", [&] { return ::symlink("a.chg", b.constData()); }, kWorkedFile},
        {"hard link", [&] { return ::link(a.constData(), b.constData()); }, kWorkedFile},
        {"dangling link",
         [&] { return ::unlink(a.constData()) + ::symlink("a.chg", b.constData()); }, QByteArray()},
    };
    put("in.json", R"([{"filenavn": "a.chg", "x": "1"}, {"filenavn": "b.chg", "x": "2"}])");
    for (const auto& [name, link, held] : rows) {
        SCOPED_TRACE(name);
        put("a.chg", kWorkedFile);
        ::unlink(b.constData());
        ASSERT_EQ(link(), 0);
        EXPECT_EQ(run({"make", "--dir", m_dir.path(), path("in.json")}), 1);
        EXPECT_EQ(err, path("in.json") + ": object 1: makes \"b.chg\" as " + path("in.json") +
                           ": object 0 does; nothing was made\n");
        EXPECT_EQ(contents("a.chg"), held);
    }
}

// A directory where no file can be made gives one message, not one for each object; a
// removed working directory stops nothing that does not need it.
TEST_F(ChangeFileTool, MakeTriesNoObjectWhereNoFileCanBeMade) {
    put("in.json", R"([{"filenavn": "a.chg"}, {"filenavn": "b.chg"}])");
    // Each row: the --dir given, and where and why no file can be made ("": one can).
    const std::tuple<QStringList, QString, QString> rows[] = {
        {{"--dir", path("missing")}, path("missing"), "No such file or directory"},
        {{"--dir", path("in.json")}, path("in.json"), "not a directory"},
        {{}, ".", "the directory has been removed"},
        {{"--dir", m_dir.path()}, "", ""},
    };
    const QByteArray start = QFile::encodeName(QDir::currentPath());
    const QByteArray gone = QFile::encodeName(path("gone"));
    for (const auto& [dir, where, why] : rows) {
        SCOPED_TRACE(why.toStdString());
        ASSERT_EQ(::mkdir(gone.constData(), 0700), 0);
        ASSERT_EQ(::chdir(gone.constData()), 0);
        ASSERT_EQ(::rmdir(gone.constData()), 0);
        EXPECT_EQ(run(QStringList{"make"} + dir + QStringList{path("in.json")}),
                  why.isEmpty() ? 0 : 1);
        ASSERT_EQ(::chdir(start.constData()), 0);
        EXPECT_EQ(err, why.isEmpty()
                           ? ""
                           : where + ": cannot make files there: " + why + "; nothing was made\n");
    }
    EXPECT_EQ(contents("b.chg"), kWorkedFile);
}

// Named by mistake, a FIFO, a directory or a device is refused at once, by what it is; so
// is a file longer than the longest change file, a 32,767-byte record and CR LF.
TEST_F(ChangeFileTool, RefusesWhatIsNoRegularFileWithoutWaiting) {
    const QString fifo = path("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    HumanRecord longest = decodeHumanRecord(kWorkedFile.toStdString()).record.value();
    longest.script.clear();
    longest.script.assign(kMaxRecordLength - composeHumanRecord(longest).size(), 'x');
    put("longest.chg", QByteArray::fromStdString(composeHumanRecord(longest) + kLineEnd));
    ASSERT_EQ(contents("longest.chg").size(), 32769);
    put("longer.chg", contents("longest.chg") + 'x');
    const std::pair<QStringList, QString> rows[] = {
        {{"check", fifo}, fifo + ": cannot read: a FIFO"},
        {{"show", m_dir.path()}, m_dir.path() + ": cannot read: a directory"},
        {{"check", "/dev/null"}, "/dev/null: cannot read: a device"},
        {{"make", fifo}, fifo + ": cannot read: a FIFO"},
        {{"set", fifo, "x=1"}, fifo + ": cannot read: a FIFO"},
        {{"check", path("longest.chg"), path("longer.chg")},
         path("longer.chg") + ": cannot read: longer than 32769 bytes"},
    };
    for (const auto& [arguments, message] : rows) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        EXPECT_EQ(run(arguments), 1);
        EXPECT_EQ(err, message + "\n");
    }
}

// Paths are the system's bytes: a name that is not UTF-8 names the same file, shown as \xNN.
TEST_F(ChangeFileTool, ArgumentsKeepTheSystemsBytes) {
    for (const QByteArray bytes : {"caf\xE9", "\xED\xA0\x80 surrogate", "\xC0\xAF overlong",
                                   "cut \xE2\x82", "\xF4\x90\x80\x80 too high", "\xF0\x9F\x98\x80",
                                   "\xF0\x9F\x82\xA1 low half in DC80-DCFF"}) {
        EXPECT_EQ(nativeBytes(argumentText(bytes)), bytes) << bytes.toHex().toStdString();
    }
    EXPECT_EQ(argumentText("\xF0\x9F\x98\x80"), QString::fromUtf8("\xF0\x9F\x98\x80"));

    const QByteArray file = QFile::encodeName(m_dir.path()) + "/caf\xE9.chg";
    std::FILE* stream = std::fopen(file.constData(), "wb");
    ASSERT_TRUE(stream);
    std::fwrite(kWorkedFile.constData(), 1, std::size_t(kWorkedFile.size()), stream);
    std::fclose(stream);
    const QByteArray dir = QFile::encodeName(m_dir.path()) + "/d\xE9";
    ASSERT_EQ(::mkdir(dir.constData(), 0700), 0);
    put("start.json", "{}");
    const QByteArray json = QFile::encodeName(path("start.json"));

    const char* check[] = {"check", "-v", file.constData()};
    EXPECT_EQ(run(argumentsFrom(3, check)), 0) << err.toStdString();
    EXPECT_EQ(out, m_dir.path() + "/caf\\xE9.chg: ok\n");
    const char* make[] = {"make", "--locale", "de_DE", "--dir", dir.constData(), json.constData()};
    EXPECT_EQ(run(argumentsFrom(6, make)), 0) << err.toStdString();
    EXPECT_EQ(::unlink((dir + "/clovek.chg").constData()), 0);
    // QTemporaryDir cannot remove what Qt cannot name.
    ::rmdir(dir.constData());
    ::unlink(file.constData());
}

// What set and make replace and what they say of it: a relative path is the working
// directory's file, other names are told on stderr, another writer's change is kept, and a
// make that has waited out a lock does not wait again. Each row runs in the test directory.
TEST_F(ChangeFileTool, SetAndMakeReplaceOnlyTheFileMeantAndSaySo) {
    QByteArray x100 = kWorkedFile;
    x100.replace(16, 4, QByteArray("\x00\x00\xC8\x42", 4)); // position x 100
    QByteArray theirs = kWorkedFile;
    theirs.replace(16, 4, QByteArray("\x00\x00\x80\x3F", 4)); // position x 1
    const QString f = path("f.chg");
    const QString linked = f + ": made again as a new file; its 1 other name (hard link) still "
                               "holds the old record\n";
    put("f.json", R"({"filenavn": "f.chg", "x": "100"})");
    put("three.json", R"([{"filenavn": "a.chg"}, {"filenavn": "b.chg"}, {"filenavn": "c.chg"}])");
    const std::string dir = m_dir.path().toStdString();
    auto link = [&] {
        EXPECT_EQ(::link(qPrintable(f), qPrintable(path("g.chg"))), 0);
        return pid_t(-1);
    };
    auto changeOnceRead = [&] {
        return test::holdWritersLock(dir, [&](auto ready) {
            const int watch = ::inotify_init();
            ::inotify_add_watch(watch, qPrintable(f), IN_CLOSE_NOWRITE);
            ready();
            char event[4096];
            (void)!::read(watch, event, sizeof event);
            put("f.chg", theirs);
        });
    };
    auto holdPastTheWait = [&] {
        return test::holdWritersLock(dir, [](auto ready) {
            ready();
            ::sleep(11);
        });
    };
    struct Row {
        const char* name;
        std::function<pid_t()> before; // the other writer it starts, or -1
        QStringList arguments;
        int status;
        QString message;  // among what stderr says
        QByteArray after; // f.chg
    };
    const Row rows[] = {
        {"set with a relative path", [] { return -1; }, {"set", "f.chg", "x=100"}, 0, "", x100},
        {"set over a file with one other name", link, {"set", f, "x=100"}, 0, linked, x100},
        {"make over a file with one other name",
         link,
         {"make", "--dir", m_dir.path(), path("f.json")},
         0,
         linked,
         x100},
        {"set, when another writer changes the file after set has read it",
         changeOnceRead,
         {"set", f, "x=100"},
         1,
         "another program changed the file since it was read",
         theirs},
        {"make of three objects, while another writer holds the lock past the wait",
         holdPastTheWait,
         {"make", "--dir", m_dir.path(), path("three.json")},
         1,
         m_dir.path() + ": 2 more objects were not made, as the directory is locked\n",
         kWorkedFile},
        {"set, where a directory stands in the lock file's place",
         [&] {
             EXPECT_EQ(::mkdir(qPrintable(path(".pelomart-lock")), 0700), 0);
             return pid_t(-1);
         },
         {"set", f, "x=100"},
         1,
         "cannot be locked against other writers (.pelomart-lock): Is a directory",
         kWorkedFile},
    };
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        put("f.chg", kWorkedFile);
        ::unlink(qPrintable(path("g.chg")));
        const pid_t other = row.before();
        EXPECT_EQ(run(row.arguments), row.status);
        EXPECT_EQ(other < 0 ? 0 : test::exitCodeOf(other), 0);
        EXPECT_TRUE(err.contains(row.message)) << err.toStdString();
        EXPECT_EQ(contents("f.chg"), row.after);
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Hidden | QDir::Files).filter(".pelomart"),
                  QStringList());
    }
    QDir::setCurrent(before);
    ::rmdir(qPrintable(path(".pelomart-lock")));
    EXPECT_FALSE(QFile::exists(path("b.chg"))) << "made once the lock was let go";
}

} // namespace
} // namespace pelomart::chg
