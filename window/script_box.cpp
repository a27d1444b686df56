// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "script_box.h"

#include "script_text.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

namespace pelomart {
namespace {

// Every line break becomes a new paragraph of the document; a line separator
// (U+2028) would otherwise stay inside a paragraph and escape the count.
QString withPlainLineBreaks(const QString& text) {
    return scriptWithCrLf(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

ScriptBox::ScriptBox(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

QString ScriptBox::scriptText() const {
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return text;
}

void ScriptBox::setScriptText(const QString& text) {
    setPlainText(withPlainLineBreaks(text));
}

qsizetype ScriptBox::scriptLength() const {
    // characterCount() counts one separator per paragraph plus a final one; the
    // program's text has two characters (CR LF) between paragraphs and none at the end.
    const QTextDocument* doc = document();
    return (doc->characterCount() - 1) + (doc->blockCount() - 1);
}

void ScriptBox::keyPressEvent(QKeyEvent* event) {
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (lineBreak && (event->modifiers() & Qt::ShiftModifier)) {
        // Shift+Enter would insert a line separator; make it an ordinary new line.
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        event->text(), event->isAutoRepeat(), ushort(event->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void ScriptBox::insertFromMimeData(const QMimeData* source) {
    if (source->hasText()) {
        insertPlainText(withPlainLineBreaks(source->text()));
    }
}

} // namespace pelomart
