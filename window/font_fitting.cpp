// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "font_fitting.h"

#include "controls.h"
#include "pixels.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>
#include <utility>
#include <vector>

namespace pelomart {

QFont fittedFont(QFont font) {
    // The layout was made for a smaller default font than this platform's; take the
    // platform's family at the largest size at which every caption shows whole.
    std::vector<std::pair<QString, int>> captions; // text, width available
    constexpr int kButtonPadding = 8;
    for (const ControlInfo& info : kControls) {
        if (info.kind == ControlKind::Label) {
            captions.emplace_back(QLatin1String(info.text), px(info.place.width));
        } else if (info.kind == ControlKind::Button) {
            captions.emplace_back(QLatin1String(info.text), px(info.place.width) - kButtonPadding);
        }
    }
    captions.emplace_back(QLatin1String(kWoman), px(controlInfo(Control::sex).place.width));
    captions.emplace_back(QLatin1String(kScriptLengthCaption) + QStringLiteral("9999999"),
                          px(controlInfo(Control::Label1).place.width));
    // A line box draws a 2-pixel frame and a 1-pixel margin above and below its text.
    const int textHeight = std::min(px(kBoxHeight) - 6, px(kLabelHeight));

    auto fits = [&](const QFont& candidate) {
        const QFontMetrics metrics(candidate);
        return metrics.height() <= textHeight &&
               std::all_of(captions.begin(), captions.end(), [&](const auto& caption) {
                   return metrics.horizontalAdvance(caption.first) <= caption.second;
               });
    };
    for (qreal size = font.pointSizeF(); size >= 5.0; size -= 0.5) {
        font.setPointSizeF(size);
        if (fits(font)) {
            break;
        }
    }
    return font;
}

} // namespace pelomart
