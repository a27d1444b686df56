#include "memory_fields.h"

#include "start_texts.h"

#include <QDir>

namespace pelomart {

MemoryFields::MemoryFields() : m_directory(QDir::currentPath()) {
    for (const StartText& start : kStartTexts) {
        m_texts.insert(QString::fromLatin1(start.control), QString::fromLatin1(start.text));
    }
}

} // namespace pelomart
