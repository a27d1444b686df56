// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "controls.h"

#include <QObject>

namespace pelomart {

class Form1;

// Keeps each control's tooltip and accessible description what the form says of the
// fields as they are now: make file's target follows the file name and Dir1, the script's
// room follows the names, a box too narrow for its text shows it whole. Label1 turns the
// error colour while the script does not fit. Nothing here changes a value.
class ToolTips : public QObject {
    Q_OBJECT
public:
    // Call it once the window's controls exist.
    explicit ToolTips(Form1& form);

private:
    void update(Control control);
    void namesChanged();
    void showWhetherTheScriptFits();

    Form1& m_form;
    qsizetype m_scriptRoom = 0; // changes only with the names
    bool m_scriptFits = true;   // Label1 starts in the window's colour
};

} // namespace pelomart
