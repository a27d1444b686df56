// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "commands.h"

#include "shown_text.h"

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
    QString source; // "FILE: object N", for a person to read
    std::vector<FieldText> texts;
    QString fileName;
};

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
        const std::optional<Control> control = fieldNamed(it.key());
        if (!control) {
            refuse(QStringLiteral("unknown key \"%1\"").arg(shownValue(it.key())));
            continue;
        }
        if (!it.value().isString()) {
            refuse(QStringLiteral("\"%1\" must be a string, as typed into its box").arg(it.key()));
            continue;
        }
        QString refusal;
        const std::optional<QString> text = boxText(*control, it.value().toString(), refusal);
        if (!text) {
            refuse(refusal);
            continue;
        }
        if (*control == Control::filenavn) {
            if (text->contains(QLatin1Char('/')) || text == u"." || text == u"..") {
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
    const std::optional<QByteArray> bytes = readWholeFileOrReport(path, kLongestJsonFile, err);
    if (!bytes) {
        return std::nullopt;
    }
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(*bytes, &parseError);
    if (document.isNull()) {
        // QJsonDocument takes only an object or an array; a lone value parses inside one.
        if (!bytes->trimmed().isEmpty() && !QJsonDocument::fromJson('[' + *bytes + ']').isNull()) {
            err << shown << ": expected an object or an array of objects" << Qt::endl;
        } else {
            err << shown << ": not JSON: " << parseError.errorString() << " at offset "
                << parseError.offset << Qt::endl;
        }
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
        const QString source = QStringLiteral("%1: object %2").arg(shown).arg(i);
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

// Two objects that would make the same file, compared as the system's names for them; a
// name that has none fails on its own when it is made.
bool namesTwice(const std::vector<Human>& humans, QTextStream& err) {
    QHash<QByteArray, QString> firstSource;
    bool twice = false;
    for (const Human& human : humans) {
        const std::optional<QByteArray> name = encodedFileName(human.fileName);
        if (!name) {
            continue;
        }
        const auto first = firstSource.constFind(*name);
        if (first != firstSource.constEnd()) {
            err << human.source << ": makes \"" << shownValue(human.fileName) << "\" as " << *first
                << " does; nothing was made" << Qt::endl;
            twice = true;
        } else {
            firstSource.insert(*name, human.source);
        }
    }
    return twice;
}

} // namespace

void describeMake(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Makes change files from field texts, as the window's \"make file\" does."));
    addLocaleOption(parser);
    parser.addOption({QStringLiteral("dir"), QStringLiteral("Make the files in DIR (default: .)."),
                      QStringLiteral("DIR"), QStringLiteral(".")});
    parser.addPositionalArgument(QStringLiteral("FILE.json"),
                                 QStringLiteral("One object or an array of objects, keyed by "
                                                "control name; at most 64 MiB."),
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
    if (namesTwice(humans, err)) {
        return kFileFailed;
    }

    const QByteArray directoryBytes = nativeBytes(directory);
    for (const Human& human : humans) {
        if (const std::optional<QString> failure =
                makeFromTexts(human.texts, directoryBytes, *locale)) {
            err << human.source << ": " << *failure << Qt::endl;
            status = kFileFailed;
        } else {
            QByteArray made = *encodedFileName(human.fileName);
            if (directory != u".") {
                made.prepend(directoryBytes.endsWith('/') ? directoryBytes : directoryBytes + '/');
            }
            out << shownPath(made) << '\n';
        }
    }
    return status;
}

} // namespace pelomart::chg
