// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "controls.h"

#include "numbers.h"

namespace pelomart {

namespace {
constexpr bool rowsFollowTheEnumeration() {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (static_cast<std::size_t>(kControls[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(rowsFollowTheEnumeration(), "kControls must list the controls in Control's order");
static_assert(kPositionFields.back().id == Control::z);
static_assert(kScaleFields.back().id == Control::zscalesing);
static_assert(kRotationFields.back().id == Control::zrotsing);
static_assert(kParameterFields.back().id == Control::paramsing17);
} // namespace

QString startNumberText(const ControlInfo& box, const QLocale& locale) {
    const QString text = QString::fromLatin1(box.text).replace(u',', u'.');
    return numberToText(QLocale::c().toDouble(text), locale);
}

QString controlName(Control control) {
    return QString::fromLatin1(controlInfo(control).name);
}

QString startText(Control control) {
    return QString::fromLatin1(controlInfo(control).text);
}

QString controlCaption(Control control) {
    constexpr std::array kGrid{kPositionFields, kScaleFields, kRotationFields};
    constexpr std::array kColumnLabels{Control::Label6, Control::Label7, Control::Label8};
    constexpr std::array kRowLabels{Control::Label2, Control::Label4, Control::Label5};
    for (std::size_t column = 0; column < kGrid.size(); ++column) {
        for (std::size_t row = 0; row < kRowLabels.size(); ++row) {
            if (kGrid[column][row].id == control) {
                return startText(kColumnLabels[column]) + QLatin1Char(' ') +
                       startText(kRowLabels[row]);
            }
        }
    }
    for (const ControlInfo& info : kControls) {
        if (info.labels == control) {
            return QString::fromLatin1(info.text);
        }
    }
    const ControlInfo& info = controlInfo(control);
    return QString::fromLatin1(info.accessibleName ? info.accessibleName : info.name);
}

std::optional<Control> controlNamed(QStringView name) {
    for (const ControlInfo& info : kControls) {
        if (name == QLatin1String(info.name)) {
            return info.id;
        }
    }
    return std::nullopt;
}

} // namespace pelomart
