// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include <QApplication>
#include <QLabel>
#include <QWidget>

// One empty window of Form1's size; with the argument "text", one line of text in it,
// which makes Qt load its fonts as any window with text must.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.resize(584, 567);
    if (argc > 1 && qstrcmp(argv[1], "text") == 0) {
        new QLabel(QStringLiteral("script length=0"), &window);
    }
    window.show();
    return QApplication::exec();
}
