#include "make_file.h"

#include "change_file_writer.h"
#include "code_page.h"
#include "human_record.h"
#include "numbers.h"

#include <QDir>
#include <QFile>

namespace pelomart {
namespace {

float single(const EditorFields& fields, Control control, const QLocale& locale) {
    return textToSingle(fields.text(control), locale);
}

// Parameters 2 to 17 always go into the file with the values the window starts with,
// whatever the fields show; the field is set first, in the user's own number format.
QString fixedParameterText(const ControlInfo& field, const QLocale& locale) {
    return numberToText(QLocale::c().toDouble(QLatin1String(field.text)), locale);
}

} // namespace

int behaviourCode(const QString& name) {
    int code = 2;
    for (const Behaviour& behaviour : kBehaviours) {
        if (name == QLatin1String(behaviour.name)) {
            code = behaviour.code;
        }
    }
    return code;
}

void Command4_Click(EditorFields& fields, const QLocale& locale) {
    HumanRecord human;
    human.position = {single(fields, Control::x, locale), single(fields, Control::y, locale),
                      single(fields, Control::z, locale)};
    human.rotation = {single(fields, Control::xrotsing, locale),
                      single(fields, Control::yrotsing, locale),
                      single(fields, Control::zrotsing, locale)};
    human.scale = {single(fields, Control::xscalesing, locale),
                   single(fields, Control::yscalesing, locale),
                   single(fields, Control::zscalesing, locale)};

    const QByteArray codePage = systemCodePage();
    human.name = toCodePage(fields.text(Control::namn), codePage).toStdString();
    human.model = toCodePage(fields.text(Control::model), codePage).toStdString();
    human.behaviour = behaviourCode(fields.text(Control::behavior));
    human.typeParameter = textToLong(fields.text(Control::paramlong1), locale);

    for (std::size_t i = 0; i < kParameterFields.size(); ++i) {
        const ControlInfo& field = kParameterFields[i];
        fields.setText(field.id, fixedParameterText(field, locale));
        human.parameters[i] = single(fields, field.id, locale);
    }

    human.script = toCodePage(fields.text(Control::script), codePage).toStdString();

    const std::string record = composeHumanRecord(human);

    const QByteArray path =
        QFile::encodeName(fields.directoryPath() + QDir::separator() + fields.text(Control::filenavn));
    QByteArray file = QByteArray::fromStdString(record);
    file.append(kLineEnd);
    writeChangeFile(path, file);
}

} // namespace pelomart
