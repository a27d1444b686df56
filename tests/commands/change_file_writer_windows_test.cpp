// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

// The safe write on Windows: what Windows' own calls do to an existing file, the names
// Windows cannot hold, and paths past 260 characters.

#include "change_file_writer.h"

#include "run_time_error.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

namespace pelomart {
namespace {

const QByteArray kOld = "old record\r\n";
const QByteArray kNew = QByteArray("new\0record\r\n", 12);

std::wstring wide(const QString& path) {
    return L"\\\\?\\" + QDir::toNativeSeparators(path).toStdWString();
}

QByteArray read(const QString& path) {
    QByteArray bytes(64, '\0');
    const HANDLE file = ::CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "(missing)";
    }
    DWORD count = 0;
    ::ReadFile(file, bytes.data(), DWORD(bytes.size()), &count, nullptr);
    ::CloseHandle(file);
    return bytes.left(count);
}

void put(const QString& path, const QByteArray& bytes) {
    const HANDLE file = ::CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD count = 0;
    ::WriteFile(file, bytes.constData(), DWORD(bytes.size()), &count, nullptr);
    ::CloseHandle(file);
}

FILETIME creationTime(const QString& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data);
    return data.ftCreationTime;
}

// Names in the folder, the folder's own file and what a test put there aside.
QStringList leftBehind(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.removeAll(QStringLiteral("target.chg"));
    return names;
}

struct Outcome {
    int code = 0;           // the run-time error's number, 0 when the write succeeds
    std::string detail;     // a part of its detail
};

Outcome write(const QString& path, ChangeFileWrite* options = nullptr) {
    try {
        writeChangeFile(path.toUtf8(), kNew, options);
        return {};
    } catch (const RunTimeError& error) {
        return {error.code(), error.detail()};
    }
}

// Each row starts from a folder holding target.chg with the old record; `before` may change
// that and returns what it must undo afterwards; the write goes to `name`.
TEST(ChangeFileWriterWindows, ReplacesOrRefusesLeavingTheOldFileWhole) {
    struct Row {
        const char* name;
        std::function<std::function<void()>(const QString& target)> before;
        Outcome expected;
        QByteArray held;               // what target.chg holds afterwards
        const char* writeTo = nullptr; // another name of target.chg
    };
    const Row rows[] = {
        {"replaced", [](const QString&) { return std::function<void()>(); }, {}, kNew},
        {"read-only: refused by name",
         [](const QString& target) {
             ::SetFileAttributesW(wide(target).c_str(), FILE_ATTRIBUTE_READONLY);
             return std::function<void()>([target] {
                 ::SetFileAttributesW(wide(target).c_str(), FILE_ATTRIBUTE_NORMAL);
             });
         },
         {70, "the file is read-only"},
         kOld},
        {"held open by another program that shares nothing",
         [](const QString& target) {
             const HANDLE held = ::CreateFileW(wide(target).c_str(), GENERIC_READ, 0, nullptr,
                                               OPEN_EXISTING, 0, nullptr);
             return std::function<void()>([held] { ::CloseHandle(held); });
         },
         {75, "another program has the file open and does not share it"},
         kOld},
        {"held open for reading by one that shares all",
         [](const QString& target) {
             const HANDLE held = ::CreateFileW(
                 wide(target).c_str(), GENERIC_READ,
                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                 0, nullptr);
             return std::function<void()>([held] { ::CloseHandle(held); });
         },
         {},
         kNew},
        {"named in another case: the file keeps the name it has",
         [](const QString&) { return std::function<void()>(); }, {}, kNew, "TARGET.Chg"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("target.chg"));
        put(target, kOld);
        const std::function<void()> undo = row.before(target);
        const Outcome outcome = write(row.writeTo ? dir.filePath(row.writeTo) : target);
        if (undo) {
            undo();
        }
        EXPECT_EQ(outcome.code, row.expected.code) << outcome.detail;
        EXPECT_NE(outcome.detail.find(row.expected.detail), std::string::npos) << outcome.detail;
        EXPECT_EQ(read(target), row.held);
        EXPECT_EQ(leftBehind(dir.path()), QStringList());
    }
}

