// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>
#include <QString>

namespace pelomart {

// The PNG image of `file`, null when it cannot be read. The format is known: letting Qt
// guess it would load every image-format plugin, a few milliseconds at start-up.
QImage readPng(const QString& file);

} // namespace pelomart
