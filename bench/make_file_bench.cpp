// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "form1.h"
#include "make_file.h"
#include "memory_form.h"
#include "references.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const QString kFileName = QStringLiteral("clovek.chg");

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The bytes that "make file" writes from the start texts, as every variant must write them.
const QByteArray& expectedBytes() {
    static const QByteArray bytes = [] {
        QTemporaryDir dir;
        pelomart::MemoryForm fields;
        fields.setDirectoryPath(QFile::encodeName(dir.path()));
        pelomart::makeChangeFile(fields, QLocale(QStringLiteral("de_DE")));
        return fileBytes(dir.filePath(kFileName));
    }();
    return bytes;
}

void checkWritten(benchmark::State& state, const QString& path) {
    if (expectedBytes().size() != 284 || fileBytes(path) != expectedBytes()) {
        state.SkipWithError("the file does not hold the expected 284 bytes");
    }
}

void BM_MakeFile_Command(benchmark::State& state) {
    QTemporaryDir dir;
    pelomart::MemoryForm fields;
    fields.setDirectoryPath(QFile::encodeName(dir.path()));
    const QLocale german(QStringLiteral("de_DE"));
    for (auto _ : state) {
        pelomart::makeChangeFile(fields, german);
    }
    checkWritten(state, dir.filePath(kFileName));
}
BENCHMARK(BM_MakeFile_Command)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_MakeFile_Button(benchmark::State& state) {
    QTemporaryDir dir;
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    pelomart::Form1 form(QFile::encodeName(dir.path()));
    auto* button = form.findChild<QPushButton*>(QStringLiteral("Command4"));
    for (auto _ : state) {
        button->click();
    }
    QLocale::setDefault(QLocale::c());
    checkWritten(state, dir.filePath(kFileName));
}
BENCHMARK(BM_MakeFile_Button)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_MakeFile_PlainWrite(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(kFileName);
    const QByteArray encoded = QFile::encodeName(path);
    for (auto _ : state) {
        bench::plainWrite(encoded, expectedBytes());
    }
    checkWritten(state, path);
}
BENCHMARK(BM_MakeFile_PlainWrite)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_MakeFile_SafeReplace(benchmark::State& state) {
    QTemporaryDir dir;
    const QByteArray directory = QFile::encodeName(dir.path());
    const QByteArray name = QFile::encodeName(kFileName);
    for (auto _ : state) {
        bench::safeReplace(directory, name, expectedBytes());
    }
    checkWritten(state, dir.filePath(kFileName));
}
BENCHMARK(BM_MakeFile_SafeReplace)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
