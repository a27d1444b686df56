// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "commands.h"
#include "json_objects.h"

#include "file_place.h"
#include "folders.h"
#include "paths.h"
#include "shown_text.h"

#include <QHash>
#include <QSet>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace pelomart::chg {
namespace {

// Far more than 10,000 humans' worth of JSON, and far less than would strain memory: the
// texts are held as UTF-16, beside the file's bytes while it is parsed.
constexpr qint64 kLongestJsonFile = 64 * 1024 * 1024;

// One object of a JSON file, checked and ready to make.
struct Human {
    QString source; // "FILE: object N", for a person to read
    std::vector<FieldText> texts;
    QString fileName;
};

// The object's texts, or the reasons it cannot be made.
std::optional<Human> readHuman(const JsonValue& value, const QString& source, QTextStream& err) {
    if (!value.isObject) {
        err << source << ": not a JSON object" << Qt::endl;
        return std::nullopt;
    }
    Human human{source, {}, startText(Control::filenavn)};
    bool good = true;
    auto refuse = [&](const QString& message) {
        err << source << ": " << message << Qt::endl;
        good = false;
    };
    QSet<QString> keys;
    for (const Member& member : value.members) {
        if (keys.contains(member.key)) {
            refuse(QStringLiteral("key \"%1\" is given twice").arg(shownValue(member.key)));
            continue;
        }
        keys.insert(member.key);
        const std::optional<Control> control = fieldNamed(member.key);
        if (!control) {
            refuse(unknownKey(member.key));
            continue;
        }
        if (!member.text) {
            refuse(
                QStringLiteral("\"%1\" must be a string, as typed into its box").arg(member.key));
            continue;
        }
        QString refusal;
        const std::optional<QString> text = boxText(*control, *member.text, refusal);
        if (!text) {
            refuse(refusal);
            continue;
        }
        if (*control == Control::filenavn) {
            if (text->contains(QLatin1Char('/')) || text == u"." || text == u".." ||
                !fileNameFault(*text).isEmpty()) {
                refuse(QStringLiteral("filenavn \"%1\" is not a plain file name")
                           .arg(shownValue(*text)));
                continue;
            }
            human.fileName = *text;
        }
        human.texts.emplace_back(*control, *text);
    }
    if (!good) {
        return std::nullopt;
    }
    return human;
}

// Every object of one JSON file, or nothing when the file cannot be used.
std::optional<std::vector<Human>> readJsonFile(const QString& path, QTextStream& err) {
    const QString shown = shownArgument(path);
    const std::optional<std::vector<JsonValue>> values =
        readJsonValues(path, kLongestJsonFile, err);
    if (!values) {
        return std::nullopt;
    }
    std::vector<Human> humans;
    bool good = true;
    for (std::size_t i = 0; i < values->size(); ++i) {
        const QString source = QStringLiteral("%1: object %2").arg(shown).arg(i);
        if (std::optional<Human> human = readHuman((*values)[i], source, err)) {
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

// Two objects that would make one file, named alike or reaching it through links; a name
// that the system cannot be given fails on its own when it is made.
bool namesTwice(const std::vector<Human>& humans, const QByteArray& directory, QTextStream& err) {
    QHash<QByteArray, QString> sourceOfName;
    QHash<FilePlace, QString> sourceOfPlace;
    bool twice = false;
    for (const Human& human : humans) {
        const std::optional<QByteArray> name = encodedFileName(human.fileName);
        if (!name) {
            continue;
        }
        QString first = sourceOfName.value(*name);
        sourceOfName.insert(*name, human.source);
        if (const std::optional<FilePlace> place = placeOf(pathInFolder(directory, *name))) {
            if (first.isEmpty()) {
                first = sourceOfPlace.value(*place);
            }
            sourceOfPlace.insert(*place, human.source);
        }
        if (!first.isEmpty()) {
            err << human.source << ": makes \"" << shownValue(human.fileName) << "\" as " << first
                << " does; nothing was made" << Qt::endl;
            twice = true;
        }
    }
    return twice;
}

// Whether the files can be made in the directory at all; one message on `err` when not,
// rather than one for each object. A directory that takes no new file still lets files
// that exist and are writable be rewritten in place.
bool directoryTakes(const QByteArray& directory, const std::vector<Human>& humans,
                    QTextStream& err) {
    QString reason = folderFault(directory);
    if (const QString noNewFile = reason.isEmpty() ? newFileFault(directory) : QString();
        !noNewFile.isEmpty()) {
        const bool inPlace = std::all_of(humans.begin(), humans.end(), [&](const Human& human) {
            const std::optional<QByteArray> name = encodedFileName(human.fileName);
            return name && isWritableFile(pathInFolder(directory, *name));
        });
        if (!inPlace) {
            reason = noNewFile;
        }
    }
    if (reason.isEmpty()) {
        return true;
    }
    err << shownPath(directory) << ": cannot make files there: " << reason << "; nothing was made"
        << Qt::endl;
    return false;
}

} // namespace

void describeMake(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Makes change files from field texts, as the window's \"make file\" does."));
    addLocaleOption(parser);
    parser.addOption({QStringLiteral("dir"), QStringLiteral("Make the files in DIR (default: .)."),
                      QStringLiteral("DIR"), QStringLiteral(".")});
    parser.addPositionalArgument(
        QStringLiteral("FILE.json"),
        QStringLiteral("One object or an array of objects, keyed by "
                       "control name; at most 64 MiB; - reads standard input."),
        QStringLiteral("FILE.json..."));
}

int make(const QCommandLineParser& parser, QTextStream& out, QTextStream& err) {
    const std::optional<QLocale> locale = localeOption(parser, QStringLiteral("make"), err);
    if (!locale) {
        return kUsageError;
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
    const QByteArray directoryBytes = nativeBytes(directory);
    if (!directoryTakes(directoryBytes, humans, err) || namesTwice(humans, directoryBytes, err)) {
        return kFileFailed;
    }

    for (const Human& human : humans) {
        ChangeFileWrite write;
        if (const std::optional<QString> failure =
                makeFromTexts(human.texts, directoryBytes, *locale, &write)) {
            err << human.source << ": " << *failure << Qt::endl;
            status = kFileFailed;
        } else {
            QByteArray made = *encodedFileName(human.fileName);
            if (directory != u".") {
                made = pathInFolder(directoryBytes, made);
            }
            out << shownPath(made) << '\n';
            if (write.otherNames > 0) {
                err << otherNamesWarning(shownPath(made), write.otherNames) << Qt::endl;
            }
        }
    }
    return status;
}

} // namespace pelomart::chg
