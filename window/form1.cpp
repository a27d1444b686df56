// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "form1.h"

#include "behaviour_codes.h"
#include "behaviour_list.h"
#include "code_page.h"
#include "dir_list.h"
#include "field_behaviours.h"
#include "file_for_boxes.h"
#include "make_file.h"
#include "messages.h"
#include "run_time_error.h"
#include "script_box.h"
#include "shown_text.h"
#include "type_slider.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QUrl>
#include <algorithm>
#include <limits>
#include <map>
#include <stdexcept>

namespace pelomart {
namespace {

// The window was laid out in twips; at 96 dots per inch fifteen make a pixel.
constexpr int px(int twips) {
    return twips / 15;
}

QRect pixels(const Twips& place) {
    return {px(place.left), px(place.top), px(place.width), px(place.height)};
}

bool takesFocus(ControlKind kind) {
    return kind != ControlKind::Label;
}

// The icon drawn for this program at both sizes a desktop asks for. The format is
// known: letting Qt guess it would load every image-format plugin.
QIcon windowIcon16And32() {
    QIcon icon;
    for (const char* file : {":/pelomart/icon-16.png", ":/pelomart/icon.png"}) {
        QImageReader reader(QLatin1String(file), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

// The local files a drag carries, as the system's bytes; empty when it carries anything
// else, such as text dragged from one box to another.
QList<QByteArray> draggedFiles(const QMimeData* data) {
    QList<QByteArray> files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) {
            return {};
        }
        // The encoded form keeps a name's bytes that are not UTF-8.
        files << QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    }
    return files;
}

} // namespace

Form1::Form1(const QByteArray& startDirectory, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    createControls(startDirectory);
    fitFont();
    connectHandlers();
    setAcceptDrops(true);
    // Five blanks after the name, as the window has always been titled: scripts that find the
    // window by its exact title keep working.
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
        if (info.accessibleDescription) {
            control->setAccessibleDescription(QLatin1String(info.accessibleDescription));
        }
        if (takesFocus(info.kind)) {
            tabOrder[info.tab] = control;
        }
        m_controls[std::size_t(info.id)] = control;
        // A box would take a dragged file as the text of its path.
        if (control->acceptDrops()) {
            control->installEventFilter(this);
        }
    }
    widget<ScriptBox>(Control::script)->viewport()->installEventFilter(this);
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

void Form1::fitFont() {
    // The layout was made for a smaller default font than this platform's; take the
    // platform's family at the largest size at which every caption shows whole, also
    // the ones the labels show later.
    std::vector<std::pair<QString, int>> captions; // text, width available
    constexpr int kButtonPadding = 8;
    for (const ControlInfo& info : kControls) {
        if (info.kind == ControlKind::Label) {
            captions.emplace_back(QLatin1String(info.text), px(info.place.width));
        } else if (info.kind == ControlKind::Button) {
            captions.emplace_back(QLatin1String(info.text), px(info.place.width) - kButtonPadding);
        }
    }
    captions.emplace_back(QLatin1String(kWoman), px(controlInfo(Control::sex).place.width));
    captions.emplace_back(QLatin1String(kScriptLengthCaption) + QStringLiteral("9999999"),
                          px(controlInfo(Control::Label1).place.width));
    // A line box draws a 2-pixel frame and a 1-pixel margin above and below its text.
    const int textHeight = std::min(px(kBoxHeight) - 6, px(kLabelHeight));

    auto fits = [&](const QFont& candidate) {
        const QFontMetrics metrics(candidate);
        return metrics.height() <= textHeight &&
               std::all_of(captions.begin(), captions.end(), [&](const auto& caption) {
                   return metrics.horizontalAdvance(caption.first) <= caption.second;
               });
    };
    QFont font = this->font();
    for (qreal size = font.pointSizeF(); size >= 5.0; size -= 0.5) {
        font.setPointSizeF(size);
        if (fits(font)) {
            break;
        }
    }
    setFont(font);
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
        pelomart::Command4_Click(*this);
        m_lastFile = fieldTexts(*this);
    });
}

