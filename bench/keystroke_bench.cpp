// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "form1.h"
#include "script_box.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <benchmark/benchmark.h>

namespace {

// 1 MiB of script in lines of 60 characters, line end included.
QString megabyteScript() {
    const QString line = QString(59, QLatin1Char('x')) + QLatin1Char('\n');
    return line.repeated(1024 * 1024 / line.size());
}

// One character typed and taken back in the middle of the script, each key followed by
// everything the event loop does about it, painting included; the text keeps its size.
void typeAndErase(benchmark::State& state, QWidget* window, QPlainTextEdit* box) {
    box->setPlainText(megabyteScript());
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(box->document()->characterCount() / 2);
    box->setTextCursor(cursor);
    window->show();
    QApplication::setActiveWindow(window);
    box->setFocus();
    if (!QTest::qWaitForWindowExposed(window)) {
        state.SkipWithError("the window was not shown");
        return;
    }
    QApplication::processEvents();
    const int size = box->document()->characterCount();
    QTest::keyClick(box, Qt::Key_A);
    if (box->document()->characterCount() != size + 1) {
        state.SkipWithError("the key did not type a character");
        return;
    }
    QTest::keyClick(box, Qt::Key_Backspace);
    for (auto _ : state) {
        QTest::keyClick(box, Qt::Key_A);
        QApplication::processEvents();
        QTest::keyClick(box, Qt::Key_Backspace);
        QApplication::processEvents();
    }
    if (box->document()->characterCount() != size) {
        state.SkipWithError("the keys did not type and erase one character");
    }
}

void BM_Keystroke_Form1(benchmark::State& state) {
    QTemporaryDir dir;
    pelomart::Form1 form(QFile::encodeName(dir.path()));
    typeAndErase(state, &form, form.findChild<QPlainTextEdit*>(QStringLiteral("script")));
}
BENCHMARK(BM_Keystroke_Form1)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same window with the script-length handler disconnected: what the handler adds.
void BM_Keystroke_Form1NoHandler(benchmark::State& state) {
    QTemporaryDir dir;
    pelomart::Form1 form(QFile::encodeName(dir.path()));
    auto* box = form.findChild<QPlainTextEdit*>(QStringLiteral("script"));
    QObject::disconnect(box, &QPlainTextEdit::textChanged, nullptr, nullptr);
    typeAndErase(state, &form, box);
}
BENCHMARK(BM_Keystroke_Form1NoHandler)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The reference box takes Form1's fitted font: with the larger default font the lines
// outgrow the box and every keystroke changes the horizontal scroll range.
void BM_Keystroke_BareBox(benchmark::State& state) {
    QTemporaryDir dir;
    const QFont font = pelomart::Form1(QFile::encodeName(dir.path())).font();
    pelomart::ScriptBox box;
    box.setFont(font);
    box.resize(385, 467); // the script box's size in Form1
    typeAndErase(state, &box, &box);
}
BENCHMARK(BM_Keystroke_BareBox)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
