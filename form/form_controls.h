// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "editor_fields.h"

namespace pelomart {

// Everything the window's field behaviours touch, addressed by control.
class FormControls : public EditorFields {
public:
    virtual void setCaption(Control label, const QString& caption) = 0;
    virtual int sliderValue() const = 0;
    // The slider keeps the value within its range; setting it raises no click.
    virtual void setSliderValue(int value) = 0;
    // Characters in the script as the program reads it, a line break counting two.
    virtual qsizetype scriptLength() const = 0;
};

} // namespace pelomart
