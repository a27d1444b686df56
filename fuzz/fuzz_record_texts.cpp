// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

// Opening any file for the boxes, and the road back that set takes:
// every record whose values the window can hold gives texts that, typed into a fresh
// window and made under the same locale, make the same file again, byte for byte.
// Input: byte 0: bits 0-2 the number locale, bits 3-5 the user's locale (its code page);
// the rest is the whole change file.

#include "code_page.h"
#include "file_for_boxes.h"
#include "fuzz_support.h"
#include "make_file.h"
#include "memory_form.h"
#include "run_time_error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

namespace pelomart::fuzz {
namespace {

// Code pages with bytes they leave undefined (1253, 1255, 874) and without.
const char* const kUserLocales[] = {"en_US.UTF-8", "cs_CZ.UTF-8", "ru_RU.UTF-8", "el_GR.UTF-8",
                                    "tr_TR.UTF-8", "he_IL.UTF-8", "th_TH.UTF-8", "vi_VN.UTF-8"};

// On tmpfs where there is one: every file made is synced.
const QTemporaryDir& workDirectory() {
    static QTemporaryDir directory([] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath();
        return base + QStringLiteral("/pelomart-fuzz-XXXXXX");
    }());
    static const bool valid = [] {
        FUZZ_REQUIRE(directory.isValid(), "no temporary directory");
        beforeAbort = [] { directory.remove(); };
        return true;
    }();
    (void)valid;
    return directory;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    FUZZ_REQUIRE(file.open(QIODevice::ReadOnly), "cannot read back %s", qPrintable(path));
    return file.readAll();
}

void makeAgain(const std::uint8_t* data, std::size_t size) {
    const QLocale& locale = localeFor(data[0] & 7);
    const char* userLocale = kUserLocales[(data[0] >> 3) & 7];
    qputenv("LC_ALL", userLocale);
    const QByteArray codePage = codePageForLocaleName(QString::fromLatin1(userLocale));

    const QString name = QStringLiteral("clovek.chg");
    const QString path = QDir(workDirectory().path()).filePath(name);
    const QByteArray file(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    {
        QFile out(path);
        FUZZ_REQUIRE(out.open(QIODevice::WriteOnly) && out.write(file) == file.size(),
                     "cannot write %s", qPrintable(path));
    }
    const FileForBoxes opened = openForBoxes(QFile::encodeName(path), locale, codePage);
    if (!opened.record) {
        FUZZ_REQUIRE(!opened.error.isEmpty(), "refused without a reason");
        return;
    }
    const RecordInBoxes& texts = opened.texts;
    if (!texts.replaced.empty()) {
        return;
    }

    MemoryForm form(locale);
    form.setDirectoryPath(QFile::encodeName(workDirectory().path()));
    for (const ControlInfo& field : kEditorFields.first(std::size_t(Control::filenavn))) {
        const QString& text = texts[field.id];
        try {
            form.setText(field.id, text);
        } catch (const RunTimeError& error) {
            FUZZ_REQUIRE(false, "%s \"%s\": error %d", field.name, qPrintable(text), error.code());
        }
        FUZZ_REQUIRE(form.text(field.id) == text, "%s \"%s\" became \"%s\" in %s", field.name,
                     qPrintable(text), qPrintable(form.text(field.id)), qPrintable(locale.name()));
    }
    form.setText(Control::filenavn, name);
    try {
        makeChangeFile(form, locale);
    } catch (const RunTimeError& error) {
        FUZZ_REQUIRE(false, "error %d at %s \"%s\" in %s", error.code(), error.control().c_str(),
                     error.controlText().c_str(), qPrintable(locale.name()));
    }
    const QByteArray again = contents(path);
    FUZZ_REQUIRE(again == file, "made again as %lld bytes, not the same %lld, in %s / %s",
                 static_cast<long long>(again.size()), static_cast<long long>(file.size()),
                 qPrintable(locale.name()), userLocale);
}

} // namespace
} // namespace pelomart::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    pelomart::fuzz::makeAgain(data, size);
    return 0;
}
