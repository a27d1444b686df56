#pragma once

#include "editor_fields.h"

#include <QHash>
#include <QStringList>

namespace pelomart {

// The window's values without a window: the start texts, held in memory.
class MemoryFields : public EditorFields {
public:
    MemoryFields();

    QString text(const QString& control) const override { return m_texts.value(control); }
    void setText(const QString& control, const QString& text) override {
        m_texts.insert(control, text);
    }
    QString directoryPath() const override { return m_directory; }
    void setDirectoryPath(const QString& path) { m_directory = path; }

private:
    QHash<QString, QString> m_texts;
    QString m_directory;
};

} // namespace pelomart
