// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "system_code_page.h"

namespace pelomart {
namespace {

bool isOneOf(const QString& language, std::initializer_list<const char*> codes) {
    for (const char* code : codes) {
        if (language == QLatin1String(code)) {
            return true;
        }
    }
    return false;
}

} // namespace

QByteArray codePageForLocaleName(const QString& localeName) {
    // language[_territory][.charset][@modifier]
    qsizetype languageEnd = 0;
    while (languageEnd < localeName.size() &&
           !QStringView(u"_.@-").contains(localeName[languageEnd])) {
        ++languageEnd;
    }
    const QString language = localeName.left(languageEnd).toLower();
    QString modifier;
    const qsizetype at = localeName.indexOf(u'@');
    if (at >= 0) {
        modifier = localeName.mid(at + 1).section(u'.', 0, 0).toLower();
    }
    const bool latin = modifier == u"latin";
    const bool cyrillic = modifier == u"cyrillic";

    // Turkmen's Latin letters (ň, ş, ý, ž) are all in the Central European page.
    if (isOneOf(language, {"cs", "sk", "pl", "hu", "sl", "hr", "ro", "sq", "tk"}) ||
        (language == u"bs" && !cyrillic) || (language == u"sr" && latin)) {
        return "windows-1250";
    }
    if (isOneOf(language, {"ru", "uk", "be", "bg", "mk", "sr", "kk", "ky", "tt", "mn", "tg"}) ||
        (isOneOf(language, {"bs", "az", "uz"}) && cyrillic)) {
        return "windows-1251";
    }
    if (language == u"el") {
        return "windows-1253";
    }
    // Uzbek without a modifier is Uzbek in Latin letters.
    if (isOneOf(language, {"tr", "az", "uz"})) {
        return "windows-1254";
    }
    if (isOneOf(language, {"he", "iw"})) {
        return "windows-1255";
    }
    if (isOneOf(language, {"ar", "fa", "ur", "ug"})) {
        return "windows-1256";
    }
    if (isOneOf(language, {"et", "lv", "lt"})) {
        return "windows-1257";
    }
    if (language == u"vi") {
        return "windows-1258";
    }
    if (language == u"th") {
        return "windows-874";
    }
    return "windows-1252";
}

} // namespace pelomart
