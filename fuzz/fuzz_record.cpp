// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

// The make-file command over field texts, and the record composer at its length limit.
// Input: three header bytes, then field texts (UTF-8) separated by 0x1E in the order of
// kFieldOrder; fields not given keep their start texts.
//   byte 0: bits 0-2 the number locale, bits 3-5 the user's locale (its code page),
//           bit 6 a file of that name exists before the command runs.
//   byte 1: with bit 7 set, the script is padded with copies of itself so that the
//           record is 32767 + (byte 1 & 0x7F) - 64 bytes long (0xC0: exactly the limit).
//   byte 2: composeHumanRecord alone, with name, model or script (byte 2 % 3) padded to
//           a record of 32767 + (byte 2 / 3 % 16) - 8 bytes.

#include "code_page.h"
#include "fuzz_support.h"
#include "human_record_composer.h"
#include "human_record_reader.h"
#include "make_file.h"
#include "memory_form.h"
#include "numbers.h"
#include "run_time_error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace pelomart::fuzz {
namespace {

constexpr Control kFieldOrder[] = {
    Control::x,          Control::y,          Control::z,        Control::xscalesing,
    Control::yscalesing, Control::zscalesing, Control::xrotsing, Control::yrotsing,
    Control::zrotsing,   Control::namn,       Control::model,    Control::behavior,
    Control::paramlong1, Control::script,
};

const char* const kUserLocales[] = {"en_US.UTF-8", "cs_CZ.UTF-8", "ru_RU.UTF-8", "el_GR.UTF-8",
                                    "tr_TR.UTF-8", "he_IL.UTF-8", "th_TH.UTF-8", "vi_VN.UTF-8"};

// What the game gets as parameters 2 to 17, whatever the fields held.
constexpr std::array<float, 16> kParameters{1, 150, 30,   30, 30, 30,   0.7f, 1,
                                            0, 1,   0.3f, 1,  1,  0.8f, 80,   0.8f};

const QString kFileName = QStringLiteral("clovek.chg");
const QByteArray kOldContents = QByteArrayLiteral("old file\r\n");

// One directory per process, on tmpfs where there is one: every successful command
// syncs the file and the directory.
QTemporaryDir& workDirectory() {
    static QTemporaryDir directory([] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath();
        return base + QStringLiteral("/pelomart-fuzz-XXXXXX");
    }());
    static const bool valid = [] {
        FUZZ_REQUIRE(directory.isValid(), "no temporary directory: %s",
                     qPrintable(directory.errorString()));
        beforeAbort = [] { directory.remove(); };
        return true;
    }();
    (void)valid;
    return directory;
}

std::size_t recordLength(const HumanRecord& human) {
    return 175 + human.name.size() + human.model.size() + human.script.size();
}

template <std::size_t N>
bool sameBits(const std::array<float, N>& a, const std::array<float, N>& b) {
    return std::memcmp(a.data(), b.data(), sizeof a) == 0;
}

// Reads the file back through the product's reader and compares every value with
// `human`, floats by their bits.
void checkFile(const std::string& file, const HumanRecord& human) {
    const DecodedHumanRecord decoded = decodeHumanRecord(file);
    FUZZ_REQUIRE(decoded.record, "file of %zu bytes refused: %s", file.size(),
                 decoded.error.c_str());
    FUZZ_REQUIRE(file.size() == recordLength(human) + 2, "file of %zu bytes for %zu", file.size(),
                 recordLength(human) + 2);
    const HumanRecord& r = *decoded.record;
    FUZZ_REQUIRE(sameBits(r.position, human.position), "position");
    FUZZ_REQUIRE(sameBits(r.scale, human.scale), "scale");
    FUZZ_REQUIRE(sameBits(r.rotation, human.rotation), "rotation");
    FUZZ_REQUIRE(r.name == human.name, "name of %zu bytes", r.name.size());
    FUZZ_REQUIRE(r.model == human.model, "model of %zu bytes", r.model.size());
    FUZZ_REQUIRE(r.behaviour == human.behaviour, "behaviour %d", r.behaviour);
    FUZZ_REQUIRE(r.typeParameter == human.typeParameter, "type parameter %d", r.typeParameter);
    FUZZ_REQUIRE(sameBits(r.parameters, human.parameters), "parameters");
    FUZZ_REQUIRE(r.script == human.script, "script of %zu bytes", r.script.size());
}

// What the command must produce: the values it reads in its order, and the first
// error on the way.
struct Expected {
    HumanRecord human;
    int error = 0;
};

Expected expect(const EditorFields& fields, const QLocale& locale, const QByteArray& codePage) {
    Expected e;
    HumanRecord& h = e.human;
    try {
        auto single = [&](Control control) { return textToSingle(fields.text(control), locale); };
        auto bytes = [&](Control control) {
            if (missingCharacter(fields.text(control), codePage) >= 0) {
                throw RunTimeError(ErrorNumber::InvalidArgument);
            }
            return toCodePage(fields.text(control), codePage).toStdString();
        };
        auto singles = [&](std::span<const ControlInfo, 3> boxes) {
            return std::array<float, 3>{single(boxes[0].id), single(boxes[1].id),
                                        single(boxes[2].id)};
        };
        h.position = singles(kPositionFields);
        h.rotation = singles(kRotationFields);
        h.scale = singles(kScaleFields);
        h.name = bytes(Control::namn);
        h.model = bytes(Control::model);
        h.behaviour = behaviourCode(fields.text(Control::behavior));
        h.typeParameter = textToLong(fields.text(Control::paramlong1), locale);
        h.parameters = kParameters;
        h.script = bytes(Control::script);
    } catch (const RunTimeError& error) {
        e.error = error.code();
        return e;
    }
    if (recordLength(h) > kMaxRecordLength) {
        e.error = 6;
    }
    return e;
}

