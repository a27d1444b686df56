// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "show.h"

#include "byte_listing.h"
#include "change_file_tool.h"
#include "file_reports.h"
#include "shown_record.h"

#include "code_page.h"
#include "shown_text.h"

#include <QTextStream>
#include <nlohmann/json.hpp>

namespace pelomart::chg {
namespace {

void showText(const HumanRecord& h, const RecordInBoxes& texts, const QByteArray& codePage,
              const QString& path, QTextStream& out) {
    out << shownArgument(path) << ":\n";
    out << "  position        " << singlesText(h.position) << '\n';
    out << "  scale           " << singlesText(h.scale) << '\n';
    out << "  rotation        " << singlesText(h.rotation) << '\n';
    out << "  internal name   " << shownRecordText(h.name, codePage) << '\n';
    out << "  3D model name   " << shownRecordText(h.model, codePage) << '\n';
    out << "  behaviour       " << h.behaviour;
    if (!texts[Control::behavior].isEmpty()) {
        out << " (" << texts[Control::behavior] << ')';
    }
    out << '\n';
    out << "  type parameter  " << h.typeParameter << " (" << sexOf(h.typeParameter) << ")\n";
    out << "  parameters      " << singlesText(h.parameters) << '\n';
    out << "  script          " << h.script.size() << " characters\n";
    // Each line alone, so that only the CR LF between lines reaches the terminal as such.
    std::string_view script = h.script;
    while (!script.empty()) {
        const std::size_t end = std::min(script.find("\r\n"), script.size());
        out << "    " << shownRecordText(script.substr(0, end), codePage) << '\n';
        script.remove_prefix(std::min(end + 2, script.size()));
    }
}

// The texts that make needs for the file, and on `err` one line per value that make
// cannot give back. Returns whether make gives back the whole file.
bool addJsonTexts(const RecordInBoxes& texts, const QString& path, nlohmann::json& all,
                  QTextStream& err) {
    // Keys in the order of their bytes, whatever the control table's order.
    nlohmann::json object = nlohmann::json::object();
    for (const ControlInfo& field : kEditorFields) {
        object[field.name] = texts[field.id].toStdString();
    }
    for (const ReplacedValue& value : texts.replaced) {
        err << shownArgument(path) << ": " << controlName(value.control) << ": "
            << shownText(value.inFile) << " in the file; make writes " << shownText(value.written)
            << Qt::endl;
    }
    all.push_back(std::move(object));
    return texts.replaced.empty();
}

} // namespace

void describeShow(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral("Lists the values of change files."));
    parser.addOption({QStringLiteral("json"),
                      QStringLiteral("One JSON array of field texts, as make reads them. Each "
                                     "value make cannot give back is named on stderr, and the "
                                     "exit status is 1.")});
    parser.addOption({QStringLiteral("bytes"),
                      QStringLiteral("Each field on a line: offset, length, bytes in hex, field "
                                     "name and value.")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Change files."),
                                 QStringLiteral("FILE..."));
}

int show(const QCommandLineParser& parser, QTextStream& out, QTextStream& err) {
    const bool json = parser.isSet(QStringLiteral("json"));
    const bool bytes = parser.isSet(QStringLiteral("bytes"));
    if (json && bytes) {
        err << "pelomart-chg show: --json and --bytes cannot go together" << Qt::endl;
        return kUsageError;
    }
    const QByteArray codePage = systemCodePage();
    int status = kSuccess;
    nlohmann::json all = nlohmann::json::array();
    for (const QString& path : parser.positionalArguments()) {
        if (bytes) {
            if (!showBytes(path, codePage, out, err)) {
                status = kFileFailed;
            }
            continue;
        }
        const std::optional<FileForBoxes> file =
            openForBoxesOrReport(path, QLocale::c(), codePage, err);
        if (!file) {
            status = kFileFailed;
            continue;
        }
        if (!json) {
            showText(*file->record, file->texts, codePage, path, out);
        } else if (!addJsonTexts(file->texts, path, all, err)) {
            status = kFileFailed;
        }
    }
    if (json) {
        // Four spaces a level, and the brackets on lines of their own even when no file was
        // shown, so that a script reading it line by line meets one shape.
        out << QString::fromStdString(all.empty() ? std::string("[\n]") : all.dump(4)) << '\n';
    }
    return status;
}

} // namespace pelomart::chg
