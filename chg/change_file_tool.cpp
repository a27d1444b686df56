#include "change_file_tool.h"

#include "code_page.h"
#include "human_record_reader.h"
#include "make_file.h"
#include "memory_form.h"
#include "run_time_error.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QSet>
#include <QTextStream>
#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

namespace pelomart::chg {
namespace {

// A change file holds at most the longest record and its line end; anything longer is
// refused before it is read into memory.
constexpr qint64 kLongestFile = kMaxRecordLength + 2;

QString behaviourText(std::int32_t code) {
    for (const Behaviour& behaviour : kBehaviours) {
        if (behaviour.code == code) {
            return QLatin1String(behaviour.name);
        }
    }
    return QString::number(code);
}

QString behaviourNames() {
    QStringList names;
    for (const Behaviour& behaviour : kBehaviours) {
        names << QLatin1Char('"') + QLatin1String(behaviour.name) + QLatin1Char('"');
    }
    return names.join(QStringLiteral(", "));
}

// A text of the record as the window would show it.
QString asText(const std::string& bytes, const QByteArray& codePage) {
    return fromCodePage(QByteArrayView(bytes.data(), qsizetype(bytes.size())), codePage);
}

QString floats(const float* values, std::size_t count) {
    QStringList texts;
    for (std::size_t i = 0; i < count; ++i) {
        texts << floatText(values[i]);
    }
    return texts.join(QLatin1Char(' '));
}

// The record of a change file, or a message on `err`.
std::optional<HumanRecord> readChangeFile(const QString& path, QTextStream& err) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << path << ": cannot read: " << file.errorString() << Qt::endl;
        return std::nullopt;
    }
    const QByteArray bytes = file.read(kLongestFile + 1);
    if (bytes.size() > kLongestFile) {
        err << path << ": longer than a change file can be (" << kLongestFile << " bytes)"
            << Qt::endl;
        return std::nullopt;
    }
    DecodedHumanRecord decoded = decodeHumanRecord({bytes.constData(), std::size_t(bytes.size())});
    if (!decoded.record) {
        err << path << ": " << QString::fromStdString(decoded.error) << Qt::endl;
        return std::nullopt;
    }
    return std::move(decoded.record);
}

// Parses one command's arguments; a status when the command ends there.
std::optional<int> parseCommand(QCommandLineParser& parser, const QStringList& arguments,
                                QTextStream& out, QTextStream& err) {
    const QCommandLineOption help = parser.addHelpOption();
    const QString command =
        QStringLiteral("pelomart-chg ") + arguments.value(0) + QStringLiteral(": ");
    if (!parser.parse(arguments)) {
        err << command << parser.errorText() << Qt::endl;
        return kUsageError;
    }
    if (parser.isSet(help)) {
        out << parser.helpText();
        return kSuccess;
    }
    if (parser.positionalArguments().isEmpty()) {
        err << command << "no file given" << Qt::endl;
        return kUsageError;
    }
    return std::nullopt;
}

void showText(const HumanRecord& h, const QString& path, const QByteArray& codePage,
              QTextStream& out) {
    auto text = [&](const std::string& bytes) { return asText(bytes, codePage); };
    out << path << ":\n";
    out << "  position        " << floats(h.position.data(), 3) << '\n';
    out << "  scale           " << floats(h.scale.data(), 3) << '\n';
    out << "  rotation        " << floats(h.rotation.data(), 3) << '\n';
    out << "  internal name   " << text(h.name) << '\n';
    out << "  3D model name   " << text(h.model) << '\n';
    out << "  behaviour       " << h.behaviour;
    const QString name = behaviourText(h.behaviour);
    if (name != QString::number(h.behaviour)) {
        out << " (" << name << ')';
    }
    out << '\n';
    out << "  type parameter  " << h.typeParameter << " ("
        << (h.typeParameter > kLastManType ? kWoman : kMan) << ")\n";
    out << "  parameters      " << floats(h.parameters.data(), h.parameters.size()) << '\n';
    out << "  script          " << h.script.size() << " characters\n";
    const QStringList lines = text(h.script).split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // The script's last line end leaves an empty last piece: not a line of its own.
        if (i + 1 < lines.size() || !lines[i].isEmpty()) {
            out << "    " << lines[i] << '\n';
        }
    }
}

int show(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Lists the values of change files."));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("One JSON array of field texts, as make reads "
                                                 "them."));
    parser.addOption(json);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Change files."),
                                 QStringLiteral("FILE..."));
    if (const std::optional<int> status = parseCommand(parser, arguments, out, err)) {
        return *status;
    }
    const QByteArray codePage = systemCodePage();
    int status = kSuccess;
    QJsonArray all;
    for (const QString& path : parser.positionalArguments()) {
        const std::optional<HumanRecord> human = readChangeFile(path, err);
        if (!human) {
            status = kFileFailed;
        } else if (parser.isSet(json)) {
            all.append(fieldTexts(*human, QFileInfo(path).fileName(), codePage));
        } else {
            showText(*human, path, codePage, out);
        }
    }
    if (parser.isSet(json)) {
        out << QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Indented));
    }
    return status;
}

