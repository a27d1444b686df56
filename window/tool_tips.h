// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "controls.h"

#include <QObject>
#include <QString>
#include <array>

class QWidget;

namespace pelomart {

class FormControls;

// The window's widget of each control, in the control table's order.
using ControlWidgets = std::array<QWidget*, kControlCount>;

// Gives each control the tooltip and accessible description that the form writes for it
// (control_help.h). Most are made once, at start; only these follow the fields: make file's
// target follows the file name and Dir1, filenavn's and Dir1's name Dir1's path, the script's
// room the names, and a box too narrow for its text shows the text first. Label1 turns the
// error colour while the script does not fit. Nothing here changes a value.
class ToolTips : public QObject {
    Q_OBJECT
public:
    // Call it once the window's controls exist; `fields` reads their texts.
    ToolTips(const FormControls& fields, const ControlWidgets& controls, QObject* parent);

private:
    void show(Control control);
    void follow(Control control);
    void boxTextChanged(Control box);
    void namesChanged();
    void showWhetherTheScriptFits();

    const FormControls& m_fields;
    const ControlWidgets m_controls;
    std::array<QString, kControlCount> m_help; // without a box's cut text
    std::array<bool, kControlCount> m_cut{};   // the box shows only a part of its text
    qsizetype m_scriptRoom = 0;                // changes only with the names
    bool m_scriptFits = true;                  // Label1 starts in the window's colour
};

} // namespace pelomart
