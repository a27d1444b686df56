// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "system_code_page.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace pelomart {

QByteArray systemCodePage() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty()) {
            return codePageForLocaleName(value);
        }
    }
    return codePageForLocaleName(QString());
}

// From Qt's own converter, byte by byte. A byte counts only where it decodes to one
// character and that character alone encodes back to the byte: the converter writes its
// substitute (0x1A, or '?' for windows-874) for some characters and drops others (U+200B,
// U+FEFF) entirely.
std::array<std::int32_t, 0x100> codePageCharacters(const QByteArray& codePage) {
    std::array<std::int32_t, 0x100> characters;
    characters.fill(-1);
    QStringEncoder encoder(codePage.constData(), QStringEncoder::Flag::Stateless);
    QStringDecoder decoder(codePage.constData(), QStringDecoder::Flag::Stateless);
    if (!encoder.isValid() || !decoder.isValid()) {
        for (int code = 0; code < 0x80; ++code) {
            characters[code] = code;
        }
        return characters;
    }
    for (int value = 0; value < 0x100; ++value) {
        const char byte = static_cast<char>(value);
        const QString character = decoder.decode(QByteArrayView(&byte, 1));
        if (character.size() != 1 || character.front().isSurrogate()) {
            continue;
        }
        if (QByteArray(encoder.encode(character)) == QByteArrayView(&byte, 1)) {
            characters[value] = character.front().unicode();
        }
    }
    return characters;
}

} // namespace pelomart
