// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "commands.h"

#include "shown_text.h"

#include <QHash>
#include <QSet>
#include <QTextStream>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <nlohmann/json.hpp>
#include <sys/stat.h>
#include <unistd.h>
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

// A member of a JSON object as given: its key, and its text when the value is a string.
struct Member {
    QString key;
    std::optional<QString> text;
};

// A value of the top level or of its array, with the members when it is an object.
struct JsonValue {
    bool isObject = false;
    std::vector<Member> members;
};

// Collects the objects of a JSON text as it is parsed, each member as given, so that a key
// given twice is seen: QJsonDocument keeps only the last of them. Values below a member's
// own are skipped, whatever their depth, with nothing held for them.
class JsonObjects : public nlohmann::json_sax<nlohmann::json> {
public:
    std::vector<JsonValue> values;
    bool topLevelIsArray = false;
    std::string error; // the parser's reason, when the text is not JSON
    std::size_t errorOffset = 0;

    bool null() override { return scalar(); }
    bool boolean(bool) override { return scalar(); }
    bool number_integer(number_integer_t) override { return scalar(); }
    bool number_unsigned(number_unsigned_t) override { return scalar(); }
    bool number_float(number_float_t, const string_t&) override { return scalar(); }
    bool binary(binary_t&) override { return scalar(); }
    bool string(string_t& text) override {
        if (atMemberValue()) {
            values.back().members.push_back({m_key, QString::fromUtf8(text)});
            return true;
        }
        return scalar();
    }
    bool key(string_t& key) override {
        if (m_depth == memberDepth()) {
            m_key = QString::fromUtf8(key);
        }
        return true;
    }
    bool start_object(std::size_t) override { return open(true); }
    bool start_array(std::size_t) override { return open(false); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t offset, const std::string&,
                     const nlohmann::detail::exception& exception) override {
        // The fault itself, without the exception's id ("[json.exception.parse_error.101] ")
        // and its line and column ("parse error at line L, column C: "): the offset says where.
        std::string what = exception.what();
        const std::size_t id = what.find("] ");
        what.erase(0, id == std::string::npos ? 0 : id + 2);
        const std::size_t column = what.find("column ");
        const std::size_t colon = what.find(": ", column);
        error = column == std::string::npos || colon == std::string::npos ? what
                                                                          : what.substr(colon + 2);
        errorOffset = offset;
        return false;
    }

private:
    int memberDepth() const { return topLevelIsArray ? 2 : 1; }
    bool atMemberValue() const {
        return m_depth == memberDepth() && !values.empty() && values.back().isObject;
    }
    // A value of the top level or of its array is one of `values`; a member's value that is
    // not a string is a member without a text.
    void value(bool isObject) {
        if (m_depth == memberDepth() - 1) {
            values.push_back({isObject, {}});
        } else if (atMemberValue()) {
            values.back().members.push_back({m_key, std::nullopt});
        }
    }
    bool scalar() {
        if (m_depth == 0) {
            values.push_back({});
        } else {
            value(false);
        }
        return true;
    }
    bool open(bool isObject) {
        if (m_depth == 0 && !isObject) {
            topLevelIsArray = true;
        } else {
            value(isObject);
        }
        ++m_depth;
        return true;
    }
    bool close() {
        --m_depth;
        return true;
    }

    int m_depth = 0;
    QString m_key;
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

// The JSON named by `path`; "-" is standard input, so that show --json | make - needs no
// file between them. The file reader refuses a pipe, which an open by name would wait on.
std::optional<QByteArray> readJsonInput(const QString& path, QTextStream& err) {
    if (path != u"-") {
        return readWholeFileOrReport(path, kLongestJsonFile, err);
    }
    QByteArray bytes;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got == 0) {
            return bytes;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            err << "-: cannot read: " << qt_error_string(errno) << Qt::endl;
            return std::nullopt;
        }
        bytes.append(buffer, got);
        if (bytes.size() > kLongestJsonFile) {
            err << "-: cannot read: longer than " << kLongestJsonFile << " bytes" << Qt::endl;
            return std::nullopt;
        }
    }
}

