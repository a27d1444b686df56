// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringView>
#include <array>
#include <cstdint>

namespace pelomart {

struct Behaviour {
    const char* name;
    std::int32_t code;
};

// The behaviour list's entries in their order, with the code the game reads for each.
// The game takes 23, not 32, as React on Attack.
inline constexpr std::array<Behaviour, 8> kBehaviours{{
    {"Duck", 0},
    {"No Reaction", 2},
    {"No Reaction on weapon", 4},
    {"React when hit", 8},
    {"Reaction on Player", 16},
    {"React on Attack", 23},
    {"React on Attack2", 64},
    {"Afraid", 128},
}};

// What make file writes when the list shows no entry: the game's No Reaction.
inline constexpr std::int32_t kNoBehaviourChosen = 2;

// The entry of that exact name, or null.
const Behaviour* behaviourNamed(QStringView name);
// The entry with that code, or null.
const Behaviour* behaviourWithCode(std::int32_t code);
// The code make file writes for the list's text: No Reaction when no entry has that name.
std::int32_t behaviourCode(QStringView name);

} // namespace pelomart
