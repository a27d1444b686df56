#pragma once

#include "form_controls.h"

#include <QHash>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace pelomart {

class DirList;
class ScriptBox;

// The program's one window. Controls sit at fixed places and keep them when the
// window is resized; every value lives in them as text.
class Form1 : public QWidget, public FormControls {
    Q_OBJECT
public:
    explicit Form1(const QString& startDirectory, QWidget* parent = nullptr);

    QString text(const QString& control) const override;
    void setText(const QString& control, const QString& text) override;
    QString directoryPath() const override;
    void setCaption(const QString& label, const QString& caption) override;
    int sliderValue() const override;
    void setSliderValue(int value) override;
    qsizetype scriptLength() const override;

    void Command4_Click();
    void abou_Click();

private:
    void createControls(const QString& startDirectory);
    void connectHandlers();
    void fitFont();
    // Runs one handler; a run-time error it raises is reported, never passed on.
    template <typename Handler> void run(Handler handler);
    void reportError(int number, const QString& description, const QString& detail);

    QHash<QString, QLineEdit*> m_boxes;
    QHash<QString, QLabel*> m_labels;
    ScriptBox* m_script = nullptr;
    QComboBox* m_behavior = nullptr;
    QSlider* m_slider = nullptr;
    DirList* m_dir = nullptr;
    QPushButton* m_makeFile = nullptr;
    QPushButton* m_about = nullptr;
    bool m_settingSlider = false;
};

} // namespace pelomart