int check(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Checks change files; prints why each bad one is refused."));
    const QCommandLineOption verbose(QStringLiteral("v"),
                                     QStringLiteral("Name the good files too."));
    parser.addOption(verbose);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Change files."),
                                 QStringLiteral("FILE..."));
    if (const std::optional<int> status = parseCommand(parser, arguments, out, err)) {
        return *status;
    }
    int status = kSuccess;
    for (const QString& path : parser.positionalArguments()) {
        if (!readChangeFile(path, err)) {
            status = kFileFailed;
        } else if (parser.isSet(verbose)) {
            out << path << ": ok\n";
        }
    }
    return status;
}

// One object of a JSON file, checked and ready to make.
struct Human {
    QString source; // "FILE, object N"
    std::vector<std::pair<Control, QString>> texts;
    QString fileName;
};

QString withCrLf(QString script) {
    script.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    script.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    script.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return script;
}

bool isEditorField(Control control) {
    return std::size_t(control) < kEditorFields.size();
}

// The behaviour list's name for a name or a code; nothing when the list has neither.
std::optional<QString> behaviourEntry(const QString& text) {
    for (const Behaviour& behaviour : kBehaviours) {
        if (text == QLatin1String(behaviour.name) || text == QString::number(behaviour.code)) {
            return QLatin1String(behaviour.name);
        }
    }
    return text.isEmpty() ? std::optional<QString>(QString()) : std::nullopt;
}

// The object's texts, or the reasons it cannot be made.
std::optional<Human> readHuman(const QJsonValue& value, const QString& source, QTextStream& err) {
    if (!value.isObject()) {
        err << source << ": not a JSON object" << Qt::endl;
        return std::nullopt;
    }
    Human human{source, {}, startText(Control::filenavn)};
    bool good = true;
    auto refuse = [&](const QString& message) {
        err << source << ": " << message << Qt::endl;
        good = false;
    };
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::optional<Control> control = controlNamed(it.key());
        if (!control || !isEditorField(*control)) {
            refuse(QStringLiteral("unknown key \"%1\"").arg(it.key()));
            continue;
        }
        if (!it.value().isString()) {
            refuse(QStringLiteral("\"%1\" must be a string, as typed into its box").arg(it.key()));
            continue;
        }
        QString text = it.value().toString();
        if (*control == Control::behavior) {
            const std::optional<QString> entry = behaviourEntry(text);
            if (!entry) {
                refuse(QStringLiteral("behavior \"%1\" is not in the list; it takes %2 or their "
                                      "codes")
                           .arg(text, behaviourNames()));
                continue;
            }
            text = *entry;
        } else if (*control == Control::script) {
            text = withCrLf(text);
        } else if (*control == Control::filenavn) {
            if (text.contains(QLatin1Char('/')) || text == u"." || text == u"..") {
                refuse(QStringLiteral("filenavn \"%1\" is not a plain file name").arg(text));
                continue;
            }
            human.fileName = text;
        }
        human.texts.emplace_back(*control, text);
    }
    if (!good) {
        return std::nullopt;
    }
    return human;
}

// Every object of one JSON file, or nothing when the file cannot be used.
std::optional<std::vector<Human>> readJsonFile(const QString& path, QTextStream& err) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << path << ": cannot read: " << file.errorString() << Qt::endl;
        return std::nullopt;
    }
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (document.isNull()) {
        err << path << ": not JSON: " << parseError.errorString() << " at offset "
            << parseError.offset << Qt::endl;
        return std::nullopt;
    }
    QJsonArray objects;
    if (document.isObject()) {
        objects.append(document.object());
    } else {
        objects = document.array();
    }
    std::vector<Human> humans;
    bool good = true;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        const QString source = QStringLiteral("%1: object %2").arg(path).arg(i);
        if (std::optional<Human> human = readHuman(objects[i], source, err)) {
            humans.push_back(std::move(*human));
        } else {
            good = false;
        }
    }
    if (!good) {
        return std::nullopt;
    }
    return humans;
}

// Makes one file as the window's button does: the texts typed into a fresh window, then
// the make-file command.
void makeOne(const Human& human, const QString& directory, const QLocale& locale) {
    MemoryForm form;
    form.setDirectoryPath(directory);
    for (const auto& [control, text] : human.texts) {
        try {
            form.setText(control, text);
        } catch (const RunTimeError&) {
            // Typed into the window, the type parameter's behaviour would report this too
            // and leave the text; the command then meets the same text and reports it.
        }
    }
    Command4_Click(form, locale);
}

