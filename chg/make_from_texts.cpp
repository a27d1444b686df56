// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "commands.h"

#include "behaviour_codes.h"
#include "make_file.h"
#include "memory_form.h"
#include "run_time_error.h"
#include "script_text.h"
#include "shown_text.h"

#include <QTextStream>

namespace pelomart::chg {
namespace {

QString behaviourNames() {
    QStringList names;
    for (const Behaviour& behaviour : kBehaviours) {
        names << QLatin1Char('"') + QLatin1String(behaviour.name) + QLatin1Char('"');
    }
    return names.join(QStringLiteral(", "));
}

// The behaviour list's entry for a name or a code; nothing when the list has neither.
std::optional<QString> behaviourEntry(const QString& text) {
    if (text.isEmpty()) {
        return QString();
    }
    const Behaviour* behaviour = behaviourNamed(text);
    bool isNumber = false;
    const int code = text.toInt(&isNumber);
    if (!behaviour && isNumber && QString::number(code) == text) {
        behaviour = behaviourWithCode(code);
    }
    if (!behaviour) {
        return std::nullopt;
    }
    return QLatin1String(behaviour->name);
}

QString boxAndText(Control control, const QString& text) {
    return QStringLiteral("%1 \"%2\"").arg(controlName(control), shownValue(text));
}

QString errorMessage(const RunTimeError& error, const EditorFields& form) {
    QString message;
    if (const std::optional<Control> control =
            controlNamed(QString::fromStdString(error.control()))) {
        // The script is too long to quote; its detail gives its length.
        message = *control == Control::script ? controlName(*control)
                                              : boxAndText(*control, form.text(*control));
        message += QStringLiteral(": ");
    }
    message +=
        QStringLiteral("run-time error %1: %2").arg(error.code()).arg(QLatin1String(error.what()));
    if (!error.detail().empty()) {
        message += QStringLiteral(" (%1)").arg(shownText(QString::fromStdString(error.detail())));
    }
    return message;
}

} // namespace

void addLocaleOption(QCommandLineParser& parser) {
    parser.addOption(
        {QStringLiteral("locale"),
         QStringLiteral("Read numbers as this locale writes them (default: the environment's)."),
         QStringLiteral("NAME")});
}

std::optional<QLocale> localeOption(const QCommandLineParser& parser, const QString& command,
                                    QTextStream& err) {
    if (!parser.isSet(QStringLiteral("locale"))) {
        return QLocale();
    }
    const QString name = parser.value(QStringLiteral("locale"));
    const QLocale locale(name);
    // QLocale takes an unknown name for C without a word.
    if (locale == QLocale::c() && name != u"C" && name != u"POSIX") {
        err << "pelomart-chg " << command << ": unknown locale \"" << shownValue(name) << '"'
            << Qt::endl;
        return std::nullopt;
    }
    return locale;
}

std::optional<Control> fieldNamed(const QString& key) {
    const std::optional<Control> control = controlNamed(key);
    if (control && std::size_t(*control) < kEditorFields.size()) {
        return control;
    }
    return std::nullopt;
}

std::optional<QString> boxText(Control control, const QString& text, QString& refusal) {
    if (control == Control::script) {
        return scriptWithCrLf(text);
    }
    if (control != Control::behavior) {
        return text;
    }
    std::optional<QString> entry = behaviourEntry(text);
    if (!entry) {
        refusal = QStringLiteral("behavior \"%1\" is not in the list; it takes %2 or their codes")
                      .arg(shownValue(text), behaviourNames());
    }
    return entry;
}

std::optional<QString> makeFromTexts(std::span<const FieldText> texts, const QByteArray& directory,
                                     const QLocale& locale) {
    MemoryForm form(locale);
    form.setDirectoryPath(directory);
    for (const auto& [control, text] : texts) {
        try {
            form.setText(control, text);
        } catch (const RunTimeError&) {
            // Typed into the window, the type parameter's behaviour would report this too
            // and leave the text; the command then meets the same text and reports it.
        }
    }
    // Make file resets the parameters whatever they hold, and the script box's line ends
    // are CR LF already.
    for (const auto& [control, text] : texts) {
        if (!isParameter(control) && control != Control::script && form.text(control) != text) {
            return boxAndText(control, text) +
                   QStringLiteral(": the box would hold \"%1\" instead; no file made")
                       .arg(shownValue(form.text(control)));
        }
    }
    try {
        Command4_Click(form, locale);
    } catch (const RunTimeError& error) {
        return errorMessage(error, form);
    }
    return std::nullopt;
}

} // namespace pelomart::chg
