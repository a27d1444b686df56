#pragma once

#include "editor_fields.h"

#include <QLocale>
#include <array>

namespace pelomart {

struct Behaviour {
    const char* name;
    int code;
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

// Behaviour code for the text of the behaviour list; 2 when nothing matches.
int behaviourCode(const QString& name);

// "make file": reads the fields, composes the human's record and writes it,
// followed by CR LF, to the file named in filenavn inside Dir1's path. A failing
// step throws RunTimeError and the steps after it do not run; all reading and
// converting happens before the file system is touched.
void Command4_Click(EditorFields& fields, const QLocale& locale = QLocale());

} // namespace pelomart
