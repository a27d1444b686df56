// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "behaviour_codes.h"

#include <QLatin1StringView>

namespace pelomart {

const Behaviour* behaviourNamed(QStringView name) {
    for (const Behaviour& behaviour : kBehaviours) {
        if (name == QLatin1StringView(behaviour.name)) {
            return &behaviour;
        }
    }
    return nullptr;
}

const Behaviour* behaviourWithCode(std::int32_t code) {
    for (const Behaviour& behaviour : kBehaviours) {
        if (behaviour.code == code) {
            return &behaviour;
        }
    }
    return nullptr;
}

std::int32_t behaviourCode(QStringView name) {
    const Behaviour* behaviour = behaviourNamed(name);
    return behaviour ? behaviour->code : kNoBehaviourChosen;
}

} // namespace pelomart
