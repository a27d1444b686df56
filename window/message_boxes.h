// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QMessageBox>
#include <QString>

namespace pelomart {

// A modal box titled "Pelomart" with one OK button; returns when it is closed.
void showMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text);

// Asks `question` with Replace and Cancel, Cancel the default; true for Replace.
bool askToReplace(QWidget* parent, const QString& question);

} // namespace pelomart
