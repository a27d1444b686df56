// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

// The companion run in-process on files in a temporary directory; shared by the tests that
// run on every system and those about one system's calls.

#include "change_file_tool.h"
#include "worked_example.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace pelomart::chg {

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

inline const QByteArray kWorkedFile = QByteArray::fromStdString(test::workedExampleRecord() + "\r\n");

} // namespace pelomart::chg
