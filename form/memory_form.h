// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "form_controls.h"

#include <QLocale>
#include <array>

namespace pelomart {

// The window's controls held in memory, for the companion program and the tests. It
// starts as the window does and raises the same notifications: setting paramlong1 or
// script runs their behaviours, so a type above 31 is held at 31 here too.
class MemoryForm : public FormControls {
public:
    // Start texts and captions as the window opens with; Dir1 at the working directory.
    // The type parameter's behaviour reads numbers under `locale`, as make file will.
    explicit MemoryForm(const QLocale& locale = QLocale());

    QString text(Control control) const override;
    // Like a text box, an unchanged text raises nothing.
    void setText(Control control, const QString& text) override;
    QByteArray directoryPath() const override { return m_directory; }
    void setDirectoryPath(const QByteArray& path) { m_directory = path; }

    QString caption(Control label) const;
    void setCaption(Control label, const QString& caption) override;
    int sliderValue() const override { return m_slider; }
    void setSliderValue(int value) override;
    qsizetype scriptLength() const override { return text(Control::script).size(); }

private:
    std::array<QString, kControlCount> m_texts; // a box's text or a label's caption
    QLocale m_locale;
    QByteArray m_directory;
    int m_slider = 0;
};

} // namespace pelomart
