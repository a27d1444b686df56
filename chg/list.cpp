// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "list.h"

#include "change_file_tool.h"
#include "shown_record.h"

#include "behaviour_codes.h"
#include "file_for_boxes.h"
#include "code_page.h"
#include "record_in_boxes.h"
#include "shown_text.h"
#include "terminal_columns.h"

#include <QTextStream>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace pelomart::chg {
namespace {

// Whether an escape "\xNN", as shown texts write a byte or a control, begins at `i`.
bool isEscape(std::u32string_view characters, std::size_t i) {
    auto isHex = [](char32_t c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); };
    return i + 3 < characters.size() && characters[i] == '\\' && characters[i + 1] == 'x' &&
           isHex(characters[i + 2]) && isHex(characters[i + 3]);
}

// The columns a terminal gives a text, and the text cut to a number of columns.
class TerminalColumns {
public:
    int width(char32_t c) const { return terminalColumns(c); }

    int width(const QString& text) const {
        int columns = 0;
        for (const char32_t c : text.toUcs4()) {
            columns += width(c);
        }
        return columns;
    }

    // The text cut to at most `most` columns, ending in "…" where something was cut. An
    // escape "\xNN" is kept whole or left out whole: half of one would read as other text.
    QString cut(const QString& text, int most) const {
        if (width(text) <= most) {
            return text;
        }
        const std::u32string characters = text.toStdU32String();
        QString kept;
        int columns = 0;
        for (std::size_t i = 0; i < characters.size();) {
            const std::size_t length = isEscape(characters, i) ? 4 : 1;
            int unit = 0;
            for (std::size_t j = i; j < i + length; ++j) {
                unit += width(characters[j]);
            }
            if (columns + unit > most - 1) {
                break;
            }
            columns += unit;
            kept += QString::fromUcs4(characters.data() + i, qsizetype(length));
            i += length;
        }
        return kept + QChar(0x2026);
    }
};

// A name or model longer than this is cut, so that one 30 KB name does not push every
// other line across the screen. File names are never cut: they say which file it is.
constexpr int kLongestText = 24;

enum Column { File, Name, Model, Behaviour, Type, Position, kColumns };
using Row = std::array<QString, kColumns>;

QString behaviourText(std::int32_t code) {
    const pelomart::Behaviour* behaviour = behaviourWithCode(code);
    return behaviour ? QLatin1String(behaviour->name) : QString::number(code);
}

QString typeText(std::int32_t type) {
    return QString::number(type) + u' ' + QLatin1String(sexOf(type));
}

} // namespace

void describeList(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Lists change files, one line each: file, internal name, 3D model, "
                       "behaviour, type and position."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Change files."),
                                 QStringLiteral("FILE..."));
}

int list(const QCommandLineParser& parser, QTextStream& out, QTextStream&) {
    const TerminalColumns columns;
    const QByteArray codePage = systemCodePage();
    int status = kSuccess;
    std::vector<Row> rows{{QStringLiteral("FILE"), QStringLiteral("NAMN"), QStringLiteral("MODEL"),
                           QStringLiteral("BEHAVIOUR"), QStringLiteral("TYPE"),
                           QStringLiteral("POSITION")}};
    // A file the reader refuses keeps its line, with the reason where its values would be.
    std::vector<bool> refused{false};
    for (const QString& path : parser.positionalArguments()) {
        const FileForBoxes opened = readChangeFile(nativeBytes(path));
        if (!opened.record) {
            rows.push_back({shownArgument(path), shownText(opened.error)});
            refused.push_back(true);
            status = kFileFailed;
            continue;
        }
        const HumanRecord& h = *opened.record;
        rows.push_back(
            {shownArgument(path), columns.cut(shownRecordText(h.name, codePage), kLongestText),
             columns.cut(shownRecordText(h.model, codePage), kLongestText),
             behaviourText(h.behaviour), typeText(h.typeParameter), singlesText(h.position)});
        refused.push_back(false);
    }

    // Position ends the line, and a refused file's reason follows its name: neither is
    // padded, nor counts towards a width.
    std::array<int, kColumns> widths{};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (int column = 0; column < (refused[i] ? Name : Position); ++column) {
            widths[column] = std::max(widths[column], columns.width(rows[i][column]));
        }
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int last = refused[i] ? Name : Position;
        for (int column = 0; column < last; ++column) {
            const int padding = widths[column] - columns.width(rows[i][column]) + 2;
            out << rows[i][column] << QString(padding, u' ');
        }
        out << rows[i][last] << '\n';
    }
    return status;
}

} // namespace pelomart::chg