int make(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Makes change files from field texts, as the window's \"make file\" does."));
    const QCommandLineOption localeOption(
        QStringLiteral("locale"),
        QStringLiteral("Read numbers as this locale writes them (default: the environment's)."),
        QStringLiteral("NAME"));
    const QCommandLineOption dirOption(QStringLiteral("dir"),
                                       QStringLiteral("Make the files in DIR (default: .)."),
                                       QStringLiteral("DIR"), QStringLiteral("."));
    parser.addOption(localeOption);
    parser.addOption(dirOption);
    parser.addPositionalArgument(QStringLiteral("FILE.json"),
                                 QStringLiteral("One object or an array of objects, keyed by "
                                                "control name."),
                                 QStringLiteral("FILE.json..."));
    if (const std::optional<int> status = parseCommand(parser, arguments, out, err)) {
        return *status;
    }
    QLocale locale;
    if (parser.isSet(localeOption)) {
        const QString name = parser.value(localeOption);
        locale = QLocale(name);
        // QLocale takes an unknown name for C without a word.
        if (locale == QLocale::c() && name != u"C" && name != u"POSIX") {
            err << "pelomart-chg make: unknown locale \"" << name << '"' << Qt::endl;
            return kUsageError;
        }
    }
    const QString directory = parser.value(dirOption);

    int status = kSuccess;
    std::vector<Human> humans;
    for (const QString& path : parser.positionalArguments()) {
        std::optional<std::vector<Human>> read = readJsonFile(path, err);
        if (!read) {
            status = kFileFailed;
            continue;
        }
        std::move(read->begin(), read->end(), std::back_inserter(humans));
    }
    QHash<QString, QString> firstSource;
    bool duplicates = false;
    for (const Human& human : humans) {
        const auto first = firstSource.constFind(human.fileName);
        if (first != firstSource.constEnd()) {
            err << human.source << ": makes \"" << human.fileName << "\" as " << *first
                << " does; nothing was made" << Qt::endl;
            duplicates = true;
        } else {
            firstSource.insert(human.fileName, human.source);
        }
    }
    if (duplicates) {
        return kFileFailed;
    }

    for (const Human& human : humans) {
        try {
            makeOne(human, directory, locale);
            out << QDir(directory).filePath(human.fileName) << '\n';
        } catch (const RunTimeError& error) {
            err << human.source << ": run-time error " << error.code() << ": " << error.what();
            if (!error.detail().empty()) {
                err << " (" << QString::fromStdString(error.detail()) << ')';
            }
            err << Qt::endl;
            status = kFileFailed;
        }
    }
    return status;
}

QString usage() {
    return QStringLiteral(
        "Usage: pelomart-chg COMMAND [OPTIONS] FILE...\n"
        "Shows, checks and makes Pelomart's change files.\n\n"
        "Commands:\n"
        "  show [--json] FILE...                       list each file's values\n"
        "  check [-v] FILE...                          say why each bad file is refused\n"
        "  make [--locale NAME] [--dir DIR] FILE.json...  make change files from field texts\n\n"
        "Options:\n"
        "  -h, --help     this help; COMMAND --help for the command's own\n"
        "  --version      the version\n\n"
        "Exit status: 0 success, 1 a file failed, 2 a usage error.\n");
}

} // namespace

QString floatText(float value) {
    if (std::isnan(value)) {
        return QStringLiteral("nan");
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QJsonObject fieldTexts(const HumanRecord& human, const QString& fileName,
                       const QByteArray& codePage) {
    auto text = [&](const std::string& bytes) { return asText(bytes, codePage); };
    QJsonObject object;
    auto put = [&](Control control, const QString& value) {
        object.insert(controlName(control), value);
    };
    const Control position[] = {Control::x, Control::y, Control::z};
    const Control scale[] = {Control::xscalesing, Control::yscalesing, Control::zscalesing};
    const Control rotation[] = {Control::xrotsing, Control::yrotsing, Control::zrotsing};
    for (std::size_t i = 0; i < 3; ++i) {
        put(position[i], floatText(human.position[i]));
        put(scale[i], floatText(human.scale[i]));
        put(rotation[i], floatText(human.rotation[i]));
    }
    put(Control::namn, text(human.name));
    put(Control::model, text(human.model));
    put(Control::behavior, behaviourText(human.behaviour));
    put(Control::paramlong1, QString::number(human.typeParameter));
    for (std::size_t i = 0; i < kParameterFields.size(); ++i) {
        put(kParameterFields[i].id, floatText(human.parameters[i]));
    }
    put(Control::script, text(human.script));
    put(Control::filenavn, fileName);
    return object;
}

int run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const QString command = arguments.value(1);
    // Each command parses its own options; the command's name stands in for the program.
    const QStringList rest = arguments.mid(1);
    if (command == u"show") {
        return show(rest, out, err);
    }
    if (command == u"check") {
        return check(rest, out, err);
    }
    if (command == u"make") {
        return make(rest, out, err);
    }
    if (command == u"-h" || command == u"--help" || command == u"help") {
        out << usage();
        return kSuccess;
    }
    if (command == u"--version") {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
            << '\n';
        return kSuccess;
    }
    err << (command.isEmpty() ? QStringLiteral("pelomart-chg: no command given")
                              : QStringLiteral("pelomart-chg: unknown command \"%1\"").arg(command))
        << "\n\n"
        << usage();
    return kUsageError;
}

} // namespace pelomart::chg
