#pragma once

// Test-only: while it lives, answers the next modal message box with its first button
// and remembers what the box showed.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace pelomart::test {

class BoxAnswerer {
public:
    BoxAnswerer() {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start();
    }

    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;

    // The number of a "Run-time error 'N':" box, 0 when none was shown.
    int errorNumber() const { return shown ? text.section(QLatin1Char('\''), 1, 1).toInt() : 0; }

private:
    void answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            return;
        }
        m_timer.stop();
        shown = true;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = int(box->buttons().size());
        box->buttons().first()->click();
    }

    QTimer m_timer;
};

} // namespace pelomart::test
