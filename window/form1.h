#pragma once

#include "form_controls.h"

#include <QWidget>
#include <array>

namespace pelomart {

// The program's one window. Controls sit at fixed places and keep them when the
// window is resized; every value lives in them as text.
class Form1 : public QWidget, public FormControls {
    Q_OBJECT
public:
    explicit Form1(const QByteArray& startDirectory, QWidget* parent = nullptr);

    QString text(Control control) const override;
    void setText(Control control, const QString& text) override;
    QByteArray directoryPath() const override;
    void setCaption(Control label, const QString& caption) override;
    int sliderValue() const override;
    void setSliderValue(int value) override;
    qsizetype scriptLength() const override;

    void Command4_Click();
    void abou_Click();

private:
    void createControls(const QByteArray& startDirectory);
    QWidget* createControl(const ControlInfo& info, const QByteArray& startDirectory);
    void connectHandlers();
    void fitFont();
    template <typename Widget> Widget* widget(Control control) const;
    // Runs one handler; a run-time error it raises is reported, never passed on.
    template <typename Handler> void run(Handler handler);
    void reportError(int number, const QString& description, const QString& detail);

    std::array<QWidget*, kControlCount> m_controls{};
    bool m_settingSlider = false;
};

} // namespace pelomart