// ReplaceFileW gives the new bytes the old file's identity: its attributes and the time it
// was made, which a rename of a new file into its place would lose.
TEST(ChangeFileWriterWindows, ReplacedFileKeepsItsAttributesAndCreationTime) {
    // Wine's ReplaceFileW renames the new file into place and copies neither; what it does
    // is Wine's, and this test is Windows' own.
    if (::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
        GTEST_SKIP() << "Wine's ReplaceFileW keeps neither attributes nor the creation time";
    }
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.chg"));
    put(target, kOld);
    const HANDLE file = ::CreateFileW(wide(target).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    const FILETIME made{0x12345678, 0x01C00000}; // in 1999, long before this test ran
    ASSERT_TRUE(::SetFileTime(file, &made, nullptr, nullptr));
    ::CloseHandle(file);
    ASSERT_TRUE(::SetFileAttributesW(wide(target).c_str(), FILE_ATTRIBUTE_HIDDEN));

    ASSERT_EQ(write(target).code, 0);
    EXPECT_EQ(read(target), kNew);
    EXPECT_TRUE(::GetFileAttributesW(wide(target).c_str()) & FILE_ATTRIBUTE_HIDDEN);
    const FILETIME kept = creationTime(target);
    EXPECT_EQ(kept.dwLowDateTime, made.dwLowDateTime);
    EXPECT_EQ(kept.dwHighDateTime, made.dwHighDateTime);
    ::SetFileAttributesW(wide(target).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Names Windows cannot hold are refused with error 52 and nothing is written; the last rows
// are the nearest names that it can hold.
TEST(ChangeFileWriterWindows, NamesWindowsCannotHold) {
    const std::pair<const char*, const char*> rows[] = {
        {"CON", "CON is the name of a device on Windows"},
        {"nul.chg", "NUL is the name of a device on Windows"},
        {"Com1 .txt", "COM1 is the name of a device on Windows"},
        {"lpt9.chg", "LPT9 is the name of a device on Windows"},
        {"COM\xC2\xB9.chg", "is the name of a device on Windows"},
        {"a?b.chg", "Windows allows no ? in a file name"},
        {"a<b.chg", "Windows allows no < in a file name"},
        {"a|b.chg", "Windows allows no | in a file name"},
        {"a\"b.chg", "Windows allows no \" in a file name"},
        {"a*b.chg", "Windows allows no * in a file name"},
        {"a:b.chg", "Windows allows no : in a file name"},
        {"tab\t.chg", "Windows allows no control character in a file name"},
        {"clovek.", "Windows allows no file name that ends in a dot or a blank"},
        {"clovek ", "Windows allows no file name that ends in a dot or a blank"},
        {"console.chg", nullptr},
        {"com10.chg", nullptr},
        {"nul_.chg", nullptr},
    };
    for (const auto& [name, message] : rows) {
        SCOPED_TRACE(name);
        QTemporaryDir dir;
        const Outcome outcome = write(dir.path() + u'/' + QString::fromUtf8(name));
        EXPECT_EQ(outcome.code, message ? 52 : 0) << outcome.detail;
        if (message) {
            EXPECT_NE(outcome.detail.find(message), std::string::npos) << outcome.detail;
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        }
    }
}

// Past 260 characters the \\?\ form takes the path; a name longer than any file system
// holds is refused for that reason, with nothing left behind.
TEST(ChangeFileWriterWindows, PathsPastTwoHundredSixtyCharacters) {
    QTemporaryDir dir;
    QString folder = dir.path();
    while (folder.size() < 300) {
        folder += u'/' + QString(60, u'd');
        ASSERT_TRUE(::CreateDirectoryW(wide(folder).c_str(), nullptr));
    }
    const QString target = folder + QStringLiteral("/target.chg");
    EXPECT_EQ(write(target).code, 0);
    EXPECT_EQ(read(target), kNew);
    put(target, kOld);
    EXPECT_EQ(write(target).code, 0);
    EXPECT_EQ(read(target), kNew);

    const Outcome tooLong = write(folder + u'/' + QString(256, u'n'));
    EXPECT_EQ(tooLong.code, 52);
    EXPECT_NE(tooLong.detail.find("the path is longer than Windows allows"), std::string::npos)
        << tooLong.detail;
    EXPECT_EQ(leftBehind(folder), QStringList());
}

// The comparison that set relies on: a file changed since it was read keeps the change.
TEST(ChangeFileWriterWindows, ReplacesOnlyWhatWasRead) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.chg"));
    put(target, "theirs\r\n");
    ChangeFileWrite expecting{kOld};
    const Outcome outcome = write(target, &expecting);
    EXPECT_EQ(outcome.code, 75);
    EXPECT_NE(outcome.detail.find("another program changed the file since it was read"),
              std::string::npos)
        << outcome.detail;
    EXPECT_EQ(read(target), "theirs\r\n");
    EXPECT_EQ(leftBehind(dir.path()), QStringList());
}

// A symbolic link is written through, as on Linux: the file it names gets the bytes, and
// the link stays a link.
TEST(ChangeFileWriterWindows, WritesThroughASymbolicLink) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.chg"));
    const QString link = dir.filePath(QStringLiteral("link.chg"));
    put(target, kOld);
    constexpr DWORD kUnprivileged = 0x2; // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    if (!::CreateSymbolicLinkW(wide(link).c_str(), wide(target).c_str(), kUnprivileged)) {
        GTEST_SKIP() << "this system makes no symbolic link for this user: "
                     << ::GetLastError();
    }
    // Wine's GetFinalPathNameByHandleW names the link a handle was opened through, not the
    // file it leads to, so the write replaces the link there; what it does is Wine's.
    if (::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
        GTEST_SKIP() << "Wine's GetFinalPathNameByHandleW names the link, not its file";
    }
    ASSERT_EQ(write(link).code, 0);
    EXPECT_EQ(read(target), kNew);
    EXPECT_TRUE(::GetFileAttributesW(wide(link).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Writers that all read the same file and each replace it only if it still holds that:
// under the folder's lock exactly one of them wins, and the file holds the winner's bytes.
TEST(ChangeFileWriterWindows, WritersTakeTurnsUnderTheFolderLock) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.chg"));
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        put(target, kOld);
        std::atomic<int> won = 0;
        std::atomic<int> refused = 0;
        std::atomic<bool> go = false;
        std::vector<std::thread> writers;
        for (int i = 0; i < 6; ++i) {
            writers.emplace_back([&, i] {
                ChangeFileWrite expecting{kOld};
                while (!go) {
                    std::this_thread::yield();
                }
                try {
                    writeChangeFile(target.toUtf8(), "writer " + QByteArray::number(i),
                                    &expecting);
                    ++won;
                } catch (const RunTimeError& error) {
                    refused += error.code() == 75 ? 1 : 100;
                }
            });
        }
        go = true;
        for (std::thread& writer : writers) {
            writer.join();
        }
        EXPECT_EQ(won, 1);
        EXPECT_EQ(refused, 5);
        EXPECT_TRUE(read(target).startsWith("writer ")) << read(target).toStdString();
        EXPECT_EQ(leftBehind(dir.path()), QStringList());
    }
}

} // namespace
} // namespace pelomart
