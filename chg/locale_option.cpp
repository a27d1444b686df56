// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "locale_option.h"

#include "numbers.h"
#include "shown_text.h"

#include <QTextStream>
#include <algorithm>

namespace pelomart::chg {

void addLocaleOption(QCommandLineParser& parser) {
    parser.addOption(
        {QStringLiteral("locale"),
         QStringLiteral("Read numbers as this locale writes them (default: \".\" as the decimal "
                        "point, no digit grouping, whatever the environment)."),
         QStringLiteral("NAME")});
}

std::optional<QLocale> localeOption(const QCommandLineParser& parser, const QString& command,
                                    QTextStream& err) {
    const QString name = parser.value(QStringLiteral("locale"));
    // C and POSIX name no region, whatever character set follows ("C.UTF-8", "C.utf8",
    // "POSIX@x"): their notation is the one pelomart-chg prints.
    const qsizetype end = std::min<std::size_t>(name.indexOf(u'.'), name.indexOf(u'@'));
    const QStringView language = QStringView(name).left(end);
    if (!parser.isSet(QStringLiteral("locale")) || language == u"C" || language == u"POSIX") {
        return plainNotation();
    }
    const QLocale locale(name);
    // QLocale takes an unknown name for C without a word.
    if (locale == QLocale::c()) {
        err << "pelomart-chg " << command << ": unknown locale \"" << shownValue(name) << '"'
            << Qt::endl;
        return std::nullopt;
    }
    return locale;
}

} // namespace pelomart::chg
