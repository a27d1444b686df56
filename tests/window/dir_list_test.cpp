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
    for (const char* name : {"beta", "Alpha", ".wine", "alpha2", "Zeta", "with space"}) {
        ASSERT_TRUE(base.mkdir(name));
    }
    QFile(base.filePath("a file")).open(QIODevice::WriteOnly);
    ASSERT_EQ(::symlink("beta", QFile::encodeName(base.filePath("linked")).constData()), 0);

    DirListModel model;
    ASSERT_TRUE(model.setPath(dir.path()));
    EXPECT_EQ(subdirectoryRows(model),
              QStringList({".wine", "Alpha", "alpha2", "beta", "linked", "with space", "Zeta"}));

    // Ancestors from the root down, each indented one step further.
    const QStringList parts = dir.path().split('/', Qt::SkipEmptyParts);
    EXPECT_EQ(model.currentRow(), parts.size());
    EXPECT_EQ(rowNames(model).first(), "/");
    EXPECT_EQ(rowNames(model).mid(1, parts.size()), parts);
    for (int row = 0; row <= model.currentRow(); ++row) {
        EXPECT_EQ(model.indentAt(row), row);
    }
    EXPECT_EQ(model.pathAt(model.currentRow()), dir.path());
    EXPECT_EQ(model.pathAt(model.currentRow() - 1), QFileInfo(dir.path()).path());
}

TEST(DirListModel, FolderImagesAreNeverScaledUp) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("closed"));
    DirListModel model;
    model.setPath(dir.path());
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
    model.setPath(dir.path());
    ASSERT_EQ(subdirectoryRows(model), QStringList{"gone"});
    ASSERT_TRUE(QDir(dir.path()).rmdir("gone"));

    EXPECT_FALSE(model.setPath(model.pathAt(model.currentRow() + 1)));
    EXPECT_EQ(model.path(), dir.path());
    EXPECT_TRUE(subdirectoryRows(model).isEmpty()) << "the listing is fresh";
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
        const bool entered = model.setPath(base.filePath("locked"));
        const bool right = entered && model.path() == base.filePath("locked");
        return right ? int(subdirectoryRows(model).size()) : 101;
    });
    EXPECT_EQ(code, 0) << "subdirectories listed, or 101: path not taken";
    ::chmod(QFile::encodeName(base.filePath("locked")).constData(), 0755);
}

} // namespace
} // namespace pelomart