// Repeats `text` (one "x" when empty) to `bytes` UTF-16 units. Every unit gives one
// byte except a surrogate pair, which gives one for two: such a text is topped up with
// "x" until it gives `bytes` bytes.
QString padded(const QString& text, qsizetype bytes, const QByteArray& codePage) {
    const QString unit = text.isEmpty() ? QStringLiteral("x") : text;
    QString result = unit.repeated(bytes / unit.size() + 1).left(bytes);
    if (std::any_of(unit.begin(), unit.end(), [](QChar c) { return c.isSurrogate(); })) {
        result += QString(bytes - toCodePage(result, codePage).size(), QLatin1Char('x'));
    }
    return result;
}

std::optional<QByteArray> contents(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        return std::nullopt;
    }
    FUZZ_REQUIRE(file.open(QIODevice::ReadOnly), "cannot read back %s", qPrintable(path));
    return file.readAll();
}

void runCommand(const std::uint8_t* data, std::size_t size) {
    const QLocale& locale = localeFor(data[0] & 7);
    const char* userLocale = kUserLocales[(data[0] >> 3) & 7];
    qputenv("LC_ALL", userLocale);
    const QByteArray codePage = codePageForLocaleName(QString::fromLatin1(userLocale));

    MemoryForm fields(locale);
    const QString directory = workDirectory().path();
    fields.setDirectoryPath(QFile::encodeName(directory));
    std::size_t field = 0;
    std::size_t start = 3;
    for (std::size_t i = 3; i <= size && field < std::size(kFieldOrder); ++i) {
        if (i == size || data[i] == 0x1E) {
            try {
                fields.setText(kFieldOrder[field++],
                               QString::fromUtf8(reinterpret_cast<const char*>(data + start),
                                                 qsizetype(i - start)));
            } catch (const RunTimeError&) {
                // The type parameter's own behaviour refused it; the text stays, as in
                // the window, and the command meets it again.
            }
            start = i + 1;
        }
    }
    if (data[1] & 0x80) {
        const qsizetype others = toCodePage(fields.text(Control::namn), codePage).size() +
                                 toCodePage(fields.text(Control::model), codePage).size();
        const qsizetype script = kMaxRecordLength + (data[1] & 0x7F) - 64 - 175 - others;
        if (script >= 0) {
            fields.setText(Control::script, padded(fields.text(Control::script), script, codePage));
        }
    }

    const QString path = QDir(directory).filePath(kFileName);
    QFile::remove(path);
    if (data[0] & 0x40) {
        QFile old(path);
        FUZZ_REQUIRE(old.open(QIODevice::WriteOnly) &&
                         old.write(kOldContents) == kOldContents.size(),
                     "cannot write %s", qPrintable(path));
    }
    const std::optional<QByteArray> before = contents(path);

    const Expected expected = expect(fields, locale, codePage);
    int error = 0;
    try {
        makeChangeFile(fields, locale);
    } catch (const RunTimeError& e) {
        error = e.code();
    }
    FUZZ_REQUIRE(error == expected.error, "error %d, expected %d", error, expected.error);

    // Nothing but the target may be left behind, temporary files included.
    const QStringList entries = QDir(directory).entryList(QDir::AllEntries | QDir::Hidden |
                                                          QDir::System | QDir::NoDotAndDotDot);
    const std::optional<QByteArray> after = contents(path);
    FUZZ_REQUIRE(entries == (after ? QStringList{kFileName} : QStringList{}), "directory holds %s",
                 qPrintable(entries.join(u' ')));

    if (error != 0) {
        FUZZ_REQUIRE(after == before, "error %d, but the file changed", error);
        return;
    }
    FUZZ_REQUIRE(after, "no file written");
    checkFile(after->toStdString(), expected.human);
}

// The composer alone, right at the limit of the 16-bit length fields.
void composeAtTheLimit(const std::uint8_t* data, std::size_t size) {
    HumanRecord human;
    human.position = {-1980, -5, 18};
    human.scale = {1, 1, 1};
    human.rotation = {0.68114573f, 0, -0.73214793f};
    human.parameters = kParameters;
    const std::string body(reinterpret_cast<const char*>(data) + 3, size - 3);
    std::array<std::string*, 3> texts{&human.name, &human.model, &human.script};
    *texts[0] = body.substr(0, body.size() / 3);
    *texts[1] = body.substr(body.size() / 3, body.size() / 3);
    *texts[2] = body.substr(2 * (body.size() / 3));

    std::string& grown = *texts[data[2] % 3];
    const std::size_t target = kMaxRecordLength + (data[2] / 3 % 16) - 8;
    if (grown.empty()) {
        grown = "x";
    }
    // Doubling keeps the text a repetition of what it was.
    while (recordLength(human) < target) {
        grown += grown.substr(0, target - recordLength(human));
    }

    std::string record;
    try {
        record = composeHumanRecord(human);
    } catch (const RunTimeError& e) {
        FUZZ_REQUIRE(e.code() == 6 && recordLength(human) > kMaxRecordLength,
                     "error %d for a record of %zu bytes", e.code(), recordLength(human));
        return;
    }
    FUZZ_REQUIRE(recordLength(human) <= kMaxRecordLength, "a record of %zu bytes was composed",
                 recordLength(human));
    checkFile(record + kLineEnd, human);
}

} // namespace
} // namespace pelomart::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    pelomart::fuzz::runCommand(data, size);
    pelomart::fuzz::composeAtTheLimit(data, size);
    return 0;
}
