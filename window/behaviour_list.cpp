// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "behaviour_list.h"

#include <QWheelEvent>

namespace pelomart {

BehaviourList::BehaviourList(QWidget* parent) : QComboBox(parent) {
    // A combo box takes the focus from the wheel by default, which would let the wheel
    // through.
    setFocusPolicy(Qt::StrongFocus);
}

void BehaviourList::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore(); // the window behind may use it
        return;
    }
    QComboBox::wheelEvent(event);
}

} // namespace pelomart
