// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "change_file_writer.h"

#include "paths.h"
#include "run_time_error.h"
#include "shown_text.h"
#include "win32_files.h"

#include <QRandomGenerator>
#include <algorithm>

namespace pelomart {
namespace {

constexpr int kMaxNameAttempts = 100;
// Another writer holds the lock for a few milliseconds; one that holds it this long is
// stopped or hung, and the window must not hang with it.
constexpr DWORD kLockWaitMilliseconds = 10000;
// ERROR_DISK_QUOTA_EXCEEDED, which MinGW's headers lack.
constexpr DWORD kDiskQuotaExceeded = 1295;

ErrorNumber errorNumberFor(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY:
    case ERROR_CANT_RESOLVE_FILENAME:
        return ErrorNumber::PathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_PRIVILEGE_NOT_HELD:
    case ERROR_NOT_READY:
        return ErrorNumber::PermissionDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
    case ERROR_NOT_SAME_DEVICE:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return ErrorNumber::PathFileAccess;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return ErrorNumber::BadFileName;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case kDiskQuotaExceeded:
    case ERROR_FILE_TOO_LARGE:
        return ErrorNumber::DiskFull;
    default:
        return ErrorNumber::DeviceIO;
    }
}

// What the user can act on, where the system's own words would not say it.
QString reasonFor(DWORD error) {
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
        return QStringLiteral("another program has the file open and does not share it; close "
                              "it there and make the file again");
    case ERROR_FILENAME_EXCED_RANGE:
        return QStringLiteral("the path is longer than Windows allows");
    default:
        return systemReason(error);
    }
}

[[noreturn]] void fail(ErrorNumber number, const QString& path, const QString& reason) {
    throw RunTimeError(number, (path + QStringLiteral(": ") + reason).toStdString());
}

[[noreturn]] void failWith(DWORD error, const QString& path) {
    fail(errorNumberFor(error), path, reasonFor(error));
}

// The last name of a path, its folder before it.
std::size_t lastSeparator(const std::wstring& path) {
    return path.find_last_of(L"\\/");
}

void checkName(const QByteArray& encoded, const QString& path) {
    if (encoded.isEmpty() || encoded.endsWith('/') || encoded.endsWith('\\')) {
        fail(ErrorNumber::BadFileName, path, QStringLiteral("no file name"));
    }
    if (encoded.contains('\0')) {
        fail(ErrorNumber::BadFileName, path, QStringLiteral("the name contains a null character"));
    }
    // The name follows the last separator, or a drive's colon ("C:clovek.chg").
    qsizetype start = std::max(encoded.lastIndexOf('/'), encoded.lastIndexOf('\\')) + 1;
    if (start == 0 && encoded.size() > 2 && encoded[1] == ':') {
        start = 2;
    }
    const QString name = QString::fromUtf8(encoded.mid(start));
    if (const QString fault = fileNameFault(name); !fault.isEmpty()) {
        fail(ErrorNumber::BadFileName, path, fault);
    }
    // NTFS and FAT hold at most 255 UTF-16 units in one name.
    if (name.size() > 255) {
        failWith(ERROR_FILENAME_EXCED_RANGE, path);
    }
}

// The lock that Pelomart's writers take on the target's folder while one of them compares
// and replaces a file there. A named mutex, because Windows gives it to the next waiter
// when the process that holds it ends, however it ends, so a killed writer blocks nobody; and
// named after the folder's volume and file index, so that every spelling of the folder (a
// mapped drive, another case, a short name) takes the same lock.
class FolderLock {
public:
    FolderLock(const std::wstring& folder, const QString& path) {
        const Handle directory(::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                             nullptr));
        BY_HANDLE_FILE_INFORMATION information{};
        if (!directory.isValid() ||
            !::GetFileInformationByHandle(directory.get(), &information)) {
            failWith(::GetLastError(), path);
        }
        const std::wstring name = QStringLiteral("Global\\pelomart-folder-%1-%2-%3")
                                      .arg(information.dwVolumeSerialNumber, 8, 16, QLatin1Char('0'))
                                      .arg(information.nFileIndexHigh, 8, 16, QLatin1Char('0'))
                                      .arg(information.nFileIndexLow, 8, 16, QLatin1Char('0'))
                                      .toStdWString();
        m_mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
        if (m_mutex == nullptr) {
            failWith(::GetLastError(), path);
        }
        // WAIT_ABANDONED: the writer that held it ended without letting go; the lock is ours.
        switch (::WaitForSingleObject(m_mutex, kLockWaitMilliseconds)) {
        case WAIT_OBJECT_0:
        case WAIT_ABANDONED:
            return;
        case WAIT_TIMEOUT:
            ::CloseHandle(m_mutex);
            fail(ErrorNumber::PathFileAccess, path,
                 QStringLiteral(
                     "another program has been writing in its directory for 10 seconds"));
        default: {
            const DWORD error = ::GetLastError();
            ::CloseHandle(m_mutex);
            failWith(error, path);
        }
        }
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock() {
        ::ReleaseMutex(m_mutex);
        ::CloseHandle(m_mutex);
    }

private:
    HANDLE m_mutex = nullptr;
};

