// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

// What the Windows backend's units share. Windows only.

#include <QByteArray>
#include <QString>
#include <string>

#include <windows.h>

namespace pelomart {

// The name Windows' wide calls take for a path's bytes (the UTF-8 of its UTF-16 name):
// made absolute against the working directory, and in the \\?\ form, which lifts the limit
// of 260 characters and takes every name as it is. A device's name (CON, NUL ...) keeps the
// form that names the device, so that it is seen to be one.
std::wstring systemPath(const QByteArray& path);

// The path's bytes for a name that Windows gave, without the \\?\ form's prefix.
QByteArray pathBytes(const std::wstring& name);

// The system's reason for an error of GetLastError(), for a person to read.
QString systemReason(DWORD error);

// Closes the handle when it goes.
class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { close(); }
    HANDLE get() const { return m_handle; }
    bool isValid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    void reset(HANDLE handle) {
        close();
        m_handle = handle;
    }
    // Returns 0, or the error of a close that failed.
    DWORD close() {
        DWORD error = 0;
        if (isValid() && !::CloseHandle(m_handle)) {
            error = ::GetLastError();
        }
        m_handle = INVALID_HANDLE_VALUE;
        return error;
    }

private:
    HANDLE m_handle;
};

// Appends what the handle gives until its end (a pipe's closed end too) or until `bytes`
// holds `most` bytes. Returns 0, or the error of the read that failed.
DWORD readToEnd(HANDLE handle, QByteArray& bytes, qint64 most);

} // namespace pelomart
