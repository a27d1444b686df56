// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "form1.h"

#include "human_record_composer.h"
#include "human_record_reader.h"
#include "make_file.h"
#include "memory_form.h"
#include "modal_box.h"
#include "script_text.h"
#include "worked_example.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sys/stat.h>

namespace pelomart {
namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

HumanRecord workedExample() {
    return decodeHumanRecord(test::workedExampleRecord() + "\r\n").record.value();
}

QByteArray changeFile(const HumanRecord& human) {
    return QByteArray::fromStdString(composeHumanRecord(human) + "\r\n");
}

// The locale for numbers and LC_ALL for the code page, restored afterwards.
class Locale {
public:
    explicit Locale(const char* name) : m_lcAll(qgetenv("LC_ALL")) {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        qputenv("LC_ALL", QByteArray(name) + ".UTF-8");
    }
    ~Locale() {
        QLocale::setDefault(m_saved);
        qputenv("LC_ALL", m_lcAll);
    }

private:
    QLocale m_saved;
    QByteArray m_lcAll;
};

class OpenFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

// Random texts of every box, as a person in that locale would type them.
std::vector<std::pair<Control, QString>> randomFields(std::mt19937& random, QLocale locale,
                                                      const QString& letters) {
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    std::uniform_int_distribution<std::uint32_t> bits;
    auto pick = [&](int n) { return int(bits(random) % std::uint32_t(n)); };
    auto word = [&](int longest) {
        QString text;
        for (int i = pick(longest + 1); i > 0; --i) {
            text += letters[pick(int(letters.size()))];
        }
        return text;
    };
    std::vector<std::pair<Control, QString>> fields;
    for (const auto boxes : {kPositionFields, kScaleFields, kRotationFields}) {
        for (const ControlInfo& box : boxes) {
            float value;
            do {
                value = std::bit_cast<float>(bits(random));
            } while (!std::isfinite(value));
            fields.emplace_back(box.id, locale.toString(value, 'g', 9));
        }
    }
    fields.emplace_back(Control::namn, word(20));
    fields.emplace_back(Control::model, word(20) + ".i3d");
    const int behaviour = pick(9) - 1;
    fields.emplace_back(Control::behavior,
                        behaviour < 0 ? QString() : kBehaviours[std::size_t(behaviour)].name);
    fields.emplace_back(Control::paramlong1, QString::number(pick(60) - 20));
    QStringList lines;
    for (int i = pick(6); i > 0; --i) {
        lines << word(30);
    }
    fields.emplace_back(Control::script, lines.join(QStringLiteral("\r\n")));
    return fields;
}

// A file made from random texts by make file opens in the window under the same locale, and
// make file in the window writes it again byte for byte: numbers, names through the code
// page, behaviour, type, script.
TEST_F(OpenFile, FilesMadeFromRandomFieldsComeBackByteForByte) {
    struct Row {
        const char* locale;
        QString letters; // what a person of that language types, all in its code page
    };
    const Row rows[] = {
        {"de_DE", QString::fromUtf8("aßÄöü Z_'\"€,.-0")},
        {"cs_CZ", QString::fromUtf8("ařŘčšžý Ů_'\"€,.-0")},
        {"en_US", QString::fromUtf8("aZ _'\"#,.-0")},
        {"fr_FR", QString::fromUtf8("aéèçœ À_'\"€,.-0")},
    };
    std::mt19937 random(20261207);
    for (const Row& row : rows) {
        const Locale locale(row.locale);
        Form1 form(QFile::encodeName(QDir::tempPath()));
        auto* makeFile = form.findChild<QPushButton*>("Command4");
        for (int i = 0; i < 8; ++i) {
            const QString name = QStringLiteral("%1-%2.chg").arg(row.locale).arg(i);
            MemoryForm made;
            made.setDirectoryPath(QFile::encodeName(m_dir.path()));
            for (const auto& [control, text] : randomFields(random, QLocale(), row.letters)) {
                made.setText(control, text);
            }
            made.setText(Control::filenavn, name);
            makeChangeFile(made, QLocale());
            const QByteArray bytes = contents(path(name));
            ASSERT_FALSE(bytes.isEmpty());

            form.openFile(QFile::encodeName(path(name)));
            ASSERT_TRUE(QFile::remove(path(name)));
            makeFile->click();
            EXPECT_EQ(contents(path(name)), bytes) << row.locale << ' ' << i;
        }
    }
}

// Opening a file either fills the boxes or changes none of them; a value the boxes cannot
// hold is listed in one box and the box holds what make file will write.
TEST_F(OpenFile, FilesThatOpenAndFilesThatDoNot) {
    // Greek: a decimal comma, and windows-1253 leaves bytes such as 0xD2 undefined.
    const Locale locale("el_GR");
    auto raw = [&](const char* name, const QByteArray& bytes) {
        put(path(name), bytes);
        return path(name);
    };
    auto made = [&](const char* name, void (*change)(HumanRecord&)) {
        HumanRecord human = workedExample();
        change(human);
        return raw(name, changeFile(human));
    };
    QByteArray wrongKind = QByteArray::fromStdString(test::workedExampleRecord() + "\r\n");
    wrongKind[129] = 7;
    struct Row {
        const char* name;
        std::function<QString()> file;
        const char* typed;                  // typed into namn before opening
        const char* answer;                 // to the question whether to replace typed texts
        const char* message;                // a part of the box shown
        std::map<Control, QString> changed; // besides those that opening the example changes
        bool afterFailedMake = false;       // make file reset the parameters, then could not write
    };
    // clang-format off
    const Row rows[] = {
        {"refused by the reader", [&] { return raw("kind.chg", wrongKind); }, nullptr, nullptr,
         "offset 129: human kind: expected 6, found 7", {}},
        {"a FIFO, which must not block", [&] {
             EXPECT_EQ(::mkfifo(QFile::encodeName(path("fifo.chg")).constData(), 0600), 0);
             return path("fifo.chg"); }, nullptr, nullptr, "a FIFO", {}},
        {"a directory", [&] { QDir(m_dir.path()).mkdir("dir.chg"); return path("dir.chg"); },
         nullptr, nullptr, "a directory", {}},
        {"longer than any record", [&] { return raw("long.chg", QByteArray(40000, 'x')); },
         nullptr, nullptr, "longer than 32769 bytes", {}},
        {"a type of 40", [&] { return made("t.chg", [](HumanRecord& h) { h.typeParameter = 40; }); },
         nullptr, nullptr, "type parameter: 40 in the file, make file writes 31",
         {{Control::paramlong1, "31"}, {Control::filenavn, "t.chg"}}},
        {"a behaviour code the list lacks", [&] { return made("b.chg", [](HumanRecord& h) { h.behaviour = 5; }); },
         nullptr, nullptr, "behaviour: 5 in the file, make file writes 2 (No Reaction)",
         {{Control::behavior, ""}, {Control::filenavn, "b.chg"}}},
        {"a byte the code page does not define", [&] { return made("n.chg", [](HumanRecord& h) { h.name = "A\xD2" "B"; }); },
         nullptr, nullptr, "internal name: A\\xD2B in the file, make file writes A?B",
         {{Control::namn, "A?B"}, {Control::filenavn, "n.chg"}}},
        {"Cancel keeps typed texts", [&] { return made("c.chg", [](HumanRecord&) {}); },
         "typed", "Cancel", "Replace the texts in the boxes with the values in c.chg?", {}},
        {"Replace replaces them", [&] { return made("r.chg", [](HumanRecord&) {}); },
         "typed", "Replace", "the values in r.chg?",
         {{Control::namn, "Zozed's_Driver"}, {Control::filenavn, "r.chg"}}},
        {"through a link and \"..\", which the system resolves, not the text", [&] {
             made("l.chg", [](HumanRecord&) {});
             EXPECT_TRUE(QDir(m_dir.path()).mkpath("a") && QDir(m_dir.path()).mkpath("b") &&
                         QFile::link(path("b"), path("a/link")));
             return path("a/link/../l.chg"); }, nullptr, nullptr, nullptr, {{Control::filenavn, "l.chg"}}},
        {"no question when make file's reset is all that changed", [&] { return made("w.chg", [](HumanRecord&) {}); },
         nullptr, nullptr, nullptr, {{Control::filenavn, "w.chg"}}, true},
    };
    // clang-format on
    // What opening the worked example changes in a window that shows the start texts.
    const std::map<Control, QString> opened = {
        {Control::xrotsing, "0,6811457"}, {Control::behavior, "No Reaction"},
        {Control::paramsing8, "0,7"},     {Control::paramsing12, "0,3"},
        {Control::paramsing15, "0,8"},    {Control::paramsing17, "0,8"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Form1 form(QFile::encodeName(QDir::tempPath()));
        if (row.typed) {
            form.setText(Control::namn, QString::fromLatin1(row.typed));
        }
        if (row.afterFailedMake) {
            auto gone = std::make_unique<QTemporaryDir>();
            form.setDirectory(QFile::encodeName(gone->path()));
            gone.reset();
            test::BoxAnswerer failed;
            form.Command4_Click();
            EXPECT_EQ(failed.errorNumber(), 76) << "path not found";
        }
        const FormTexts before = formTexts(form);
        const QString opening = row.file();
        test::BoxAnswerer box(row.answer ? QString::fromLatin1(row.answer) : QString());
        form.openFile(QFile::encodeName(opening));
        ASSERT_EQ(box.shown, row.message != nullptr) << box.text.toStdString();
        EXPECT_EQ(box.title, row.message ? "Pelomart" : "");
        EXPECT_TRUE(box.text.contains(QString::fromUtf8(row.message))) << box.text.toStdString();

        const bool filled = !row.changed.empty();
        std::map<Control, QString> changed = filled ? opened : row.changed;
        for (const auto& [control, text] : row.changed) {
            changed[control] = text;
        }
        for (const ControlInfo& field : kEditorFields) {
            if (auto* box = form.findChild<QLineEdit*>(field.name); box && filled) {
                EXPECT_EQ(box->cursorPosition(), 0) << field.name << " shows its beginning";
            }
            const auto it = changed.find(field.id);
            EXPECT_EQ(form.text(field.id),
                      it == changed.end() ? before[std::size_t(field.id)] : it->second)
                << field.name;
        }
        // The type goes in as typed: the slider follows, even when the box already showed it.
        EXPECT_EQ(form.sliderValue(), filled ? form.text(Control::paramlong1).toInt() : 0);
        EXPECT_EQ(form.directoryPath(),
                  QFile::encodeName(filled ? m_dir.path() : QDir::tempPath()));
    }
}

TEST_F(OpenFile, ByDialogInDir1sDirectoryAndByDrop) {
    const Locale locale("de_DE");
    HumanRecord human = workedExample();
    human.name = "Dropped";
    put(path("dropped.chg"), changeFile(human));
    human.name = "Chosen";
    put(path("chosen.chg"), changeFile(human));
    Form1 form(QFile::encodeName(m_dir.path()));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    QStringList filters;
    QString directory;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            return;
        }
        answer.stop();
        filters = dialog->nameFilters();
        directory = dialog->directory().path();
        dialog->selectFile(path("chosen.chg"));
        static_cast<QDialog*>(dialog)->accept(); // as the Open button does
    });
    answer.start(5);
    QTest::keyClick(form.findChild<QLineEdit*>("xrotsing"), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(filters, QStringList({"Change files (*.chg)", "All files (*)"}));
    EXPECT_EQ(directory, m_dir.path());
    EXPECT_EQ(form.text(Control::namn), "Chosen");

    // Dropped on a box, which would otherwise take the path as text: the line boxes take a
    // file manager's text/plain, the script box a list of URLs alone.
    auto drop = [&](const char* on, const QStringList& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files) {
            urls << QUrl::fromLocalFile(path(file));
        }
        data.setUrls(urls);
        QWidget* box = form.findChild<QWidget*>(on);
        if (auto* script = qobject_cast<QPlainTextEdit*>(box)) {
            box = script->viewport();
        } else {
            data.setText(path(files.join(' ')));
        }
        QDragEnterEvent enter({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(box, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(box, &dropped);
    };
    {
        test::BoxAnswerer refused;
        drop("script", {"dropped.chg", "chosen.chg"});
        EXPECT_TRUE(QTest::qWaitFor([&] { return refused.shown; }));
        EXPECT_EQ(refused.text, "Drop one change file at a time; these were 2.");
        EXPECT_EQ(form.text(Control::namn), "Chosen");
    }
    drop("namn", {"dropped.chg"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.text(Control::namn) == "Dropped"; }));
}

// pelomart-chg sets the script's text as scriptWithCrLf gives it; the window's box takes a
// paste. Both must give the file the same bytes for the Unicode line and paragraph separators.
TEST_F(OpenFile, LineAndParagraphSeparatorsMakeTheSameBytesAsPelomartChg) {
    const Locale locale("de_DE");
    const QString script = QStringLiteral("a") + QChar(0x2028) + "b" + QChar(0x2029) + "c\r\n";
    MemoryForm made;
    made.setDirectoryPath(QFile::encodeName(m_dir.path()));
    made.setText(Control::script, scriptWithCrLf(script));
    made.setText(Control::filenavn, "chg.chg");
    makeChangeFile(made, QLocale());

    Form1 form(QFile::encodeName(m_dir.path()));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* box = form.findChild<QPlainTextEdit*>("script");
    box->setFocus();
    box->selectAll();
    QApplication::clipboard()->setText(script);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    form.setText(Control::filenavn, "window.chg");
    form.Command4_Click();

    EXPECT_TRUE(contents(path("chg.chg")).contains("a\r\nb\r\nc\r\n"));
    EXPECT_EQ(contents(path("window.chg")), contents(path("chg.chg")));
}

} // namespace
} // namespace pelomart
