#include "form1.h"

#include "behaviour_list.h"
#include "dir_list.h"
#include "field_behaviours.h"
#include "make_file.h"
#include "behaviour_codes.h"
#include "run_time_error.h"
#include "script_box.h"
#include "type_slider.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
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

} // namespace

Form1::Form1(const QByteArray& startDirectory, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    createControls(startDirectory);
    fitFont();
    connectHandlers();
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
    case ControlKind::Button:
        return new QPushButton(text, this);
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
    run([this] { pelomart::Command4_Click(*this); });
}

void Form1::abou_Click() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Pelomart"),
                    QStringLiteral("Pelomart was written by the Pelomart authors, with thanks to "
                                   "everyone who builds missions for the game."),
                    QMessageBox::Ok, this);
    box.exec();
}

template <typename Handler> void Form1::run(Handler handler) {
    try {
        handler();
    } catch (const RunTimeError& error) {
        reportError(error.code(), QString::fromUtf8(error.what()),
                    QString::fromStdString(error.detail()));
    } catch (const std::exception& error) {
        reportError(int(ErrorNumber::InternalError),
                    QLatin1String(standardDescription(ErrorNumber::InternalError)),
                    QString::fromLocal8Bit(error.what()));
    } catch (...) {
        reportError(int(ErrorNumber::InternalError),
                    QLatin1String(standardDescription(ErrorNumber::InternalError)), {});
    }
}

void Form1::reportError(int number, const QString& description, const QString& detail) {
    QString message = QStringLiteral("Run-time error '%1':\n\n%2").arg(number).arg(description);
    if (!detail.isEmpty()) {
        message += QStringLiteral("\n\n") + detail;
    }
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Pelomart"), message, QMessageBox::Ok,
                    this);
    box.exec();
}

} // namespace pelomart
