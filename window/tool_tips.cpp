// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "tool_tips.h"

#include "control_help.h"
#include "dir_list.h"
#include "form_controls.h"
#include "message_boxes.h"

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

ToolTips::ToolTips(const FormControls& fields, const ControlWidgets& controls, QObject* parent)
    : QObject(parent), m_fields(fields), m_controls(controls) {
    for (const ControlInfo& info : kControls) {
        if (auto* box = qobject_cast<QLineEdit*>(m_controls[std::size_t(info.id)])) {
            connect(box, &QLineEdit::textChanged, this,
                    [this, id = info.id] { boxTextChanged(id); });
            m_cut[std::size_t(info.id)] = textCut(box);
        }
        follow(info.id);
    }
    connect(qobject_cast<QLineEdit*>(m_controls[std::size_t(Control::filenavn)]),
            &QLineEdit::textChanged, this, [this] { follow(Control::Command4); });
    connect(qobject_cast<DirList*>(m_controls[std::size_t(Control::Dir1)]), &DirList::pathChanged,
            this, [this] {
                for (Control control : {Control::Dir1, Control::filenavn, Control::Command4}) {
                    follow(control);
                }
            });
    for (Control name : {Control::namn, Control::model}) {
        connect(qobject_cast<QLineEdit*>(m_controls[std::size_t(name)]), &QLineEdit::textChanged,
                this, &ToolTips::namesChanged);
    }
    connect(qobject_cast<QPlainTextEdit*>(m_controls[std::size_t(Control::script)]),
            &QPlainTextEdit::textChanged, this, &ToolTips::showWhetherTheScriptFits);
    namesChanged();
}

// Makes the help of `control` again from the fields as they are now.
void ToolTips::follow(Control control) {
    m_help[std::size_t(control)] = controlHelp(control, m_fields);
    show(control);
}

void ToolTips::show(Control control) {
    const QString& help = m_help[std::size_t(control)];
    if (help.isEmpty()) {
        return;
    }
    const QString shown =
        m_cut[std::size_t(control)] ? withCutText(help, m_fields.text(control)) : help;
    QWidget* widget = m_controls[std::size_t(control)];
    if (shown == widget->accessibleDescription()) {
        return;
    }
    widget->setToolTip(literalToolTip(shown));
    widget->setAccessibleDescription(shown);
}

void ToolTips::boxTextChanged(Control box) {
    const bool cut = textCut(qobject_cast<const QLineEdit*>(m_controls[std::size_t(box)]));
    // A text that fits, and fitted before, leaves the help as it is.
    if (cut || m_cut[std::size_t(box)]) {
        m_cut[std::size_t(box)] = cut;
        show(box);
    }
}

void ToolTips::namesChanged() {
    m_scriptRoom = scriptRoom(m_fields);
    follow(Control::script);
    follow(Control::Label1);
    showWhetherTheScriptFits();
}

void ToolTips::showWhetherTheScriptFits() {
    // The length as Label1 shows it: a character beyond the 16-bit range counts two there
    // and takes one byte, so such a script may be judged too long a little early, never
    // too late. Reading the script's text at every key would cost more than the key.
    const bool fits = m_fields.scriptLength() <= m_scriptRoom;
    if (fits == m_scriptFits) {
        return; // a new palette would draw the label again at every key
    }
    m_scriptFits = fits;
    auto* label = qobject_cast<QLabel*>(m_controls[std::size_t(Control::Label1)]);
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
