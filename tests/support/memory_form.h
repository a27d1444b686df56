#pragma once

// Test-only: the window's controls without widgets, raising the same change
// notifications as the window does.

#include "field_behaviours.h"

#include <QHash>
#include <algorithm>

namespace pelomart::test {

class MemoryForm : public FormControls {
public:
    QString text(const QString& control) const override { return m_texts.value(control); }
    void setText(const QString& control, const QString& text) override {
        if (m_texts.value(control) == text && m_texts.contains(control)) {
            return;
        }
        m_texts.insert(control, text);
        if (control == QLatin1String("paramlong1")) {
            paramlong1_Change(*this);
        } else if (control == QLatin1String("script")) {
            script_Change(*this);
        }
    }
    QString directoryPath() const override { return {}; }
    void setCaption(const QString& label, const QString& caption) override {
        m_captions.insert(label, caption);
    }
    QString caption(const QString& label) const { return m_captions.value(label); }
    int sliderValue() const override { return m_slider; }
    void setSliderValue(int value) override { m_slider = std::clamp(value, 0, 31); }
    qsizetype scriptLength() const override { return text(QStringLiteral("script")).size(); }

private:
    QHash<QString, QString> m_texts{{"paramlong1", "15"}};
    QHash<QString, QString> m_captions{{"sex", "man"}};
    int m_slider = 0;
};

} // namespace pelomart::test
