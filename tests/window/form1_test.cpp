// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "form1.h"

#include "make_file.h"
#include "modal_box.h"
#include "worked_example.h"

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpontaneKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace pelomart {
namespace {

class Form1Test : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_form = std::make_unique<Form1>(QFile::encodeName(m_dir.path()));
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

// The font is chosen to fit the layout: every caption and text shows whole.
TEST_F(Form1Test, EveryCaptionAndTextShowsWhole) {
    for (const ControlInfo& info : kControls) {
        SCOPED_TRACE(info.name);
        auto* widget = control(info.name);
        ASSERT_NE(widget, nullptr);
        const QFontMetrics metrics = widget->fontMetrics();
        if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            EXPECT_EQ(box->cursorPosition(), 0) << "shows its beginning";
            // Frame and margins take two pixels above and below the text.
            EXPECT_LE(metrics.height(), box->height() - 4) << "glyphs whole";
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width()) << "shows whole";
            EXPECT_LE(metrics.height(), label->height());
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_LT(metrics.horizontalAdvance(button->text()), button->width());
            EXPECT_FALSE(button->isDefault()) << "Enter belongs to the focused control";
        }
    }
}

TEST_F(Form1Test, WindowIconIsLoadedAtBothSizes) {
    // A QIcon of a missing file is not null; only a loaded picture has sizes.
    EXPECT_EQ(m_form->windowIcon().availableSizes(), QList<QSize>({{16, 16}, {32, 32}}));
}

TEST_F(Form1Test, ScreenReadersHearAUniqueNameForEveryInputControl) {
    showAndFocus();
    const QSet<QAccessible::Role> inputRoles = {QAccessible::EditableText, QAccessible::Slider,
                                                QAccessible::ComboBox, QAccessible::List};
    QStringList names;
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(m_form.get());
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < window->childCount(); ++i) {
        QAccessibleInterface* child = window->child(i);
        if (child && inputRoles.contains(child->role())) {
            names << child->text(QAccessible::Name);
            EXPECT_FALSE(names.back().isEmpty()) << child->object()->objectName().toStdString();
            EXPECT_FALSE(child->text(QAccessible::Description).isEmpty())
                << names.back().toStdString();
        }
    }
    // 29 text boxes, the script, the slider, the behaviour list and the directory list.
    EXPECT_EQ(names.size(), 33);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size()) << "names unique";
    EXPECT_TRUE(names.contains("position x") && names.contains("parameter 17") &&
                names.contains("type parameter slider"));

    // A label that names one box is its buddy, so its name also reaches the box.
    EXPECT_EQ(control<QLabel>("Label9")->buddy(), control("namn"));
}

// What a tooltip says, and that a screen reader hears the same as the description.
TEST_F(Form1Test, TooltipsSayWhatEachControlHoldsAndFollowTheFields) {
    QLocale::setDefault(QLocale("de_DE"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("sub"));
    m_form = std::make_unique<Form1>(QFile::encodeName(m_dir.path()));
    showAndFocus();
    struct Row {
        const char* what; // the fault it would catch
        std::function<void()> act;
        const char* control;
        QString tooltip; // %1: the test's directory
    };
    // clang-format off
    const Row rows[] = {
        {"a text cut by its box not shown whole first, or the point where a comma is written", {}, "xrotsing",
         "0,68114573\nOrientation, x component: a number, written like 0,5 here."},
        {"the parameter's fixed value not in the regional notation", {}, "paramsing8",
         "Parameter 8: make file writes 0,7 here, whatever the box holds."},
        {"the room not following the names", [&] { typeInto("namn", "Zozed"); }, "Label1",
         "With the names as typed now, the script fits in at most 32564 characters; a line break counts two."},
        {"the target not following the file name", [&] { typeInto("filenavn", "b.chg"); }, "Command4",
         "Makes the change file %1/b.chg, replacing a file of that name."},
        {"the target not following Dir1", [&] { m_form->setDirectory(QFile::encodeName(m_dir.filePath("sub"))); },
         "Command4", "Makes the change file %1/sub/b.chg, replacing a file of that name."},
        {"markup in a path drawn as HTML, hiding the folder written", [&] { QDir(m_dir.path()).mkpath("<i></i>a<!--/x-->");
             m_form->setDirectory(QFile::encodeName(m_dir.filePath("<i></i>a<!--/x-->"))); },
         "Command4", "Makes the change file %1/<i></i>a<!--/x-->/b.chg, replacing a file of that name."},
    };
    // clang-format on
    for (const Row& row : rows) {
        if (row.act) {
            row.act();
        }
        QWidget* widget = control(row.control);
        const QString shown = QTextDocumentFragment::fromHtml(widget->toolTip()).toPlainText();
        EXPECT_EQ(shown.toStdString(), row.tooltip.arg(m_dir.path()).toStdString()) << row.what;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Description),
                  shown)
            << row.what;
    }
}

