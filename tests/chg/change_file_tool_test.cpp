// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "change_file_tool_fixture.h"

#include "human_record_composer.h"
#include "human_record_reader.h"
#include "make_file.h"
#include "memory_form.h"
#include "shown_text.h"
#include "worked_example.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <random>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace pelomart::chg {
namespace {

TEST_F(ChangeFileTool, ShowCheckAndJsonOfTheWorkedExample) {
    put("clovek.chg", kWorkedFile);
    ASSERT_EQ(run({"show", path("clovek.chg")}), 0) << err.toStdString();
    for (const char* line :
         {"position        -1980 -5 18\n", "rotation        0.6811457 0 -0.73214793\n",
          "internal name   Zozed's_Driver\n", "behaviour       2 (No Reaction)\n",
          "type parameter  15 (man)\n",
          "parameters      1 150 30 30 30 30 0.7 1 0 1 0.3 1 1 0.8 80 0.8\n",
          "    findactor 1,\"Zozed\"\n"}) {
        EXPECT_TRUE(out.contains(QLatin1String(line))) << line << out.toStdString();
    }

    ASSERT_EQ(run({"show", "--json", path("clovek.chg")}), 0);
    const QJsonArray array = QJsonDocument::fromJson(out.toUtf8()).array();
    ASSERT_EQ(array.size(), 1);
    const QJsonObject object = array[0].toObject();
    EXPECT_EQ(object.size(), qsizetype(kEditorFields.size()));
    EXPECT_EQ(object["xrotsing"].toString(), "0.6811457");
    EXPECT_EQ(object["behavior"].toString(), "No Reaction");
    EXPECT_EQ(object["script"].toString().count("\r\n"), 5);
    EXPECT_EQ(object["filenavn"].toString(), "clovek.chg");

    EXPECT_EQ(run({"check", path("clovek.chg")}), 0);
    EXPECT_EQ(out, "");
}

TEST_F(ChangeFileTool, CheckNamesTheOffsetOfEveryBadFile) {
    QByteArray kind = kWorkedFile;
    kind[129] = 7; // the human kind, at 92 + N + M
    put("good.chg", kWorkedFile);
    put("kind.chg", kind);
    put("short.chg", kWorkedFile.left(100));
    put("long.chg", kWorkedFile.repeated(10'000));
    EXPECT_EQ(run({"check", "-v", path("good.chg"), path("kind.chg"), path("short.chg"),
                   path("long.chg"), path("missing.chg")}),
              1);
    EXPECT_EQ(out, path("good.chg") + ": ok\n");
    const QStringList messages = err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(messages.size(), 4) << err.toStdString();
    EXPECT_EQ(messages[0], path("kind.chg") + ": offset 129: human kind: expected 6, found 7");
    EXPECT_TRUE(messages[1].contains("offset ")) << messages[1].toStdString();
    EXPECT_EQ(messages[2], path("long.chg") + ": cannot read: longer than 32769 bytes");
    EXPECT_TRUE(messages[3].startsWith(path("missing.chg") + ": cannot read"));
}

// A box left out holds its start value in the notation being read, so the rotations'
// decimal comma does not stop a point notation.
TEST_F(ChangeFileTool, MakeFromStartTextsAsTheWindowDoes) {
    qputenv("LC_ALL", "de_DE.UTF-8");
    put("start.json", "{}");
    for (const QStringList& locale :
         {QStringList{"--locale", "de_DE"}, {"--locale", "en_US"}, {}}) {
        SCOPED_TRACE(locale.join(' ').toStdString());
        ASSERT_EQ(run(QStringList{"make"} + locale +
                      QStringList{"--dir", m_dir.path(), path("start.json")}),
                  0)
            << err.toStdString();
        EXPECT_EQ(contents("clovek.chg"), kWorkedFile);
        EXPECT_EQ(out, path("clovek.chg") + "\n");
        QFile::remove(path("clovek.chg"));
    }
}

TEST_F(ChangeFileTool, FilesMadeByTheWindowComeBackByteForByte) {
    qputenv("LC_ALL", "cs_CZ.UTF-8");
    std::mt19937 random(7);
    std::uniform_int_distribution<std::uint32_t> bits;
    auto randomFloat = [&] {
        float value;
        do {
            value = std::bit_cast<float>(bits(random));
        } while (!std::isfinite(value));
        return value;
    };
    const QLocale c = QLocale::c();
    QStringList made;
    for (int i = 0; i < 40; ++i) {
        MemoryForm form;
        form.setDirectoryPath(QFile::encodeName(m_dir.path()));
        for (const auto boxes : {kPositionFields, kScaleFields, kRotationFields}) {
            for (const ControlInfo& box : boxes) {
                form.setText(box.id, c.toString(randomFloat(), 'g', 9));
            }
        }
        form.setText(Control::namn, QString::fromUtf8("Řidič č. %1").arg(i));
        form.setText(Control::model, i % 2 ? QString() : QStringLiteral("m\\odel.i3d"));
        form.setText(Control::behavior, QLatin1String(kBehaviours[std::size_t(i) % 8].name));
        form.setText(Control::paramlong1, QString::number(i - 5));
        form.setText(Control::script, QString::fromUtf8("line %1\r\n\r\n„quoted“ €\r\n").arg(i));
        form.setText(Control::filenavn, QStringLiteral("human %1.chg").arg(i));
        makeChangeFile(form, c);
        made << path(QStringLiteral("human %1.chg").arg(i));
    }
    ASSERT_EQ(run(QStringList{"show", "--json"} + made), 0) << err.toStdString();
    put("humans.json", out.toUtf8());

    const QString again = m_dir.filePath("again");
    ASSERT_TRUE(QDir().mkdir(again));
    // As show --json | make - takes it: from standard input.
    const int savedStdin = ::dup(STDIN_FILENO);
    const int json = ::open(QFile::encodeName(path("humans.json")).constData(), O_RDONLY);
    ASSERT_EQ(::dup2(json, STDIN_FILENO), STDIN_FILENO);
    const int status = run({"make", "--dir", again, "-"});
    ::dup2(savedStdin, STDIN_FILENO);
    ::close(savedStdin);
    ::close(json);
    ASSERT_EQ(status, 0) << err.toStdString();
    for (const QString& file : made) {
        const QString name = QFileInfo(file).fileName();
        EXPECT_EQ(contents("again/" + name), contents(name)) << name.toStdString();
        // set changes position x, bytes 16 to 19, and nothing else.
        QByteArray expected = contents(name);
        expected.replace(16, 4, QByteArray("\x00\x00\xC8\x42", 4)); // 100.0f
        ASSERT_EQ(run({"set", file, "x=100"}), 0) << err.toStdString();
        EXPECT_EQ(contents(name), expected) << name.toStdString();
    }
}

TEST_F(ChangeFileTool, MakeRefusesBadObjectsBeforeWriting) {
    enum Input { File, Pipe, Closed }; // how make gets the JSON: a file, or standard input
    struct Row {
        const char* name;
        QByteArray json;
        const char* message;
        qint64 size = 0; // the input's size: the JSON, then blanks
        Input input = File;
        qsizetype lines = 1;
    };
    const Row rows[] = {
        {"unknown key", R"({"nmn": "x"})", "unknown key \"nmn\"; did you mean \"namn\"?"},
        {"label is no field", R"({"sex": "woman"})", "unknown key \"sex\""},
        {"number, not text", R"({"x": 5})", "\"x\" must be a string"},
        {"unknown behaviour", R"({"behavior": "Dance"})", "\"Dance\" is not in the list"},
        {"path in the name", R"({"filenavn": "../up.chg"})", "not a plain file name"},
        {"dot dot", R"({"filenavn": ".."})", "not a plain file name"},
        {"same file twice", R"([{"filenavn": "a.chg"}, {"filenavn": "a.chg"}])",
         "nothing was made"},
        {"not JSON", R"([{"x": "1",)",
         "unexpected end of input; expected string literal at offset 11"},
        {"a second value", R"({"filenavn": "a.chg"} "b.chg")",
         "unexpected string literal; expected end of input at offset 22"},
        {"NUL after the value", R"({"filenavn": "a.chg"})" + QByteArray(1, '\0') + "[{}, {}]",
         ": not JSON: unexpected NUL byte at offset 21"},
        {"NUL in an array", R"([{"filenavn": "a.chg"},)" + QByteArray(1, '\0') + "{}]",
         ": not JSON: unexpected NUL byte at offset 23"},
        {"standard input closed", "{}", "-: cannot read: standard input is closed", 0, Closed},
        {"above 64 MiB through a pipe", "[]", "-: cannot read: longer than 67108864 bytes",
         64 * 1024 * 1024 + 1, Pipe},
        {"exactly 64 MiB through a pipe", R"({"x": "north"})",
         "-: object 0: x \"north\": run-time error 13", 64 * 1024 * 1024, Pipe},
        {"many failing objects: 20 lines and a count", QByteArray(R"({"nmn": "x"},)").repeated(25),
         "pelomart-chg make: 5 more messages about objects not shown", 0, File, 21},
        {"null", "null", ": expected an object or an array of objects"},
        {"a string", R"("a.chg")", ": expected an object or an array of objects"},
        {"above 64 MiB", "[]", ": cannot read: longer than 67108864 bytes", 64 * 1024 * 1024 + 1},
        {"type the window holds at 31", R"({"paramlong1": "45"})",
         ": object 0: paramlong1 \"45\": the box would hold \"31\" instead; no file made"},
        {"names with lone surrogates",
         R"([{"filenavn": "\ud800.chg"}, {"filenavn": "\udfff.chg"}])",
         ": not JSON: syntax error while parsing value - invalid string: surrogate U+D800"},
        {"overflow names its limit", R"({"z": "1e39"})",
         ": object 0: z \"1e39\": run-time error 6: Overflow (a number goes up to 3.4028235e38"},
        {"same key twice", R"({"x": "1", "x": "2"})", ": object 0: key \"x\" is given twice"},
        {"key in another case", R"({"X": "1"})", "\"X\"; did you mean \"x\"?"},
        {"behaviour in another case", R"({"behavior": "AFRAID"})", "; did you mean \"Afraid\"?"},
        {"exactly 64 MiB is read", R"({"x": "north"})",
         ": object 0: x \"north\": run-time error 13", 64 * 1024 * 1024},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QByteArray json = row.json;
        if (row.lines > 1) {
            json = '[' + json.chopped(1) + ']';
        }
        json += QByteArray(std::max(row.size - json.size(), 0LL), ' ');
        put("in.json", json);
        const QStringList make{"make", "--locale", "de_DE", "--dir", m_dir.path()};
        EXPECT_EQ(row.input == File ? run(make + QStringList{path("in.json")})
                                    : runWithStandardInput(make + QStringList{"-"},
                                                           row.input == Pipe ? json : QByteArray()),
                  1);
        EXPECT_TRUE(err.startsWith(row.input == File ? path("in.json") : "-")) << err.toStdString();
        EXPECT_EQ(err.count(u'\n'), row.lines) << err.toStdString();
        EXPECT_TRUE(err.contains(QLatin1String(row.message))) << err.toStdString();
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"in.json"});
    }
}

// Numbers read the same in every environment: "." as the decimal point and no digit
// grouping, unless --locale names a regional notation.
TEST_F(ChangeFileTool, SetReadsOneNotationInEveryEnvironment) {
    const std::tuple<const char*, QStringList, const char*, QByteArray> rows[] = {
        {"en_US.UTF-8", {}, "x=1,500", {}},
        {"de_DE.UTF-8", {}, "x=1.500", QByteArray("\x00\x00\xC0\x3F", 4)}, // 1.5
        {"cs_CZ.UTF-8", {"--locale", "C"}, "x=1,500", {}},
        {"cs_CZ.UTF-8", {"--locale", "C.UTF-8"}, "x=1,500", {}},
        {"C", {"--locale", "de_DE"}, "x=1.500", QByteArray("\x00\x80\xBB\x44", 4)}, // 1500
    };
    for (const auto& [environment, locale, assignment, bytes] : rows) {
        SCOPED_TRACE(std::string(environment) + ", " + assignment);
        qputenv("LC_ALL", environment);
        put("f.chg", kWorkedFile);
        EXPECT_EQ(run(QStringList{"set"} + locale + QStringList{path("f.chg"), assignment}),
                  bytes.isEmpty() ? 1 : 0);
        QByteArray expected = kWorkedFile;
        expected.replace(16, 4, bytes.isEmpty() ? kWorkedFile.mid(16, 4) : bytes); // position x
        EXPECT_EQ(contents("f.chg"), expected) << err.toStdString();
    }
}

TEST_F(ChangeFileTool, OneFailingObjectDoesNotStopTheOthers) {
    put("in.json", R"([{"filenavn": "one.chg", "x": "north"},
                        {"filenavn": "two.chg", "behavior": "128", "script": "a\nb\rc"}])");
    EXPECT_EQ(run({"make", "--locale", "de_DE", "--dir", m_dir.path(), path("in.json")}), 1);
    EXPECT_EQ(err, path("in.json") + ": object 0: x \"north\": run-time error 13: Type mismatch\n");
    EXPECT_FALSE(QFile::exists(path("one.chg")));
    ASSERT_EQ(run({"show", "--json", path("two.chg")}), 0);
    const QJsonObject two = QJsonDocument::fromJson(out.toUtf8()).array()[0].toObject();
    EXPECT_EQ(two["behavior"].toString(), "Afraid");
    EXPECT_EQ(two["script"].toString(), "a\r\nb\r\nc");
}

