// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

// Test-only: while it lives, answers the next modal message box with the button of the given
// text (its first button when none is given) and remembers what the box showed. A box that no
// answerer waits for is an unexpected one (see window_test_main.cpp).

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace pelomart::test {

class BoxAnswerer {
public:
    explicit BoxAnswerer(QString button = {}) : m_button(std::move(button)) {
        ++s_waiting;
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start();
    }
    ~BoxAnswerer() {
        if (!shown) {
            --s_waiting;
        }
    }
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    // How many answerers still wait for a box.
    static int waiting() { return s_waiting; }

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
        --s_waiting;
        title = box->windowTitle();
        text = box->text();
        EXPECT_EQ(box->textFormat(), Qt::PlainText) << "a name with markup would show as HTML";
        icon = box->icon();
        buttons = int(box->buttons().size());
        QAbstractButton* chosen = box->buttons().first();
        for (QAbstractButton* button : box->buttons()) {
            if (button->text().remove(QLatin1Char('&')) == m_button) {
                chosen = button;
            }
        }
        chosen->click();
    }

    QString m_button;
    QTimer m_timer;
    static inline int s_waiting = 0;
};

} // namespace pelomart::test