TEST_F(Form1Test, LongPasteIsKeptWhole) {
    showAndFocus();
    auto* box = control<QLineEdit>("namn");
    box->setFocus();
    box->selectAll();
    QApplication::clipboard()->setText(QString(40000, QLatin1Char('n')));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(m_form->text(Control::namn).size(), 40000);
}

TEST_F(Form1Test, TheWheelChoosesABehaviourOnlyWhileTheListHasTheFocus) {
    showAndFocus();
    struct Row {
        const char* what;
        const char* focused;
        const char* chosen;
    };
    const Row rows[] = {
        {"typing in the internal name", "namn", "No Reaction"},
        {"the list itself", "behavior", "Duck"},
    };
    auto* list = control<QComboBox>("behavior");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        list->setCurrentIndex(list->findText("No Reaction"));
        control(row.focused)->setFocus();

        const QPointF centre = list->rect().center();
        QWheelEvent wheel(centre, list->mapToGlobal(centre), {}, QPoint(0, 120), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        // As from the mouse: only a wheel event from the system may give the focus to a
        // control whose policy asks for it.
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        QApplication::instance()->notify(list, &wheel);
        EXPECT_EQ(m_form->text(Control::behavior).toStdString(), row.chosen);
        EXPECT_EQ(QApplication::focusWidget(), control(row.focused));
    }
}

TEST_F(Form1Test, AClickOnTheSlidersTickMarksPagesTowardsIt) {
    showAndFocus();
    struct Row {
        const char* what;
        int x; // from the left edge; negative from the right edge
        int value;
    };
    const Row rows[] = {
        {"left of the thumb", 2, 10},
        {"right of the thumb", -3, 20},
    };
    auto* slider = control<QSlider>("Slider1");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        slider->setValue(15);

        // The ticks are drawn along the bottom rows, below the track.
        const QPoint tick(row.x >= 0 ? row.x : slider->width() + row.x, slider->height() - 2);
        QTest::mouseClick(slider, Qt::LeftButton, {}, tick);
        EXPECT_EQ(slider->value(), row.value);
        EXPECT_EQ(m_form->text(Control::paramlong1), QString::number(row.value))
            << "the field follows";
    }
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
    EXPECT_EQ(m_form->text(Control::script).count('\t'), 0) << "Tab moved the focus, typed nothing";
}

