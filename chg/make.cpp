// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "make.h"

#include "change_file_tool.h"
#include "did_you_mean.h"
#include "json_objects.h"
#include "locale_option.h"
#include "make_from_texts.h"

#include "file_place.h"
#include "folders.h"
#include "paths.h"
#include "shown_text.h"

#include <QHash>
#include <QSet>
#include <QTextStream>
#include <algorithm>
#include <cstdint>
#include <deque>
#include <vector>

namespace pelomart::chg {
namespace {

// Far more than 10,000 humans' worth of JSON, and far less than would strain memory: the
// texts are held as UTF-16, beside the file's bytes while it is parsed.
constexpr qint64 kLongestJsonFile = 64 * 1024 * 1024;

// A file of this many failing objects says so in this many lines, then how many more.
constexpr qint64 kShownMessages = 20;

// The messages about objects, each a line: the first kShownMessages as they come, then only
// a count, so that millions of failing objects cannot flood the terminal.
class ObjectMessages {
public:
    explicit ObjectMessages(QTextStream& err) : m_err(err) {}
    ObjectMessages(const ObjectMessages&) = delete;
    ObjectMessages& operator=(const ObjectMessages&) = delete;
    ~ObjectMessages() {
        if (m_left > 0) {
            m_err << "pelomart-chg make: " << m_left << " more messages about objects not shown"
                  << Qt::endl;
        }
    }

    // `message()` gives the line; it is made only when it is shown.
    template <typename Message> void add(const Message& message) {
        if (m_shown < kShownMessages) {
            m_err << message() << Qt::endl;
            ++m_shown;
        } else {
            ++m_left;
        }
    }

    // Counts messages that are not shown; only once kShownMessages have been.
    void leaveOut(qint64 count) { m_left += count; }

private:
    QTextStream& m_err;
    qint64 m_shown = 0;
    qint64 m_left = 0;
};

// Messages held back until their JSON file has been read to the end: one that is not JSON
// is that one message, whatever objects came before the fault.
struct HeldMessages {
    QStringList first;
    qint64 more = 0;

    template <typename Message> void add(const Message& message) {
        if (first.size() < kShownMessages) {
            first << message();
        } else {
            ++more;
        }
    }
};

// One object of a JSON file, checked and ready to make; small, since a file may hold
// millions of them. Its name for a person ("FILE: object N") is made only for a message.
struct Human {
    std::uint32_t file;   // which file, among those given
    std::uint32_t object; // which value of that file
    std::vector<TextForBox> texts;
};

// The file name that the object's texts give, or the box's start text.
QString fileNameOf(const Human& human) {
    for (const auto& [control, text] : human.texts) {
        if (control == Control::filenavn) {
            return text;
        }
    }
    return startText(Control::filenavn);
}

// The objects given, each checked as it is read, and the names of their files.
class Humans {
public:
    explicit Humans(ObjectMessages& messages) : m_messages(messages) {}

    // Adds the objects of one JSON file, checked; false when the file cannot be used, and
    // then none of its objects.
    bool read(const QString& path, QTextStream& err) {
        const auto file = std::uint32_t(m_files.size());
        m_files << shownArgument(path);
        const std::size_t before = m_humans.size();
        FileReader reader(*this, file);
        const bool read = readJsonValues(path, kLongestJsonFile, err, reader);
        if (!read || !reader.good) {
            m_humans.erase(m_humans.begin() + std::ptrdiff_t(before), m_humans.end());
        }
        if (read) {
            for (const QString& message : reader.held.first) {
                m_messages.add([&] { return message; });
            }
            m_messages.leaveOut(reader.held.more);
        }
        return read && reader.good;
    }

    const std::deque<Human>& all() const { return m_humans; }
    QString source(const Human& human) const { return source(human.file, human.object); }

private:
    // Checks each object of one file member by member as the file is parsed, and keeps the
    // texts of the good ones; nothing of a bad one is kept but its messages.
    class FileReader : public JsonValueReader {
    public:
        FileReader(Humans& humans, std::uint32_t file) : m_humans(humans), m_file(file) {}

        bool good = true; // every object so far can be made
        HeldMessages held;

        void begin(bool isObject) override {
            m_human = {m_file, m_object, {}};
            m_good = isObject;
            m_keys.clear();
            if (!isObject) {
                held.add([&] { return source() + QStringLiteral(": not a JSON object"); });
            }
        }
        void member(const QString& key, const std::optional<QString>& text) override {
            if (m_keys.contains(key)) {
                refuse([&] {
                    return QStringLiteral("key \"%1\" is given twice").arg(shownValue(key));
                });
                return;
            }
            m_keys.insert(key);
            const std::optional<Control> control = fieldNamed(key);
            if (!control) {
                refuse([&] { return unknownKey(key); });
                return;
            }
            if (!text) {
                refuse([&] {
                    return QStringLiteral("\"%1\" must be a string, as typed into its box")
                        .arg(key);
                });
                return;
            }
            QString refusal;
            const std::optional<QString> box = boxText(*control, *text, refusal);
            if (!box) {
                refuse([&] { return refusal; });
                return;
            }
            if (*control == Control::filenavn &&
                (box->contains(QLatin1Char('/')) || box == u"." || box == u".." ||
                 !fileNameFault(*box).isEmpty())) {
                refuse([&] {
                    return QStringLiteral("filenavn \"%1\" is not a plain file name")
                        .arg(shownValue(*box));
                });
                return;
            }
            if (m_good) {
                m_human.texts.emplace_back(*control, *box);
            }
        }
        void end() override {
            good = good && m_good;
            // Once one object has failed, none of the file's is made: nothing more is kept.
            if (good) {
                m_human.texts.shrink_to_fit();
                m_humans.m_humans.push_back(std::move(m_human));
            }
            ++m_object;
        }

