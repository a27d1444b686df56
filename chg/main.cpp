#include "change_file_tool.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pelomart-chg"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PELOMART_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return pelomart::chg::run(QCoreApplication::arguments(), out, err);
}
