// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "tool_tips.h"

#include "control_help.h"
#include "dir_list.h"
#include "form1.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>

namespace pelomart {
namespace {

// Whether the box is too narrow to show its whole text.
bool textCut(const QLineEdit* box) {
    // No box is 200 pixels wide, and no character narrower than one: a pasted page is cut
    // without being measured again at every key.
    if (box->text().size() > 200) {
        return true;
    }
    // Qt's line box keeps two pixels free on each side of the text, inside its frame.
    constexpr int kTextMargins = 4;
    const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box);
    return box->fontMetrics().horizontalAdvance(box->text()) >
           box->width() - 2 * frame - kTextMargins;
}

// Qt's palette has no role for an error: a red that reads on the window's own colour,
// light or dark.
QColor errorColour(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() > 127 ? QColor(0xB0, 0x00, 0x20)
                                                             : QColor(0xFF, 0x80, 0x80);
}

} // namespace

ToolTips::ToolTips(Form1& form) : QObject(&form), m_form(form) {
    for (const ControlInfo& info : kControls) {
        if (auto* box = qobject_cast<QLineEdit*>(form.control(info.id))) {
            connect(box, &QLineEdit::textChanged, this, [this, id = info.id] { update(id); });
        }
        update(info.id);
    }
    connect(qobject_cast<QLineEdit*>(form.control(Control::filenavn)), &QLineEdit::textChanged,
            this, [this] { update(Control::Command4); });
    connect(qobject_cast<DirList*>(form.control(Control::Dir1)), &DirList::pathChanged, this,
            [this] {
                update(Control::Dir1);
                update(Control::filenavn);
                update(Control::Command4);
            });
    for (Control name : {Control::namn, Control::model}) {
        connect(qobject_cast<QLineEdit*>(form.control(name)), &QLineEdit::textChanged, this,
                &ToolTips::namesChanged);
    }
    connect(qobject_cast<QPlainTextEdit*>(form.control(Control::script)),
            &QPlainTextEdit::textChanged, this, &ToolTips::showWhetherTheScriptFits);
    namesChanged();
}

void ToolTips::update(Control control) {
    QWidget* widget = m_form.control(control);
    const auto* box = qobject_cast<const QLineEdit*>(widget);
    const QString help = controlHelp(control, m_form, QLocale(), box && textCut(box));
    if (help.isEmpty() || help == widget->toolTip()) {
        return;
    }
    widget->setToolTip(help);
    widget->setAccessibleDescription(help);
}

void ToolTips::namesChanged() {
    m_scriptRoom = scriptRoom(m_form);
    update(Control::script);
    update(Control::Label1);
    showWhetherTheScriptFits();
}

void ToolTips::showWhetherTheScriptFits() {
    // The length as Label1 shows it: a character beyond the 16-bit range counts two there
    // and takes one byte, so such a script may be judged too long a little early, never
    // too late. Reading the script's text at every key would cost more than the key.
    const bool fits = m_form.scriptLength() <= m_scriptRoom;
    if (fits == m_scriptFits) {
        return; // a new palette would draw the label again at every key
    }
    m_scriptFits = fits;
    auto* label = qobject_cast<QLabel*>(m_form.control(Control::Label1));
    if (fits) {
        // An empty palette takes the window's again.
        label->setPalette(QPalette());
    } else {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, errorColour(palette));
        label->setPalette(palette);
    }
}

} // namespace pelomart
