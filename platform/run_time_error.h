// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <stdexcept>
#include <string>

namespace pelomart {

// The error numbers and descriptions that this program's message boxes show; each names a
// class of failure, so the same cause always gives the same number; users quote the number
// when they ask for help, so a number never changes its meaning.
enum class ErrorNumber : int {
    InvalidArgument = 5,   // a box's text has a character that the code page lacks
    Overflow = 6,          // a number beyond its type, or a record beyond 32,767 bytes
    InternalError = 51,    // a fault of the program itself, never of the input
    TypeMismatch = 13,     // a box's text is not a number in the user's format
    BadFileName = 52,      // no name, a NUL, an over-long name, or one no file name can hold
    DeviceIO = 57,         // the system failed in a way none of the others describes
    DiskFull = 61,         // no space, no quota left, or the file-size limit
    PermissionDenied = 70, // the system refuses, or a link in a shared directory is unsafe
    PathFileAccess = 75,   // the name is a directory, or the file cannot be replaced
    PathNotFound = 76,     // a directory on the way is missing, or the path loops
};

constexpr const char* standardDescription(ErrorNumber number) {
    switch (number) {
    case ErrorNumber::InvalidArgument:
        return "Invalid procedure call or argument";
    case ErrorNumber::Overflow:
        return "Overflow";
    case ErrorNumber::InternalError:
        return "Internal error";
    case ErrorNumber::TypeMismatch:
        return "Type mismatch";
    case ErrorNumber::BadFileName:
        return "Bad file name or number";
    case ErrorNumber::DeviceIO:
        return "Device I/O error";
    case ErrorNumber::DiskFull:
        return "Disk full";
    case ErrorNumber::PermissionDenied:
        return "Permission denied";
    case ErrorNumber::PathFileAccess:
        return "Path/File access error";
    case ErrorNumber::PathNotFound:
        return "Path not found";
    }
    return "Application-defined or object-defined error";
}

// A failing step of a handler throws this; the window's dispatcher reports it.
// `detail` carries what the user needs to act on (a path, the system's reason).
class RunTimeError : public std::runtime_error {
public:
    explicit RunTimeError(ErrorNumber number, std::string detail = {})
        : std::runtime_error(standardDescription(number)), m_number(number),
          m_detail(std::move(detail)) {}

    // what() gives the standard description.
    int code() const { return static_cast<int>(m_number); }
    const std::string& detail() const { return m_detail; }
    void setDetail(std::string detail) { m_detail = std::move(detail); }

    // The box whose text failed, by control name, and that text (UTF-8); empty when the
    // failure is not one box's text.
    const std::string& control() const { return m_control; }
    const std::string& controlText() const { return m_controlText; }
    void setControl(std::string control, std::string text) {
        m_control = std::move(control);
        m_controlText = std::move(text);
    }

private:
    ErrorNumber m_number;
    std::string m_detail;
    std::string m_control;
    std::string m_controlText;
};

} // namespace pelomart
