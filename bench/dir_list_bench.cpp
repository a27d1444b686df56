// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "dir_list.h"
#include "references.h"

#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

constexpr int kSubdirectories = 20000;

void BM_DirList_Construct(benchmark::State& state) {
    const QByteArray path = QByteArray::fromStdString(bench::manySubdirectories(kSubdirectories));
    int rows = 0;
    for (auto _ : state) {
        pelomart::DirList list(path);
        rows = list.model()->rowCount();
    }
    if (rows <= kSubdirectories) { // the ancestors' rows come on top
        state.SkipWithError("the list does not show every subdirectory");
    }
}
BENCHMARK(BM_DirList_Construct)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DirList_Shown(benchmark::State& state) {
    const QByteArray path = QByteArray::fromStdString(bench::manySubdirectories(kSubdirectories));
    for (auto _ : state) {
        pelomart::DirList list(path);
        list.resize(177, 171); // Dir1's size in Form1
        list.show();
        if (!QTest::qWaitForWindowExposed(&list)) {
            state.SkipWithError("the list was not shown");
            break;
        }
        QApplication::processEvents();
    }
}
BENCHMARK(BM_DirList_Shown)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DirList_Filesystem(benchmark::State& state) {
    const std::string path = bench::manySubdirectories(kSubdirectories);
    for (auto _ : state) {
        const std::vector<std::string> names = bench::sortedSubdirectories(path);
        if (names.size() != std::size_t(kSubdirectories)) {
            state.SkipWithError("the directory does not hold the expected subdirectories");
            break;
        }
    }
}
BENCHMARK(BM_DirList_Filesystem)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
