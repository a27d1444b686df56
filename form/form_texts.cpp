// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "form_texts.h"

#include "field_behaviours.h"
#include "record_in_boxes.h"

namespace pelomart {

FormTexts formTexts(const EditorFields& fields) {
    FormTexts texts;
    for (const ControlInfo& field : kEditorFields) {
        texts[std::size_t(field.id)] = fields.text(field.id);
    }
    return texts;
}

FormTexts startFormTexts() {
    FormTexts texts;
    for (const ControlInfo& field : kEditorFields) {
        texts[std::size_t(field.id)] = QString::fromLatin1(field.text);
    }
    return texts;
}

bool holdsTypedTexts(const FormTexts& now, const FormTexts& lastFile) {
    // Under a decimal comma any make file, even one that then fails to write, also leaves the
    // parameter boxes unlike the start texts ("0,7" for "0.7").
    auto sameBesidesParameters = [&](const FormTexts& other) {
        for (const ControlInfo& field : kEditorFields) {
            if (!isFixedParameter(field.id) &&
                now[std::size_t(field.id)] != other[std::size_t(field.id)]) {
                return false;
            }
        }
        return true;
    };
    return !sameBesidesParameters(startFormTexts()) && !sameBesidesParameters(lastFile);
}

void fillBoxes(FormControls& form, const RecordInBoxes& texts, const QLocale& locale) {
    for (const ControlInfo& field : kEditorFields) {
        const QString& text = texts[field.id];
        // A box that shows its text already is left alone, as typing the same text over it
        // would: the parameters of every file Pelomart makes are the same, and laying out a
        // text again costs more than reading the whole file.
        if (form.text(field.id) != text) {
            form.setText(field.id, text);
        } else if (field.id == Control::paramlong1) {
            paramlong1_Change(form, locale);
        }
    }
}

} // namespace pelomart
