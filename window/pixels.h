// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "controls.h"

#include <QRect>

namespace pelomart {

// The window was laid out in twips; at 96 dots per inch fifteen make a pixel.
constexpr int px(int twips) {
    return twips / 15;
}

inline QRect pixels(const Twips& place) {
    return {px(place.left), px(place.top), px(place.width), px(place.height)};
}

} // namespace pelomart
