#include "commands.h"

#include "behaviour_codes.h"
#include "make_file.h"
#include "memory_form.h"
#include "run_time_error.h"
#include "script_text.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <vector>

namespace pelomart::chg {
namespace {

// Far more than 10,000 humans' worth of JSON, and far less than would strain memory: the
// parser holds several times the file's size.
constexpr qint64 kLongestJsonFile = 64 * 1024 * 1024;

// One object of a JSON file, checked and ready to make.
struct Human {
    QString source; // "FILE: object N"
    std::vector<std::pair<Control, QString>> texts;
    QString fileName;
};

bool isEditorField(Control control) {
    return std::size_t(control) < kEditorFields.size();
}

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
            text = scriptWithCrLf(text);
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
    const std::optional<QByteArray> bytes = readWholeFile(path, kLongestJsonFile, err);
    if (!bytes) {
        return std::nullopt;
    }
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(*bytes, &parseError);
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
    MemoryForm form(locale);
    form.setDirectoryPath(QFile::encodeName(directory));
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

} // namespace

void describeMake(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Makes change files from field texts, as the window's \"make file\" does."));
    parser.addOption(
        {QStringLiteral("locale"),
         QStringLiteral("Read numbers as this locale writes them (default: the environment's)."),
         QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("dir"), QStringLiteral("Make the files in DIR (default: .)."),
                      QStringLiteral("DIR"), QStringLiteral(".")});
    parser.addPositionalArgument(QStringLiteral("FILE.json"),
                                 QStringLiteral("One object or an array of objects, keyed by "
                                                "control name."),
                                 QStringLiteral("FILE.json..."));
}

int make(const QCommandLineParser& parser, QTextStream& out, QTextStream& err) {
    QLocale locale;
    if (parser.isSet(QStringLiteral("locale"))) {
        const QString name = parser.value(QStringLiteral("locale"));
        locale = QLocale(name);
        // QLocale takes an unknown name for C without a word.
        if (locale == QLocale::c() && name != u"C" && name != u"POSIX") {
            err << "pelomart-chg make: unknown locale \"" << name << '"' << Qt::endl;
            return kUsageError;
        }
    }
    const QString directory = parser.value(QStringLiteral("dir"));

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

} // namespace pelomart::chg
