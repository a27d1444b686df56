// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QComboBox>

namespace pelomart {

// The behaviour list. It follows the mouse wheel only while it has the focus: rolled
// over on the way to another control, it would otherwise change the chosen behaviour
// without a word.
class BehaviourList : public QComboBox {
    Q_OBJECT
public:
    explicit BehaviourList(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
};

} // namespace pelomart
