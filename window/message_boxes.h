// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QMessageBox>
#include <QString>

namespace pelomart {

// A modal box titled "Pelomart" with one OK button; returns when it is closed. Both boxes
// show their text as it is, a name with markup too.
void showMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text);

// `text` as a tooltip that shows it as it is: Qt takes a tooltip that looks like markup
// ("a<br>b", a folder named "<i>x</i>") for HTML, and this is HTML that shows the text
// literally, wrapped where a line would be too wide.
QString literalToolTip(const QString& text);

// Asks `question` with Replace and Cancel, Cancel the default; true for Replace.
bool askToReplace(QWidget* parent, const QString& question);

} // namespace pelomart
