// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

// The companion run in-process on files in a temporary directory; shared by the tests that
// run on every system and those about one system's calls.

#include "change_file_tool.h"
#include "standard_input.h"
#include "worked_example.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace pelomart::chg {

// A pipe's two descriptors, as each system's C library makes them.
int makePipe(int ends[2]);

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

    // Runs a command line with `input` on standard input through a pipe, or with standard
    // input closed when `input` is null.
    int runWithStandardInput(const QStringList& arguments, const QByteArray& input) {
        const int saved = ::dup(STDIN_FILENO);
        int ends[2] = {-1, -1};
        std::thread writer;
        if (input.isNull()) {
            ::close(STDIN_FILENO);
        } else {
            EXPECT_EQ(makePipe(ends), 0);
            ::dup2(ends[0], STDIN_FILENO);
            ::close(ends[0]);
            writer = std::thread([&] {
                for (qsizetype done = 0; done < input.size();) {
                    const ssize_t wrote = ::write(ends[1], input.constData() + done,
                                                  std::size_t(input.size() - done));
                    if (wrote <= 0) {
                        break;
                    }
                    done += wrote;
                }
                ::close(ends[1]);
            });
        }
        claimStandardInput();
        const int status = run(arguments);
        ::dup2(saved, STDIN_FILENO);
        ::close(saved);
        claimStandardInput();
        if (writer.joinable()) {
            writer.join();
        }
        return status;
    }

    QTemporaryDir m_dir;
    QByteArray m_savedLcAll;
    QString out;
    QString err;
};

inline const QByteArray kWorkedFile = QByteArray::fromStdString(test::workedExampleRecord() + "\r\n");

} // namespace pelomart::chg
