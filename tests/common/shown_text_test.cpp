// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "shown_text.h"

#include <gtest/gtest.h>

namespace pelomart {
namespace {

TEST(ShownPath, UndecodableBytesAndControlsShowAsHex) {
    const struct {
        const char* name;
        QByteArray bytes;
        QString shown;
        qsizetype longest = 100; // bytes
    } rows[] = {
        {"Latin-1 e acute", "caf\xE9", u"caf\\xE9"_qs},
        {"UTF-8 e acute stays", "caf\xC3\xA9", u"café"_qs},
        {"overlong slash", "a\xC0\xAF", u"a\\xC0\\xAF"_qs},
        {"encoded surrogate", "\xED\xA0\x80", u"\\xED\\xA0\\x80"_qs},
        {"cut sequence at the end", "x\xE2\x82", u"x\\xE2\\x82"_qs},
        {"escape and C1 control", "\x1B[2J\xC2\x9B", u"\\x1B[2J\\x9B"_qs},
        {"last C1 control, then no-break space", "\xC2\x9F\xC2\xA0", u"\\x9F\u00A0"_qs},
        {"four-byte character", "\xF0\x9F\x99\x82", u"\U0001F642"_qs},
        {"long: the middle left out, between characters", "/ab/cd\xC3\xA9/f.chg",
         u"/a\u2026/f.chg"_qs, 10},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(shownPath(row.bytes, row.longest), row.shown) << row.name;
    }
}

TEST(ShownText, LineBreaksStayOnlyWhenAsked) {
    const QString text = u"a\r\nb\x07\x7F\u0085"_qs;
    EXPECT_EQ(shownText(text), u"a\\x0D\\x0Ab\\x07\\x7F\\x85"_qs);
    EXPECT_EQ(shownText(text, true), u"a\r\nb\\x07\\x7F\\x85"_qs);
}

TEST(EncodedFileName, RefusesWhatTheBytesCannotGiveBack) {
    EXPECT_EQ(encodedFileName(u"člověk.chg"_qs), QByteArray("\xC4\x8Dlov\xC4\x9Bk.chg"));
    EXPECT_FALSE(encodedFileName(QString(QChar(0xD800)) + u".chg"_qs));
    EXPECT_FALSE(encodedFileName(QString(QChar(0xDFFF)) + u".chg"_qs));
}

} // namespace
} // namespace pelomart