    private:
        QString source() const { return m_humans.source(m_file, m_object); }
        template <typename Message> void refuse(const Message& message) {
            held.add([&] { return source() + QStringLiteral(": ") + message(); });
            m_good = false;
            m_human.texts.clear();
        }

        Humans& m_humans;
        const std::uint32_t m_file;
        std::uint32_t m_object = 0;
        Human m_human{};
        bool m_good = true;
        QSet<QString> m_keys;
    };

    QString source(std::uint32_t file, std::uint32_t object) const {
        return QStringLiteral("%1: object %2").arg(m_files[file]).arg(object);
    }

    ObjectMessages& m_messages;
    QStringList m_files;        // as shown
    std::deque<Human> m_humans; // a deque: no copy of millions of them as it grows
};

// Two objects that would make one file, named alike or reaching it through links; a name
// that the system cannot be given fails on its own when it is made.
// Each name and place maps to the last object before that made it; a name met again is
// not followed again.
bool namesTwice(const Humans& humans, const QByteArray& directory, ObjectMessages& messages) {
    struct Named {
        const Human* last;
        std::optional<FilePlace> place;
    };
    QHash<QByteArray, Named> byName;
    QHash<FilePlace, const Human*> byPlace;
    bool twice = false;
    for (const Human& human : humans.all()) {
        const QString fileName = fileNameOf(human);
        const std::optional<QByteArray> name = encodedFileName(fileName);
        if (!name) {
            continue;
        }
        const Human* first = nullptr;
        std::optional<FilePlace> place;
        if (const auto named = byName.find(*name); named != byName.end()) {
            first = named->last;
            place = named->place;
            named->last = &human;
        } else {
            place = placeOf(pathInFolder(directory, *name));
            byName.insert(*name, {&human, place});
        }
        if (place) {
            if (!first) {
                first = byPlace.value(*place);
            }
            byPlace.insert(*place, &human);
        }
        if (first) {
            messages.add([&] {
                return humans.source(human) + QStringLiteral(": makes \"") + shownValue(fileName) +
                       QStringLiteral("\" as ") + humans.source(*first) +
                       QStringLiteral(" does; nothing was made");
            });
            twice = true;
        }
    }
    return twice;
}

// Whether the files can be made in the directory at all; one message on `err` when not,
// rather than one for each object. A directory that takes no new file still lets files
// that exist and are writable be rewritten in place.
bool directoryTakes(const QByteArray& directory, const Humans& humans, QTextStream& err) {
    QString reason = folderFault(directory);
    if (const QString noNewFile = reason.isEmpty() ? newFileFault(directory) : QString();
        !noNewFile.isEmpty()) {
        const bool inPlace =
            std::all_of(humans.all().begin(), humans.all().end(), [&](const Human& human) {
                const std::optional<QByteArray> name = encodedFileName(fileNameOf(human));
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
    ObjectMessages messages(err);
    Humans humans(messages);
    for (const QString& path : parser.positionalArguments()) {
        if (!humans.read(path, err)) {
            status = kFileFailed;
        }
    }
    const QByteArray directoryBytes = nativeBytes(directory);
    if (!directoryTakes(directoryBytes, humans, err) ||
        namesTwice(humans, directoryBytes, messages)) {
        return kFileFailed;
    }

    const std::size_t count = humans.all().size();
    std::size_t tried = 0;
    for (const Human& human : humans.all()) {
        ++tried;
        ChangeFileWrite write;
        if (const std::optional<QString> failure =
                makeFromTexts(human.texts, directoryBytes, *locale, &write)) {
            messages.add([&] { return humans.source(human) + QStringLiteral(": ") + *failure; });
            status = kFileFailed;
            // Every file goes into the one directory: the others would each wait as long for
            // the same lock. Those not made are named by count, as one line.
            const std::size_t left = count - tried;
            if (write.lockHeld && left > 0) {
                err << shownPath(directoryBytes) << ": " << left << " more object"
                    << (left == 1 ? " was" : "s were") << " not made, as the directory is locked"
                    << Qt::endl;
                break;
            }
        } else {
            QByteArray made = *encodedFileName(fileNameOf(human));
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
