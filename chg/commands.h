// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "change_file_tool.h"
#include "change_file_writer.h"
#include "controls.h"
#include "file_for_boxes.h"
#include "shown_text.h"

#include <QByteArray>
#include <QCommandLineParser>
#include <QLocale>
#include <QString>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

class QTextStream;

// The commands of pelomart-chg, each described once: its parser gives both its own --help
// and its line in the overview.
namespace pelomart::chg {

struct Command {
    const char* name;
    // Adds the description, options and positional arguments.
    void (*describe)(QCommandLineParser& parser);
    // Runs with the parsed arguments; there is at least one positional argument.
    int (*run)(const QCommandLineParser& parser, QTextStream& out, QTextStream& err);
};

// show: record -> texts.
void describeShow(QCommandLineParser& parser);
int show(const QCommandLineParser& parser, QTextStream& out, QTextStream& err);
// check: reads and checks files.
void describeCheck(QCommandLineParser& parser);
int check(const QCommandLineParser& parser, QTextStream& out, QTextStream& err);
// make: texts -> files.
void describeMake(QCommandLineParser& parser);
int make(const QCommandLineParser& parser, QTextStream& out, QTextStream& err);
// set: file -> texts, some replaced -> the same file.
void describeSet(QCommandLineParser& parser);
int set(const QCommandLineParser& parser, QTextStream& out, QTextStream& err);

// The whole of a file of at most `longest` bytes, or a message on `err` that names the
// file and why it cannot be read: missing, unreadable, not a regular file, too long.
std::optional<QByteArray> readWholeFileOrReport(const QString& path, qint64 longest,
                                                QTextStream& err);

// The change file opened as the window opens it, or a message on `err` that names the file
// and why it cannot be opened.
std::optional<FileForBoxes> openForBoxesOrReport(const QString& path, const QLocale& locale,
                                                 const QByteArray& codePage, QTextStream& err);

// A text of the record with each byte the code page leaves undefined as "\xNN", and each
// control too: a name must not clear the terminal or set its title.
QString shownRecordText(std::string_view bytes, const QByteArray& codePage);
// Numbers of the record as show prints them, one space between.
QString singlesText(std::span<const float> values);

// show --bytes for one file: a line per field with its offset, size, bytes in hex, name and
// value. False, with a message on `err`, for a file the reader refuses.
bool showBytes(const QString& path, const QByteArray& codePage, QTextStream& out, QTextStream& err);

// list: one aligned line per file.
void describeList(QCommandLineParser& parser);
int list(const QCommandLineParser& parser, QTextStream& out, QTextStream& err);

// The --locale option that make and set share.
void addLocaleOption(QCommandLineParser& parser);
// The locale it names; plainNotation() when not given or given as C, whatever the
// environment; nothing (with a message) for a name Qt does not know.
std::optional<QLocale> localeOption(const QCommandLineParser& parser, const QString& command,
                                    QTextStream& err);

using FieldText = std::pair<Control, QString>;

// The box of that name among those whose texts make a file, x to filenavn.
std::optional<Control> fieldNamed(const QString& key);
// "; did you mean "NAME"?" for the one known name that `given` nearly is (it differs only
// in case, or by one letter), empty when none or several are.
QString didYouMean(const QString& given, const QStringList& known);
// "unknown key "KEY"", with the field's name that it nearly is.
QString unknownKey(const QString& key);

// The text as make file reads it from that box: a behaviour's name for its code, the
// script's line ends as CR LF. Nothing for a behaviour the list does not have; `refusal`
// then says why.
std::optional<QString> boxText(Control control, const QString& text, QString& refusal);

// Types the texts into a fresh window with Dir1 at `directory` and presses make file; a
// position, scale or rotation left out holds its start value written in `locale`.
// Returns why no file was made: a box whose behaviour would hold another text than the
// one given (so the file would not hold the value asked for), or the command's run-time
// error with the box and text it names. `write` goes to the writer (see ChangeFileWrite).
// With `composedOnly`, the file's bytes go there instead of to the file: every step but the
// write runs, and no file is touched.
std::optional<QString> makeFromTexts(std::span<const FieldText> texts, const QByteArray& directory,
                                     const QLocale& locale, ChangeFileWrite* write = nullptr,
                                     QByteArray* composedOnly = nullptr);

// The warning for a file replaced under one name while `otherNames` hard links keep the old
// record; empty when it had no other name.
QString otherNamesWarning(const QString& shownPath, qint64 otherNames);

} // namespace pelomart::chg
