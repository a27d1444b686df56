#include "make_file.h"

#include "change_file_writer.h"
#include "code_page.h"
#include "human_record.h"
#include "numbers.h"
#include "start_texts.h"

#include <QDir>
#include <type_traits>
#include <variant>

namespace pelomart {
namespace {

// Parameters 2 to 17 are always written with these values, whatever the fields show.
using FixedValue = std::variant<std::int32_t, double>;
constexpr std::array<FixedValue, 16> kFixedParameters{
    1, 150, 30, 30, 30, 30, 0.7, 1, 0, 1, 0.3, 1, 1, 0.8, 80, 0.8,
};

float single(const EditorFields& fields, const char* control, const QLocale& locale) {
    return textToSingle(fields.text(QString::fromLatin1(control)), locale);
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
    human.position = {single(fields, "x", locale), single(fields, "y", locale),
                      single(fields, "z", locale)};
    human.rotation = {single(fields, "xrotsing", locale), single(fields, "yrotsing", locale),
                      single(fields, "zrotsing", locale)};
    human.scale = {single(fields, "xscalesing", locale), single(fields, "yscalesing", locale),
                   single(fields, "zscalesing", locale)};

    const QByteArray codePage = systemCodePage();
    human.name = toCodePage(fields.text(QStringLiteral("namn")), codePage).toStdString();
    human.model = toCodePage(fields.text(QStringLiteral("model")), codePage).toStdString();
    human.behaviour = behaviourCode(fields.text(QStringLiteral("behavior")));
    human.typeParameter = textToLong(fields.text(QStringLiteral("paramlong1")), locale);

    for (std::size_t i = 0; i < kFixedParameters.size(); ++i) {
        const QString control = paramsingName(static_cast<int>(i) + 2);
        const QString fixed = std::visit(
            [&](auto value) {
                if constexpr (std::is_same_v<decltype(value), double>) {
                    return numberToText(value, locale);
                } else {
                    return numberToText(value);
                }
            },
            kFixedParameters[i]);
        fields.setText(control, fixed);
        human.parameters[i] = textToSingle(fields.text(control), locale);
    }

    human.script = toCodePage(fields.text(QStringLiteral("script")), codePage).toStdString();

    const std::string record = composeHumanRecord(human);

    const QString path =
        fields.directoryPath() + QDir::separator() + fields.text(QStringLiteral("filenavn"));
    QByteArray file = QByteArray::fromStdString(record);
    file.append(kLineEnd);
    writeChangeFile(path, file);
}

} // namespace pelomart
