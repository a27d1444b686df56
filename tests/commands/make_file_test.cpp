// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "make_file.h"

#include "human_record_reader.h"
#include "memory_form.h"
#include "run_time_error.h"
#include "worked_example.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace pelomart {
namespace {

const QLocale kGerman("de_DE");
const QLocale kCzech("cs_CZ");
const QLocale kEnglish("en_US");

class MakeFile : public ::testing::Test {
protected:
    // The code page of a C locale, windows-1252, whatever the environment's language.
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_fields.setDirectoryPath(QFile::encodeName(m_dir.path()));
        qputenv("LC_ALL", "C.UTF-8");
    }
    void TearDown() override {
        m_lcAll.isNull() ? qunsetenv("LC_ALL") : qputenv("LC_ALL", m_lcAll);
    }

    QString target() const { return m_dir.filePath(QStringLiteral("clovek.chg")); }

    std::string written() const {
        QFile file(target());
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        return file.readAll().toStdString();
    }

    // Runs the command; the error number it ended with, or nothing on success.
    std::optional<int> run(const QLocale& locale) {
        try {
            makeChangeFile(m_fields, locale);
            return std::nullopt;
        } catch (const RunTimeError& e) {
            return e.code();
        }
    }

    HumanRecord writtenRecord() const {
        DecodedHumanRecord decoded = decodeHumanRecord(written());
        EXPECT_EQ(decoded.error, "");
        return decoded.record.value_or(HumanRecord{});
    }

    QTemporaryDir m_dir;
    MemoryForm m_fields;
    const QByteArray m_lcAll = qgetenv("LC_ALL");
};

TEST_F(MakeFile, StartTextsGiveTheKnownFileInCommaLocales) {
    for (const QLocale& locale : {kGerman, kCzech}) {
        SCOPED_TRACE(locale.name().toStdString());
        ASSERT_EQ(run(locale), std::nullopt);
        EXPECT_EQ(written(), test::workedExampleRecord() + "\r\n");
    }
}

TEST_F(MakeFile, PointLocaleRefusesTheShippedCommaRotation) {
    // In en_US the comma is digit grouping, and "0,68114573" is not grouped the way
    // en_US groups digits: better an error than a silently wrong rotation.
    EXPECT_EQ(run(kEnglish), 13);
    EXPECT_FALSE(QFile::exists(target()));

    m_fields.setText(Control::xrotsing, "0.68114573");
    m_fields.setText(Control::zrotsing, "-0.73214793");
    ASSERT_EQ(run(kEnglish), std::nullopt);
    EXPECT_EQ(written(), test::workedExampleRecord() + "\r\n");
}

TEST_F(MakeFile, BehaviourNamesAndCodes) {
    // Only exact entry names choose a code; everything else is No Reaction's 2.
    struct Row {
        const char* text;
        std::int32_t code;
    };
    const Row rows[] = {
        {"Duck", 0}, {"React on Attack", 23}, {"React on Attack2", 64}, {"Afraid", 128},
        {"", 2},     {"afraid", 2},           {"Afraid ", 2},           {"React on Attack ", 2},
    };
    for (const Row& row : rows) {
        m_fields.setText(Control::behavior, QString::fromLatin1(row.text));
        ASSERT_EQ(run(kGerman), std::nullopt) << row.text;
        EXPECT_EQ(writtenRecord().behaviour, row.code) << '"' << row.text << '"';
    }
}

TEST_F(MakeFile, TypeParameterRoundsHalfToEven) {
    struct Row {
        const char* text;
        std::int32_t value;
    };
    const Row rows[] = {{"15", 15}, {"2.5", 2}, {"3.5", 4}, {"-7", -7}, {" 31 ", 31}};
    m_fields.setText(Control::xrotsing, "0.5");
    m_fields.setText(Control::zrotsing, "0.5");
    for (const Row& row : rows) {
        m_fields.setText(Control::paramlong1, QString::fromLatin1(row.text));
        ASSERT_EQ(run(kEnglish), std::nullopt) << row.text;
        EXPECT_EQ(writtenRecord().typeParameter, row.value) << row.text;
    }
}

TEST_F(MakeFile, ParametersAreResetWhateverWasTyped) {
    for (const ControlInfo& field : kParameterFields) {
        m_fields.setText(field.id, QStringLiteral("5"));
    }
    ASSERT_EQ(run(kGerman), std::nullopt);
    EXPECT_EQ(written(), test::workedExampleRecord() + "\r\n");

    const QStringList german = {"1", "150", "30",  "30", "30", "30",  "0,7", "1",
                                "0", "1",   "0,3", "1",  "1",  "0,8", "80",  "0,8"};
    for (std::size_t i = 0; i < kParameterFields.size(); ++i) {
        EXPECT_EQ(m_fields.text(kParameterFields[i].id), german[qsizetype(i)]) << i + 2;
    }
}

