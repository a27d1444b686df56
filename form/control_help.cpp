// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "control_help.h"

#include "behaviour_codes.h"
#include "human_record_composer.h"
#include "numbers.h"
#include "paths.h"
#include "shown_text.h"

#include <QStringList>

namespace pelomart {
namespace {

QString typeRange() {
    return QStringLiteral("The human's type, 0 to %1: up to %2 a man, above that a woman.")
        .arg(kHighestType)
        .arg(kLastManType);
}

QString behaviourCodes() {
    QStringList codes;
    for (const Behaviour& behaviour : kBehaviours) {
        codes << QStringLiteral("%1 %2").arg(QLatin1String(behaviour.name)).arg(behaviour.code);
    }
    const Behaviour* none = behaviourWithCode(kNoBehaviourChosen);
    return QStringLiteral("How the human reacts. The file gets the chosen behaviour's code: %1. "
                          "With nothing chosen it gets %2 (%3).")
        .arg(codes.join(QStringLiteral(", ")))
        .arg(kNoBehaviourChosen)
        .arg(QLatin1String(none ? none->name : ""));
}

// Dir1's current path as the system names it, a bare "/" for the root.
QString shownDirectory(const EditorFields& fields) {
    return shownPath(fields.directoryPath(), kLongestShownPath);
}

QString targetFile(const EditorFields& fields) {
    const QString name = fields.text(Control::filenavn);
    const std::optional<QByteArray> nativeName = encodedFileName(name);
    if (!nativeName) {
        return QStringLiteral("The file name has characters that no file name can hold: make "
                              "file writes nothing.");
    }
    return QStringLiteral("Makes the change file %1, replacing a file of that name.")
        .arg(shownPath(pathInFolder(fields.directoryPath(), *nativeName), kLongestShownPath));
}

QString scriptRoomText(const EditorFields& fields) {
    const qsizetype room = scriptRoom(fields);
    if (room < 0) {
        return QStringLiteral("The internal name and the 3D model name are too long for a "
                              "record: no script fits.");
    }
    return QStringLiteral("With the names as typed now, the script fits in at most %1 "
                          "characters; a line break counts two.")
        .arg(room);
}

QString whatItHolds(Control control, const EditorFields& fields, const QLocale& locale) {
    const ControlInfo& info = controlInfo(control);
    if (isIn(control, kPositionFields) || isIn(control, kScaleFields) ||
        isIn(control, kRotationFields)) {
        return QStringLiteral("%1: %2.").arg(QLatin1String(info.accessibleDescription),
                                             numberNotation(locale));
    }
    if (isFixedParameter(control)) {
        QString caption = controlCaption(control);
        caption[0] = caption[0].toUpper();
        return QStringLiteral("%1: make file writes %2 here, whatever the box holds.")
            .arg(caption, startNumberText(info, locale));
    }
    switch (control) {
    case Control::paramlong1:
        return typeRange() +
               QStringLiteral(" Read as %1, rounded to a whole one; above %2 it becomes %2.")
                   .arg(numberNotation(locale))
                   .arg(kHighestType);
    case Control::Slider1:
        return typeRange() + QStringLiteral(" Moving it writes the type into the box beside it.");
    case Control::behavior:
        return behaviourCodes();
    case Control::namn:
    case Control::model:
        return QStringLiteral("%1, written into the file as typed.")
            .arg(QLatin1String(info.accessibleDescription));
    case Control::script:
        return QStringLiteral("The human's start-up script, written into the file as typed. ") +
               scriptRoomText(fields);
    case Control::filenavn:
        return QStringLiteral("Name of the change file. Make file writes it into the current "
                              "directory of the directory list, %1.")
            .arg(shownDirectory(fields));
    case Control::Dir1:
        return QStringLiteral("Make file writes into the current directory, the one with the "
                              "open folder and the bold name: %1. A single click only "
                              "highlights; a double-click or Enter makes a directory current.")
            .arg(shownDirectory(fields));
    case Control::Command4:
        return targetFile(fields);
    case Control::Label1:
        return scriptRoomText(fields);
    default:
        return {};
    }
}

} // namespace

qsizetype scriptRoom(const EditorFields& fields, const QByteArray& codePage) {
    // Every text adds its bytes to the record and nothing else changes with them.
    const auto fixedBytes = qsizetype(composeHumanRecord(HumanRecord{}).size());
    return kMaxRecordLength - fixedBytes - toCodePage(fields.text(Control::namn), codePage).size() -
           toCodePage(fields.text(Control::model), codePage).size();
}

QString numberNotation(const QLocale& locale) {
    return QStringLiteral("a number, written like %1 here").arg(numberToText(0.5, locale));
}

QString controlHelp(Control control, const EditorFields& fields, const QLocale& locale) {
    return whatItHolds(control, fields, locale);
}

QString withCutText(const QString& help, const QString& text) {
    // A tooltip as wide as a pasted page would cover the screen; a box's text is that long
    // only when pasted, and its beginning is what tells it.
    constexpr qsizetype kLongest = 200;
    return shownBeginning(text, kLongest) + QLatin1Char('\n') + help;
}

} // namespace pelomart