// One call of writeChangeFile; each step either succeeds or throws the run-time error.
class Writer {
public:
    Writer(const QString& path, const QByteArray& bytes, ChangeFileWrite* write)
        : m_path(path), m_bytes(bytes), m_write(write) {}

    void resolve(const QByteArray& encoded);
    const std::wstring& folder() const { return m_folder; }
    void findTarget();
    void keepStoredName();
    void refuseWhatAWriteWouldRefuse();
    void replace();

private:
    [[noreturn]] void failWith(DWORD error) const { pelomart::failWith(error, m_path); }
    std::wstring temporaryIn(Handle& file);
    void fill(Handle& file);
    void refuseIfChangedSinceRead();
    bool expecting() const { return m_write && m_write->expected; }

    const QString& m_path;
    const QByteArray& m_bytes;
    ChangeFileWrite* m_write;
    std::wstring m_target; // in the \\?\ form
    std::wstring m_folder;
    bool m_exists = false;
    DWORD m_attributes = 0;
};

// ReplaceFileW and MoveFileExW replace the name that they are given, a symbolic link
// itself: a link is followed first, by the system, so that the write goes to the file it
// names, as on Linux.
void Writer::resolve(const QByteArray& encoded) {
    m_target = systemPath(encoded);
    const DWORD given = ::GetFileAttributesW(m_target.c_str());
    if (given != INVALID_FILE_ATTRIBUTES && (given & FILE_ATTRIBUTE_REPARSE_POINT)) {
        const Handle file(::CreateFileW(m_target.c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                        nullptr));
        if (!file.isValid()) {
            failWith(::GetLastError());
        }
        std::wstring final(32768, L'\0');
        const DWORD length = ::GetFinalPathNameByHandleW(file.get(), final.data(),
                                                         DWORD(final.size()), VOLUME_NAME_DOS);
        if (length == 0 || length >= final.size()) {
            failWith(length == 0 ? ::GetLastError() : ERROR_FILENAME_EXCED_RANGE);
        }
        final.resize(length);
        m_target = final;
    }
    const std::size_t separator = lastSeparator(m_target);
    if (separator == std::wstring::npos) {
        failWith(ERROR_BAD_PATHNAME);
    }
    m_folder = m_target.substr(0, separator + 1);
    // The temporary file's name must fit beside the target's in the longest path there is.
    if (m_target.size() >= 32767 - 20) {
        failWith(ERROR_FILENAME_EXCED_RANGE);
    }
}

// Under the folder's lock: another writer's ReplaceFileW takes the name away for a moment,
// and a file being replaced refuses to be opened.
void Writer::findTarget() {
    m_attributes = ::GetFileAttributesW(m_target.c_str());
    if (m_attributes != INVALID_FILE_ATTRIBUTES) {
        m_exists = true;
        keepStoredName();
        return;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) {
        failWith(error);
    }
    const DWORD folder = ::GetFileAttributesW(m_folder.c_str());
    if (folder == INVALID_FILE_ATTRIBUTES) {
        failWith(::GetLastError());
    }
    if (!(folder & FILE_ATTRIBUTE_DIRECTORY)) {
        failWith(ERROR_DIRECTORY);
    }
}

// Another case or a short name (CLOVEK~1.CHG) reaches the file too, and ReplaceFileW would
// give the file the name it was handed: the write goes to the name the folder holds.
void Writer::keepStoredName() {
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(m_target.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        failWith(::GetLastError());
    }
    ::FindClose(search);
    m_target = m_folder + found.cFileName;
}

// A folder, a read-only file, or one that another program holds open without sharing is
// refused before anything is written.
void Writer::refuseWhatAWriteWouldRefuse() {
    if (!m_exists) {
        return;
    }
    if (m_attributes & FILE_ATTRIBUTE_DIRECTORY) {
        fail(ErrorNumber::PathFileAccess, m_path, QStringLiteral("it is a directory"));
    }
    if (m_attributes & FILE_ATTRIBUTE_READONLY) {
        fail(ErrorNumber::PermissionDenied, m_path,
             QStringLiteral("the file is read-only; clear that in its properties to replace it"));
    }
    // The access the replacement needs, asked for with every sharing mode: a program that
    // holds the file open and shares no deletion makes this fail as it would fail the
    // replacement.
    const Handle file(::CreateFileW(m_target.c_str(), GENERIC_WRITE | DELETE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isValid()) {
        failWith(::GetLastError());
    }
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
        fail(ErrorNumber::PathFileAccess, m_path, QStringLiteral("not a regular file"));
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (::GetFileInformationByHandle(file.get(), &information) && m_write &&
        information.nNumberOfLinks > 1) {
        m_write->otherNames = information.nNumberOfLinks - 1;
    }
}

// A short name beside the target, made only if no file has it, opened for this writer alone.
std::wstring Writer::temporaryIn(Handle& file) {
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        std::wstring name = m_folder + L".pelomart-";
        for (int i = 0; i < 8; ++i) {
            name += wchar_t(letters[QRandomGenerator::system()->bounded(int(sizeof letters) - 1)]);
        }
        name += L".tmp";
        HANDLE handle = ::CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            file.reset(handle);
            return name;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            failWith(error);
        }
    }
    failWith(ERROR_FILE_EXISTS);
}