TEST_F(MakeFile, FailuresStopAtTheirStep) {
    struct Row {
        const char* name;
        Control control;
        QString text;
        int error;
        bool parametersReset;
        const char* detail; // for an overflow, the limit; for a bad name, why
    };
    const Row rows[] = {
        {"empty position", Control::x, "", 13, false, ""},
        {"word as position", Control::y, "north", 13, false, ""},
        {"position beyond float", Control::z, "1e39", 6, false,
         "a number goes up to 3.4028235e38 either way"},
        {"empty rotation", Control::yrotsing, "", 13, false, ""},
        {"bad scale", Control::zscalesing, "1..0", 13, false, ""},
        {"type parameter not a number", Control::paramlong1, "abc", 13, false, ""},
        {"type parameter below int32", Control::paramlong1, "-3000000000", 6, false,
         "a type goes from -2147483648 to 2147483647"},
        {"record too long", Control::script, QString(32556, QLatin1Char('x')), 6, true,
         "script length 32556, at most 32555 with these names"},
        // No single-byte code page has these characters, whatever the user's language.
        {"a character beyond the BMP", Control::namn, u"a\U0001F0A1"_qs, 5, false,
         "\"\U0001F0A1\" (U+1F0A1) is not in the code page windows-1252"},
        {"a C1 control in the script", Control::script, u"x\r\n\u0085"_qs, 5, true,
         "U+0085 is not in the code page windows-1252"},
        {"name no file name can hold", Control::filenavn,
         QString(QChar(0xD800)) + QStringLiteral(".chg"), 52, true,
         "the name has characters no file name can hold"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MemoryForm fields;
        fields.setDirectoryPath(QFile::encodeName(m_dir.path()));
        fields.setText(Control::paramsing3, "typed");
        try {
            fields.setText(row.control, row.text);
        } catch (const RunTimeError&) {
            // Typing it into the window is reported too, and the text stays as typed.
        }
        std::optional<int> error;
        try {
            makeChangeFile(fields, kGerman);
        } catch (const RunTimeError& e) {
            error = e.code();
            // The message names the box, and its text unless that is the whole script.
            EXPECT_EQ(e.control(), controlInfo(row.control).name);
            EXPECT_EQ(e.controlText(), row.control == Control::script && row.error == 6
                                           ? ""
                                           : row.text.toStdString());
            EXPECT_EQ(e.detail(), row.detail);
        }
        EXPECT_EQ(error, row.error);
        EXPECT_FALSE(QFile::exists(target()));
        EXPECT_EQ(fields.text(Control::paramsing3), row.parametersReset ? "150" : "typed");
    }
}

TEST_F(MakeFile, LongestRecordIsWrittenAndExistingFileSurvivesOverflow) {
    m_fields.setText(Control::script, QString(32555, QLatin1Char('x')));
    ASSERT_EQ(run(kGerman), std::nullopt);
    EXPECT_EQ(written().size(), 32769u);

    const std::string before = written();
    m_fields.setText(Control::script, QString(32556, QLatin1Char('x')));
    EXPECT_EQ(run(kGerman), 6);
    EXPECT_EQ(written(), before);
}

TEST_F(MakeFile, FileLandsInTheDirectoryUnderTheTypedName) {
    m_fields.setText(Control::filenavn, "human one.chg");
    ASSERT_EQ(run(kGerman), std::nullopt);
    EXPECT_TRUE(QFile::exists(m_dir.filePath("human one.chg")));

    // A directory path that ends in a separator still gets one before the name.
    m_fields.setDirectoryPath(QFile::encodeName(m_dir.path() + "/"));
    m_fields.setText(Control::filenavn, "second.chg");
    ASSERT_EQ(run(kGerman), std::nullopt);
    EXPECT_TRUE(QFile::exists(m_dir.filePath("second.chg")));
}

TEST_F(MakeFile, MissingDirectoryIsPathNotFoundAfterParametersReset) {
    m_fields.setDirectoryPath(QFile::encodeName(m_dir.filePath("gone")));
    m_fields.setText(Control::paramsing3, "typed");
    EXPECT_EQ(run(kGerman), 76);
    EXPECT_EQ(m_fields.text(Control::paramsing3), "150");
}

TEST_F(MakeFile, TextsGoThroughTheUsersCodePage) {
    qputenv("LC_ALL", "cs_CZ.UTF-8"); // TearDown restores it
    m_fields.setText(Control::namn, QString::fromUtf8("Řidič"));
    m_fields.setText(Control::model, QString::fromUtf8("ž.i3d"));
    ASSERT_EQ(run(kCzech), std::nullopt);
    const HumanRecord h = writtenRecord();
    EXPECT_EQ(h.name, "\xD8"
                      "idi\xE8");
    EXPECT_EQ(h.model, "\x9E.i3d");
}

} // namespace
} // namespace pelomart