void Form1::abou_Click() {
    showMessage(QMessageBox::NoIcon,
                QStringLiteral("Pelomart was written by the Pelomart authors, with thanks to "
                               "everyone who builds missions for the game."));
}

void Form1::openFile(const QByteArray& path) {
    run([&] { openChangeFile(path); });
}

void Form1::chooseFile() {
    run([this] {
        QFileDialog dialog(this, QStringLiteral("Open a change file"),
                           QFile::decodeName(directoryPath()));
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters(
            {QStringLiteral("Change files (*.chg)"), QStringLiteral("All files (*)")});
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            openChangeFile(QFile::encodeName(dialog.selectedFiles().constFirst()));
        }
    });
}

void Form1::openChangeFile(const QByteArray& path) {
    const FileForBoxes opened = openForBoxes(path, QLocale(), systemCodePage());
    if (!opened.record) {
        showMessage(QMessageBox::Critical, cannotOpenMessage(shownPath(path), opened.error));
        return;
    }
    if (holdsTypedTexts(fieldTexts(*this), m_lastFile)) {
        QMessageBox question(QMessageBox::Question, QStringLiteral("Pelomart"),
                             replaceTextsQuestion(shownPath(opened.name)), QMessageBox::NoButton,
                             this);
        QPushButton* replace =
            question.addButton(QStringLiteral("Replace"), QMessageBox::DestructiveRole);
        question.setDefaultButton(question.addButton(QMessageBox::Cancel));
        question.exec();
        if (question.clickedButton() != replace) {
            return;
        }
    }
    setDirectory(opened.folder);
    showRecordTexts(*this, opened.texts);
    for (const ControlInfo& field : kEditorFields) {
        if (field.kind == ControlKind::TextBox) {
            // As at start: a text wider than its box shows its beginning.
            widget<QLineEdit>(field.id)->setCursorPosition(0);
        }
    }
    m_lastFile = fieldTexts(*this);
    if (!opened.texts.replaced.empty()) {
        showMessage(QMessageBox::Information,
                    replacedValuesMessage(shownPath(opened.name), opened.texts.replaced));
    }
}

void Form1::setDirectory(const QByteArray& folder) {
    auto* list = widget<DirList>(Control::Dir1);
    auto* model = static_cast<DirListModel*>(list->model());
    // Listing the folder again costs what building the list did; opening the next file of
    // the same mission need not pay it.
    if (folder == model->path()) {
        return;
    }
    model->setPath(folder);
    const QModelIndex current = model->index(model->currentRow());
    list->setCurrentIndex(current);
    list->scrollTo(current);
}

bool Form1::takeFileDrag(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return false;
    }
    auto* drag = static_cast<QDropEvent*>(event);
    const QList<QByteArray> files = draggedFiles(drag->mimeData());
    if (files.isEmpty()) {
        return false;
    }
    drag->acceptProposedAction();
    if (type == QEvent::Drop) {
        // After the drop has ended: a message box inside it would keep the drag's source
        // waiting.
        QMetaObject::invokeMethod(
            this,
            [this, files] {
                run([&] {
                    if (files.size() > 1) {
                        showMessage(QMessageBox::Warning,
                                    QStringLiteral("Drop one change file at a time; these were %1.")
                                        .arg(files.size()));
                        return;
                    }
                    openChangeFile(files.constFirst());
                });
            },
            Qt::QueuedConnection);
    }
    return true;
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    return takeFileDrag(event) || QWidget::eventFilter(watched, event);
}

void Form1::dragEnterEvent(QDragEnterEvent* event) {
    takeFileDrag(event);
}

void Form1::dragMoveEvent(QDragMoveEvent* event) {
    takeFileDrag(event);
}

void Form1::dropEvent(QDropEvent* event) {
    takeFileDrag(event);
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
    showMessage(QMessageBox::Critical, runTimeErrorMessage(error));
    if (const auto control = controlNamed(QString::fromStdString(error.control()))) {
        widget<QWidget>(*control)->setFocus();
    }
}

void Form1::showMessage(QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QStringLiteral("Pelomart"), text, QMessageBox::Ok, this);
    box.exec();
}

} // namespace pelomart
