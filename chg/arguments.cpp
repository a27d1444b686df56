// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "change_file_tool.h"

namespace pelomart::chg {
namespace {

// U+DC80 to U+DCFF stand for the bytes 80 to FF that are no part of valid UTF-8. No
// valid UTF-8 gives a lone surrogate, so each such character can only be a byte.
constexpr char16_t kEscapedByte = 0xDC00;

bool isEscapedByte(QStringView text, qsizetype i) {
    const char16_t c = text[i].unicode();
    return c >= kEscapedByte + 0x80 && c <= kEscapedByte + 0xFF &&
           (i == 0 || !text[i - 1].isHighSurrogate());
}

// The length of the valid UTF-8 sequence at `i`, or 0: no overlong form, surrogate or
// value above U+10FFFF.
qsizetype sequenceLength(QByteArrayView bytes, qsizetype i) {
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned lead = at(i);
    if (lead < 0x80) {
        return 1;
    }
    const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || i + length > bytes.size()) {
        return 0;
    }
    char32_t value = lead & (0x7F >> length);
    for (qsizetype k = 1; k < length; ++k) {
        if ((at(i + k) & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (at(i + k) & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool valid =
        value >= kLeast[length] && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
    return valid ? length : 0;
}

} // namespace

QString argumentText(QByteArrayView bytes) {
    QString text;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = sequenceLength(bytes, i);
        if (length > 0) {
            i += length;
            continue;
        }
        text += QString::fromUtf8(bytes.sliced(start, i - start));
        text += QChar(char16_t(kEscapedByte + static_cast<unsigned char>(bytes[i])));
        start = ++i;
    }
    return text + QString::fromUtf8(bytes.sliced(start));
}

QByteArray nativeBytes(QStringView text) {
    QByteArray bytes;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isEscapedByte(text, i)) {
            bytes += text.sliced(start, i - start).toUtf8();
            bytes += char(text[i].unicode() - kEscapedByte);
            start = i + 1;
        }
    }
    return bytes + text.sliced(start).toUtf8();
}

QStringList argumentsFrom(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << argumentText(argv[i]);
    }
    return arguments;
}

} // namespace pelomart::chg
