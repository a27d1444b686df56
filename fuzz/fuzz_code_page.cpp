// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

// toCodePage for every code page codePageForLocaleName can name.
// Input: byte 0 picks the code page (bits 0-3) and UTF-16 instead of UTF-8 (bit 7);
// the rest is the text.

#include "code_page.h"
#include "fuzz_support.h"

#include <QStringDecoder>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace pelomart::fuzz {
namespace {

struct CodePage {
    QByteArray name;
    // What each byte decodes to on its own, from Qt's decoder rather than the table
    // under test: the byte the code page holds a character in must decode back to it.
    std::array<QString, 256> decoded;
    // Whether some byte decodes to exactly this one UTF-16 character; the decoder's
    // U+FFFD for a byte without a character does not count.
    std::vector<bool> held = std::vector<bool>(0x10000, false);
};

std::vector<std::unique_ptr<CodePage>> makeCodePages() {
    std::vector<std::unique_ptr<CodePage>> pages;
    for (const char* locale : {"en_US", "cs_CZ", "ru_RU", "el_GR", "tr_TR", "he_IL", "ar_EG",
                               "et_EE", "vi_VN", "th_TH"}) {
        auto page = std::make_unique<CodePage>();
        page->name = codePageForLocaleName(QString::fromLatin1(locale));
        QStringDecoder decoder(page->name.constData(), QStringDecoder::Flag::Stateless);
        FUZZ_REQUIRE(decoder.isValid(), "Qt cannot decode %s", page->name.constData());
        for (int byte = 0; byte < 256; ++byte) {
            const char c = char(byte);
            page->decoded[byte] = decoder.decode(QByteArrayView(&c, 1));
            if (page->decoded[byte].size() == 1 &&
                page->decoded[byte].front() != QChar::ReplacementCharacter) {
                page->held[page->decoded[byte].front().unicode()] = true;
            }
        }
        for (const auto& other : pages) {
            FUZZ_REQUIRE(other->name != page->name, "%s named twice", page->name.constData());
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

void check(const QString& text, const CodePage& page) {
    const QByteArray bytes = toCodePage(text, page.name);
    qsizetype out = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++out) {
        FUZZ_REQUIRE(out < bytes.size(), "%s: %lld bytes for %lld UTF-16 units",
                     page.name.constData(), (long long)bytes.size(), (long long)text.size());
        const char16_t unit = text[i].unicode();
        const auto byte = static_cast<std::uint8_t>(bytes[out]);
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            FUZZ_REQUIRE(byte == '?', "%s: pair at %lld gives 0x%02X", page.name.constData(),
                         (long long)i, byte);
        } else if (unit < 0x80) {
            FUZZ_REQUIRE(byte == unit, "%s: ASCII U+%04X gives 0x%02X", page.name.constData(),
                         unsigned(unit), byte);
        } else if (byte == '?') {
            FUZZ_REQUIRE(!page.held[unit], "%s: U+%04X has a byte but gives '?'",
                         page.name.constData(), unsigned(unit));
        } else {
            FUZZ_REQUIRE(page.decoded[byte] == QString(QChar(unit)),
                         "%s: U+%04X gives 0x%02X, which decodes to something else",
                         page.name.constData(), unsigned(unit), byte);
        }
    }
    FUZZ_REQUIRE(out == bytes.size(), "%s: %lld bytes, expected %lld", page.name.constData(),
                 (long long)bytes.size(), (long long)out);
}

} // namespace
} // namespace pelomart::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelomart::fuzz;
    static const auto pages = makeCodePages();
    if (size == 0) {
        return 0;
    }
    check(textFrom(data + 1, size - 1, (data[0] & 0x80) != 0),
          *pages[(data[0] & 15) % pages.size()]);
    return 0;
}
