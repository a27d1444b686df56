// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "record_in_boxes.h"

#include "behaviour_codes.h"
#include "code_page.h"
#include "numbers.h"
#include "script_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace pelomart {
namespace {

class Builder {
public:
    Builder(const QLocale& locale, const QByteArray& codePage)
        : m_locale(locale), m_codePage(codePage) {}

    void single(Control control, float value) {
        if (std::isnan(value)) {
            replace(control, singleText(value, m_locale), singleText(0.0F, m_locale));
        } else if (std::isinf(value)) {
            const float nearest = std::copysign(std::numeric_limits<float>::max(), value);
            replace(control, singleText(value, m_locale), singleText(nearest, m_locale));
        } else {
            set(control, singleText(value, m_locale));
        }
    }

    void singles(std::span<const ControlInfo, 3> boxes, const std::array<float, 3>& values) {
        for (std::size_t i = 0; i < 3; ++i) {
            single(boxes[i].id, values[i]);
        }
    }

    // A byte the code page has no character for becomes "?", which make file writes for it.
    void text(Control control, const std::string& bytes) {
        QList<qsizetype> undefined;
        const QString decoded = fromCodePage(QByteArrayView(bytes.data(), qsizetype(bytes.size())),
                                             m_codePage, &undefined);
        if (undefined.isEmpty()) {
            set(control, decoded);
            return;
        }
        QString written = decoded;
        // fromCodePage gives four characters, "\xNN", for each such byte.
        for (qsizetype k = undefined.size(); k-- > 0;) {
            written.replace(undefined[k] + 3 * k, 4, QLatin1Char('?'));
        }
        replace(control, decoded, written);
    }

    void script(const std::string& bytes) {
        text(Control::script, bytes);
        QString& held = m_texts.texts[std::size_t(Control::script)];
        const QString withCrLf = scriptWithCrLf(held);
        if (withCrLf != held) {
            replace(Control::script, QStringLiteral("a line end other than CR LF"),
                    QStringLiteral("CR LF"), withCrLf);
        }
    }

    void behaviour(std::int32_t code) {
        if (const Behaviour* entry = behaviourWithCode(code)) {
            set(Control::behavior, QLatin1String(entry->name));
            return;
        }
        const Behaviour* none = behaviourWithCode(kNoBehaviourChosen);
        replace(Control::behavior, QString::number(code),
                QStringLiteral("%1 (%2)").arg(none->code).arg(QLatin1String(none->name)),
                QString());
    }

    void type(std::int32_t value) {
        if (value > kHighestType) {
            replace(Control::paramlong1, QString::number(value), QString::number(kHighestType));
        } else {
            set(Control::paramlong1, QString::number(value));
        }
    }

    void parameters(const std::array<float, 16>& values) {
        for (std::size_t i = 0; i < kParameterFields.size(); ++i) {
            const ControlInfo& field = kParameterFields[i];
            const QString fixedText = startNumberText(field, m_locale);
            const float fixed = textToSingle(fixedText, m_locale);
            if (std::bit_cast<std::uint32_t>(values[i]) == std::bit_cast<std::uint32_t>(fixed)) {
                set(field.id, fixedText);
            } else {
                replace(field.id, singleText(values[i], m_locale), fixedText);
            }
        }
    }

    RecordInBoxes take() { return std::move(m_texts); }

private:
    void set(Control control, const QString& text) { m_texts.texts[std::size_t(control)] = text; }
    // A value the box cannot hold: it is among the replaced values, and the box holds
    // `boxText`, or `written` where that is what make file writes.
    void replace(Control control, const QString& inFile, const QString& written) {
        replace(control, inFile, written, written);
    }
    void replace(Control control, const QString& inFile, const QString& written,
                 const QString& boxText) {
        set(control, boxText);
        m_texts.replaced.push_back({control, inFile, written});
    }

    const QLocale& m_locale;
    const QByteArray& m_codePage;
    RecordInBoxes m_texts;
};

} // namespace

QString singleText(float value, const QLocale& locale) {
    if (std::isnan(value)) {
        return QStringLiteral("nan"); // whatever its sign bit
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    text.replace(u'.', locale.decimalPoint());
    return text;
}

RecordInBoxes recordInBoxes(const HumanRecord& human, const QLocale& locale,
                            const QByteArray& codePage) {
    Builder builder(locale, codePage);
    builder.singles(kPositionFields, human.position);
    builder.singles(kScaleFields, human.scale);
    builder.singles(kRotationFields, human.rotation);
    builder.text(Control::namn, human.name);
    builder.text(Control::model, human.model);
    builder.behaviour(human.behaviour);
    builder.type(human.typeParameter);
    builder.parameters(human.parameters);
    builder.script(human.script);
    return builder.take();
}

} // namespace pelomart
