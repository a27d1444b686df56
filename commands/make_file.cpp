// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "make_file.h"

#include "behaviour_codes.h"
#include "change_file_writer.h"
#include "code_page.h"
#include "human_record_composer.h"
#include "numbers.h"
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

void Command4_Click(EditorFields& fields, const QLocale& locale) {
    HumanRecord human;
    human.position = singles(fields, kPositionFields, locale);
    human.rotation = singles(fields, kRotationFields, locale);
    human.scale = singles(fields, kScaleFields, locale);

    const QByteArray codePage = systemCodePage();
    human.name = toCodePage(fields.text(Control::namn), codePage).toStdString();
    human.model = toCodePage(fields.text(Control::model), codePage).toStdString();
    human.behaviour = behaviourCode(fields.text(Control::behavior));
    human.typeParameter =
        read(fields, Control::paramlong1, "a type goes from -2147483648 to 2147483647",
             [&](const QString& text) { return textToLong(text, locale); });

    // Parameters 2 to 17 always go into the file with the values the window starts with,
    // whatever the fields show; the field is set first, in the user's own number format.
    for (std::size_t i = 0; i < kParameterFields.size(); ++i) {
        const ControlInfo& field = kParameterFields[i];
        fields.setText(field.id, fixedParameterText(field, locale));
        human.parameters[i] = single(fields, field.id, locale);
    }

    human.script = toCodePage(fields.text(Control::script), codePage).toStdString();

    QByteArray file = QByteArray::fromStdString(composeOrSayWhatIsTooLong(human));
    file.append(kLineEnd);

    const QString name = fields.text(Control::filenavn);
    const std::optional<QByteArray> nativeName = encodedFileName(name);
    if (!nativeName) {
        RunTimeError error(ErrorNumber::BadFileName,
                           "the name has characters no file name can hold");
        error.setControl(controlInfo(Control::filenavn).name, name.toStdString());
        throw error;
    }
    writeChangeFile(fields.directoryPath() + '/' + *nativeName, file);
}

} // namespace pelomart
