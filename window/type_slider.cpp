// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "type_slider.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

namespace pelomart {

TypeSlider::TypeSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void TypeSlider::mousePressEvent(QMouseEvent* event) {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const QPointF at = event->position();
    const bool besideThumb = at.x() < handle.left() || at.x() >= handle.left() + handle.width();
    if (!besideThumb || groove.contains(at.toPoint())) {
        QSlider::mousePressEvent(event);
        return;
    }
    // The same press, moved up or down onto the track, so that the style decides what a
    // click there does (page, or jump on some styles) and holding it repeats.
    const QPointF onTrack(at.x(), groove.center().y());
    QMouseEvent moved(event->type(), onTrack, mapToGlobal(onTrack), event->button(),
                      event->buttons(), event->modifiers(), event->pointingDevice());
    QSlider::mousePressEvent(&moved);
    event->setAccepted(moved.isAccepted());
}

} // namespace pelomart
