// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "dir_list.h"
#include "form1.h"
#include "help_text.h"
#include "shown_text.h"
#include "working_directory.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstring>
#include <memory>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// Help, the version and a usage error need no display: they are answered before the
// window's application looks for one, so that they work on a console too. Every option but
// help and the version is an error, and so is a second file.
bool asksOnlyForText(int argc, char* argv[]) {
    bool options = true;
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        if (options && std::strcmp(argv[i], "--") == 0) {
            options = false;
        } else if (options && argv[i][0] == '-' && argv[i][1] != '\0') {
            return true;
        } else {
            ++files;
        }
    }
    return files > 1;
}

// The first argument before "--" that looks like an option and is none of ours, as it was
// given: the parser names the letters of "-h.chg" one by one (".", "c", "g"), which is no
// argument that the user typed.
QString unknownOption(const QStringList& arguments) {
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("--")) {
            break;
        }
        if (argument.startsWith(u'-') && argument != QLatin1String("-") &&
            argument != QLatin1String("-h") && argument != QLatin1String("--help") &&
            argument != QLatin1String("--version")) {
            return argument;
        }
    }
    return {};
}

// pelomart.exe is a window program, which Windows starts without a console: its help,
// version and usage errors go to the console of the command line that started it, unless
// they are redirected to a file or a pipe already.
void reachConsole() {
#ifdef Q_OS_WIN
    const auto redirected = [](DWORD handle) {
        return GetFileType(GetStdHandle(handle)) != FILE_TYPE_UNKNOWN;
    };
    const bool outRedirected = redirected(STD_OUTPUT_HANDLE);
    const bool errRedirected = redirected(STD_ERROR_HANDLE);
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!outRedirected) {
            std::freopen("CONOUT$", "w", stdout);
        }
        if (!errRedirected) {
            std::freopen("CONOUT$", "w", stderr);
        }
    }
#endif
}

} // namespace

int main(int argc, char* argv[]) {
    // The window's icon lives in a static library, whose resources reach the program
    // only when registered by name.
    Q_INIT_RESOURCE(pelomart);
    std::unique_ptr<QCoreApplication> app;
    if (asksOnlyForText(argc, argv)) {
        reachConsole();
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        app = std::make_unique<QApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("Pelomart"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.pelomart.Pelomart"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Makes change files that add one human to a game mission."));
    // Not addHelpOption: its --help-all works only through process(), which ends the program
    // with status 1 for an unknown option where 2 is a usage error.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    parser.addOption(help);
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Shows the version."));
    parser.addOption(version);
    parser.addPositionalArgument(
        QStringLiteral("FILE"), QStringLiteral("A change file whose values the window opens with."),
        QStringLiteral("[FILE]"));
    // Not QCoreApplication::arguments(), which turns bytes that are not UTF-8 into U+FFFD: a
    // file in a folder unpacked from elsewhere must still open. The application has taken
    // its own options (-platform ...) out of argv by now.
    const QStringList arguments = pelomart::argumentsFrom(argc, argv);
    const bool parsed = parser.parse(arguments);
    if (parsed && parser.isSet(help)) {
        std::fputs(qPrintable(pelomart::helpText(parser, QStringLiteral("pelomart"))), stdout);
        return 0;
    }
    if (parsed && parser.isSet(version)) {
        std::printf("pelomart %s\n", PELOMART_VERSION);
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    if (!parsed || files.size() > 1 || !qobject_cast<QApplication*>(app.get())) {
        QString error = parsed ? QStringLiteral("one FILE at most") : parser.errorText();
        if (const QString option = unknownOption(arguments); !parsed && !option.isEmpty()) {
            const QString shown = pelomart::shownArgument(option);
            error =
                QStringLiteral("unknown option '%1'; 'pelomart -- %1' opens a file of that name")
                    .arg(shown);
        }
        reachConsole();
        std::fprintf(stderr, "pelomart: %s\nTry 'pelomart --help'.\n", qPrintable(error));
        return 2;
    }

    pelomart::Form1 form(pelomart::workingDirectory());
    form.show();
    if (!files.isEmpty()) {
        form.openFile(pelomart::nativeBytes(files.constFirst()));
    }
    return QApplication::exec();
}