TEST_F(ChangeFileTool, UsageErrorsExitWithTwo) {
    for (const QStringList& arguments : {QStringList{},
                                         {"frob"},
                                         {"show"},
                                         {"check", "--bogus", "x"},
                                         {"show", "--json", "--bytes", "x"},
                                         {"make", "--locale", "xx_YY", "a"}}) {
        EXPECT_EQ(run(arguments), 2) << arguments.join(' ').toStdString();
        EXPECT_FALSE(err.isEmpty());
    }
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_TRUE(out.contains("show") && out.contains("check") && out.contains("make"));
}

// Each value that make cannot give back: show --json names it on stderr and exits 1 with its
// JSON still printed, and set leaves the file as it was rather than change it unasked.
TEST_F(ChangeFileTool, ValuesMakeCannotGiveBack) {
    qputenv("LC_ALL", "el_GR.UTF-8"); // windows-1253, which has no character for D2
    const HumanRecord worked = decodeHumanRecord(kWorkedFile.toStdString()).record.value();
    struct Row {
        const char* name;
        std::function<void(HumanRecord&)> change;
        const char* line;
    };
    const Row rows[] = {
        {"type above 31", [](HumanRecord& h) { h.typeParameter = 40; },
         "paramlong1: 40 in the file; make writes 31"},
        {"behaviour not in the list", [](HumanRecord& h) { h.behaviour = 5; },
         "behavior: 5 in the file; make writes 2 (No Reaction)"},
        {"NaN", [](HumanRecord& h) { h.position[1] = NAN; }, "y: nan in the file; make writes 0"},
        {"infinity", [](HumanRecord& h) { h.scale[2] = -INFINITY; },
         "zscalesing: -inf in the file; make writes -3.4028235e+38"},
        {"undefined byte", [](HumanRecord& h) { h.name = std::string("A\xD2") + 'B'; },
         "namn: A\\xD2B in the file; make writes A?B"},
        {"parameter", [](HumanRecord& h) { h.parameters[3] = 31; },
         "paramsing5: 31 in the file; make writes 30"},
        {"lone LF", [](HumanRecord& h) { h.script = "a\nb"; },
         "script: a line end other than CR LF in the file; make writes CR LF"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HumanRecord human = worked;
        row.change(human);
        const QByteArray file = QByteArray::fromStdString(composeHumanRecord(human) + kLineEnd);
        put("f.chg", file);
        const QString line = path("f.chg") + ": " + QString::fromUtf8(row.line);
        EXPECT_EQ(run({"show", "--json", path("f.chg")}), 1);
        EXPECT_EQ(err, line + "\n");
        EXPECT_EQ(QJsonDocument::fromJson(out.toUtf8()).array().size(), 1);
        EXPECT_EQ(run({"set", "--locale", "C", path("f.chg"), "yrotsing=1"}), 1);
        EXPECT_EQ(err, line + "; the file is left as it was\n");
        EXPECT_EQ(contents("f.chg"), file);
    }
    // A value being set goes anyway, so it stops nothing.
    HumanRecord human = worked;
    human.typeParameter = 40;
    put("f.chg", QByteArray::fromStdString(composeHumanRecord(human) + kLineEnd));
    ASSERT_EQ(run({"set", "--locale", "C", path("f.chg"), "paramlong1=20"}), 0)
        << err.toStdString();
    EXPECT_EQ(contents("f.chg").mid(134, 4), QByteArray("\x14\0\0\0", 4)); // the type, at 134
}

TEST_F(ChangeFileTool, SetRefusesAndLeavesTheFileAsItWas) {
    put("f.chg", kWorkedFile);
    put("bad.chg", kWorkedFile.left(100));
    const QString f = path("f.chg");
    struct Row {
        const char* name;
        QStringList arguments;
        int status;
        const char* message;
    };
    const Row rows[] = {
        {"no =", {f, "namn"}, 2, "set: \"namn\" is not KEY=TEXT"},
        {"nothing to set", {f}, 2, "set: nothing to set"},
        {"no file", {}, 2, "set: no file given"},
        {"key twice", {f, "x=1", "x=2"}, 2, "set: x is given twice"},
        {"unknown key", {f, "nmn=x"}, 1, "f.chg: unknown key \"nmn\""},
        {"file name", {f, "filenavn=g.chg"}, 1, "f.chg: filenavn cannot be set"},
        {"fixed parameter", {f, "paramsing3=5"}, 1, "cannot be set: make file always writes 150"},
        {"type the window holds at 31",
         {f, "paramlong1=45"},
         1,
         "f.chg: paramlong1 \"45\": the box would hold \"31\" instead"},
        {"not a number", {f, "x=north"}, 1, "f.chg: x \"north\": run-time error 13: Type mismatch"},
        {"behaviour not in the list", {f, "behavior=Dance"}, 1, "\"Dance\" is not in the list"},
        {"script too long",
         {f, "script=" + QString(40'000, 'x')},
         1,
         "f.chg: script: run-time error 6: Overflow (script length 40000, at most 32555"},
        {"change file refused", {path("bad.chg"), "x=1"}, 1, "bad.chg: offset "},
        {"text not UTF-8",
         {f, "namn=" + argumentText("\xE9t\xE9")},
         1,
         "f.chg: namn \"\\xE9t\\xE9\": the text is not valid UTF-8"},
        {"dry run meets what make file refuses",
         {"--dry-run", f, "script=" + QString(40'000, 'x')},
         1,
         "f.chg: script: run-time error 6: Overflow"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(run(QStringList{"set", "--locale", "C"} + row.arguments), row.status);
        EXPECT_TRUE(err.contains(QLatin1String(row.message))) << err.toStdString();
        EXPECT_EQ(contents("f.chg"), kWorkedFile);
        EXPECT_EQ(contents("bad.chg"), kWorkedFile.left(100));
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList({"bad.chg", "f.chg"}));
    }
}

// Every help option prints the command's help and does nothing else.
TEST_F(ChangeFileTool, HelpDoesNothingElse) {
    put("f.chg", kWorkedFile);
    put("in.json", R"({"filenavn": "made.chg"})");
    const std::pair<const char*, QStringList> rows[] = {
        {"show", {path("f.chg")}},
        {"check", {path("f.chg")}},
        {"make", {"--locale", "de_DE", "--dir", m_dir.path(), path("in.json")}},
        {"set", {path("f.chg"), "x=1"}},
    };
    for (const auto& [command, arguments] : rows) {
        for (const char* option : {"-h", "--help", "--help-all"}) {
            SCOPED_TRACE(std::string(command) + ' ' + option);
            EXPECT_EQ(run(QStringList{command, option} + arguments), 0);
            EXPECT_TRUE(
                out.startsWith(QStringLiteral("Usage: pelomart-chg %1 [options] ").arg(command)));
            EXPECT_EQ(err, "");
            EXPECT_EQ(contents("f.chg"), kWorkedFile);
            EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList({"f.chg", "in.json"}));
        }
    }
}

// A name holding ESC [2J, an OSC title sequence or a C1 control shows as \xNN in every
// listing and message, so it cannot clear the terminal or set its title.
TEST_F(ChangeFileTool, ControlsReachTheTerminalAsEscapes) {
    put("esc.json", R"({"filenavn": "e\u001b[2J.chg", "namn": "\u001b]0;title\u0007",
                        "script": "a\r\n\u001b[2J\r\n"})");
    put("bad.json", R"({"\u001b[2J": "1", "behavior": "\u009b", "filenavn": "\u001b/x"})");
    const QString made = path("e\x1b[2J.chg");
    const QStringList rows[] = {
        {"make", "--locale", "de_DE", "--dir", m_dir.path(), path("esc.json")},
        {"show", made},
        {"check", "-v", made},
        {"check", path("\x1b]0;gone")},
        {"make", "--locale", "de_DE", path("bad.json")},
        {"set", "--locale", "de_DE", made, "\x1b[1m=x"},
        {"make", "--locale", "\x1b[2J", path("bad.json")},
        {"\x1b[2J"},
        {"show", "--\x1b[2J", made},
    };
    for (const QStringList& arguments : rows) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        run(arguments);
        const QString all = out + err;
        EXPECT_TRUE(all.contains("\\x1B") || all.contains("\\x9B")) << all.toStdString();
        EXPECT_FALSE(std::any_of(all.begin(), all.end(), [](QChar c) {
            return (c < u'\x20' && c != u'\n') || (c >= u'\x7F' && c <= u'\x9F');
        })) << all.toStdString();
    }
}

// show --bytes, list and set --dry-run, run in the test's directory: each row the command
// line, the exit status, the lines that must be among its output and how many it prints.
TEST_F(ChangeFileTool, ListingsOfChangeFiles) {
    qputenv("LC_ALL", "cs_CZ.UTF-8");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    const HumanRecord worked = decodeHumanRecord(kWorkedFile.toStdString()).record.value();
    HumanRecord escaped = worked;
    escaped.name = "Zo\x1B[2J";
    escaped.model.clear();
    HumanRecord longName = worked;
    longName.name = std::string(30, 'n');
    HumanRecord escapeAtCut = worked;
    escapeAtCut.name = std::string(21, 'n') + "\x1B\x1B";
    put("clovek.chg", kWorkedFile);
    put("日本.chg", QByteArray::fromStdString(composeHumanRecord(escaped) + kLineEnd));
    put("long.chg", QByteArray::fromStdString(composeHumanRecord(longName) + kLineEnd));
    put("cut.chg", QByteArray::fromStdString(composeHumanRecord(escapeAtCut) + kLineEnd));
    put("bad.chg", kWorkedFile.left(100));
    struct Row {
        const char* name;
        QStringList arguments;
        int status;
        QStringList lines;
        qsizetype lineCount;
    };
    const Row rows[] = {
        {"show --bytes: each field at the offset check names",
         {"show", "--bytes", "clovek.chg"},
         0,
         {"clovek.chg:", "      0     2  D2 04        magic                     1234",
          "      4     2  00 00        record length, high half  0",
          "     16     4  00 80 F7 C4  x                         -1980",
          "     56     4  0E 00 00 00  internal name length      14",
          "     60    14  5A 6F 7A 65 64 27 73 5F 44 72 69 76 65 72  namn                      "
          "Zozed's_Driver",
          "    129     1  06           human kind                6",
          "    130     4  02 00 00 00  behavior                  2",
          "    198     4  CD CC 4C 3F  paramsing17               0.8",
          "    208     4  46 00 00 00  script length             70",
          "    282     2  0D 0A        line end                  \\x0D\\x0A"},
         54},
        {"show --bytes: escapes, an empty text, offsets after N",
         {"show", "--bytes", "日本.chg"},
         0,
         {"     60     6  5A 6F 1B 5B 32 4A  namn                      Zo\\x1B[2J",
          "     84     4  00 00 00 00  model name length         0",
          "     88     0               model",
          "     98     1  06           human kind                6"},
         54},
        {"show --bytes: a refused file", {"show", "--bytes", "bad.chg", "clovek.chg"}, 1, {}, 54},
        {"list: wide characters, escapes and a long name line up; a refused file keeps its line",
         {"list", "clovek.chg", "日本.chg", "long.chg", "bad.chg"},
         1,
         {"FILE        NAMN                      MODEL                    BEHAVIOUR    TYPE    "
          "POSITION",
          "clovek.chg  Zozed's_Driver            ZozedTAXIdriverHIGH.i3d  No Reaction  15 man  "
          "-1980 -5 18",
          "日本.chg    Zo\\x1B[2J                                          No Reaction  15 man  "
          "-1980 -5 18",
          "long.chg    nnnnnnnnnnnnnnnnnnnnnnn…  ZozedTAXIdriverHIGH.i3d  No Reaction  15 man  "
          "-1980 -5 18",
          "bad.chg     offset 92: model name length: expected at most 4, found 23 (the file "
          "ends at offset 100)"},
         5},
        {"list: a name is cut before an escape, never inside it",
         {"list", "cut.chg"},
         0,
         {"cut.chg  nnnnnnnnnnnnnnnnnnnnn…  ZozedTAXIdriverHIGH.i3d  No Reaction  15 man  "
          "-1980 -5 18"},
         2},
        {"set --dry-run: what the file would hold, and nothing written",
         {"set", "--locale", "C", "--dry-run", "clovek.chg", "x=1e2", "behavior=128"},
         0,
         {"x: -1980 -> 100", "behavior: No Reaction -> Afraid"},
         2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(run(row.arguments), row.status) << err.toStdString();
        const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(lines.size(), row.lineCount) << out.toStdString();
        for (const QString& line : row.lines) {
            EXPECT_TRUE(lines.contains(line)) << line.toStdString() << '\n' << out.toStdString();
        }
        EXPECT_EQ(contents("clovek.chg"), kWorkedFile);
    }
    QDir::setCurrent(before);
}

} // namespace
} // namespace pelomart::chg
