// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "memory_form.h"

#include "field_behaviours.h"
#include "working_directory.h"

#include <algorithm>

namespace pelomart {
MemoryForm::MemoryForm(const QLocale& locale) : m_locale(locale), m_directory(workingDirectory()) {
    for (const ControlInfo& info : kControls) {
        m_texts[std::size_t(info.id)] = QString::fromLatin1(info.text);
    }
}

QString MemoryForm::text(Control control) const {
    return m_texts[std::size_t(control)];
}

void MemoryForm::setText(Control control, const QString& text) {
    QString& held = m_texts[std::size_t(control)];
    if (held == text) {
        return;
    }
    held = text;
    if (control == Control::paramlong1) {
        paramlong1_Change(*this, m_locale);
    } else if (control == Control::script) {
        script_Change(*this);
    }
}

QString MemoryForm::caption(Control label) const {
    return m_texts[std::size_t(label)];
}

void MemoryForm::setCaption(Control label, const QString& caption) {
    m_texts[std::size_t(label)] = caption;
}

void MemoryForm::setSliderValue(int value) {
    m_slider = std::clamp(value, 0, kHighestType);
}

} // namespace pelomart
