// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "shown_text.h"

#include "paths.h"

namespace pelomart {
namespace {

QString hexEscape(QLatin1StringView prefix, unsigned value, int digits) {
    return prefix + QString::number(value, 16).toUpper().rightJustified(digits, u'0');
}

bool isControl(char32_t c, bool keepLineBreaks) {
    if (keepLineBreaks && (c == '\r' || c == '\n')) {
        return false;
    }
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// The length of the valid UTF-8 sequence at the start of `bytes` and its code point, or 0.
// Overlong forms, surrogates and values above U+10FFFF are not valid.
int utf8Sequence(QByteArrayView bytes, char32_t& codePoint) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned lead = byte(0);
    int length;
    char32_t least;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, least = 0x80, codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, least = 0x800, codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, least = 0x10000, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() < length) {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    if (codePoint < least || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return 0;
    }
    return length;
}

constexpr char16_t kEscapedByte = 0xDC00;

bool isEscapedByte(QStringView text, qsizetype i) {
    const char16_t c = text[i].unicode();
    return c >= kEscapedByte + 0x80 && c <= kEscapedByte + 0xFF &&
           (i == 0 || !text[i - 1].isHighSurrogate());
}

} // namespace

QString escapedByte(unsigned byte) {
    return hexEscape(QLatin1StringView("\\x"), byte, 2);
}

QString argumentText(QByteArrayView bytes) {
    QString text;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t codePoint = 0;
        if (const int length = utf8Sequence(bytes.sliced(i), codePoint)) {
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

bool hasEscapedBytes(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isEscapedByte(text, i)) {
            return true;
        }
    }
    return false;
}

std::optional<QByteArray> encodedFileName(const QString& name) {
    QByteArray bytes = encodePath(name);
    if (decodePath(bytes) != name) {
        return std::nullopt;
    }
    return bytes;
}

QString shownPath(QByteArrayView path) {
    QString out;
    out.reserve(path.size());
    while (!path.isEmpty()) {
        char32_t codePoint = 0;
        const int length = utf8Sequence(path, codePoint);
        if (length == 0) {
            out += escapedByte(static_cast<unsigned char>(path[0]));
            path = path.sliced(1);
            continue;
        }
        if (isControl(codePoint, false)) {
            out += escapedByte(codePoint);
        } else {
            out += QString::fromUcs4(&codePoint, 1);
        }
        path = path.sliced(length);
    }
    return out;
}

QString shownText(QStringView text, bool keepLineBreaks) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (isControl(c.unicode(), keepLineBreaks)) {
            out += escapedByte(c.unicode());
        } else {
            out += c;
        }
    }
    return out;
}

QString shownBeginning(QStringView text, qsizetype longest) {
    // Each character shows as at least one, so the first longest + 1 tell whether it is cut.
    const QString shown = shownText(text.left(longest + 1));
    return shown.size() <= longest ? shown : shown.left(longest) + QChar(0x2026);
}

QString shownPath(QByteArrayView path, qsizetype longest) {
    if (path.size() <= longest) {
        return shownPath(path);
    }
    // Cut between characters: no character starts with a continuation byte 10xxxxxx.
    auto continues = [&](qsizetype i) { return (path[i] & 0xC0) == 0x80; };
    qsizetype head = longest / 4;
    for (int i = 0; i < 3 && head > 0 && continues(head); ++i) {
        --head;
    }
    qsizetype tail = path.size() - (longest - longest / 4 - 1);
    for (int i = 0; i < 3 && tail < path.size() && continues(tail); ++i) {
        ++tail;
    }
    return shownPath(path.first(head)) + QChar(0x2026) + shownPath(path.sliced(tail));
}

QString shownArgument(const QString& path) {
    return shownPath(nativeBytes(path));
}

QString shownValue(const QString& text) {
    QString shown = shownText(text);
    for (qsizetype i = shown.size(); i-- > 0;) {
        const QChar c = shown[i];
        const bool paired = c.isHighSurrogate()
                                ? i + 1 < shown.size() && shown[i + 1].isLowSurrogate()
                                : i > 0 && shown[i - 1].isHighSurrogate();
        if (c.isSurrogate() && !paired) {
            shown.replace(i, 1, hexEscape(QLatin1StringView("\\u"), c.unicode(), 4));
        }
    }
    return shown;
}

} // namespace pelomart
