// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "make_from_texts.h"

#include "did_you_mean.h"

#include "behaviour_codes.h"
#include "make_file.h"
#include "memory_form.h"
#include "numbers.h"
#include "run_time_error.h"
#include "script_text.h"
#include "shown_text.h"

#include <QTextStream>

namespace pelomart::chg {
namespace {

QStringList behaviourNames() {
    QStringList names;
    for (const Behaviour& behaviour : kBehaviours) {
        names << QLatin1String(behaviour.name);
    }
    return names;
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
        const QStringList names = behaviourNames();
        refusal =
            QStringLiteral("behavior \"%1\" is not in the list; it takes \"%2\" or their codes")
                .arg(shownValue(text), names.join(QStringLiteral("\", \""))) +
            didYouMean(text, names);
    }
    return entry;
}

std::optional<QString> makeFromTexts(std::span<const TextForBox> texts, const QByteArray& directory,
                                     const QLocale& locale, ChangeFileWrite* write,
                                     QByteArray* composedOnly) {
    MemoryForm form(locale);
    form.setDirectoryPath(directory);
    // A box that the texts leave out must make the same record in every notation.
    for (const auto boxes : {kPositionFields, kScaleFields, kRotationFields}) {
        for (const ControlInfo& box : boxes) {
            form.setText(box.id, startNumberText(box, locale));
        }
    }
    for (const auto& [control, text] : texts) {
        try {
            form.setText(control, text);
        } catch (const RunTimeError&) {
            // Typed into the window, the type parameter's behaviour would report this too
            // and leave the text; the command then meets the same text and reports it.
        }
    }
    // The script box's line ends are CR LF already.
    for (const auto& [control, text] : texts) {
        if (control != Control::script && form.text(control) != text) {
            return boxAndText(control, text) +
                   QStringLiteral(": the box would hold \"%1\" instead; no file made")
                       .arg(shownValue(form.text(control)));
        }
    }
    try {
        if (composedOnly) {
            *composedOnly = composeChangeFile(form, locale).bytes;
        } else {
            makeChangeFile(form, locale, write);
        }
    } catch (const RunTimeError& error) {
        return errorMessage(error, form);
    }
    return std::nullopt;
}

QString otherNamesWarning(const QString& shownPath, qint64 otherNames) {
    if (otherNames == 0) {
        return {};
    }
    return QStringLiteral("%1: made again as a new file; its %2 other name%3 (hard link%3) still "
                          "hold%4 the old record")
        .arg(shownPath)
        .arg(otherNames)
        .arg(otherNames == 1 ? "" : "s", otherNames == 1 ? "s" : "");
}

} // namespace pelomart::chg
