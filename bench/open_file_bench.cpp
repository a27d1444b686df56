// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "file_for_boxes.h"
#include "form1.h"
#include "make_file.h"
#include "memory_form.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Two files of one mission folder with different values in every box, so that each opening
// changes every text; all their values are ones the boxes hold, so no message box shows.
class TwoFiles {
public:
    TwoFiles() {
        for (int i = 0; i < 2; ++i) {
            pelomart::MemoryForm form;
            form.setDirectoryPath(QFile::encodeName(m_dir.path()));
            const QString n = QString::number(i + 1);
            for (const pelomart::ControlInfo& field : pelomart::kEditorFields) {
                if (field.id < pelomart::Control::namn) {
                    form.setText(field.id, QStringLiteral("%1,25").arg(field.place.top + i));
                }
            }
            form.setText(pelomart::Control::namn, QStringLiteral("Walker ") + n);
            form.setText(pelomart::Control::model, QStringLiteral("walker%1.i3d").arg(n));
            form.setText(pelomart::Control::behavior, i ? QStringLiteral("Afraid") : QString());
            form.setText(pelomart::Control::paramlong1, QString::number(20 + i));
            form.setText(pelomart::Control::script,
                         form.text(pelomart::Control::script).repeated(i + 1));
            form.setText(pelomart::Control::filenavn, QStringLiteral("h%1.chg").arg(n));
            pelomart::makeChangeFile(form, QLocale(QStringLiteral("de_DE")));
            m_paths[i] = QFile::encodeName(m_dir.filePath(QStringLiteral("h%1.chg").arg(n)));
        }
    }
    const QByteArray& path(std::int64_t i) const { return m_paths[std::size_t(i % 2)]; }
    QByteArray directory() const { return QFile::encodeName(m_dir.path()); }

private:
    QTemporaryDir m_dir;
    std::array<QByteArray, 2> m_paths;
};

void BM_OpenFile_Window(benchmark::State& state) {
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    const TwoFiles files;
    pelomart::Form1 form(files.directory());
    std::int64_t opened = 0;
    for (auto _ : state) {
        form.openFile(files.path(opened++));
    }
    QLocale::setDefault(QLocale::c());
    if (form.text(pelomart::Control::namn) != QStringLiteral("Walker %1").arg(2 - opened % 2)) {
        state.SkipWithError("the boxes do not show the file opened last");
    }
}
BENCHMARK(BM_OpenFile_Window)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The reference: the same files read and decoded, and nothing shown.
void BM_OpenFile_ReadAndDecode(benchmark::State& state) {
    const TwoFiles files;
    std::int64_t opened = 0;
    for (auto _ : state) {
        const pelomart::FileForBoxes file = pelomart::readChangeFile(files.path(opened++));
        if (!file.record) {
            state.SkipWithError("the file is not read");
            break;
        }
        benchmark::DoNotOptimize(file);
    }
}
BENCHMARK(BM_OpenFile_ReadAndDecode)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
