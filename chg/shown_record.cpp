// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "shown_record.h"

#include "code_page.h"
#include "record_in_boxes.h"
#include "shown_text.h"

#include <QLocale>
#include <QStringList>

namespace pelomart::chg {

QString singlesText(std::span<const float> values) {
    QStringList texts;
    for (const float value : values) {
        texts << singleText(value, QLocale::c());
    }
    return texts.join(QLatin1Char(' '));
}

QString shownRecordText(std::string_view bytes, const QByteArray& codePage) {
    return shownText(fromCodePage(QByteArrayView(bytes.data(), qsizetype(bytes.size())), codePage));
}

} // namespace pelomart::chg
