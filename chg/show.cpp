#include "commands.h"

#include "code_page.h"
#include "record_texts.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <cmath>

namespace pelomart::chg {
namespace {

// The shortest text that reads back to the same binary32, with "." for the point.
QString floatText(float value) {
    if (std::isnan(value)) {
        return QStringLiteral("nan");
    }
    if (std::isinf(value)) {
        return QLatin1String(value > 0 ? "inf" : "-inf");
    }
    return singleText(value, QLocale::c());
}

template <std::size_t N> QString floats(const std::array<float, N>& values) {
    QStringList texts;
    for (const float value : values) {
        texts << floatText(value);
    }
    return texts.join(QLatin1Char(' '));
}

// A text of the record with each byte the code page leaves undefined as "\xNN".
QString asText(const std::string& bytes, const QByteArray& codePage) {
    return fromCodePage(QByteArrayView(bytes.data(), qsizetype(bytes.size())), codePage);
}

void showText(const HumanRecord& h, const RecordTexts& texts, const QByteArray& codePage,
              const QString& path, QTextStream& out) {
    out << path << ":\n";
    out << "  position        " << floats(h.position) << '\n';
    out << "  scale           " << floats(h.scale) << '\n';
    out << "  rotation        " << floats(h.rotation) << '\n';
    out << "  internal name   " << asText(h.name, codePage) << '\n';
    out << "  3D model name   " << asText(h.model, codePage) << '\n';
    out << "  behaviour       " << h.behaviour;
    if (!texts[Control::behavior].isEmpty()) {
        out << " (" << texts[Control::behavior] << ')';
    }
    out << '\n';
    out << "  type parameter  " << h.typeParameter << " ("
        << (h.typeParameter > kLastManType ? kWoman : kMan) << ")\n";
    out << "  parameters      " << floats(h.parameters) << '\n';
    out << "  script          " << h.script.size() << " characters\n";
    const QStringList lines = asText(h.script, codePage).split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // The script's last line end leaves an empty last piece: not a line of its own.
        if (i + 1 < lines.size() || !lines[i].isEmpty()) {
            out << "    " << lines[i] << '\n';
        }
    }
}

QJsonObject jsonTexts(const RecordTexts& texts, const QString& fileName) {
    QJsonObject object;
    for (const ControlInfo& field : kEditorFields) {
        object.insert(QLatin1String(field.name), texts[field.id]);
    }
    object.insert(controlName(Control::filenavn), fileName);
    return object;
}

} // namespace

void describeShow(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral("Lists the values of change files."));
    parser.addOption({QStringLiteral("json"),
                      QStringLiteral("One JSON array of field texts, as make reads them.")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Change files."),
                                 QStringLiteral("FILE..."));
}

int show(const QCommandLineParser& parser, QTextStream& out, QTextStream& err) {
    const bool json = parser.isSet(QStringLiteral("json"));
    const QByteArray codePage = systemCodePage();
    int status = kSuccess;
    QJsonArray all;
    for (const QString& path : parser.positionalArguments()) {
        const std::optional<HumanRecord> human = readChangeFile(path, err);
        if (!human) {
            status = kFileFailed;
            continue;
        }
        const RecordTexts texts = recordTexts(*human, QLocale::c(), codePage);
        if (json) {
            all.append(jsonTexts(texts, QFileInfo(path).fileName()));
        } else {
            showText(*human, texts, codePage, path, out);
        }
    }
    if (json) {
        out << QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Indented));
    }
    return status;
}

} // namespace pelomart::chg
