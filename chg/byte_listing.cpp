// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "byte_listing.h"

#include "shown_record.h"

#include "file_for_boxes.h"
#include "emulate1.h"
#include "human_record_layout.h"
#include "record_in_boxes.h"
#include "shown_text.h"

#include <QTextStream>
#include <bit>
#include <vector>

namespace pelomart::chg {
namespace {

struct FieldLine {
    std::size_t offset;
    std::size_t size;
    QString name;
    QString value;
};

// Walks the record's layout over the bytes of a file the strict reader has taken, so that
// each line sits at the offset that the reader's messages name. Values are read from the
// file's own bytes; the record only tells the walk which member a field fills.
class ByteLister {
public:
    ByteLister(std::string_view file, const HumanRecord& human, const QByteArray& codePage)
        : m_file(file), m_human(human), m_codePage(codePage) {}

    void magic(const std::uint8_t (&)[2], const char* name) {
        // The game reads the two bytes as one number, 1234.
        integer<std::uint16_t>(name);
    }
    void recordLength(const char* name) { integer<std::int16_t>(name); }
    void blockLength(const char* name) { integer<std::int16_t>(name); }
    void fixedByte(std::uint8_t, const char* name) { integer<std::uint8_t>(name); }
    void fixed16(std::int16_t, const char* name) { integer<std::int16_t>(name); }
    void fixed32(std::int32_t, const char* name) { integer<std::int32_t>(name); }
    void int32(const std::int32_t& value, const char* name) {
        integer<std::int32_t>(boxName(&value, 0, name));
    }
    template <std::size_t N> void singles(const std::array<float, N>& values, const char* name) {
        for (std::size_t i = 0; i < N; ++i) {
            const auto bits = read<std::uint32_t>();
            add(4, boxName(&values, i, name), singleText(std::bit_cast<float>(bits), QLocale::c()));
        }
    }
    // The length as the layout names it ("internal name length", as the reader's messages
    // do), then the text by its box.
    void text(const std::string& text, const char* name) {
        const auto length = read<std::int32_t>();
        add(4, QLatin1String(name) + QStringLiteral(" length"), QString::number(length));
        add(std::size_t(length), boxName(&text, 0, name),
            shownRecordText(m_file.substr(m_pos, std::size_t(length)), m_codePage));
    }
    void fixedText(std::string_view, const char* name) {
        const auto length = read<std::int32_t>();
        add(4, QLatin1String(name) + QStringLiteral(" length"), QString::number(length));
        add(std::size_t(length), QLatin1String(name),
            shownRecordText(m_file.substr(m_pos, std::size_t(length)), m_codePage));
    }
    void endOfBlock() {}

    // The CR LF that closes the file, after the record.
    void endOfFile() {
        add(2, QStringLiteral("line end"), shownText(QString::fromLatin1(kLineEnd)));
    }

    const std::vector<FieldLine>& lines() const { return m_lines; }

private:
    // A member filled from a box goes by the box's control name; a triple or the parameters
    // by the name of the box of element `i`. Fixed values and lengths keep the layout's name.
    QString boxName(const void* member, std::size_t i, const char* name) const {
        const std::pair<const void*, Control> boxes[] = {
            {&m_human.position, Control::x},
            {&m_human.scale, Control::xscalesing},
            {&m_human.rotation, Control::xrotsing},
            {&m_human.name, Control::namn},
            {&m_human.model, Control::model},
            {&m_human.behaviour, Control::behavior},
            {&m_human.typeParameter, Control::paramlong1},
            {&m_human.parameters, Control::paramsing2},
            {&m_human.script, Control::script},
        };
        for (const auto& [address, first] : boxes) {
            if (address == member) {
                return controlName(Control(std::size_t(first) + i));
            }
        }
        return QLatin1String(name);
    }

    // A little-endian number at the walk's place; the walk has not moved past it yet.
    template <typename Integer> Integer read() const {
        return decodeLittleEndian<Integer>(m_file.substr(m_pos));
    }

    template <typename Integer> void integer(const QString& name) {
        // Widened so that a byte prints as a number, not a character.
        add(sizeof(Integer), name, QString::number(static_cast<long long>(read<Integer>())));
    }
    template <typename Integer> void integer(const char* name) {
        integer<Integer>(QString(QLatin1String(name)));
    }

    void add(std::size_t size, const QString& name, const QString& value) {
        m_lines.push_back({m_pos, size, name, value});
        m_pos += size;
    }

    std::string_view m_file;
    const HumanRecord& m_human;
    const QByteArray& m_codePage;
    std::size_t m_pos = 0;
    std::vector<FieldLine> m_lines;
};

QString hexBytes(QByteArrayView bytes) {
    return QString::fromLatin1(bytes.toByteArray().toHex(' ').toUpper());
}

} // namespace

bool showBytes(const QString& path, const QByteArray& codePage, QTextStream& out,
               QTextStream& err) {
    const FileForBoxes opened = readChangeFile(nativeBytes(path));
    if (!opened.record) {
        err << shownArgument(path) << ": " << opened.error << Qt::endl;
        return false;
    }
    const std::string_view file(opened.bytes.constData(), std::size_t(opened.bytes.size()));
    ByteLister lister(file, *opened.record, codePage);
    layout::walkHumanRecord(lister, *opened.record);
    lister.endOfFile();

    // Numbers take at most four bytes: their hex lines up, and a text's runs on, whole, so
    // that each field stays one line for grep and awk.
    constexpr qsizetype kNumberHexWidth = 4 * 3 - 1;
    qsizetype nameWidth = 0;
    for (const FieldLine& line : lister.lines()) {
        nameWidth = std::max(nameWidth, line.name.size());
    }
    out << shownArgument(path) << ":\n";
    for (const FieldLine& line : lister.lines()) {
        const QString hex = hexBytes(QByteArrayView(file.substr(line.offset, line.size)));
        // Offsets go up to 32,768: five digits.
        out << "  " << QString::number(line.offset).rightJustified(5) << ' '
            << QString::number(line.size).rightJustified(5) << "  "
            << hex.leftJustified(kNumberHexWidth) << "  ";
        if (line.value.isEmpty()) {
            out << line.name << '\n';
        } else {
            out << line.name.leftJustified(nameWidth) << "  " << line.value << '\n';
        }
    }
    return true;
}

} // namespace pelomart::chg
