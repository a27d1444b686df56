#include "form1.h"

#include "modal_box.h"
#include "worked_example.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace pelomart {
namespace {

class Form1Test : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_form = std::make_unique<Form1>(m_dir.path());
    }
    void TearDown() override { QLocale::setDefault(m_savedLocale); }

    template <typename T = QWidget> T* control(const char* name) {
        T* widget = m_form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void showAndFocus() {
        m_form->show();
        m_form->activateWindow();
        QApplication::setActiveWindow(m_form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    }

    void typeInto(const char* name, const QString& text) {
        auto* box = control<QLineEdit>(name);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }

    const QLocale m_savedLocale;
    QTemporaryDir m_dir;
    std::unique_ptr<Form1> m_form;
};

TEST_F(Form1Test, TextBoxesStartWithTheirTextsAndPlaces) {
    struct Row {
        const char* name;
        const char* text;
        QRect pixels;
    };
    const Row rows[] = {
        {"namn", "Zozed's_Driver", {8, 24, 185, 19}},
        {"model", "ZozedTAXIdriverHIGH.i3d", {200, 24, 193, 19}},
        {"filenavn", "clovek.chg", {400, 24, 177, 19}},
        {"paramlong1", "15", {160, 48, 33, 19}},
        {"x", "-1980", {408, 264, 73, 19}},
        {"y", "-5", {408, 296, 73, 19}},
        {"z", "18", {408, 328, 73, 19}},
        {"xscalesing", "1", {488, 264, 33, 19}},
        {"yscalesing", "1", {488, 296, 33, 19}},
        {"zscalesing", "1", {488, 328, 33, 19}},
        {"xrotsing", "0,68114573", {528, 264, 49, 19}},
        {"yrotsing", "0", {528, 296, 49, 19}},
        {"zrotsing", "-0,73214793", {528, 328, 49, 19}},
        {"paramsing2", "1", {432, 368, 49, 19}},
        {"paramsing3", "150", {432, 392, 49, 19}},
        {"paramsing8", "0.7", {432, 512, 49, 19}},
        {"paramsing9", "1", {432, 536, 49, 19}},
        {"paramsing10", "0", {528, 368, 49, 19}},
        {"paramsing12", "0.3", {528, 416, 49, 19}},
        {"paramsing15", "0.8", {528, 488, 49, 19}},
        {"paramsing16", "80", {528, 512, 49, 19}},
        {"paramsing17", "0.8", {528, 536, 49, 19}},
    };
    for (const Row& row : rows) {
        auto* box = control<QLineEdit>(row.name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QString::fromLatin1(row.text)) << row.name;
        EXPECT_EQ(box->geometry(), row.pixels) << row.name;
        EXPECT_EQ(box->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter) << row.name;
        EXPECT_FALSE(box->isReadOnly()) << row.name;
        EXPECT_EQ(box->cursorPosition(), 0) << row.name << " shows its beginning";
        // Frame and margins take two pixels above and below the text.
        EXPECT_LE(box->fontMetrics().height(), box->height() - 4) << row.name << " glyphs whole";
    }
}

TEST_F(Form1Test, LabelsButtonsAndListsStartAsShipped) {
    struct Row {
        const char* name;
        const char* caption;
        QRect pixels;
    };
    const Row labels[] = {
        {"Label9", "internal name", {64, 8, 81, 17}},
        {"Label10", "3D model name", {248, 8, 81, 17}},
        {"Label11", "file name", {440, 8, 89, 17}},
        {"sex", "man", {192, 48, 57, 17}},
        {"Label1", "", {8, 544, 145, 17}},
        {"Label6", "position", {408, 248, 73, 17}},
        {"Label7", "scale", {488, 248, 33, 17}},
        {"Label8", "rot", {536, 248, 33, 17}},
        {"Label2", "x", {400, 264, 9, 17}},
        {"Label4", "y", {400, 296, 9, 17}},
        {"Label5", "z", {400, 328, 9, 17}},
        {"Label3", "Params", {440, 352, 97, 17}},
    };
    for (const Row& row : labels) {
        auto* label = control<QLabel>(row.name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString::fromLatin1(row.caption)) << row.name;
        EXPECT_EQ(label->geometry(), row.pixels) << row.name;
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
            << row.name << " shows whole";
        EXPECT_LE(label->fontMetrics().height(), label->height()) << row.name;
    }
    const Row buttons[] = {{"abou", "about", {536, 0, 41, 21}},
                           {"Command4", "make file", {400, 48, 177, 17}}};
    for (const Row& row : buttons) {
        auto* button = control<QPushButton>(row.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromLatin1(row.caption));
        EXPECT_EQ(button->geometry(), row.pixels) << row.name;
        EXPECT_LT(button->fontMetrics().horizontalAdvance(button->text()), button->width());
        EXPECT_FALSE(button->isDefault());
    }

    auto* behavior = control<QComboBox>("behavior");
    ASSERT_NE(behavior, nullptr);
    EXPECT_EQ(behavior->geometry(), QRect(256, 48, 137, 21));
    EXPECT_FALSE(behavior->isEditable());
    EXPECT_EQ(behavior->currentIndex(), -1);
    EXPECT_EQ(m_form->text("behavior"), QString());
    QStringList entries;
    for (int i = 0; i < behavior->count(); ++i) {
        entries << behavior->itemText(i);
    }
    EXPECT_EQ(entries,
              QStringList({"Duck", "No Reaction", "No Reaction on weapon", "React when hit",
                           "Reaction on Player", "React on Attack", "React on Attack2", "Afraid"}));

    auto* slider = control<QSlider>("Slider1");
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->geometry(), QRect(8, 48, 145, 17));
    EXPECT_EQ(slider->orientation(), Qt::Horizontal);
    EXPECT_EQ(slider->value(), 0);
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 31);
    EXPECT_EQ(slider->singleStep(), 1);
    EXPECT_EQ(slider->pageStep(), 5);

    auto* script = control<QPlainTextEdit>("script");
    ASSERT_NE(script, nullptr);
    EXPECT_EQ(script->geometry(), QRect(8, 72, 385, 467));
    EXPECT_EQ(script->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(m_form->text("script"), "dim_act 5\r\ndim_flt 5\r\ndim_frm 5\r\nfindactor 0,\"\"\r\n"
                                      "findactor 1,\"Zozed\"\r\n");
    EXPECT_EQ(m_form->scriptLength(), 70);

    auto* dir = control<QListView>("Dir1");
    ASSERT_NE(dir, nullptr);
    EXPECT_EQ(dir->geometry(), QRect(400, 72, 177, 171));
    EXPECT_EQ(m_form->directoryPath(), m_dir.path());

    EXPECT_EQ(m_form->windowTitle(), "Pelomart     ");
    EXPECT_EQ(m_form->size(), QSize(584, 567));
    // A QIcon of a missing file is not null; only a loaded picture has sizes.
    EXPECT_EQ(m_form->windowIcon().availableSizes(), QList<QSize>({{16, 16}, {32, 32}}));
}

