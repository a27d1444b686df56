#include "field_texts.h"

#include "field_behaviours.h"

namespace pelomart {

FieldTexts fieldTexts(const EditorFields& fields) {
    FieldTexts texts;
    for (const ControlInfo& field : kEditorFields) {
        texts[std::size_t(field.id)] = fields.text(field.id);
    }
    return texts;
}

FieldTexts startFieldTexts() {
    FieldTexts texts;
    for (const ControlInfo& field : kEditorFields) {
        texts[std::size_t(field.id)] = QString::fromLatin1(field.text);
    }
    return texts;
}

bool holdsTypedTexts(const FieldTexts& now, const FieldTexts& lastFile) {
    return now != startFieldTexts() && now != lastFile;
}

void showRecordTexts(FormControls& form, const RecordTexts& texts, const QString& fileName,
                     const QLocale& locale) {
    for (const ControlInfo& field : kEditorFields) {
        const QString& text = field.id == Control::filenavn ? fileName : texts[field.id];
        if (field.id == Control::paramlong1 && form.text(field.id) == text) {
            paramlong1_Change(form, locale);
        } else {
            form.setText(field.id, text);
        }
    }
}

} // namespace pelomart