// The bytes reach the disk before the replacement may put them in the target's place.
void Writer::fill(Handle& file) {
    const char* data = m_bytes.constData();
    qsizetype left = m_bytes.size();
    while (left > 0) {
        DWORD written = 0;
        if (!::WriteFile(file.get(), data, DWORD(left), &written, nullptr)) {
            failWith(::GetLastError());
        }
        if (written == 0) {
            failWith(ERROR_WRITE_FAULT);
        }
        data += written;
        left -= written;
    }
    if (!::FlushFileBuffers(file.get())) {
        failWith(::GetLastError());
    }
    if (const DWORD error = file.close()) {
        failWith(error);
    }
}

// Under the lock: a writer that read the file replaces it only if nobody has changed it since.
void Writer::refuseIfChangedSinceRead() {
    if (!expecting()) {
        return;
    }
    const QByteArray& expected = *m_write->expected;
    const QString changed = QStringLiteral(
        "another program changed the file since it was read; it keeps that program's version");
    const Handle file(::CreateFileW(m_target.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isValid()) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) {
            fail(ErrorNumber::PathFileAccess, m_path, changed);
        }
        failWith(error);
    }
    // One byte more than expected shows a file that has grown.
    QByteArray now;
    if (const DWORD error = readToEnd(file.get(), now, expected.size() + 1)) {
        failWith(error);
    }
    if (now != expected) {
        fail(ErrorNumber::PathFileAccess, m_path, changed);
    }
}

// ReplaceFileW keeps the replaced file's ACL, attributes, creation time and streams; the
// old file goes to a second temporary name first and comes back if the new one cannot take
// its place, so that the old file stays whole whatever fails. A new file is renamed into
// place with write-through, so that the rename is on the disk when the call returns.
void Writer::replace() {
    Handle temp;
    const std::wstring tempPath = temporaryIn(temp);
    // Whatever fails from here removes the temporary file, closed first: it is open for this
    // writer alone.
    struct Remove {
        Handle& file;
        const std::wstring& path;
        bool keep = false;
        ~Remove() {
            file.close();
            if (!keep) {
                ::DeleteFileW(path.c_str());
            }
        }
    } remove{temp, tempPath};
    fill(temp);
    refuseIfChangedSinceRead();
    if (!m_exists) {
        if (!::MoveFileExW(tempPath.c_str(), m_target.c_str(), MOVEFILE_WRITE_THROUGH)) {
            failWith(::GetLastError());
        }
        remove.keep = true;
        return;
    }
    std::wstring backup = tempPath;
    backup.replace(backup.size() - 4, 4, L".old");
    if (!::ReplaceFileW(m_target.c_str(), tempPath.c_str(), backup.c_str(), 0, nullptr,
                        nullptr)) {
        const DWORD error = ::GetLastError();
        // The old file has gone to the backup's name and the new one could not take its
        // place: the old one comes back.
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
            ::MoveFileExW(backup.c_str(), m_target.c_str(), MOVEFILE_WRITE_THROUGH);
        }
        failWith(error);
    }
    remove.keep = true;
    // The new file is in place for good: a backup that cannot be removed is no failure of
    // the write, though it stays beside the file.
    ::DeleteFileW(backup.c_str());
}

} // namespace

QByteArray directoryOf(const QByteArray& path) {
    const qsizetype separator = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
    if (separator < 0) {
        return ".";
    }
    // "C:\" and "\" keep their separator: without it they would name another folder.
    const QByteArray folder = path.left(separator);
    return folder.isEmpty() || (folder.size() == 2 && folder.endsWith(':')) ? path.left(separator + 1)
                                                                            : folder;
}

void writeChangeFile(const QByteArray& path, const QByteArray& bytes, ChangeFileWrite* write) {
    const QString shown = shownPath(path);
    checkName(path, shown);
    Writer writer(shown, bytes, write);
    writer.resolve(path);
    // The whole write holds the lock, filling the temporary file included: another writer
    // in the folder changes nothing between a check and the replacement.
    const FolderLock lock(writer.folder(), shown);
    writer.findTarget();
    writer.refuseWhatAWriteWouldRefuse();
    writer.replace();
}

} // namespace pelomart
