#include "form1.h"

#include "behaviour_list.h"
#include "dir_list.h"
#include "field_behaviours.h"
#include "make_file.h"
#include "run_time_error.h"
#include "script_box.h"
#include "start_texts.h"
#include "type_slider.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <algorithm>
#include <map>

// The resources of a static library reach the program only when registered by name.
static void registerResources() {
    Q_INIT_RESOURCE(pelomart);
}

namespace pelomart {
namespace {

// The window was laid out in twips; at 96 dots per inch fifteen make a pixel.
constexpr int px(int twips) {
    return twips / 15;
}

struct Place {
    int left, top, width, height;
    QRect rect() const { return {px(left), px(top), px(width), px(height)}; }
};

struct BoxLayout {
    const char* name;
    Place place;
    int tab;
};

struct LabelLayout {
    const char* name;
    const char* caption;
    Place place;
    bool centred;
};

constexpr int kBoxHeight = 285;
constexpr int kLabelHeight = 255;

constexpr BoxLayout kBoxes[] = {
    {"namn", {120, 360, 2775, kBoxHeight}, 1},
    {"model", {3000, 360, 2895, kBoxHeight}, 2},
    {"filenavn", {6000, 360, 2655, kBoxHeight}, 43},
    {"paramlong1", {2400, 720, 495, kBoxHeight}, 19},
    {"x", {6120, 3960, 1095, kBoxHeight}, 4},
    {"y", {6120, 4440, 1095, kBoxHeight}, 5},
    {"z", {6120, 4920, 1095, kBoxHeight}, 6},
    {"xscalesing", {7320, 3960, 495, kBoxHeight}, 11},
    {"yscalesing", {7320, 4440, 495, kBoxHeight}, 12},
    {"zscalesing", {7320, 4920, 495, kBoxHeight}, 13},
    {"xrotsing", {7920, 3960, 735, kBoxHeight}, 14},
    {"yrotsing", {7920, 4440, 735, kBoxHeight}, 15},
    {"zrotsing", {7920, 4920, 735, kBoxHeight}, 16},
};

constexpr LabelLayout kLabels[] = {
    {"Label9", "internal name", {960, 120, 1215, kLabelHeight}, true},
    {"Label10", "3D model name", {3720, 120, 1215, kLabelHeight}, true},
    {"Label11", "file name", {6600, 120, 1335, kLabelHeight}, true},
    {"sex", "man", {2880, 720, 855, kLabelHeight}, true},
    {"Label1", "", {120, 8160, 2175, kLabelHeight}, false},
    {"Label6", "position", {6120, 3720, 1095, kLabelHeight}, true},
    {"Label7", "scale", {7320, 3720, 495, kLabelHeight}, true},
    {"Label8", "rot", {8040, 3720, 495, kLabelHeight}, true},
    {"Label2", "x", {6000, 3960, 135, kLabelHeight}, false},
    {"Label4", "y", {6000, 4440, 135, kLabelHeight}, false},
    {"Label5", "z", {6000, 4920, 135, kLabelHeight}, false},
    {"Label3", "Params", {6600, 5280, 1455, kLabelHeight}, true},
};

constexpr Place kParamsLeftColumn{6480, 5520, 735, kBoxHeight};
constexpr Place kParamsRightColumn{7920, 5520, 735, kBoxHeight};
constexpr int kParamsRowStep = 360;
constexpr int kFirstParamsTab = 23;

// Captions that the labels may show later must fit as well.
constexpr const char* kLaterCaptions[][2] = {
    {"sex", "woman"},
    {"Label1", "script length=9999999"},
};

QString startText(const char* control) {
    for (const StartText& start : kStartTexts) {
        if (qstrcmp(start.control, control) == 0) {
            return QString::fromLatin1(start.text);
        }
    }
    return {};
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

Form1::Form1(const QString& startDirectory, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    createControls(startDirectory);
    fitFont();
    connectHandlers();
    setWindowTitle(QStringLiteral("Pelomart     "));
    registerResources();
    setWindowIcon(windowIcon16And32());
    resize(px(8760), px(8505));
}

void Form1::createControls(const QString& startDirectory) {
    std::map<int, QWidget*> tabOrder;

    auto addBox = [&](const QString& name, const Place& place, int tab) {
        auto* box = new QLineEdit(startText(name.toLatin1().constData()), this);
        box->setObjectName(name);
        box->setGeometry(place.rect());
        box->setAlignment(Qt::AlignCenter);
        // A text wider than its box shows its beginning.
        box->setCursorPosition(0);
        m_boxes.insert(name, box);
        tabOrder[tab] = box;
    };
    for (const BoxLayout& entry : kBoxes) {
        addBox(QLatin1String(entry.name), entry.place, entry.tab);
    }
    for (int n = 2; n <= 17; ++n) {
        const bool left = n <= 9;
        const Place column = left ? kParamsLeftColumn : kParamsRightColumn;
        const int row = left ? n - 2 : n - 10;
        addBox(paramsingName(n),
               {column.left, column.top + kParamsRowStep * row, column.width, column.height},
               kFirstParamsTab + n - 2);
    }
    for (const LabelLayout& entry : kLabels) {
        auto* label = new QLabel(QString::fromLatin1(entry.caption), this);
        label->setObjectName(QLatin1String(entry.name));
        label->setGeometry(entry.place.rect());
        label->setAlignment(entry.centred ? Qt::AlignHCenter | Qt::AlignTop
                                          : Qt::AlignLeft | Qt::AlignTop);
        m_labels.insert(label->objectName(), label);
    }

    m_about = new QPushButton(QStringLiteral("about"), this);
    m_about->setObjectName(QStringLiteral("abou"));
    m_about->setGeometry(Place{8040, 0, 615, 315}.rect());
    tabOrder[45] = m_about;

    m_makeFile = new QPushButton(QStringLiteral("make file"), this);
    m_makeFile->setObjectName(QStringLiteral("Command4"));
    m_makeFile->setGeometry(Place{6000, 720, 2655, 255}.rect());
    tabOrder[3] = m_makeFile;

    m_slider = new TypeSlider(this);
    m_slider->setObjectName(QStringLiteral("Slider1"));
    m_slider->setGeometry(Place{120, 720, 2175, 255}.rect());
    m_slider->setRange(0, 31);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(5);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setTickInterval(1);
    m_slider->setFocusPolicy(Qt::StrongFocus);
    tabOrder[20] = m_slider;

    m_behavior = new BehaviourList(this);
    m_behavior->setObjectName(QStringLiteral("behavior"));
    m_behavior->setGeometry(Place{3840, 720, 2055, 315}.rect());
    for (const Behaviour& behaviour : kBehaviours) {
        m_behavior->addItem(QString::fromLatin1(behaviour.name));
    }
    m_behavior->setCurrentIndex(-1);
    tabOrder[22] = m_behavior;

    m_script = new ScriptBox(this);
    m_script->setObjectName(QStringLiteral("script"));
    m_script->setGeometry(Place{120, 1080, 5775, 7005}.rect());
    m_script->setScriptText(startText("script"));
    tabOrder[0] = m_script;

    m_dir = new DirList(startDirectory, this);
    m_dir->setObjectName(QStringLiteral("Dir1"));
    m_dir->setGeometry(Place{6000, 1080, 2655, 2565}.rect());
    tabOrder[40] = m_dir;

    QWidget* previous = nullptr;
    for (const auto& [tab, widget] : tabOrder) {
        if (previous) {
            setTabOrder(previous, widget);
        }
        previous = widget;
    }
    m_script->setFocus();
}

void Form1::fitFont() {
    // The layout was made for a smaller default font than this platform's; take the
    // platform's family at the largest size at which every caption shows whole.
    QFont font = this->font();
    std::vector<std::pair<QString, int>> captions; // text, width available
    for (QLabel* label : std::as_const(m_labels)) {
        captions.emplace_back(label->text(), label->width());
    }
    for (const auto& later : kLaterCaptions) {
        captions.emplace_back(QLatin1String(later[1]),
                              m_labels.value(QLatin1String(later[0]))->width());
    }
    constexpr int kButtonPadding = 8;
    for (QPushButton* button : {m_about, m_makeFile}) {
        captions.emplace_back(button->text(), button->width() - kButtonPadding);
    }
    // A line box draws a 2-pixel frame and a 1-pixel margin above and below its text.
    const int boxTextHeight = px(kBoxHeight) - 6;
    const int labelTextHeight = px(kLabelHeight);

    auto fits = [&](const QFont& candidate) {
        const QFontMetrics metrics(candidate);
        if (metrics.height() > std::min(boxTextHeight, labelTextHeight)) {
            return false;
        }
        return std::all_of(captions.begin(), captions.end(), [&](const auto& caption) {
            return metrics.horizontalAdvance(caption.first) <= caption.second;
        });
    };
    for (qreal size = font.pointSizeF(); size >= 5.0; size -= 0.5) {
        font.setPointSizeF(size);
        if (fits(font)) {
            break;
        }
    }
    setFont(font);
}

void Form1::connectHandlers() {
    connect(m_makeFile, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(m_about, &QPushButton::clicked, this, [this] { abou_Click(); });
    connect(m_boxes.value(QStringLiteral("paramlong1")), &QLineEdit::textChanged, this,
            [this] { run([this] { paramlong1_Change(*this); }); });
    connect(m_script, &QPlainTextEdit::textChanged, this,
            [this] { run([this] { script_Change(*this); }); });
    // Any change the user makes (click, drag, keys, wheel) copies the slider into the
    // field; so does a click on the thumb that moves nothing.
    connect(m_slider, &QSlider::valueChanged, this, [this] {
        if (!m_settingSlider) {
            run([this] { Slider1_Click(*this); });
        }
    });
    connect(m_slider, &QSlider::sliderReleased, this,
            [this] { run([this] { Slider1_Click(*this); }); });
}

QString Form1::text(const QString& control) const {
    if (const QLineEdit* box = m_boxes.value(control)) {
        return box->text();
    }
    if (control == QLatin1String("script")) {
        return m_script->scriptText();
    }
    if (control == QLatin1String("behavior")) {
        return m_behavior->currentText();
    }
    return {};
}

void Form1::setText(const QString& control, const QString& text) {
    if (QLineEdit* box = m_boxes.value(control)) {
        box->setText(text);
    } else if (control == QLatin1String("script")) {
        m_script->setScriptText(text);
    }
}

QString Form1::directoryPath() const {
    return m_dir->path();
}

void Form1::setCaption(const QString& label, const QString& caption) {
    if (QLabel* target = m_labels.value(label)) {
        target->setText(caption);
    }
}

int Form1::sliderValue() const {
    return m_slider->value();
}

void Form1::setSliderValue(int value) {
    m_settingSlider = true;
    m_slider->setValue(value);
    m_settingSlider = false;
}

qsizetype Form1::scriptLength() const {
    return m_script->scriptLength();
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
        reportError(error.code(), QString::fromStdString(error.description()),
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
