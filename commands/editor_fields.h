#pragma once

#include <QString>

namespace pelomart {

// The window's values as the logic sees them: texts addressed by control name
// ("x", "namn", "paramsing2", "script", "filenavn" ...) and the directory list's path.
class EditorFields {
public:
    virtual ~EditorFields() = default;

    virtual QString text(const QString& control) const = 0;
    // Setting a text raises the control's change notification before it returns.
    virtual void setText(const QString& control, const QString& text) = 0;
    // The current path of the directory list Dir1.
    virtual QString directoryPath() const = 0;
};

} // namespace pelomart
