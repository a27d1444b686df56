// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "field_behaviours.h"

#include "form1.h"
#include "modal_box.h"

#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace pelomart {
namespace {

// A user edit replacing the whole text of paramlong1, as a paste does; the error number
// shown, 0 for none.
int enter(Form1& form, const QString& text) {
    auto* box = form.findChild<QLineEdit*>("paramlong1");
    test::BoxAnswerer answerer;
    box->selectAll();
    box->insert(text);
    return answerer.errorNumber();
}

// The behaviours themselves are tested on the in-memory form; these rows show the
// window runs them on every change and that moving the slider from the program does not
// write the field back.
TEST(TypeParameterInTheWindow, FieldSliderAndLabelFollowTheText) {
    struct Row {
        const char* locale;
        const char* typed;
        const char* field;
        int slider;
        const char* sex;
        int error;
    };
    const Row rows[] = {
        {"C", "45", "31", 31, "woman", 0},
        {"de_DE", "28,6", "28,6", 29, "woman", 0},
        {"C", "abc", "abc", 0, "man", 0},
        {"C", "-1e20", "-1e20", 0, "man", 6},
    };
    Form1 form(QFile::encodeName(QDir::tempPath()));
    const QLocale saved;
    for (const Row& row : rows) {
        QLocale::setDefault(QLocale(QString::fromLatin1(row.locale)));
        EXPECT_EQ(enter(form, QString::fromLatin1(row.typed)), row.error) << row.typed;
        EXPECT_EQ(form.text(Control::paramlong1), QString::fromLatin1(row.field)) << row.typed;
        EXPECT_EQ(form.findChild<QSlider*>("Slider1")->value(), row.slider) << row.typed;
        EXPECT_EQ(form.findChild<QLabel*>("sex")->text(), QString::fromLatin1(row.sex))
            << row.typed;
    }
    QLocale::setDefault(saved);
}

class Behaviours : public ::testing::Test {
protected:
    Behaviours() : m_form(QFile::encodeName(m_dir.path())) {
        m_form.show();
        QApplication::setActiveWindow(&m_form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m_form));
    }
    QLineEdit* field() { return m_form.findChild<QLineEdit*>("paramlong1"); }
    QSlider* slider() { return m_form.findChild<QSlider*>("Slider1"); }
    QString caption(const char* label) { return m_form.findChild<QLabel*>(label)->text(); }
    QPlainTextEdit* script() { return m_form.findChild<QPlainTextEdit*>("script"); }

    QTemporaryDir m_dir;
    Form1 m_form;
};

TEST_F(Behaviours, NothingIsBroughtIntoStepAtStart) {
    EXPECT_EQ(field()->text(), "15");
    EXPECT_EQ(slider()->value(), 0);
    EXPECT_EQ(caption("sex"), "man");
    EXPECT_EQ(caption("Label1"), "");
}

TEST_F(Behaviours, TypingKeyByKeyHoldsTheLimit) {
    field()->selectAll();
    QTest::keyClick(field(), Qt::Key_Delete);
    QTest::keyClicks(field(), "45");
    EXPECT_EQ(field()->text(), "31");
    EXPECT_EQ(slider()->value(), 31);
    EXPECT_EQ(caption("sex"), "woman");

    field()->selectAll();
    QTest::keyClicks(field(), "28.4");
    EXPECT_EQ(field()->text(), "28.4") << "setting the slider must not write the field";
    EXPECT_EQ(slider()->value(), 28);
}

