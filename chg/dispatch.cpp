// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "change_file_tool.h"

#include "check.h"
#include "help_text.h"
#include "list.h"
#include "make.h"
#include "set.h"
#include "show.h"
#include "shown_text.h"

#include <QCoreApplication>
#include <QTextStream>
#include <array>

namespace pelomart::chg {
namespace {

// A command, described once: its parser gives both its own --help and its line in the
// overview.
struct Command {
    const char* name;
    // Adds the description, options and positional arguments.
    void (*describe)(QCommandLineParser& parser);
    int (*run)(const QCommandLineParser& parser, QTextStream& out, QTextStream& err);
};

// clang-format off
constexpr std::array kCommands{
    Command{"show", describeShow, show},
    Command{"list", describeList, list},
    Command{"check", describeCheck, check},
    Command{"make", describeMake, make},
    Command{"set", describeSet, set},
};
// clang-format on

QString programName() {
    return QStringLiteral("pelomart-chg");
}

// The command's help, its usage line naming the command rather than the binary's path.
QString commandHelp(const QCommandLineParser& parser, const Command& command) {
    return helpText(parser, programName() + u' ' + QLatin1String(command.name));
}

// The overview, built from each command's own usage line and description.
QString usage() {
    QString text = QStringLiteral("Usage: %1 COMMAND [options] FILE...\n"
                                  "Shows, checks and makes Pelomart's change files.\n\n"
                                  "Commands:\n")
                       .arg(programName());
    for (const Command& command : kCommands) {
        QCommandLineParser parser;
        command.describe(parser);
        const QString help = commandHelp(parser, command);
        const QString usageLine = help.section(u'\n', 0, 0).mid(7);
        text += QStringLiteral("  %1\n      %2\n").arg(usageLine, parser.applicationDescription());
    }
    text += QStringLiteral("\nOptions:\n"
                           "  -h, --help     this help; COMMAND --help for the command's own\n"
                           "  --version      the version\n\n"
                           "Exit status: 0 success, 1 a file failed, 2 a usage error.\n");
    return text;
}

int runCommand(const Command& command, const QStringList& arguments, QTextStream& out,
               QTextStream& err) {
    QCommandLineParser parser;
    command.describe(parser);
    parser.addHelpOption();
    const QString prefix =
        programName() + u' ' + QLatin1String(command.name) + QStringLiteral(": ");
    if (!parser.parse(arguments)) {
        err << prefix << shownValue(parser.errorText()) << Qt::endl;
        return kUsageError;
    }
    // Every help option prints help and does nothing else.
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        out << commandHelp(parser, command);
        return kSuccess;
    }
    if (parser.positionalArguments().isEmpty()) {
        err << prefix << "no file given" << Qt::endl;
        return kUsageError;
    }
    return command.run(parser, out, err);
}

} // namespace

int run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const QString name = arguments.value(1);
    for (const Command& command : kCommands) {
        if (name == QLatin1String(command.name)) {
            // The command's name stands in for the program in its own parser.
            return runCommand(command, arguments.mid(1), out, err);
        }
    }
    if (name == u"-h" || name == u"--help" || name == u"--help-all" || name == u"help") {
        out << usage();
        return kSuccess;
    }
    if (name == u"--version") {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
            << '\n';
        return kSuccess;
    }
    err << (name.isEmpty()
                ? programName() + QStringLiteral(": no command given")
                : programName() + QStringLiteral(": unknown command \"%1\"").arg(shownValue(name)))
        << "\n\n"
        << usage();
    return kUsageError;
}

} // namespace pelomart::chg
