// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "modal_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A message box that no BoxAnswerer waits for would block in exec() until the test run
// is killed for taking too long: fail the running test at once, naming the box, and
// close it so that the run goes on.
void closeUnexpectedBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || pelomart::test::BoxAnswerer::waiting() > 0) {
        return;
    }
    ADD_FAILURE() << "unexpected message box \"" << box->windowTitle().toStdString()
                  << "\": " << box->text().toStdString();
    box->buttons().first()->click();
}

} // namespace

// Widget tests run on Qt's offscreen platform unless told otherwise.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // As the program does: the window's icon comes from the window library's resources.
    Q_INIT_RESOURCE(pelomart);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, &closeUnexpectedBox);
    watchdog.start(20);
    return RUN_ALL_TESTS();
}
