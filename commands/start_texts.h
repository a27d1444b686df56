#pragma once

#include <QString>
#include <array>

namespace pelomart {

struct StartText {
    const char* control;
    const char* text;
};

// What every text box holds when the window opens. The rotations are written with a
// decimal comma and the parameters with a point, as the tool has always shipped them.
inline constexpr std::array<StartText, 31> kStartTexts{{
    {"namn", "Zozed's_Driver"},
    {"model", "ZozedTAXIdriverHIGH.i3d"},
    {"filenavn", "clovek.chg"},
    {"x", "-1980"},
    {"y", "-5"},
    {"z", "18"},
    {"xscalesing", "1"},
    {"yscalesing", "1"},
    {"zscalesing", "1"},
    {"xrotsing", "0,68114573"},
    {"yrotsing", "0"},
    {"zrotsing", "-0,73214793"},
    {"behavior", ""},
    {"paramlong1", "15"},
    {"paramsing2", "1"},
    {"paramsing3", "150"},
    {"paramsing4", "30"},
    {"paramsing5", "30"},
    {"paramsing6", "30"},
    {"paramsing7", "30"},
    {"paramsing8", "0.7"},
    {"paramsing9", "1"},
    {"paramsing10", "0"},
    {"paramsing11", "1"},
    {"paramsing12", "0.3"},
    {"paramsing13", "1"},
    {"paramsing14", "1"},
    {"paramsing15", "0.8"},
    {"paramsing16", "80"},
    {"paramsing17", "0.8"},
    {"script", "dim_act 5\r\ndim_flt 5\r\ndim_frm 5\r\nfindactor 0,\"\"\r\n"
               "findactor 1,\"Zozed\"\r\n"},
}};

inline QString paramsingName(int n) {
    return QStringLiteral("paramsing%1").arg(n);
}

} // namespace pelomart
