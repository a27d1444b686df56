// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "code_page.h"

#include "shown_text.h"

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

// Built once per code page. A byte decodes to one character and a character encodes to one
// byte, so no two characters share a byte.
std::shared_ptr<const Table> buildTable(const QByteArray& codePage) {
    auto table = std::make_shared<Table>();
    const std::array<std::int32_t, 0x100> characters = codePageCharacters(codePage);
    for (int byte = 0; byte < 0x100; ++byte) {
        if (characters[byte] >= 0) {
            table->add(static_cast<char16_t>(characters[byte]), static_cast<std::uint8_t>(byte));
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

} // namespace

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
