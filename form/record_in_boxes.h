// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "controls.h"
#include "form_texts.h"
#include "human_record.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <vector>

namespace pelomart {

// A value of a change file that the window cannot make again as it is, and so replaces.
struct ReplacedValue {
    Control control;
    QString inFile;  // the value in the file, as a person reads it
    QString written; // what make file writes instead
};

// A record as the boxes hold it: every input box's text, which the window shows when it opens
// the file and make file turns back into the same bytes wherever the boxes can hold the file's
// values, and the values they cannot hold.
struct RecordInBoxes {
    FormTexts texts;
    // Each value the boxes cannot hold, in control order; the box then holds what the
    // window can ("31" for a type of 40).
    std::vector<ReplacedValue> replaced;

    const QString& operator[](Control control) const { return texts[std::size_t(control)]; }
};

// Numbers in the locale's format with the fewest digits that read back to the same
// binary32; texts decoded with `codePage`; behavior as the list's entry; the script with its
// CR LF. filenavn is left empty: the record does not hold its own file's name.
RecordInBoxes recordInBoxes(const HumanRecord& human, const QLocale& locale,
                            const QByteArray& codePage);

// The shortest text of `value` that reads back to the same binary32 under `locale`:
// "0,6811457" under de_DE. NaN and the infinities, which no text reads back as, are
// "nan", "inf" and "-inf".
QString singleText(float value, const QLocale& locale);

} // namespace pelomart
