// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QFont>

namespace pelomart {

// `font` at the largest size, at most its own, at which every caption of the window shows
// whole, also the ones the labels show later, and a line box's text is not cut.
QFont fittedFont(QFont font);

} // namespace pelomart
