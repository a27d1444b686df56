#include "change_file_tool.h"

#include "make_file.h"
#include "memory_form.h"
#include "worked_example.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

#include <bit>
#include <random>

namespace pelomart::chg {
namespace {

class ChangeFileTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_savedLcAll = qgetenv("LC_ALL");
    }
    void TearDown() override {
        m_savedLcAll.isNull() ? qunsetenv("LC_ALL") : qputenv("LC_ALL", m_savedLcAll);
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    void put(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray contents(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Runs a command line with the files named relative to the temporary directory.
    int run(QStringList arguments) {
        out.clear();
        err.clear();
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        arguments.prepend(QStringLiteral("pelomart-chg"));
        return chg::run(arguments, outStream, errStream);
    }

    QTemporaryDir m_dir;
    QByteArray m_savedLcAll;
    QString out;
    QString err;
};

const QByteArray kWorkedFile = QByteArray::fromStdString(test::workedExampleRecord() + "\r\n");

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
    put("long.chg", kWorkedFile + "x");
    EXPECT_EQ(run({"check", "-v", path("good.chg"), path("kind.chg"), path("short.chg"),
                   path("long.chg"), path("missing.chg")}),
              1);
    EXPECT_EQ(out, path("good.chg") + ": ok\n");
    const QStringList messages = err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(messages.size(), 4) << err.toStdString();
    EXPECT_EQ(messages[0], path("kind.chg") + ": offset 129: human kind: expected 6, found 7");
    for (const QString& message : messages.mid(1, 2)) {
        EXPECT_TRUE(message.contains("offset ")) << message.toStdString();
    }
    EXPECT_TRUE(messages[3].startsWith(path("missing.chg") + ": cannot read"));
}

TEST_F(ChangeFileTool, MakeFromStartTextsAsTheWindowDoes) {
    put("start.json", "{}");
    ASSERT_EQ(run({"make", "--locale", "de_DE", "--dir", m_dir.path(), path("start.json")}), 0)
        << err.toStdString();
    EXPECT_EQ(contents("clovek.chg"), kWorkedFile);
    EXPECT_EQ(out, path("clovek.chg") + "\n");

    QFile::remove(path("clovek.chg"));
    EXPECT_EQ(run({"make", "--locale", "en_US", "--dir", m_dir.path(), path("start.json")}), 1);
    EXPECT_EQ(err, path("start.json") + ": object 0: run-time error 13: Type mismatch\n");
    EXPECT_FALSE(QFile::exists(path("clovek.chg")));
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
        Command4_Click(form, c);
        made << path(QStringLiteral("human %1.chg").arg(i));
    }
    ASSERT_EQ(run(QStringList{"show", "--json"} + made), 0) << err.toStdString();
    put("humans.json", out.toUtf8());

    const QString again = m_dir.filePath("again");
    ASSERT_TRUE(QDir().mkdir(again));
    ASSERT_EQ(run({"make", "--locale", "C", "--dir", again, path("humans.json")}), 0)
        << err.toStdString();
    for (const QString& file : made) {
        const QString name = QFileInfo(file).fileName();
        EXPECT_EQ(contents("again/" + name), contents(name)) << name.toStdString();
    }
}

TEST_F(ChangeFileTool, MakeRefusesBadObjectsBeforeWriting) {
    struct Row {
        const char* name;
        const char* json;
        const char* message;
    };
    const Row rows[] = {
        {"unknown key", R"({"nmn": "x"})", "unknown key \"nmn\""},
        {"label is no field", R"({"sex": "woman"})", "unknown key \"sex\""},
        {"number, not text", R"({"x": 5})", "\"x\" must be a string"},
        {"unknown behaviour", R"({"behavior": "Dance"})", "\"Dance\" is not in the list"},
        {"path in the name", R"({"filenavn": "../up.chg"})", "not a plain file name"},
        {"dot dot", R"({"filenavn": ".."})", "not a plain file name"},
        {"same file twice", R"([{"filenavn": "a.chg"}, {"filenavn": "a.chg"}])",
         "nothing was made"},
        {"not JSON", R"([{"x": "1",)", "at offset"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        put("in.json", row.json);
        EXPECT_EQ(run({"make", "--locale", "de_DE", "--dir", m_dir.path(), path("in.json")}), 1);
        EXPECT_TRUE(err.startsWith(path("in.json"))) << err.toStdString();
        EXPECT_TRUE(err.contains(QLatin1String(row.message))) << err.toStdString();
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"in.json"});
    }
}

TEST_F(ChangeFileTool, OneFailingObjectDoesNotStopTheOthers) {
    put("in.json", R"([{"filenavn": "one.chg", "x": "north"},
                        {"filenavn": "two.chg", "behavior": "128", "paramlong1": "45",
                         "script": "a\nb\rc"}])");
    EXPECT_EQ(run({"make", "--locale", "de_DE", "--dir", m_dir.path(), path("in.json")}), 1);
    EXPECT_EQ(err, path("in.json") + ": object 0: run-time error 13: Type mismatch\n");
    EXPECT_FALSE(QFile::exists(path("one.chg")));
    ASSERT_EQ(run({"show", "--json", path("two.chg")}), 0);
    const QJsonObject two = QJsonDocument::fromJson(out.toUtf8()).array()[0].toObject();
    EXPECT_EQ(two["behavior"].toString(), "Afraid");
    EXPECT_EQ(two["paramlong1"].toString(), "31") << "held at 31 as typing it would";
    EXPECT_EQ(two["script"].toString(), "a\r\nb\r\nc");
}

TEST_F(ChangeFileTool, UsageErrorsExitWithTwo) {
    for (const QStringList& arguments : {QStringList{},
                                         {"frob"},
                                         {"show"},
                                         {"check", "--bogus", "x"},
                                         {"make", "--locale", "xx_YY", "a"}}) {
        EXPECT_EQ(run(arguments), 2) << arguments.join(' ').toStdString();
        EXPECT_FALSE(err.isEmpty());
    }
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_TRUE(out.contains("show") && out.contains("check") && out.contains("make"));
}

} // namespace
} // namespace pelomart::chg
