// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "set.h"

#include "change_file_tool.h"
#include "did_you_mean.h"
#include "file_reports.h"
#include "locale_option.h"
#include "make_from_texts.h"

#include "code_page.h"
#include "shown_text.h"

#include <QTextStream>
#include <algorithm>
#include <vector>

namespace pelomart::chg {
namespace {

using Assignment = std::pair<QString, QString>;

// The KEY=TEXT arguments, or a usage error on `err`.
std::optional<std::vector<Assignment>> assignments(const QStringList& arguments, QTextStream& err) {
    const QString prefix = QStringLiteral("pelomart-chg set: ");
    if (arguments.isEmpty()) {
        err << prefix << "nothing to set; give KEY=TEXT after the file" << Qt::endl;
        return std::nullopt;
    }
    std::vector<Assignment> given;
    for (const QString& argument : arguments) {
        const qsizetype equals = argument.indexOf(u'=');
        if (equals <= 0) {
            err << prefix << '"' << shownValue(argument) << "\" is not KEY=TEXT" << Qt::endl;
            return std::nullopt;
        }
        const QString key = argument.left(equals);
        if (std::any_of(given.begin(), given.end(),
                        [&](const auto& a) { return a.first == key; })) {
            err << prefix << shownValue(key) << " is given twice" << Qt::endl;
            return std::nullopt;
        }
        given.emplace_back(key, argument.mid(equals + 1));
    }
    return given;
}

// The value in the file as a person reads it: what the box shows, or the file's own value
// where the box cannot hold it.
QString valueInFile(const RecordInBoxes& texts, Control control) {
    for (const ReplacedValue& value : texts.replaced) {
        if (value.control == control) {
            return value.inFile;
        }
    }
    return texts[control];
}

// KEY: old -> new for each key given, the new value read back from the composed record, so
// that it shows what the file would hold ("1e2" shows as 100).
bool showChanges(const std::vector<Assignment>& given, const RecordInBoxes& texts,
                 const QByteArray& composed, const QLocale& locale, const QString& shown,
                 QTextStream& out, QTextStream& err) {
    const FileForBoxes made = bytesForBoxes(composed, locale, systemCodePage());
    if (!made.record) {
        // Whatever make file composes reads back; this would be a fault of the program.
        err << shown << ": the record composed reads back as " << made.error << Qt::endl;
        return false;
    }
    const RecordInBoxes& after = made.texts;
    for (const auto& [key, text] : given) {
        const Control control = *fieldNamed(key);
        out << key << ": " << shownValue(valueInFile(texts, control)) << " -> "
            << shownValue(valueInFile(after, control)) << '\n';
    }
    return true;
}

} // namespace

void describeSet(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Sets boxes of a change file in place; every other byte stays as it was."));
    addLocaleOption(parser);
    parser.addOption({QStringLiteral("dry-run"),
                      QStringLiteral("Print KEY: old -> new for each change and write nothing; "
                                     "refuses what set refuses.")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The change file."));
    parser.addPositionalArgument(QStringLiteral("KEY=TEXT"),
                                 QStringLiteral("A box by control name and its new text, as make "
                                                "reads it (not filenavn, not paramsing2-17)."),
                                 QStringLiteral("KEY=TEXT..."));
}

int set(const QCommandLineParser& parser, QTextStream& out, QTextStream& err) {
    const std::optional<QLocale> locale = localeOption(parser, QStringLiteral("set"), err);
    if (!locale) {
        return kUsageError;
    }
    const QString path = parser.positionalArguments().first();
    const std::optional<std::vector<Assignment>> given =
        assignments(parser.positionalArguments().mid(1), err);
    if (!given) {
        return kUsageError;
    }

    const QString shown = shownArgument(path);
    bool good = true;
    auto refuse = [&](const QString& message) {
        err << shown << ": " << message << Qt::endl;
        good = false;
    };
    const std::optional<FileForBoxes> file =
        openForBoxesOrReport(path, *locale, systemCodePage(), err);
    if (!file) {
        return kFileFailed;
    }
    const RecordInBoxes& texts = file->texts;
    std::vector<TextForBox> fields;
    for (const ControlInfo& field : kEditorFields) {
        fields.emplace_back(field.id, texts[field.id]);
    }
    std::vector<Control> changed;
    for (const auto& [key, text] : *given) {
        const std::optional<Control> control = fieldNamed(key);
        QString refusal;
        if (!control) {
            refuse(unknownKey(key));
        } else if (*control == Control::filenavn) {
            refuse(QStringLiteral("filenavn cannot be set: set makes the file again in place"));
        } else if (isFixedParameter(*control)) {
            refuse(QStringLiteral("%1 cannot be set: make file always writes %2")
                       .arg(key, texts[*control]));
        } else if (hasEscapedBytes(text)) {
            // Read as UTF-8, such bytes would reach the file as "?".
            refuse(QStringLiteral("%1 \"%2\": the text is not valid UTF-8")
                       .arg(key, shownArgument(text)));
        } else if (const std::optional<QString> box = boxText(*control, text, refusal)) {
            fields[std::size_t(*control)].second = *box;
            changed.push_back(*control);
        } else {
            refuse(refusal);
        }
    }
    // Making the file again would quietly change these; a box being set takes its new text anyway.
    for (const ReplacedValue& value : texts.replaced) {
        if (std::find(changed.begin(), changed.end(), value.control) == changed.end()) {
            refuse(QStringLiteral("%1: %2 in the file; make writes %3; the file is left as it was")
                       .arg(controlName(value.control), shownText(value.inFile),
                            shownText(value.written)));
        }
    }
    if (!good) {
        return kFileFailed;
    }

    // Replaced only if the file still holds what was read: a change another program made
    // since then is kept, and this one is refused.
    ChangeFileWrite write;
    write.expected = file->bytes;
    QByteArray composed;
    const bool dryRun = parser.isSet(QStringLiteral("dry-run"));
    if (const std::optional<QString> failure =
            makeFromTexts(fields, file->folder, *locale, &write, dryRun ? &composed : nullptr)) {
        refuse(*failure);
        return kFileFailed;
    }
    if (dryRun) {
        return showChanges(*given, texts, composed, *locale, shown, out, err) ? kSuccess
                                                                              : kFileFailed;
    }
    out << shown << '\n';
    if (write.otherNames > 0) {
        err << otherNamesWarning(shown, write.otherNames) << Qt::endl;
    }
    return kSuccess;
}

} // namespace pelomart::chg
