// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QLocale>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace pelomart::fuzz {

// Runs before a broken property aborts: libFuzzer ends the process without running
// destructors, and a target with files to clean up sets this.
inline void (*beforeAbort)() = nullptr;

} // namespace pelomart::fuzz

// A broken property aborts, so that libFuzzer keeps the input as a crash.
#define FUZZ_REQUIRE(condition, ...)                                                               \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property broken: %s\n  ", #condition);                           \
            std::fprintf(stderr, __VA_ARGS__);                                                     \
            std::fputc('\n', stderr);                                                              \
            if (pelomart::fuzz::beforeAbort) {                                                     \
                pelomart::fuzz::beforeAbort();                                                     \
            }                                                                                      \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace pelomart::fuzz {

// Comma and point decimals, dot, comma and space grouping, Indian grouping, a minus
// sign U+2212 and an Arabic decimal separator with direction marks in its signs.
inline const QLocale& localeFor(std::uint8_t selector) {
    static const std::array<QLocale, 8> locales{
        QLocale(QStringLiteral("de_DE")), QLocale(QStringLiteral("cs_CZ")),
        QLocale(QStringLiteral("en_US")), QLocale(QStringLiteral("C")),
        QLocale(QStringLiteral("fr_FR")), QLocale(QStringLiteral("hi_IN")),
        QLocale(QStringLiteral("sv_SE")), QLocale(QStringLiteral("ar_EG")),
    };
    return locales[selector % locales.size()];
}

// UTF-16 reaches lone surrogates and any code unit; UTF-8 keeps seeds readable.
inline QString textFrom(const std::uint8_t* data, std::size_t size, bool utf16) {
    if (utf16) {
        QString text;
        text.reserve(qsizetype(size / 2));
        for (std::size_t i = 0; i + 1 < size; i += 2) {
            text.append(QChar(char16_t(data[i] | (data[i + 1] << 8))));
        }
        return text;
    }
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

inline QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace pelomart::fuzz
