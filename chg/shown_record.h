// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>
#include <span>
#include <string_view>

// A record's texts and numbers as show and list print them.
namespace pelomart::chg {

// A text of the record with each byte the code page leaves undefined as "\xNN", and each
// control too: a name must not clear the terminal or set its title.
QString shownRecordText(std::string_view bytes, const QByteArray& codePage);
// Numbers of the record as show prints them, one space between.
QString singlesText(std::span<const float> values);

} // namespace pelomart::chg
