#include "form1.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelomart"));
    QApplication::setDesktopFileName(QStringLiteral("pelomart"));
    pelomart::Form1 form(QDir::currentPath());
    form.show();
    return QApplication::exec();
}
