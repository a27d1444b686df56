// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "form1.h"

#include "behaviour_codes.h"
#include "behaviour_list.h"
#include "code_page.h"
#include "dir_list.h"
#include "field_behaviours.h"
#include "file_drop.h"
#include "file_for_boxes.h"
#include "font_fitting.h"
#include "make_file.h"
#include "message_boxes.h"
#include "messages.h"
#include "paths.h"
#include "pixels.h"
#include "png_image.h"
#include "run_time_error.h"
#include "script_box.h"
#include "shown_text.h"
#include "tool_tips.h"
#include "type_slider.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <limits>
#include <map>
#include <stdexcept>

namespace pelomart {
namespace {

bool takesFocus(ControlKind kind) {
    return kind != ControlKind::Label;
}

// The icon drawn for this program at both sizes a desktop asks for.
QIcon windowIcon16And32() {
    QIcon icon;
    for (const char* file : {":/pelomart/icon-16.png", ":/pelomart/icon.png"}) {
        icon.addPixmap(QPixmap::fromImage(readPng(QLatin1String(file))));
    }
    return icon;
}

} // namespace

Form1::Form1(const QByteArray& startDirectory, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    createControls(startDirectory);
    setFont(fittedFont(font()));
    connectHandlers();
    // Five blanks after the name: scripts that find the window by its exact title, blanks
    // and all, find it.
    setWindowTitle(QStringLiteral("Pelomart     "));
    setWindowIcon(windowIcon16And32());
    resize(px(8760), px(8505));
}

template <typename Widget> Widget* Form1::widget(Control control) const {
    return static_cast<Widget*>(m_controls[std::size_t(control)]);
}

QWidget* Form1::createControl(const ControlInfo& info, const QByteArray& startDirectory) {
    const QString text = QString::fromLatin1(info.text);
    switch (info.kind) {
    case ControlKind::TextBox: {
        auto* box = new QLineEdit(text, this);
        // The record's own length limit is the only one; Qt's default would cut a long
        // paste at 32767 characters without a word.
        box->setMaxLength(std::numeric_limits<int>::max());
        box->setAlignment(Qt::AlignCenter);
        // A text wider than its box shows its beginning.
        box->setCursorPosition(0);
        return box;
    }
    case ControlKind::ScriptBox: {
        auto* script = new ScriptBox(this);
        script->setScriptText(text);
        return script;
    }
    case ControlKind::DropDownList: {
        auto* list = new BehaviourList(this);
        for (const Behaviour& behaviour : kBehaviours) {
            list->addItem(QString::fromLatin1(behaviour.name));
            list->setItemData(list->count() - 1,
                              QStringLiteral("The file gets code %1.").arg(behaviour.code),
                              Qt::ToolTipRole);
        }
        list->setCurrentIndex(-1);
        // The open list is read out as a list of its own.
        list->view()->setAccessibleName(QStringLiteral("behaviour entries"));
        return list;
    }
    case ControlKind::Slider: {
        auto* slider = new TypeSlider(this);
        slider->setRange(0, kHighestType);
        slider->setSingleStep(1);
        slider->setPageStep(5);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(1);
        slider->setFocusPolicy(Qt::StrongFocus);
        return slider;
    }
    case ControlKind::Button: {
        auto* button = new QPushButton(text, this);
        // Return and Enter press the focused button, as Space does; there is still no
        // default button, so neither key means anything elsewhere.
        button->setAutoDefault(true);
        return button;
    }
    case ControlKind::DirectoryList:
        return new DirList(startDirectory, this);
    case ControlKind::Label: {
        auto* label = new QLabel(text, this);
        // A caption is shown as it is, never taken for markup.
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(info.centred ? Qt::AlignHCenter | Qt::AlignTop
                                         : Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    }
    throw std::logic_error("unknown control kind");
}

void Form1::createControls(const QByteArray& startDirectory) {
    std::map<int, QWidget*> tabOrder;
    for (const ControlInfo& info : kControls) {
        QWidget* control = createControl(info, startDirectory);
        control->setObjectName(QLatin1String(info.name));
        control->setGeometry(pixels(info.place));
        if (info.accessibleName) {
            control->setAccessibleName(QLatin1String(info.accessibleName));
        }
        if (takesFocus(info.kind)) {
            tabOrder[info.tab] = control;
        }
        m_controls[std::size_t(info.id)] = control;
    }
    for (const ControlInfo& info : kControls) {
        if (info.labels) {
            QWidget* box = widget<QWidget>(*info.labels);
            widget<QLabel>(info.id)->setBuddy(box);
            box->setAccessibleName(QLatin1String(info.text));
        }
    }

    QWidget* previous = nullptr;
    for (const auto& [tab, control] : tabOrder) {
        if (previous) {
            setTabOrder(previous, control);
        }
        previous = control;
    }
    tabOrder.begin()->second->setFocus();
}

void Form1::connectHandlers() {
    connect(widget<QPushButton>(Control::Command4), &QPushButton::clicked, this,
            [this] { Command4_Click(); });
    connect(widget<QPushButton>(Control::abou), &QPushButton::clicked, this,
            [this] { abou_Click(); });
    connect(widget<QLineEdit>(Control::paramlong1), &QLineEdit::textChanged, this,
            [this] { run([this] { paramlong1_Change(*this); }); });
    connect(widget<ScriptBox>(Control::script), &QPlainTextEdit::textChanged, this,
            [this] { run([this] { script_Change(*this); }); });
    // Any change the user makes (click, drag, keys, wheel) copies the slider into the
    // field; so does a click on the thumb that moves nothing.
    auto* slider = widget<QSlider>(Control::Slider1);
    connect(slider, &QSlider::valueChanged, this, [this] {
        if (!m_settingSlider) {
            run([this] { Slider1_Click(*this); });
        }
    });
    connect(slider, &QSlider::sliderReleased, this,
            [this] { run([this] { Slider1_Click(*this); }); });
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, this,
            &Form1::chooseFile);
    new FileDrop(this, [this](const QList<QByteArray>& files) {
        if (files.size() > 1) {
            showMessage(
                this, QMessageBox::Warning,
                QStringLiteral("Drop one change file at a time; these were %1.").arg(files.size()));
        } else {
            openFile(files.constFirst());
        }
    });
    new ToolTips(*this, m_controls, this);
}

QString Form1::text(Control control) const {
    switch (controlInfo(control).kind) {
    case ControlKind::TextBox:
        return widget<QLineEdit>(control)->text();
    case ControlKind::ScriptBox:
        return widget<ScriptBox>(control)->scriptText();
    case ControlKind::DropDownList:
        return widget<QComboBox>(control)->currentText();
    case ControlKind::Label:
        return widget<QLabel>(control)->text();
    default:
        return {};
    }
}

void Form1::setText(Control control, const QString& text) {
    switch (controlInfo(control).kind) {
    case ControlKind::TextBox:
        widget<QLineEdit>(control)->setText(text);
        return;
    case ControlKind::ScriptBox:
        widget<ScriptBox>(control)->setScriptText(text);
        return;
    case ControlKind::DropDownList: {
        // Only an entry can be chosen; any other text chooses none.
        auto* list = widget<QComboBox>(control);
        list->setCurrentIndex(list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
        return;
    }
    default:
        throw std::logic_error(controlInfo(control).name + std::string(" holds no text"));
    }
}

QByteArray Form1::directoryPath() const {
    return widget<DirList>(Control::Dir1)->path();
}

void Form1::setCaption(Control label, const QString& caption) {
    if (controlInfo(label).kind != ControlKind::Label) {
        throw std::logic_error(controlInfo(label).name + std::string(" has no caption"));
    }
    widget<QLabel>(label)->setText(caption);
}

int Form1::sliderValue() const {
    return widget<QSlider>(Control::Slider1)->value();
}

void Form1::setSliderValue(int value) {
    m_settingSlider = true;
    widget<QSlider>(Control::Slider1)->setValue(value);
    m_settingSlider = false;
}

qsizetype Form1::scriptLength() const {
    return widget<ScriptBox>(Control::script)->scriptLength();
}

void Form1::Command4_Click() {
    run([this] {
        makeChangeFile(*this);
        m_lastFile = formTexts(*this);
    });
}

void Form1::abou_Click() {
    showMessage(this, QMessageBox::NoIcon,
                QStringLiteral("Pelomart was written by the Pelomart authors, with thanks to "
                               "everyone who builds missions for the game."));
}

void Form1::openFile(const QByteArray& path) {
    run([&] {
        const FileForBoxes opened = openForBoxes(path, QLocale(), systemCodePage());
        if (!opened.record) {
            showMessage(this, QMessageBox::Critical,
                        cannotOpenMessage(shownPath(path), opened.error));
            return;
        }
        if (holdsTypedTexts(formTexts(*this), m_lastFile) &&
            !askToReplace(this, replaceTextsQuestion(shownPath(opened.name)))) {
            return;
        }
        setDirectory(opened.folder);
        fillBoxes(*this, opened.texts);
        // As at start: a text wider than its box shows its beginning.
        showTextBeginnings();
        m_lastFile = formTexts(*this);
        if (!opened.texts.replaced.empty()) {
            showMessage(this, QMessageBox::Information,
                        replacedValuesMessage(shownPath(opened.name), opened.texts.replaced));
        }
    });
}

void Form1::chooseFile() {
    QFileDialog dialog(this, QStringLiteral("Open a change file"),
                       decodePath(directoryPath()));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(
        {QStringLiteral("Change files (*.chg)"), QStringLiteral("All files (*)")});
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        openFile(encodePath(dialog.selectedFiles().constFirst()));
    }
}

void Form1::setDirectory(const QByteArray& folder) {
    widget<DirList>(Control::Dir1)->setPath(folder);
}

void Form1::showTextBeginnings() {
    for (const ControlInfo& field : kEditorFields) {
        if (field.kind == ControlKind::TextBox) {
            widget<QLineEdit>(field.id)->setCursorPosition(0);
        }
    }
}

template <typename Handler> void Form1::run(Handler handler) {
    try {
        handler();
    } catch (const RunTimeError& error) {
        reportError(error);
    } catch (const std::exception& error) {
        reportError(RunTimeError(ErrorNumber::InternalError, error.what()));
    } catch (...) {
        reportError(RunTimeError(ErrorNumber::InternalError));
    }
}

void Form1::reportError(const RunTimeError& error) {
    showMessage(this, QMessageBox::Critical, runTimeErrorMessage(error));
    if (const auto control = controlNamed(QString::fromStdString(error.control()))) {
        widget<QWidget>(*control)->setFocus();
    }
}

} // namespace pelomart
