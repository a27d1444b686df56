#include "controls.h"

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

QString controlName(Control control) {
    return QString::fromLatin1(controlInfo(control).name);
}

QString startText(Control control) {
    return QString::fromLatin1(controlInfo(control).text);
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
