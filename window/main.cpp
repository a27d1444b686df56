#include "dir_list.h"
#include "form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // The window's icon lives in a static library, whose resources reach the program
    // only when registered by name.
    Q_INIT_RESOURCE(pelomart);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelomart"));
    QApplication::setDesktopFileName(QStringLiteral("org.pelomart.Pelomart"));
    pelomart::Form1 form(pelomart::workingDirectory());
    form.show();
    return QApplication::exec();
}
