#pragma once

#include "human_record.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

class QTextStream;

// pelomart-chg: shows, checks and makes change files from the command line, over the same
// reader, make-file command and in-memory form as the window.
namespace pelomart::chg {

// Exit statuses.
inline constexpr int kSuccess = 0;
inline constexpr int kFileFailed = 1;
inline constexpr int kUsageError = 2;

// Runs one command line (arguments[0] is the program). Results go to `out`; messages,
// each beginning with the file's name, go to `err`. Returns the exit status.
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

// The shortest decimal that reads back to the same binary32, with "." for the point;
// "inf", "-inf" and "nan" for the non-finite.
QString floatText(float value);

// The texts that make needs to give this record again, keyed by control name.
QJsonObject fieldTexts(const HumanRecord& human, const QString& fileName,
                       const QByteArray& codePage);

} // namespace pelomart::chg
