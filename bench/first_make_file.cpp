// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "make_file.h"
#include "memory_form.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

// "make file" in a fresh process, as at the first click after the window opens: prints
// the milliseconds of the first command, which pays what is built once per process (the
// code page's table, the locale's data), and of the second, into the same directory on disk.
int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    pelomart::MemoryForm fields;
    fields.setDirectoryPath(QFile::encodeName(dir.path()));
    const QLocale german(QStringLiteral("de_DE"));
    double milliseconds[2];
    for (double& taken : milliseconds) {
        const auto start = std::chrono::steady_clock::now();
        pelomart::makeChangeFile(fields, german);
        taken = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
    }
    if (QFileInfo(dir.filePath(QStringLiteral("clovek.chg"))).size() != 284) {
        std::fprintf(stderr, "the command did not write its 284 bytes\n");
        return 1;
    }
    std::printf("%.3f %.3f\n", milliseconds[0], milliseconds[1]);
    return 0;
}