// Every object of one JSON file, or nothing when the file cannot be used.
std::optional<std::vector<Human>> readJsonFile(const QString& path, QTextStream& err) {
    const QString shown = shownArgument(path);
    std::optional<QByteArray> bytes = readJsonInput(path, err);
    if (!bytes) {
        return std::nullopt;
    }
    // The parser keeps every blank before a token as part of it, one byte at a time: blanks
    // around the value, which JSON allows and which mean nothing, are left out.
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    const auto first = std::find_if_not(bytes->cbegin(), bytes->cend(), isBlank);
    auto last = bytes->cend();
    while (last != first && isBlank(*(last - 1))) {
        --last;
    }
    JsonObjects parsed;
    const bool isJson = nlohmann::json::sax_parse(first, last, &parsed);
    const qsizetype skipped = first - bytes->cbegin();
    bytes.reset();
    if (!isJson) {
        err << shown << ": not JSON: " << shownValue(QString::fromStdString(parsed.error))
            << " at offset " << skipped + qsizetype(parsed.errorOffset) << Qt::endl;
        return std::nullopt;
    }
    if (!parsed.topLevelIsArray && !parsed.values.front().isObject) {
        err << shown << ": expected an object or an array of objects" << Qt::endl;
        return std::nullopt;
    }
    std::vector<Human> humans;
    bool good = true;
    for (std::size_t i = 0; i < parsed.values.size(); ++i) {
        const QString source = QStringLiteral("%1: object %2").arg(shown).arg(i);
        if (std::optional<Human> human = readHuman(parsed.values[i], source, err)) {
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

// What a name in the directory reaches, once symbolic links are followed as the writer
// follows them: an existing file by its device and inode, so that a hard or symbolic link
// to another object's file is seen; a file still to be made by its directory's device and
// inode and its own name, so that a dangling link to another object's name is seen too.
// Nothing when the chain cannot be followed; the write then fails on its own.
struct Place {
    dev_t device = 0;
    ino_t inode = 0;
    QByteArray name; // empty for an existing file
    bool operator==(const Place&) const = default;
};

size_t qHash(const Place& place, size_t seed = 0) {
    return qHashMulti(seed, place.device, place.inode, place.name);
}

QByteArray directoryPart(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

std::optional<Place> placeOf(QByteArray path) {
    struct stat status {};
    // The writer's limit, which is the kernel's.
    for (int links = 0; links <= 40; ++links) {
        if (::lstat(path.constData(), &status) != 0) {
            if (errno != ENOENT || ::stat(directoryPart(path).constData(), &status) != 0) {
                return std::nullopt;
            }
            return Place{status.st_dev, status.st_ino, path.mid(path.lastIndexOf('/') + 1)};
        }
        if (!S_ISLNK(status.st_mode)) {
            return Place{status.st_dev, status.st_ino, {}};
        }
        char link[PATH_MAX];
        const ssize_t size = ::readlink(path.constData(), link, sizeof link);
        if (size < 0 || size == sizeof link) {
            return std::nullopt;
        }
        const QByteArray target(link, size);
        path = target.startsWith('/') ? target : directoryPart(path) + '/' + target;
    }
    return std::nullopt;
}

// Two objects that would make one file, named alike or reaching it through links; a name
// that the system cannot be given fails on its own when it is made.
bool namesTwice(const std::vector<Human>& humans, const QByteArray& directory, QTextStream& err) {
    QHash<QByteArray, QString> sourceOfName;
    QHash<Place, QString> sourceOfPlace;
    bool twice = false;
    for (const Human& human : humans) {
        const std::optional<QByteArray> name = encodedFileName(human.fileName);
        if (!name) {
            continue;
        }
        QString first = sourceOfName.value(*name);
        sourceOfName.insert(*name, human.source);
        if (const std::optional<Place> place = placeOf(directory + '/' + *name)) {
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
    struct stat status {};
    QString reason;
    if (::stat(directory.constData(), &status) != 0) {
        reason = qt_error_string(errno);
    } else if (!S_ISDIR(status.st_mode)) {
        reason = QStringLiteral("not a directory");
    } else if (status.st_nlink == 0) {
        reason = QStringLiteral("the directory has been removed");
    } else if (::access(directory.constData(), W_OK | X_OK) != 0) {
        const int error = errno;
        const bool inPlace = std::all_of(humans.begin(), humans.end(), [&](const Human& human) {
            const std::optional<QByteArray> name = encodedFileName(human.fileName);
            return name && ::access((directory + '/' + *name).constData(), W_OK) == 0;
        });
        if (!inPlace) {
            reason = qt_error_string(error);
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
                made.prepend(directoryBytes.endsWith('/') ? directoryBytes : directoryBytes + '/');
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
