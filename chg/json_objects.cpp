// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "json_objects.h"

#include "commands.h"
#include "whole_file.h"

#include <QTextStream>
#include <algorithm>
#include <nlohmann/json.hpp>

namespace pelomart::chg {
namespace {

// Collects the objects of a JSON text as it is parsed, each member as given, so that a key
// given twice is seen: QJsonDocument keeps only the last of them. Values below a member's
// own are skipped, whatever their depth, with nothing held for them.
class JsonObjects : public nlohmann::json_sax<nlohmann::json> {
public:
    std::vector<JsonValue> values;
    bool topLevelIsArray = false;
    std::string error; // the parser's reason, when the text is not JSON
    std::size_t errorOffset = 0;

    bool null() override { return scalar(); }
    bool boolean(bool) override { return scalar(); }
    bool number_integer(number_integer_t) override { return scalar(); }
    bool number_unsigned(number_unsigned_t) override { return scalar(); }
    bool number_float(number_float_t, const string_t&) override { return scalar(); }
    bool binary(binary_t&) override { return scalar(); }
    bool string(string_t& text) override {
        if (atMemberValue()) {
            values.back().members.push_back({m_key, QString::fromUtf8(text)});
            return true;
        }
        return scalar();
    }
    bool key(string_t& key) override {
        if (m_depth == memberDepth()) {
            m_key = QString::fromUtf8(key);
        }
        return true;
    }
    bool start_object(std::size_t) override { return open(true); }
    bool start_array(std::size_t) override { return open(false); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t offset, const std::string&,
                     const nlohmann::detail::exception& exception) override {
        // The fault itself, without the exception's id ("[json.exception.parse_error.101] ")
        // and its line and column ("parse error at line L, column C: "): the offset says where.
        std::string what = exception.what();
        const std::size_t id = what.find("] ");
        what.erase(0, id == std::string::npos ? 0 : id + 2);
        const std::size_t column = what.find("column ");
        const std::size_t colon = what.find(": ", column);
        error = column == std::string::npos || colon == std::string::npos ? what
                                                                          : what.substr(colon + 2);
        errorOffset = offset;
        return false;
    }

private:
    int memberDepth() const { return topLevelIsArray ? 2 : 1; }
    bool atMemberValue() const {
        return m_depth == memberDepth() && !values.empty() && values.back().isObject;
    }
    // A value of the top level or of its array is one of `values`; a member's value that is
    // not a string is a member without a text.
    void value(bool isObject) {
        if (m_depth == memberDepth() - 1) {
            values.push_back({isObject, {}});
        } else if (atMemberValue()) {
            values.back().members.push_back({m_key, std::nullopt});
        }
    }
    bool scalar() {
        if (m_depth == 0) {
            values.push_back({});
        } else {
            value(false);
        }
        return true;
    }
    bool open(bool isObject) {
        if (m_depth == 0 && !isObject) {
            topLevelIsArray = true;
        } else {
            value(isObject);
        }
        ++m_depth;
        return true;
    }
    bool close() {
        --m_depth;
        return true;
    }

    int m_depth = 0;
    QString m_key;
};

// The JSON named by `path`; "-" is standard input, so that show --json | make - needs no
// file between them. The file reader refuses a pipe, which an open by name would wait on.
std::optional<QByteArray> readJsonInput(const QString& path, qint64 longest, QTextStream& err) {
    if (path != u"-") {
        return readWholeFileOrReport(path, longest, err);
    }
    FileContents contents = readStandardInput(longest);
    if (!contents.bytes) {
        err << "-: cannot read: " << contents.error << Qt::endl;
    }
    return std::move(contents.bytes);
}

} // namespace

std::optional<std::vector<JsonValue>> readJsonValues(const QString& path, qint64 longest,
                                                     QTextStream& err) {
    const QString shown = shownArgument(path);
    std::optional<QByteArray> bytes = readJsonInput(path, longest, err);
    if (!bytes) {
        return std::nullopt;
    }
    // The parser keeps every blank before a token as part of it, one byte at a time: blanks
    // around the value, which JSON allows and which mean nothing, are left out.
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    const auto first = std::find_if_not(bytes->cbegin(), bytes->cend(), isBlank);
    auto last = bytes->cend();
    while (last != first && isBlank(*(last - 1))) {
        --last;
    }
    JsonObjects parsed;
    const bool isJson = nlohmann::json::sax_parse(first, last, &parsed);
    const qsizetype skipped = first - bytes->cbegin();
    bytes.reset();
    if (!isJson) {
        err << shown << ": not JSON: " << shownValue(QString::fromStdString(parsed.error))
            << " at offset " << skipped + qsizetype(parsed.errorOffset) << Qt::endl;
        return std::nullopt;
    }
    if (!parsed.topLevelIsArray && !parsed.values.front().isObject) {
        err << shown << ": expected an object or an array of objects" << Qt::endl;
        return std::nullopt;
    }
    return std::move(parsed.values);
}

} // namespace pelomart::chg
