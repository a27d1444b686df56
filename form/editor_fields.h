// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "controls.h"

#include <QByteArray>
#include <QString>

namespace pelomart {

// The window's values as the logic sees them: texts addressed by control, and the
// directory list's path. The window and the in-memory form both keep this contract.
class EditorFields {
public:
    virtual ~EditorFields() = default;

    // A text box's text; for behavior the chosen entry, empty when none.
    virtual QString text(Control control) const = 0;
    // Setting a text box's text raises its change notification before it returns, so a
    // field with a behaviour (paramlong1, script) reacts as it does to typing.
    virtual void setText(Control control, const QString& text) = 0;
    // The current path of the directory list Dir1, as the system's bytes: a folder's name
    // need not be valid UTF-8.
    virtual QByteArray directoryPath() const = 0;
};

} // namespace pelomart
