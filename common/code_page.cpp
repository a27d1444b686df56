// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "code_page.h"

#include "shown_text.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace pelomart {
namespace {

// Both directions of one code page: the character of each byte, -1 where the code page
// defines none, and the byte of each BMP character, -1 where the page has none. The
// bytes of the characters are kept in blocks of 256 characters that share their upper
// byte: a page's characters fall into a handful of blocks, and every other block is the
// one of -1s in front.
class Table {
public:
    Table() { m_characterOf.fill(-1); }

    std::int32_t characterOf(std::uint8_t byte) const { return m_characterOf[byte]; }
    std::int16_t byteOf(char16_t character) const {
        return m_blocks[m_blockOf[character >> 8]][character & 0xFF];
    }

    void add(char16_t character, std::uint8_t byte) {
        m_characterOf[byte] = character;
        std::uint16_t& block = m_blockOf[character >> 8];
        if (block == 0) {
            block = static_cast<std::uint16_t>(m_blocks.size());
            m_blocks.push_back(m_blocks.front());
        }
        m_blocks[block][character & 0xFF] = byte;
    }

private:
    using Block = std::array<std::int16_t, 0x100>;
    std::array<std::int32_t, 0x100> m_characterOf;
    std::array<std::uint16_t, 0x100> m_blockOf{};
    std::vector<Block> m_blocks{[] {
        Block none;
        none.fill(-1);
        return none;
    }()};
};

// Built once per code page from Qt's own converter, byte by byte. A pair counts only
// where the byte decodes to one character and that character alone encodes back to the
// byte: the converter writes its substitute (0x1A, or '?' for windows-874) for some
// characters and drops others (U+200B, U+FEFF) entirely. A byte decodes to one character
// and a character encodes to one byte, so no two characters share a byte.
std::shared_ptr<const Table> buildTable(const QByteArray& codePage) {
    auto table = std::make_shared<Table>();
    QStringEncoder encoder(codePage.constData(), QStringEncoder::Flag::Stateless);
    QStringDecoder decoder(codePage.constData(), QStringDecoder::Flag::Stateless);
    if (!encoder.isValid() || !decoder.isValid()) {
        // An unknown code page keeps what every one of them shares.
        for (char16_t code = 0; code < 0x80; ++code) {
            table->add(code, static_cast<std::uint8_t>(code));
        }
        return table;
    }
    for (int value = 0; value < 0x100; ++value) {
        const char byte = static_cast<char>(value);
        const QString character = decoder.decode(QByteArrayView(&byte, 1));
        if (character.size() != 1 || character.front().isSurrogate()) {
            continue;
        }
        if (QByteArray(encoder.encode(character)) == QByteArrayView(&byte, 1)) {
            table->add(character.front().unicode(), static_cast<std::uint8_t>(value));
        }
    }
    return table;
}

std::shared_ptr<const Table> tableFor(const QByteArray& codePage) {
    static std::mutex mutex;
    static std::map<QByteArray, std::shared_ptr<const Table>> tables;
    const std::lock_guard<std::mutex> lock(mutex);
    auto found = tables.find(codePage);
    if (found == tables.end()) {
        found = tables.emplace(codePage, buildTable(codePage)).first;
    }
    return found->second;
}

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

QByteArray systemCodePage() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty()) {
            return codePageForLocaleName(value);
        }
    }
    return codePageForLocaleName(QString());
}

QByteArray toCodePage(const QString& text, const QByteArray& codePage) {
    const std::shared_ptr<const Table> table = tableFor(codePage);
    QByteArray bytes;
    bytes.reserve(text.size());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t code = text[i].unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < size &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i; // one character beyond the BMP, one '?'
            bytes.append('?');
            continue;
        }
        const std::int16_t byte = table->byteOf(code);
        bytes.append(byte < 0 ? '?' : static_cast<char>(byte));
    }
    return bytes;
}

qsizetype missingCharacter(QStringView text, const QByteArray& codePage) {
    const std::shared_ptr<const Table> table = tableFor(codePage);
    for (qsizetype i = 0; i < text.size(); ++i) {
        // No surrogate has a byte, so a pair stops at its first half.
        if (table->byteOf(text[i].unicode()) < 0) {
            return i;
        }
    }
    return -1;
}

QString fromCodePage(QByteArrayView bytes, const QByteArray& codePage,
                     QList<qsizetype>* undefined) {
    const std::shared_ptr<const Table> table = tableFor(codePage);
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(bytes[i]);
        const std::int32_t character = table->characterOf(byte);
        if (character >= 0) {
            text.append(QChar(static_cast<char16_t>(character)));
            continue;
        }
        text.append(escapedByte(byte));
        if (undefined) {
            undefined->append(i);
        }
    }
    return text;
}

} // namespace pelomart