TEST_F(Form1Test, TabWalksTheControlsInOrderAndWraps) {
    showAndFocus();
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "script");
    const QStringList expected = {
        "namn",        "model",       "Command4",    "x",           "y",           "z",
        "xscalesing",  "yscalesing",  "zscalesing",  "xrotsing",    "yrotsing",    "zrotsing",
        "paramlong1",  "Slider1",     "behavior",    "paramsing2",  "paramsing3",  "paramsing4",
        "paramsing5",  "paramsing6",  "paramsing7",  "paramsing8",  "paramsing9",  "paramsing10",
        "paramsing11", "paramsing12", "paramsing13", "paramsing14", "paramsing15", "paramsing16",
        "paramsing17", "Dir1",        "filenavn",    "abou",        "script"};
    QStringList walked;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // The directory list's focus sits on its viewport's owner.
        walked << (focus ? focus->objectName() : QString());
    }
    EXPECT_EQ(walked, expected);
    EXPECT_EQ(m_form->text("script").count('\t'), 0) << "Tab moved the focus, typed nothing";
}

TEST_F(Form1Test, EnterInTheScriptStartsALine) {
    showAndFocus();
    auto* script = control<QPlainTextEdit>("script");
    script->moveCursor(QTextCursor::End);
    QTest::keyClicks(script, "x");
    QTest::keyClick(script, Qt::Key_Return);
    QTest::keyClick(script, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(script, "y");
    EXPECT_TRUE(m_form->text("script").endsWith("\"Zozed\"\r\nx\r\n\r\ny"));
    EXPECT_EQ(m_form->scriptLength(), m_form->text("script").size());
}

TEST_F(Form1Test, DirectoryChangesOnlyOnDoubleClick) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("alpha"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(".hidden"));
    m_form = std::make_unique<Form1>(m_dir.path());
    showAndFocus();
    auto* dir = control<QListView>("Dir1");
    const QModelIndexList found = dir->model()->match(dir->model()->index(0, 0), Qt::DisplayRole,
                                                      "alpha", 1, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    EXPECT_FALSE(
        dir->model()
            ->match(dir->model()->index(0, 0), Qt::DisplayRole, ".hidden", 1, Qt::MatchExactly)
            .isEmpty());
    dir->scrollTo(found.first());
    const QPoint centre = dir->visualRect(found.first()).center();

    QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(m_form->directoryPath(), m_dir.path()) << "a single click only highlights";

    const QString workingDirectory = QDir::currentPath();
    QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(m_form->directoryPath(), m_dir.filePath("alpha"));
    EXPECT_EQ(QDir::currentPath(), workingDirectory) << "working directory untouched";

    // Its parent is listed above it: Enter on the highlighted parent goes back.
    const QModelIndexList parent =
        dir->model()->match(dir->model()->index(0, 0), Qt::DisplayRole,
                            QDir(m_dir.path()).dirName(), 1, Qt::MatchExactly);
    ASSERT_EQ(parent.size(), 1);
    dir->setCurrentIndex(parent.first());
    QTest::keyClick(dir, Qt::Key_Return);
    EXPECT_EQ(m_form->directoryPath(), m_dir.path());
}

TEST_F(Form1Test, MakeFileWritesTheKnownFileIntoTheListedDirectory) {
    QLocale::setDefault(QLocale("de_DE"));
    showAndFocus();
    QTest::mouseClick(control("Command4"), Qt::LeftButton);
    QFile file(m_dir.filePath("clovek.chg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), test::workedExampleRecord() + "\r\n");
}

TEST_F(Form1Test, BadPositionIsReportedAndTheProgramGoesOn) {
    QLocale::setDefault(QLocale("de_DE"));
    showAndFocus();
    typeInto("x", "abc");
    test::BoxAnswerer box;
    QTest::mouseClick(control("Command4"), Qt::LeftButton);

    ASSERT_TRUE(box.shown);
    EXPECT_EQ(box.title, "Pelomart");
    EXPECT_EQ(box.errorNumber(), 13) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains("Type mismatch")) << box.text.toStdString();
    EXPECT_FALSE(QFile::exists(m_dir.filePath("clovek.chg")));
    EXPECT_EQ(m_form->text("x"), "abc");

    typeInto("x", "-1980");
    QTest::mouseClick(control("Command4"), Qt::LeftButton);
    EXPECT_TRUE(QFile::exists(m_dir.filePath("clovek.chg")));
}

TEST_F(Form1Test, DirectoryRemovedAfterChoosingItIsReported) {
    QLocale::setDefault(QLocale("de_DE"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("chosen"));
    m_form = std::make_unique<Form1>(m_dir.filePath("chosen"));
    showAndFocus();
    ASSERT_TRUE(QDir(m_dir.path()).rmdir("chosen"));

    test::BoxAnswerer box;
    QTest::mouseClick(control("Command4"), Qt::LeftButton);
    ASSERT_TRUE(box.shown);
    EXPECT_EQ(box.errorNumber(), 76) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains("Path not found"));
    EXPECT_TRUE(box.text.contains(m_dir.filePath("chosen"))) << "the box names the path";
    EXPECT_TRUE(QDir(m_dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

} // namespace
} // namespace pelomart
