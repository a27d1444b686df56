// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "make_file.h"

#include "behaviour_codes.h"
#include "change_file_writer.h"
#include "code_page.h"
#include "human_record_composer.h"
#include "numbers.h"
#include "paths.h"
#include "run_time_error.h"
#include "shown_text.h"

#include <limits>

namespace pelomart {
namespace {

// Reads one box with `convert`; a failure names the box, its text, and for an overflow
// the limit that was passed.
template <typename Convert>
auto read(const EditorFields& fields, Control control, const char* limit, Convert convert) {
    const QString text = fields.text(control);
    try {
        return convert(text);
    } catch (RunTimeError& error) {
        error.setControl(controlInfo(control).name, text.toStdString());
        if (error.code() == int(ErrorNumber::Overflow) && error.detail().empty()) {
            error.setDetail(limit);
        }
        throw;
    }
}

float single(const EditorFields& fields, Control control, const QLocale& locale) {
    return read(fields, control, "a number goes up to 3.4028235e38 either way",
                [&](const QString& text) { return textToSingle(text, locale); });
}

std::array<float, 3> singles(const EditorFields& fields, std::span<const ControlInfo, 3> boxes,
                             const QLocale& locale) {
    return {single(fields, boxes[0].id, locale), single(fields, boxes[1].id, locale),
            single(fields, boxes[2].id, locale)};
}

// The box's text in the code page's bytes, refused when a character has no byte there: a
// "?" in its place would change the name or the script without a word.
std::string codePageText(const EditorFields& fields, Control control, const QByteArray& codePage) {
    const QString text = fields.text(control);
    const qsizetype missing = missingCharacter(text, codePage);
    if (missing < 0) {
        return toCodePage(text, codePage).toStdString();
    }
    const bool pair = missing + 1 < text.size() && text[missing].isHighSurrogate() &&
                      text[missing + 1].isLowSurrogate();
    const char32_t code =
        pair ? QChar::surrogateToUcs4(text[missing], text[missing + 1]) : text[missing].unicode();
    QString character = QStringLiteral("U+%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper();
    if (QChar::isPrint(code) && !QChar::isSurrogate(code)) {
        character = QStringLiteral("\"%1\" (%2)").arg(text.mid(missing, pair ? 2 : 1), character);
    }
    RunTimeError error(ErrorNumber::InvalidArgument,
                       QStringLiteral("%1 is not in the code page %2")
                           .arg(character, QString::fromLatin1(codePage))
                           .toStdString());
    error.setControl(controlInfo(control).name, text.toStdString());
    throw error;
}

std::string composeOrSayWhatIsTooLong(const HumanRecord& human) {
    try {
        return composeHumanRecord(human);
    } catch (RunTimeError& error) {
        // Only the texts make a record too long; the script is the one that can be long.
        HumanRecord withoutScript = human;
        withoutScript.script.clear();
        std::size_t rest = 0;
        try {
            rest = composeHumanRecord(withoutScript).size();
        } catch (const RunTimeError&) {
            error.setDetail("the internal name and the 3D model name are too long for a record");
            throw error;
        }
        error.setControl(controlInfo(Control::script).name, {});
        error.setDetail("script length " + std::to_string(human.script.size()) + ", at most " +
                        std::to_string(kMaxRecordLength - rest) + " with these names");
        throw;
    }
}

} // namespace

void makeChangeFile(EditorFields& fields, const QLocale& locale, ChangeFileWrite* write) {
    const ComposedChangeFile file = composeChangeFile(fields, locale);
    writeChangeFile(file.path, file.bytes, write);
}

ComposedChangeFile composeChangeFile(EditorFields& fields, const QLocale& locale) {
    HumanRecord human;
    human.position = singles(fields, kPositionFields, locale);
    human.rotation = singles(fields, kRotationFields, locale);
    human.scale = singles(fields, kScaleFields, locale);

    const QByteArray codePage = systemCodePage();
    human.name = codePageText(fields, Control::namn, codePage);
    human.model = codePageText(fields, Control::model, codePage);
    human.behaviour = behaviourCode(fields.text(Control::behavior));
    human.typeParameter =
        read(fields, Control::paramlong1, "a type goes from -2147483648 to 2147483647",
             [&](const QString& text) { return textToLong(text, locale); });

    for (std::size_t i = 0; i < kParameterFields.size(); ++i) {
        const ControlInfo& field = kParameterFields[i];
        fields.setText(field.id, startNumberText(field, locale));
        human.parameters[i] = single(fields, field.id, locale);
    }

    human.script = codePageText(fields, Control::script, codePage);

    QByteArray file = QByteArray::fromStdString(composeOrSayWhatIsTooLong(human));
    file.append(kLineEnd);

    const QString name = fields.text(Control::filenavn);
    const std::optional<QByteArray> nativeName = encodedFileName(name);
    const QString fault =
        nativeName ? fileNameFault(name)
                   : QStringLiteral("the name has characters no file name can hold");
    if (!fault.isEmpty()) {
        RunTimeError error(ErrorNumber::BadFileName, fault.toStdString());
        error.setControl(controlInfo(Control::filenavn).name, name.toStdString());
        throw error;
    }
    return {pathInFolder(fields.directoryPath(), *nativeName), file};
}

} // namespace pelomart
