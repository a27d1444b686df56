// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "code_page.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

namespace pelomart {
namespace {

TEST(CodePageForLocaleName, FollowsTheLanguage) {
    struct Case {
        const char* what;
        std::vector<const char*> names;
        const char* codePage;
    };
    const std::vector<Case> cases{
        {"Central European",
         {"cs_CZ.UTF-8", "sk_SK", "pl_PL", "hu_HU", "sl_SI", "hr_HR", "ro_RO", "sq_AL", "bs_BA",
          "sr_RS@latin", "sr_RS.UTF-8@latin", "tk_TM.UTF-8"},
         "windows-1250"},
        {"Cyrillic",
         {"ru_RU.UTF-8", "ru", "uk_UA", "be_BY", "bg_BG", "mk_MK", "sr_RS", "bs_BA@cyrillic",
          "az_AZ@cyrillic", "kk_KZ.UTF-8", "ky_KG", "tt_RU", "mn_MN", "tg_TJ", "uz@cyrillic",
          "uz_UZ@cyrillic", "uz_UZ.UTF-8@cyrillic"},
         "windows-1251"},
        {"Greek", {"el_GR.UTF-8"}, "windows-1253"},
        {"Turkish", {"tr_TR.UTF-8", "az_AZ", "uz", "uz_UZ.UTF-8", "uz@latin"}, "windows-1254"},
        {"Hebrew", {"he_IL.UTF-8", "iw_IL"}, "windows-1255"},
        {"Arabic", {"ar_EG.UTF-8", "fa_IR", "ur_PK", "ug_CN"}, "windows-1256"},
        {"Baltic", {"et_EE.UTF-8", "lv_LV", "lt_LT"}, "windows-1257"},
        {"Vietnamese", {"vi_VN.UTF-8"}, "windows-1258"},
        {"Thai", {"th_TH.UTF-8"}, "windows-874"},
        {"everything else",
         {"de_DE.UTF-8", "en_US", "fr_FR@euro", "ja_JP.UTF-8", "C", "C.UTF-8", "POSIX", ""},
         "windows-1252"},
    };
    for (const Case& c : cases) {
        for (const char* name : c.names) {
            SCOPED_TRACE(std::string(c.what) + ": \"" + name + "\"");
            EXPECT_EQ(codePageForLocaleName(QString::fromLatin1(name)), QByteArray(c.codePage));
        }
    }
}

TEST(SystemCodePage, TakesTheFirstNonEmptyVariable) {
    struct Case {
        const char* what;
        std::array<const char*, 3> values; // LC_ALL, LC_CTYPE, LANG; nullptr: unset
        const char* codePage;
    };
    const std::vector<Case> cases{
        {"LC_ALL first", {"el_GR.UTF-8", "ru_RU.UTF-8", "cs_CZ.UTF-8"}, "windows-1253"},
        {"empty LC_ALL skipped", {"", "ru_RU.UTF-8", "cs_CZ.UTF-8"}, "windows-1251"},
        {"LANG last", {nullptr, nullptr, "cs_CZ.UTF-8"}, "windows-1250"},
        {"nothing set", {nullptr, nullptr, nullptr}, "windows-1252"},
    };
    const std::array<const char*, 3> names{"LC_ALL", "LC_CTYPE", "LANG"};
    std::array<std::optional<QByteArray>, 3> saved;
    auto set = [&](std::size_t i, const char* value) {
        value ? qputenv(names[i], value) : qunsetenv(names[i]);
    };
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (qEnvironmentVariableIsSet(names[i])) {
            saved[i] = qgetenv(names[i]);
        }
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (std::size_t i = 0; i < names.size(); ++i) {
            set(i, c.values[i]);
        }
        EXPECT_EQ(systemCodePage(), QByteArray(c.codePage));
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        set(i, saved[i] ? saved[i]->constData() : nullptr);
    }
}

TEST(ToCodePage, OneBytePerCharacter) {
    struct Case {
        const char* what;
        QByteArray codePage;
        const char* text; // UTF-8
        QByteArray expected;
    };
    const std::vector<Case> cases{
        {"Czech", "windows-1250", "Žluťoučký kůň",
         "\x8E\x6C\x75\x9D\x6F\x75\xE8\x6B\xFD\x20\x6B\xF9\xF2"},
        {"Russian", "windows-1251", "Привет", "\xCF\xF0\xE8\xE2\xE5\xF2"},
        {"Kazakh name under kk_KZ", codePageForLocaleName(QStringLiteral("kk_KZ.UTF-8")), "Айгерим",
         "\xC0\xE9\xE3\xE5\xF0\xE8\xEC"},
        {"euro sign", "windows-1252", "€", "\x80"},
        {"Greek", "windows-1253", "Ωμέγα", "\xD9\xEC\xDD\xE3\xE1"},
        {"Turkish", "windows-1254", "ğış", "\xF0\xFD\xFE"},
        {"Hebrew", "windows-1255", "שלום", "\xF9\xEC\xE5\xED"},
        {"Arabic", "windows-1256", "سلام", "\xD3\xE1\xC7\xE3"},
        {"Lithuanian", "windows-1257", "ąčė", "\xE0\xE8\xEB"},
        {"Vietnamese", "windows-1258", "đ₫", "\xF0\xFE"},
        {"Thai", "windows-874", "สวัสดี", "\xCA\xC7\xD1\xCA\xB4\xD5"},
        {"line breaks kept", "windows-1252", "a\r\nb", "a\r\nb"},
        {"substitute control kept", "windows-1252", "\x1A", "\x1A"},
        {"Cyrillic in Western", "windows-1252", "Ж", "?"},
        {"no best fit: ł is no l", "windows-1252", "ł", "?"},
        {"emoji is one character", "windows-1252", "a😀b", "a?b"},
        {"zero-width space", "windows-1252", "a\u200Bb", "a?b"},
        {"unknown code page keeps ASCII", "no-such-page", "aé", "a?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " in " + c.codePage.toStdString());
        EXPECT_EQ(toCodePage(QString::fromUtf8(c.text), c.codePage).toHex(' '),
                  c.expected.toHex(' '));
        // A text the code page holds whole comes back unchanged.
        if (!c.expected.contains('?')) {
            EXPECT_EQ(fromCodePage(c.expected, c.codePage), QString::fromUtf8(c.text));
        }
    }
}

TEST(ToCodePage, LoneSurrogatesBecomeOneQuestionMarkEach) {
    const QString text = QStringLiteral("x") + QChar(0xD800) + QStringLiteral("y") + QChar(0xDC00) +
                         QChar(0xDC00) + QChar(0xD83D);
    EXPECT_EQ(toCodePage(text, "windows-1252"), QByteArray("x?y???"));
}

TEST(FromCodePage, UndefinedBytesShowAsHexAndAreReported) {
    struct Case {
        const char* what;
        const char* codePage;
        QByteArray bytes;
        const char* text; // UTF-8
        QList<qsizetype> undefined;
    };
    const std::vector<Case> cases{
        {"Greek gap", "windows-1253", "\xD2", "\\xD2", {0}},
        {"Western 0x81 and 0x8D, C1 controls", "windows-1252", "\x81\x8D", "\u0081\u008D", {}},
        {"Hebrew gaps", "windows-1255", "a\xD9\xFF", "a\\xD9\\xFF", {1, 2}},
        {"Baltic gap beside a letter", "windows-1257", "\xA1\xE0", "\\xA1ą", {0}},
        {"unknown code page keeps ASCII", "no-such-page", "a\xE9", "a\\xE9", {1}},
        {"a backslash text is no gap", "windows-1252", "\\x41", "\\x41", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " in " + c.codePage);
        QList<qsizetype> undefined;
        EXPECT_EQ(fromCodePage(c.bytes, c.codePage, &undefined), QString::fromUtf8(c.text));
        EXPECT_EQ(undefined, c.undefined);
    }
}

// The table as it was once built: every BMP character encoded on its own, kept where its
// one byte decodes back to it. The table built from the 256 bytes must be the same.
TEST(CodePageTable, IsWhatEncodingEachCharacterAloneGives) {
    QString everyCharacter;
    for (char32_t code = 0; code < 0x10000; ++code) {
        if (!QChar::isSurrogate(code)) {
            everyCharacter += QChar(char16_t(code));
        }
    }
    QByteArray everyByte(256, '\0');
    std::iota(everyByte.begin(), everyByte.end(), '\0');

    for (const char* locale : {"en_US", "cs_CZ", "ru_RU", "el_GR", "tr_TR", "he_IL", "ar_EG",
                               "et_EE", "vi_VN", "th_TH"}) {
        const QByteArray codePage = codePageForLocaleName(QString::fromLatin1(locale));
        SCOPED_TRACE(codePage.toStdString());
        QStringEncoder encoder(codePage.constData(), QStringEncoder::Flag::Stateless);
        QStringDecoder decoder(codePage.constData(), QStringDecoder::Flag::Stateless);
        ASSERT_TRUE(encoder.isValid() && decoder.isValid());
        QByteArray bytes;
        std::array<QString, 256> characterOf;
        for (const QChar character : everyCharacter) {
            const QByteArray byte = encoder.encode(QStringView(&character, 1));
            const bool kept = byte.size() == 1 && decoder.decode(byte) == QString(character);
            bytes += kept ? byte : QByteArray("?");
            if (kept) {
                characterOf[std::uint8_t(byte[0])] = character;
            }
        }
        QString text;
        QList<qsizetype> undefined;
        for (int byte = 0; byte < 256; ++byte) {
            text += characterOf[byte].isEmpty() ? QString::asprintf("\\x%02X", byte)
                                                : characterOf[byte];
            if (characterOf[byte].isEmpty()) {
                undefined.append(byte);
            }
        }

        const QByteArray converted = toCodePage(everyCharacter, codePage);
        ASSERT_EQ(converted.size(), bytes.size());
        const auto differ = std::mismatch(bytes.begin(), bytes.end(), converted.begin()).first;
        EXPECT_EQ(differ, bytes.end())
            << "first at U+" << std::hex << int(everyCharacter[differ - bytes.begin()].unicode());
        QList<qsizetype> reported;
        EXPECT_EQ(fromCodePage(everyByte, codePage, &reported), text);
        EXPECT_EQ(reported, undefined);
    }
}

TEST(FromCodePage, EveryByteIsTheInverseOfToCodePageOrReported) {
    for (const char* codePage : {"windows-1250", "windows-1251", "windows-1252", "windows-1253",
                                 "windows-1255", "windows-874"}) {
        for (int value = 0; value < 256; ++value) {
            SCOPED_TRACE(std::string(codePage) + " byte " + std::to_string(value));
            const QByteArray byte(1, static_cast<char>(value));
            QList<qsizetype> undefined;
            const QString text = fromCodePage(byte, codePage, &undefined);
            if (undefined.isEmpty()) {
                ASSERT_EQ(text.size(), 1);
                EXPECT_EQ(toCodePage(text, codePage), byte);
            } else {
                EXPECT_EQ(undefined, QList<qsizetype>{0});
                EXPECT_EQ(text.size(), 4);
            }
        }
    }
}

} // namespace
} // namespace pelomart
