#pragma once

#include "change_file_tool.h"
#include "human_record.h"

#include <QByteArray>
#include <QCommandLineParser>
#include <QString>
#include <optional>
#include <span>

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

// The whole of a file of at most `longest` bytes, or a message on `err` that names the
// file and why it cannot be read: missing, unreadable, not a regular file, too long.
std::optional<QByteArray> readWholeFile(const QString& path, qint64 longest, QTextStream& err);

// The record of a change file, or a message on `err`.
std::optional<HumanRecord> readChangeFile(const QString& path, QTextStream& err);

} // namespace pelomart::chg
