// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QSlider>

namespace pelomart {

// The type parameter's horizontal slider. A click anywhere beside the thumb pages towards the
// click, on the band of tick marks under the track as on the track itself: the slider
// is only 17 pixels high and the ticks take half of that.
class TypeSlider : public QSlider {
    Q_OBJECT
public:
    explicit TypeSlider(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace pelomart
