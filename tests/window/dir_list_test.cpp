// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "dir_list.h"

#include "child_process.h"

#include <QDir>
#include <QIcon>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace pelomart {
namespace {

QStringList rowNames(const DirListModel& model) {
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row) {
        names << model.data(model.index(row), Qt::DisplayRole).toString();
    }
    return names;
}

QStringList subdirectoryRows(const DirListModel& model) {
    return rowNames(model).mid(model.currentRow() + 1);
}

TEST(DirListModel, AncestorsThenSubdirectoriesSortedByName) {
    QTemporaryDir dir;
    QDir base(dir.path());
    for (const char* name : {"beta", "Alpha", ".wine", "alpha2", "Zeta", "with space", "alpha",
                             "Ács", "ábel", "．", "😀"}) {
        ASSERT_TRUE(base.mkdir(QString::fromUtf8(name)));
    }
    QFile(base.filePath("a file")).open(QIODevice::WriteOnly);
    ASSERT_EQ(::symlink("beta", QFile::encodeName(base.filePath("linked")).constData()), 0);

    DirListModel model;
    ASSERT_TRUE(model.setPath(QFile::encodeName(dir.path())));
    // Case folded, then upper case first; letters beyond ASCII folded as well; characters
    // in the order of their UTF-16 units, as QString compares them.
    EXPECT_EQ(subdirectoryRows(model),
              QStringList({".wine", "Alpha", "alpha", "alpha2", "beta", "linked", "with space",
                           "Zeta", "ábel", "Ács", "😀", "．"}));

    // Ancestors from the root down, each indented one step further.
    const QStringList parts = dir.path().split('/', Qt::SkipEmptyParts);
    EXPECT_EQ(model.currentRow(), parts.size());
    EXPECT_EQ(rowNames(model).first(), "/");
    EXPECT_EQ(rowNames(model).mid(1, parts.size()), parts);
    for (int row = 0; row <= model.currentRow(); ++row) {
        EXPECT_EQ(model.indentAt(row), row);
    }
    EXPECT_EQ(model.pathAt(model.currentRow()), QFile::encodeName(dir.path()));
    EXPECT_EQ(model.pathAt(model.currentRow() - 1),
              QFile::encodeName(QFileInfo(dir.path()).path()));
}

// Folders unpacked from archives made elsewhere may be named in another encoding: the
// list keeps the system's bytes and shows what they cannot spell as \xNN.
TEST(DirList, NamesThatAreNotUtf8ShowAsHexAndOpen) {
    const struct {
        const char* what;
        QByteArray start; // made in a temporary directory, the list started in it
        QByteArray child; // made in start
        QString shownStart;
        QString shownChild;
    } cases[] = {
        {"Latin-1 subdirectory", "plain", "caf\xE9", "plain", "caf\\xE9"},
        {"Latin-1 start directory", "caf\xE9", "inner", "caf\\xE9", "inner"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const QByteArray base = QFile::encodeName(dir.path());
        const QByteArray start = base + '/' + c.start;
        ASSERT_EQ(::mkdir(start.constData(), 0755), 0);
        ASSERT_EQ(::mkdir((start + '/' + c.child).constData(), 0755), 0);

        DirList list(start);
        const auto& model = static_cast<const DirListModel&>(*list.model());
        EXPECT_EQ(list.path(), start);
        const int current = model.currentRow();
        EXPECT_EQ(rowNames(model).mid(current - 1, 2),
                  QStringList({QFileInfo(dir.path()).fileName(), c.shownStart}));
        EXPECT_EQ(model.pathAt(current - 1), base);
        EXPECT_EQ(subdirectoryRows(model), QStringList{c.shownChild});

        list.openRow(current + 1);
        EXPECT_EQ(list.path(), start + '/' + c.child);
        // QTemporaryDir removes by decoded names, which miss these.
        ::rmdir((start + '/' + c.child).constData());
        ::rmdir(start.constData());
    }
}

TEST(DirListModel, FolderImagesAreNeverScaledUp) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("closed"));
    DirListModel model;
    model.setPath(QFile::encodeName(dir.path()));
    const struct {
        const char* what;
        qreal ratio;
    } screens[] = {{"ordinary", 1}, {"double density", 2}, {"250 %", 2.5}, {"triple density", 3}};
    for (const auto& screen : screens) {
        const QSize wanted = QSize(16, 16) * screen.ratio;
        for (int row : {model.currentRow(), model.currentRow() + 1}) {
            const QIcon icon = model.data(model.index(row), Qt::DecorationRole).value<QIcon>();
            EXPECT_EQ(icon.actualSize(wanted), wanted) << screen.what << ", row " << row;
        }
    }
}

TEST(DirListModel, VanishedDirectoryLeavesThePathWhereItWas) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("gone"));
    DirListModel model;
    model.setPath(QFile::encodeName(dir.path()));
    ASSERT_EQ(subdirectoryRows(model), QStringList{"gone"});
    ASSERT_TRUE(QDir(dir.path()).rmdir("gone"));

    EXPECT_FALSE(model.setPath(model.pathAt(model.currentRow() + 1)));
    EXPECT_EQ(model.path(), QFile::encodeName(dir.path()));
    EXPECT_TRUE(subdirectoryRows(model).isEmpty()) << "the listing is fresh";
    DirListModel root; // no start path at all (the working directory removed): the root, listed
    EXPECT_TRUE(!root.setPath("") && root.path() == "/" && subdirectoryRows(root).contains("tmp"));
}

TEST(DirListModel, UnreadableDirectoryShowsNoSubdirectories) {
    QTemporaryDir dir;
    QDir base(dir.path());
    ASSERT_TRUE(base.mkpath("locked/inside"));
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    ::chmod(QFile::encodeName(base.filePath("locked")).constData(), 0311);

    // Root reads every directory; list it as an ordinary user.
    const int code = test::runUnprivileged([&] {
        DirListModel model;
        const QByteArray locked = QFile::encodeName(base.filePath("locked"));
        const bool right = model.setPath(locked) && model.path() == locked;
        return right ? int(subdirectoryRows(model).size()) : 101;
    });
    EXPECT_EQ(code, 0) << "subdirectories listed, or 101: path not taken";
    ::chmod(QFile::encodeName(base.filePath("locked")).constData(), 0755);
}

} // namespace
} // namespace pelomart
