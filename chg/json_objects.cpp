// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "json_objects.h"

#include "file_reports.h"
#include "shown_text.h"
#include "standard_input.h"
#include "whole_file.h"

#include <QTextStream>
#include <algorithm>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string_view>

namespace pelomart::chg {
namespace {

// Hands each value of the top level or of its array over as it is parsed, each member of an
// object as given, so that a key given twice is seen: QJsonDocument keeps only the last of
// them. Values below a member's own are skipped, whatever their depth, with nothing held
// for them.
class JsonObjects : public nlohmann::json_sax<nlohmann::json> {
public:
    explicit JsonObjects(JsonValueReader& reader) : m_reader(reader) {}

    bool topLevelIsArray = false;
    bool topLevelIsObject = false;
    std::string error;        // the parser's reason, when the text is not JSON
    std::size_t errorEnd = 0; // how many bytes the parser had read when it found it

    bool null() override { return scalar(); }
    bool boolean(bool) override { return scalar(); }
    bool number_integer(number_integer_t) override { return scalar(); }
    bool number_unsigned(number_unsigned_t) override { return scalar(); }
    bool number_float(number_float_t, const string_t&) override { return scalar(); }
    bool binary(binary_t&) override { return scalar(); }
    bool string(string_t& text) override {
        if (atMemberValue()) {
            m_reader.member(m_key, QString::fromUtf8(text));
            return true;
        }
        return scalar();
    }
    bool key(string_t& key) override {
        if (m_depth == valueDepth() + 1) {
            m_key = QString::fromUtf8(key);
        }
        return true;
    }
    bool start_object(std::size_t) override { return open(true); }
    bool start_array(std::size_t) override { return open(false); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t read, const std::string&,
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
        errorEnd = read;
        return false;
    }

private:
    int valueDepth() const { return topLevelIsArray ? 1 : 0; }
    bool atMemberValue() const { return m_depth == valueDepth() + 1 && m_inObject; }
    // A member's value that is not a string is a member without a text.
    void value(bool isObject) {
        if (m_depth == valueDepth()) {
            m_inObject = isObject;
            m_reader.begin(isObject);
        } else if (atMemberValue()) {
            m_reader.member(m_key, std::nullopt);
        }
    }
    bool scalar() {
        if (m_depth > 0) {
            value(false);
            if (m_depth == valueDepth()) {
                m_reader.end();
            }
        }
        return true;
    }
    bool open(bool isObject) {
        if (m_depth == 0) {
            topLevelIsArray = !isObject;
            topLevelIsObject = isObject;
        }
        value(isObject);
        ++m_depth;
        return true;
    }
    bool close() {
        --m_depth;
        if (m_depth == valueDepth()) {
            m_inObject = false;
            m_reader.end();
        }
        return true;
    }

    JsonValueReader& m_reader;
    int m_depth = 0;
    bool m_inObject = false; // within a value that is an object
    QString m_key;
};

// Where the parser's fault lies in `text`: the byte it could not take, or the first byte
// of a whole token that does not belong where it stands ("unexpected string literal").
// The parser counts the bytes it has read, that byte or the token's last one included.
std::size_t faultOffset(std::string_view text, std::size_t read, const std::string& error) {
    const std::size_t last = read - 1;
    if (last >= text.size()) {
        return text.size(); // the end of the input
    }
    // What the parser says after " - ": a lexer's "invalid ..." quotes the input after it,
    // a parser's "unexpected ..." names the token.
    const std::size_t dash = error.find(" - ");
    const std::string_view fault =
        dash == std::string::npos ? std::string_view() : std::string_view(error).substr(dash + 3);
    auto unexpected = [&](std::string_view token) {
        return fault.starts_with("unexpected " + std::string(token) + " literal");
    };
    if (unexpected("true") || unexpected("null")) {
        return last - 3;
    }
    if (unexpected("false")) {
        return last - 4;
    }
    std::size_t first = last;
    if (unexpected("string")) {
        // Back to the opening quote: the first one before the closing quote that no odd run
        // of backslashes escapes.
        do {
            first = text.rfind('"', first - 1);
            std::size_t backslashes = 0;
            while (backslashes < first && text[first - backslashes - 1] == '\\') {
                ++backslashes;
            }
            if (backslashes % 2 == 0) {
                break;
            }
        } while (first > 0);
    } else if (unexpected("number")) {
        while (first > 0 && std::string_view("0123456789+-.eE").find(text[first - 1]) !=
                                std::string_view::npos) {
            --first;
        }
        // A number begins with its sign or a digit, not with the "e" of a word before it.
        while (text[first] != '-' && (text[first] < '0' || text[first] > '9')) {
            ++first;
        }
    }
    return first;
}

// The JSON named by `path`; "-" is standard input, so that show --json | make - needs no
// file between them. The file reader refuses a pipe, which an open by name would wait on.
std::optional<QByteArray> readJsonInput(const QString& path, qint64 longest, QTextStream& err) {
    if (path != u"-") {
        return readWholeFileOrReport(path, longest, err);
    }
    if (standardInputClosed()) {
        err << "-: cannot read: standard input is closed" << Qt::endl;
        return std::nullopt;
    }
    FileContents contents = readStandardInput(longest);
    if (!contents.bytes) {
        err << "-: cannot read: " << contents.error << Qt::endl;
    }
    return std::move(contents.bytes);
}

} // namespace

bool readJsonValues(const QString& path, qint64 longest, QTextStream& err,
                    JsonValueReader& reader) {
    const QString shown = shownArgument(path);
    std::optional<QByteArray> bytes = readJsonInput(path, longest, err);
    if (!bytes) {
        return false;
    }
    const char* const begin = bytes->constData();
    // The parser takes a NUL byte for the end of its input and would stop there without a
    // word, whatever follows; no JSON text holds one, so the parser reads up to it and the
    // NUL is the fault unless one comes first.
    const auto* const nul =
        static_cast<const char*>(std::memchr(begin, 0, std::size_t(bytes->size())));
    // The parser keeps every blank before a token as part of it, one byte at a time: blanks
    // around the value, which JSON allows and which mean nothing, are left out.
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    const char* const stop = nul ? nul : begin + bytes->size();
    const char* const first = std::find_if_not(begin, stop, isBlank);
    const char* last = stop;
    while (last != first && isBlank(*(last - 1))) {
        --last;
    }
    JsonObjects parsed(reader);
    const bool isJson = nlohmann::json::sax_parse(first, last, &parsed);
    std::size_t fault = 0;
    if (!isJson) {
        fault = std::size_t(first - begin) +
                faultOffset({first, std::size_t(last - first)}, parsed.errorEnd, parsed.error);
        // Where the text ends too early, the blanks left out belong to it.
        fault = fault >= std::size_t(last - begin) ? std::size_t(stop - begin) : fault;
    }
    if (nul && (isJson || fault == std::size_t(nul - begin))) {
        parsed.error = "unexpected NUL byte";
        fault = std::size_t(nul - begin);
    } else if (isJson) {
        if (!parsed.topLevelIsArray && !parsed.topLevelIsObject) {
            err << shown << ": expected an object or an array of objects" << Qt::endl;
            return false;
        }
        return true;
    }
    err << shown << ": not JSON: " << shownValue(QString::fromStdString(parsed.error))
        << " at offset " << fault << Qt::endl;
    return false;
}

} // namespace pelomart::chg