TEST_F(Behaviours, EverySliderMoveByTheUserWritesTheField) {
    QSlider* s = slider();
    const QRect groove = s->rect();
    struct Step {
        const char* name;
        std::function<void()> act;
        int value;
        const char* sex;
    };
    const Step steps[] = {
        {"click on the thumb at start copies 0",
         [&] { QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(3, groove.center().y())); }, 0,
         "man"},
        {"right arrow", [&] { QTest::keyClick(s, Qt::Key_Right); }, 1, "man"},
        {"page up", [&] { QTest::keyClick(s, Qt::Key_PageUp); }, 6, "man"},
        {"end", [&] { QTest::keyClick(s, Qt::Key_End); }, 31, "woman"},
        {"home", [&] { QTest::keyClick(s, Qt::Key_Home); }, 0, "man"},
        {"press on the track right of the thumb",
         [&] {
             // The style pages only while the button is held.
             const QPoint track(groove.right() - 2, 4); // the groove lies above the ticks
             const int before = s->value();
             QTest::mousePress(s, Qt::LeftButton, {}, track);
             EXPECT_TRUE(QTest::qWaitFor([&] { return s->value() != before; }, 2000));
             QTest::mouseRelease(s, Qt::LeftButton, {}, track);
         },
         5, "man"},
        {"wheel",
         [&] {
             QWheelEvent wheel(QPointF(20, 8), s->mapToGlobal(QPointF(20, 8)), {}, QPoint(0, 120),
                               Qt::NoButton, {}, Qt::NoScrollPhase, false);
             QApplication::sendEvent(s, &wheel);
         },
         8, "man"},
        {"drag to the right end",
         [&] {
             const int thumbX = 3 + (groove.width() - 6) * s->value() / 31;
             QTest::mousePress(s, Qt::LeftButton, {}, QPoint(thumbX, groove.center().y()));
             QTest::mouseMove(s, QPoint(groove.right() + 40, groove.center().y()));
             QTest::mouseRelease(s, Qt::LeftButton, {},
                                 QPoint(groove.right() + 40, groove.center().y()));
         },
         31, "woman"},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(s->value(), step.value) << step.name;
        EXPECT_EQ(field()->text(), QString::number(step.value)) << step.name;
        EXPECT_EQ(caption("sex"), step.sex) << step.name;
    }
}

TEST_F(Behaviours, ScriptLengthFollowsEveryChange) {
    QPlainTextEdit* box = script();
    box->setFocus();
    struct Step {
        const char* name;
        std::function<void()> act;
        const char* caption;
        bool fits = true; // the caption in the window's text colour, else in red
    };
    const Step steps[] = {
        {"one more character",
         [&] {
             box->moveCursor(QTextCursor::End);
             QTest::keyClicks(box, "x");
         },
         "script length=71"},
        {"a line break counts two", [&] { QTest::keyClick(box, Qt::Key_Return); },
         "script length=73"},
        // 32,767 bytes hold 175 of the record's own, the two names and the script.
        {"names that leave the script exactly its length",
         [&] { m_form.setText(Control::namn, QString(32767 - 175 - 23 - 73, u'n')); },
         "script length=73"},
        {"names that leave the script one character too few",
         [&] { m_form.setText(Control::namn, QString(32767 - 175 - 23 - 72, u'n')); },
         "script length=73", false},
        {"deleting everything",
         [&] {
             box->selectAll();
             QTest::keyClick(box, Qt::Key_Delete);
         },
         "script length=0"},
        {"one character into an empty script", [&] { QTest::keyClicks(box, "a"); },
         "script length=1"},
        {"pasted line ends of every kind become CR LF",
         [&] {
             QApplication::clipboard()->setText(QStringLiteral("b\nc\r\nd\re") + QChar(0x2028) +
                                                "f");
             QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
         },
         "script length=14"},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(caption("Label1"), step.caption) << step.name;
        EXPECT_EQ(m_form.text(Control::script).size(), m_form.scriptLength()) << step.name;
        const QColor colour =
            m_form.findChild<QLabel*>("Label1")->palette().color(QPalette::WindowText);
        EXPECT_EQ(colour == m_form.palette().color(QPalette::WindowText), step.fits) << step.name;
    }
    EXPECT_EQ(m_form.text(Control::script), "ab\r\nc\r\nd\r\ne\r\nf");
}

TEST_F(Behaviours, StartScriptMeasuresSeventy) {
    QTest::keyClicks(script(), "x");
    QTest::keyClick(script(), Qt::Key_Backspace);
    EXPECT_EQ(caption("Label1"), "script length=70");
}

} // namespace
} // namespace pelomart
