// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>
#include <span>

// The window's controls, each described once: name, kind, start text or caption, place,
// tab position and what a screen reader announces. The window builds itself from this
// table, the make-file command and the field behaviours address controls through it,
// and the in-memory form starts from it.
namespace pelomart {

// Every control by its name in the program. The enumerators are the names.
// clang-format off
enum class Control {
    // Text boxes, in the order the make-file command reads them, then the rest.
    x, y, z,
    xscalesing, yscalesing, zscalesing,
    xrotsing, yrotsing, zrotsing,
    namn, model, behavior, paramlong1,
    paramsing2, paramsing3, paramsing4, paramsing5, paramsing6, paramsing7, paramsing8,
    paramsing9, paramsing10, paramsing11, paramsing12, paramsing13, paramsing14, paramsing15,
    paramsing16, paramsing17,
    script, filenavn,
    // Not fields: the slider, the buttons, the directory list and the labels.
    Slider1, Command4, abou, Dir1,
    Label9, Label10, Label11, sex, Label1, Label6, Label7, Label8, Label2, Label4, Label5, Label3,
};
// clang-format on

enum class ControlKind { TextBox, ScriptBox, DropDownList, Slider, Button, DirectoryList, Label };

// Left, top, width and height in twips: 1/1440 inch, so 15 make a pixel at 96 dpi.
struct Twips {
    int left, top, width, height;
};

struct ControlInfo {
    Control id;
    const char* name;
    ControlKind kind;
    const char* text; // the start text of a box, the caption of a label or a button
    Twips place;
    int tab;
    bool centred;
    // For the controls that take input; a box named by its label takes the label's caption.
    const char* accessibleName;
    const char* accessibleDescription;
    std::optional<Control> labels = {}; // the one box a label names
};

// The game knows types 0 to 31; up to 28 it draws a man, above that a woman. The label
// sex says which.
inline constexpr int kHighestType = 31;
inline constexpr int kLastManType = 28;
inline constexpr char kMan[] = "man";
inline constexpr char kWoman[] = "woman";
// What the label sex shows for a type, which need not be whole.
constexpr const char* sexOf(double type) {
    return type > kLastManType ? kWoman : kMan;
}
// Label1 shows this, then the script's length.
inline constexpr char kScriptLengthCaption[] = "script length=";

inline constexpr int kBoxHeight = 285;
inline constexpr int kLabelHeight = 255;

// clang-format off
inline constexpr std::array kControls{
//  id                    name           kind                       text or caption            left  top   width height  tab centred accessible name, description
    ControlInfo{Control::x,          "x",          ControlKind::TextBox, "-1980",       {6120, 3960, 1095, kBoxHeight}, 4, true, "position x", "Where the human stands, x"},
    ControlInfo{Control::y,          "y",          ControlKind::TextBox, "-5",          {6120, 4440, 1095, kBoxHeight}, 5, true, "position y", "Where the human stands, y"},
    ControlInfo{Control::z,          "z",          ControlKind::TextBox, "18",          {6120, 4920, 1095, kBoxHeight}, 6, true, "position z", "Where the human stands, z"},
    ControlInfo{Control::xscalesing, "xscalesing", ControlKind::TextBox, "1",           {7320, 3960, 495, kBoxHeight}, 11, true, "scale x", "Size factor along x"},
    ControlInfo{Control::yscalesing, "yscalesing", ControlKind::TextBox, "1",           {7320, 4440, 495, kBoxHeight}, 12, true, "scale y", "Size factor along y"},
    ControlInfo{Control::zscalesing, "zscalesing", ControlKind::TextBox, "1",           {7320, 4920, 495, kBoxHeight}, 13, true, "scale z", "Size factor along z"},
    // Rotations start with a decimal comma: the human faces the way the mission expects
    // wherever the comma is the decimal separator.
    ControlInfo{Control::xrotsing,   "xrotsing",   ControlKind::TextBox, "0,68114573",  {7920, 3960, 735, kBoxHeight}, 14, true, "rotation x", "Orientation, x component"},
    ControlInfo{Control::yrotsing,   "yrotsing",   ControlKind::TextBox, "0",           {7920, 4440, 735, kBoxHeight}, 15, true, "rotation y", "Orientation, y component"},
    ControlInfo{Control::zrotsing,   "zrotsing",   ControlKind::TextBox, "-0,73214793", {7920, 4920, 735, kBoxHeight}, 16, true, "rotation z", "Orientation, z component"},
    ControlInfo{Control::namn,       "namn",       ControlKind::TextBox, "Zozed's_Driver",          {120, 360, 2775, kBoxHeight}, 1, true, nullptr, "The human's name inside the mission"},
    ControlInfo{Control::model,      "model",      ControlKind::TextBox, "ZozedTAXIdriverHIGH.i3d", {3000, 360, 2895, kBoxHeight}, 2, true, nullptr, "File name of the human's 3D model"},
    ControlInfo{Control::behavior,   "behavior",   ControlKind::DropDownList, "",       {3840, 720, 2055, 315}, 22, false, "behaviour", "How the human reacts; nothing chosen means No Reaction"},
    ControlInfo{Control::paramlong1, "paramlong1", ControlKind::TextBox, "15",          {2400, 720, 495, kBoxHeight}, 19, true, "type parameter", "The human's type; the label beside it reads man or woman"},
    ControlInfo{Control::paramsing2,  "paramsing2",  ControlKind::TextBox, "1",   {6480, 5520, 735, kBoxHeight}, 23, true, "parameter 2",  "Set to its fixed value by make file"},
    ControlInfo{Control::paramsing3,  "paramsing3",  ControlKind::TextBox, "150", {6480, 5880, 735, kBoxHeight}, 24, true, "parameter 3",  "Set to its fixed value by make file"},
    ControlInfo{Control::paramsing4,  "paramsing4",  ControlKind::TextBox, "30",  {6480, 6240, 735, kBoxHeight}, 25, true, "parameter 4",  "Set to its fixed value by make file"},
    ControlInfo{Control::paramsing5,  "paramsing5",  ControlKind::TextBox, "30",  {6480, 6600, 735, kBoxHeight}, 26, true, "parameter 5",  "Set to its fixed value by make file"},
    ControlInfo{Control::paramsing6,  "paramsing6",  ControlKind::TextBox, "30",  {6480, 6960, 735, kBoxHeight}, 27, true, "parameter 6",  "Set to its fixed value by make file"},
    ControlInfo{Control::paramsing7,  "paramsing7",  ControlKind::TextBox, "30",  {6480, 7320, 735, kBoxHeight}, 28, true, "parameter 7",  "Set to its fixed value by make file"},
    ControlInfo{Control::paramsing8,  "paramsing8",  ControlKind::TextBox, "0.7", {6480, 7680, 735, kBoxHeight}, 29, true, "parameter 8",  "Set to its fixed value by make file"},
    ControlInfo{Control::paramsing9,  "paramsing9",  ControlKind::TextBox, "1",   {6480, 8040, 735, kBoxHeight}, 30, true, "parameter 9",  "Set to its fixed value by make file"},
    ControlInfo{Control::paramsing10, "paramsing10", ControlKind::TextBox, "0",   {7920, 5520, 735, kBoxHeight}, 31, true, "parameter 10", "Set to its fixed value by make file"},
    ControlInfo{Control::paramsing11, "paramsing11", ControlKind::TextBox, "1",   {7920, 5880, 735, kBoxHeight}, 32, true, "parameter 11", "Set to its fixed value by make file"},
    ControlInfo{Control::paramsing12, "paramsing12", ControlKind::TextBox, "0.3", {7920, 6240, 735, kBoxHeight}, 33, true, "parameter 12", "Set to its fixed value by make file"},
    ControlInfo{Control::paramsing13, "paramsing13", ControlKind::TextBox, "1",   {7920, 6600, 735, kBoxHeight}, 34, true, "parameter 13", "Set to its fixed value by make file"},
    ControlInfo{Control::paramsing14, "paramsing14", ControlKind::TextBox, "1",   {7920, 6960, 735, kBoxHeight}, 35, true, "parameter 14", "Set to its fixed value by make file"},
    ControlInfo{Control::paramsing15, "paramsing15", ControlKind::TextBox, "0.8", {7920, 7320, 735, kBoxHeight}, 36, true, "parameter 15", "Set to its fixed value by make file"},
    ControlInfo{Control::paramsing16, "paramsing16", ControlKind::TextBox, "80",  {7920, 7680, 735, kBoxHeight}, 37, true, "parameter 16", "Set to its fixed value by make file"},
    ControlInfo{Control::paramsing17, "paramsing17", ControlKind::TextBox, "0.8", {7920, 8040, 735, kBoxHeight}, 38, true, "parameter 17", "Set to its fixed value by make file"},
    ControlInfo{Control::script,     "script",     ControlKind::ScriptBox,
                "dim_act 5\r\ndim_flt 5\r\ndim_frm 5\r\nfindactor 0,\"\"\r\nfindactor 1,\"Zozed\"\r\n",
                                                                                        {120, 1080, 5775, 7005}, 0, false, "script", "The human's start-up script"},
    ControlInfo{Control::filenavn,   "filenavn",   ControlKind::TextBox, "clovek.chg",  {6000, 360, 2655, kBoxHeight}, 43, true, nullptr, "Name of the change file made in the chosen directory"},

    ControlInfo{Control::Slider1,    "Slider1",    ControlKind::Slider, "",             {120, 720, 2175, 255}, 20, false, "type parameter slider", "Sets the type parameter"},
    ControlInfo{Control::Command4,   "Command4",   ControlKind::Button, "make file",    {6000, 720, 2655, 255}, 3, false, nullptr, nullptr},
    ControlInfo{Control::abou,       "abou",       ControlKind::Button, "about",        {8040, 0, 615, 315}, 45, false, nullptr, nullptr},
    ControlInfo{Control::Dir1,       "Dir1",       ControlKind::DirectoryList, "",      {6000, 1080, 2655, 2565}, 40, false, "directory", "Where the change file is made; double-click or Enter opens a directory"},

    ControlInfo{Control::Label9,  "Label9",  ControlKind::Label, "internal name", {960, 120, 1215, kLabelHeight}, 41, true, nullptr, nullptr, Control::namn},
    ControlInfo{Control::Label10, "Label10", ControlKind::Label, "3D model name", {3720, 120, 1215, kLabelHeight}, 42, true, nullptr, nullptr, Control::model},
    ControlInfo{Control::Label11, "Label11", ControlKind::Label, "file name",     {6600, 120, 1335, kLabelHeight}, 44, true, nullptr, nullptr, Control::filenavn},
    ControlInfo{Control::sex,     "sex",     ControlKind::Label, kMan,            {2880, 720, 855, kLabelHeight}, 21, true, nullptr, nullptr},
    ControlInfo{Control::Label1,  "Label1",  ControlKind::Label, "",              {120, 8160, 2175, kLabelHeight}, 46, false, nullptr, nullptr},
    ControlInfo{Control::Label6,  "Label6",  ControlKind::Label, "position",      {6120, 3720, 1095, kLabelHeight}, 10, true, nullptr, nullptr},
    ControlInfo{Control::Label7,  "Label7",  ControlKind::Label, "scale",         {7320, 3720, 495, kLabelHeight}, 17, true, nullptr, nullptr},
    ControlInfo{Control::Label8,  "Label8",  ControlKind::Label, "rot",           {8040, 3720, 495, kLabelHeight}, 18, true, nullptr, nullptr},
    ControlInfo{Control::Label2,  "Label2",  ControlKind::Label, "x",             {6000, 3960, 135, kLabelHeight}, 7, false, nullptr, nullptr},
    ControlInfo{Control::Label4,  "Label4",  ControlKind::Label, "y",             {6000, 4440, 135, kLabelHeight}, 8, false, nullptr, nullptr},
    ControlInfo{Control::Label5,  "Label5",  ControlKind::Label, "z",             {6000, 4920, 135, kLabelHeight}, 9, false, nullptr, nullptr},
    ControlInfo{Control::Label3,  "Label3",  ControlKind::Label, "Params",        {6600, 5280, 1455, kLabelHeight}, 39, true, nullptr, nullptr},
};
// clang-format on

inline constexpr std::size_t kControlCount = kControls.size();

// Rows are kept in enumerator order, so a control's row is its number.
constexpr const ControlInfo& controlInfo(Control control) {
    return kControls[static_cast<std::size_t>(control)];
}

// The controls whose texts make a change file, from x to filenavn.
inline constexpr std::span<const ControlInfo> kEditorFields{kControls.data(),
                                                            std::size_t(Control::filenavn) + 1};

// Position, scale and rotation, each x, y, z.
inline constexpr std::span<const ControlInfo, 3> kPositionFields{
    kControls.data() + std::size_t(Control::x), 3};
inline constexpr std::span<const ControlInfo, 3> kScaleFields{
    kControls.data() + std::size_t(Control::xscalesing), 3};
inline constexpr std::span<const ControlInfo, 3> kRotationFields{
    kControls.data() + std::size_t(Control::xrotsing), 3};

// Parameters 2 to 17, in order.
inline constexpr std::span<const ControlInfo> kParameterFields{
    kControls.data() + std::size_t(Control::paramsing2), 16};

// Whether `control` is one of `fields`, a run of neighbouring rows such as kScaleFields.
constexpr bool isIn(Control control, std::span<const ControlInfo> fields) {
    return control >= fields.front().id && control <= fields.back().id;
}

// Parameters 2 to 17 are fixed: every file make file writes holds the boxes' sixteen start
// values there. It sets each box to its start value (startNumberText) and writes that, whatever
// the box showed, so a text typed there is never kept: the window does not ask before such a
// text is replaced, and set refuses it. A file opened with another value there lists it among
// the values make file will replace.
constexpr bool isFixedParameter(Control control) {
    return isIn(control, kParameterFields);
}

// A number box's start value as `locale` writes numbers. The window starts the rotations with
// a decimal comma, which only a comma locale reads; written here, they read as the same
// number everywhere.
QString startNumberText(const ControlInfo& box, const QLocale& locale);

QString controlName(Control control);
QString startText(Control control);
// What a person calls the control: the label that names it ("internal name"); in the
// position, scale and rotation grid its column's label and its row's ("rot x"); otherwise
// its accessible name ("type parameter", "parameter 5").
QString controlCaption(Control control);
// The control of that name; nothing for an unknown name.
std::optional<Control> controlNamed(QStringView name);

} // namespace pelomart
