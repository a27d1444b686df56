// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QPlainTextEdit>

namespace pelomart {

// The multi-line script box. The program reads its text with CR LF between lines,
// whatever line ends were typed or pasted.
class ScriptBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ScriptBox(QWidget* parent = nullptr);

    QString scriptText() const;
    void setScriptText(const QString& text);
    // Same as scriptText().size(), without building the text.
    qsizetype scriptLength() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
};

} // namespace pelomart
