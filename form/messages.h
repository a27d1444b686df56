// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include "record_in_boxes.h"
#include "run_time_error.h"

#include <QString>
#include <vector>

// What the window's message boxes say, built without widgets so that every wording is
// tested with no display. Boxes are named by their captions (controlCaption).
namespace pelomart {

// "Run-time error '13':", the standard description, then the box that failed with its text
// ("rot x: 0,68114573") or, where no box's text is to blame, what the error carries (the
// script's length against the most it can be, a path and the system's reason). A number box's
// text that is no number here gets a line that writes it the way `locale` reads numbers.
QString runTimeErrorMessage(const RunTimeError& error, const QLocale& locale = QLocale());

// Why `shownPath` could not be opened: the reader's message, which names the byte offset.
QString cannotOpenMessage(const QString& shownPath, const QString& reason);

// Each value of the file `shownName` that the boxes cannot hold, one a line, with the
// value in the file and what make file writes instead.
QString replacedValuesMessage(const QString& shownName, const std::vector<ReplacedValue>& replaced);

// The question asked before the boxes' texts are replaced by those of `shownName`.
QString replaceTextsQuestion(const QString& shownName);

} // namespace pelomart