TEST_F(Form1Test, EnterInTheScriptStartsALine) {
    showAndFocus();
    auto* script = control<QPlainTextEdit>("script");
    script->moveCursor(QTextCursor::End);
    QTest::keyClicks(script, "x");
    QTest::keyClick(script, Qt::Key_Return);
    QTest::keyClick(script, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(script, "y");
    EXPECT_TRUE(m_form->text(Control::script).endsWith("\"Zozed\"\r\nx\r\n\r\ny"));
    EXPECT_EQ(m_form->scriptLength(), m_form->text(Control::script).size());
}

TEST_F(Form1Test, DirectoryChangesOnlyOnDoubleClick) {
    // Short names, which the list shows whole in bold too: the temporary directory's own,
    // with its random letters, may be cut short ("…") when they are wide.
    const QDir start(m_dir.filePath("up/dir"));
    ASSERT_TRUE(start.mkpath("alpha") && start.mkpath(".hidden"));
    m_form = std::make_unique<Form1>(QFile::encodeName(start.path()));
    showAndFocus();
    auto* dir = control<QListView>("Dir1");
    const QModelIndexList found = dir->model()->match(dir->model()->index(0, 0), Qt::DisplayRole,
                                                      "alpha", 1, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    EXPECT_FALSE(
        dir->model()
            ->match(dir->model()->index(0, 0), Qt::DisplayRole, ".hidden", 1, Qt::MatchExactly)
            .isEmpty());
    const int startRow = dir->model()
                             ->match(dir->model()->index(0, 0), Qt::DisplayRole, start.dirName(), 1,
                                     Qt::MatchExactly)
                             .constFirst()
                             .row();
    dir->scrollTo(found.first());
    const QPoint centre = dir->visualRect(found.first()).center();

    QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(m_form->directoryPath(), start.path()) << "a single click only highlights";
    {
        // On the screen the current directory's name is bold, though another row is
        // highlighted.
        const QImage shot = dir->viewport()->grab().toImage();
        auto dark = [](const QImage& image) {
            int count = 0;
            for (int i = 0; i < image.width() * image.height(); ++i) {
                const QRgb pixel = image.pixel(i % image.width(), i / image.width());
                count += qAlpha(pixel) > 127 && qGray(pixel) < 128; // not the icon's clear pixels
            }
            return count;
        };
        auto ink = [&](const QString& name, bool bold) { // the name alone on white
            QFont font = dir->font();
            font.setBold(bold);
            QImage image(200, 40, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.setFont(font);
            painter.drawText(2, 30, name); // the raster painter draws into the image at once
            return dark(image);
        };
        for (const int row : {startRow, startRow - 1}) { // the current directory, its parent
            const QModelIndex index = dir->model()->index(row, 0);
            const QIcon folder = index.data(Qt::DecorationRole).value<QIcon>();
            const int name =
                dark(shot.copy(dir->visualRect(index))) - dark(folder.pixmap(16).toImage());
            const QString shown = index.data().toString();
            EXPECT_EQ(std::abs(name - ink(shown, true)) < std::abs(name - ink(shown, false)),
                      row == startRow)
                << "only the current directory in bold; row " << row;
        }
    }

    const QString workingDirectory = QDir::currentPath();
    QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(m_form->directoryPath(), start.filePath("alpha"));
    EXPECT_EQ(QDir::currentPath(), workingDirectory) << "working directory untouched";

    // Its parent is listed above it: Enter on the highlighted parent goes back.
    dir->setCurrentIndex(dir->model()->index(startRow, 0));
    QTest::keyClick(dir, Qt::Key_Return);
    EXPECT_EQ(m_form->directoryPath(), start.path());
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
    EXPECT_EQ(box.text, "Run-time error '13':\n\nType mismatch\n\nposition x: abc\n"
                        "a number is written like 0,5 here");
    EXPECT_EQ(m_form->focusWidget(), control("x")) << "the box that failed";
    EXPECT_FALSE(QFile::exists(m_dir.filePath("clovek.chg")));
    EXPECT_EQ(m_form->text(Control::x), "abc");

    typeInto("x", "-1980");
    QTest::mouseClick(control("Command4"), Qt::LeftButton);
    EXPECT_TRUE(QFile::exists(m_dir.filePath("clovek.chg")));
}

TEST_F(Form1Test, ReturnAndEnterPressTheFocusedButton) {
    QLocale::setDefault(QLocale("de_DE"));
    showAndFocus();
    {
        control("Command4")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_TRUE(QFile::exists(m_dir.filePath("clovek.chg")));
    }
    {
        control("abou")->setFocus();
        test::BoxAnswerer about;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        EXPECT_TRUE(about.shown);
        EXPECT_EQ(about.title, "Pelomart");
    }
}

TEST_F(Form1Test, DirectoryRemovedAfterChoosingItIsReported) {
    QLocale::setDefault(QLocale("de_DE"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("chosen"));
    m_form = std::make_unique<Form1>(QFile::encodeName(m_dir.filePath("chosen")));
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
