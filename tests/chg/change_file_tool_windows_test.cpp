// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

// What the companion does with what Windows' file system has: names that differ only in
// case, names it cannot hold, devices by name.

#include "change_file_tool_fixture.h"

#include <QDir>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace pelomart::chg {

// Binary, so that the bytes arrive as written.
int makePipe(int ends[2]) {
    return ::_pipe(ends, 1 << 16, _O_BINARY);
}

namespace {

// Two objects whose names reach one file: nothing is written, and an existing file keeps
// what it held.
TEST_F(ChangeFileTool, MakeRefusesTwoNamesOfOneFileOnWindows) {
    struct Row {
        const char* name;
        const char* json;
        bool existing; // a.chg is there before the run
        bool hardLink; // and b.chg is a second name of it
    };
    const Row rows[] = {
        {"another case, a new file", R"([{"filenavn": "a.chg"}, {"filenavn": "A.CHG"}])", false,
         false},
        {"another case, an existing file", R"([{"filenavn": "A.chg"}, {"filenavn": "a.Chg"}])",
         true, false},
        {"a hard link", R"([{"filenavn": "a.chg"}, {"filenavn": "b.chg"}])", true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        if (row.existing) {
            put("a.chg", kWorkedFile);
        }
        if (row.hardLink) {
            ASSERT_TRUE(::CreateHardLinkW(path("b.chg").toStdWString().c_str(),
                                          path("a.chg").toStdWString().c_str(), nullptr));
        }
        put("in.json", row.json);
        EXPECT_EQ(run({"make", "--dir", m_dir.path(), path("in.json")}), 1);
        EXPECT_TRUE(err.contains(QLatin1String(": object 0 does; nothing was made\n")))
            << err.toStdString();
        EXPECT_EQ(contents("a.chg"), row.existing ? kWorkedFile : QByteArray());
    }
}

// A name Windows cannot hold stops the run before anything is written, as a path in the
// name does.
TEST_F(ChangeFileTool, MakeRefusesNamesWindowsCannotHold) {
    for (const char* name : {"con.chg", "a\\\\b.chg", "clovek.", "what?.chg"}) {
        SCOPED_TRACE(name);
        put("in.json", QByteArray(R"([{"filenavn": "ok.chg"}, {"filenavn": ")") + name + "\"}]");
        EXPECT_EQ(run({"make", "--dir", m_dir.path(), path("in.json")}), 1);
        EXPECT_TRUE(err.contains(QLatin1String("is not a plain file name"))) << err.toStdString();
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"in.json"});
    }
}

// A device or a folder named by mistake is refused at once, by what it is.
TEST_F(ChangeFileTool, RefusesDevicesAndFoldersWithoutWaiting) {
    EXPECT_EQ(run({"check", "NUL"}), 1);
    EXPECT_EQ(err, "NUL: cannot read: a device\n");
    EXPECT_EQ(run({"check", m_dir.path()}), 1);
    EXPECT_EQ(err, m_dir.path() + ": cannot read: a directory\n");
}

} // namespace
} // namespace pelomart::chg
