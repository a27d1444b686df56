// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

// The window Form1, and the two roads through the program that start here.
//
// Make file: a click on Command4 (or Return on it) runs Form1::Command4_Click, which runs
// makeChangeFile over this window as its EditorFields (commands/make_file.cpp). The
// command reads and converts every box's text (common/numbers.cpp, the code page in
// common/code_page.cpp), composes the record (record/human_record_composer.cpp) and
// replaces the file safely (platform/change_file_writer_posix.cpp, or _windows.cpp) in
// Dir1's directory (window/dir_list.cpp). A run-time error on the way ends the command and
// comes back to Form1::run, which shows it (form/messages.cpp, window/message_boxes.cpp)
// and puts the focus on the box at fault.
//
// Opening a file: the command line (window/main.cpp), Ctrl+O's dialog (Form1::chooseFile)
// and a drop (window/file_drop.cpp) reach Form1::openFile, which asks openForBoxes
// (form/file_for_boxes.cpp) for one FileForBoxes: the file read whole
// (platform/whole_file_posix.cpp, or _windows.cpp), its record decoded
// (record/human_record_reader.cpp) and turned into the boxes' texts
// (form/record_in_boxes.cpp). Form1::openFile then fills the boxes from it in one place:
// its folder into Dir1, its texts through the field behaviours (form/form_texts.cpp), and a
// box for what the file holds that the boxes cannot.

#include "form_controls.h"
#include "form_texts.h"

#include <QWidget>
#include <array>

namespace pelomart {

class RunTimeError;

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

    // Puts the values of the change file at `path` (the system's bytes) into the boxes and
    // makes its folder Dir1's current one, after asking when typed texts would be lost. A
    // file that cannot be opened changes nothing and is reported.
    void openFile(const QByteArray& path);
    // Ctrl+O: asks for a change file in Dir1's current directory and opens it.
    void chooseFile();

    // Makes `folder` (the system's bytes) Dir1's current directory.
    void setDirectory(const QByteArray& folder);
    // Each text box shows the beginning of its text, as at start.
    void showTextBeginnings();
    QWidget* control(Control control) const { return m_controls[std::size_t(control)]; }

private:
    void createControls(const QByteArray& startDirectory);
    QWidget* createControl(const ControlInfo& info, const QByteArray& startDirectory);
    void connectHandlers();
    template <typename Widget> Widget* widget(Control control) const;
    // Runs one handler; a run-time error it raises is reported, never passed on.
    template <typename Handler> void run(Handler handler);
    void reportError(const RunTimeError& error);

    std::array<QWidget*, kControlCount> m_controls{};
    bool m_settingSlider = false;
    // The texts of the last file made or opened; the start texts before the first.
    FormTexts m_lastFile = startFormTexts();
};

} // namespace pelomart
