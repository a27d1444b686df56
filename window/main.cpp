#include "form1.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

// The bytes argv gave for `argument`: QApplication decodes argv as UTF-8 and replaces what is
// not, so a name in another encoding would name no file once decoded. The last argument
// that decodes to it is the one the parser took, as the only options end the program.
QByteArray argumentBytes(const QString& argument, int argc, char* argv[]) {
    for (int i = argc - 1; i > 0; --i) {
        if (QString::fromLocal8Bit(argv[i]) == argument) {
            return argv[i];
        }
    }
    return QFile::encodeName(argument);
}

} // namespace

int main(int argc, char* argv[]) {
    // The window's icon lives in a static library, whose resources reach the program
    // only when registered by name.
    Q_INIT_RESOURCE(pelomart);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelomart"));
    QApplication::setDesktopFileName(QStringLiteral("pelomart"));

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
    const bool parsed = parser.parse(QApplication::arguments());
    if (parsed && parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parsed && parser.isSet(version)) {
        std::printf("pelomart %s\n", PELOMART_VERSION);
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    if (!parsed || files.size() > 1) {
        std::fprintf(stderr, "pelomart: %s\nTry 'pelomart --help'.\n",
                     qPrintable(parsed ? QStringLiteral("one FILE at most") : parser.errorText()));
        return 2;
    }

    pelomart::Form1 form(QDir::currentPath());
    form.show();
    if (!files.isEmpty()) {
        form.openFile(argumentBytes(files.constFirst(), argc, argv));
    }
    return QApplication::exec();
}
