// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

namespace pelomart::chg {

// "; did you mean "NAME"?" for the one known name that `given` nearly is (it differs only
// in case, or by one letter), empty when none or several are.
QString didYouMean(const QString& given, const QStringList& known);
// "unknown key "KEY"", with the field's name that it nearly is.
QString unknownKey(const QString& key);

} // namespace pelomart::chg
