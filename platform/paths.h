// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <vector>

// Paths above this folder are the system's bytes for them: on Linux the bytes of the name
// as the file system holds them, whatever their encoding.
namespace pelomart {

// A name as a person types it or is shown it -> the bytes of the path that it names, and
// back. On Linux QFile's encodeName and decodeName: the locale's encoding, UTF-8 here.
QByteArray encodePath(const QString& text);
QString decodePath(QByteArrayView path);

// The path of the file `name` in `folder`: the folder, the separator unless the folder ends
// in one (a root), and the name.
QByteArray pathInFolder(const QByteArray& folder, const QByteArray& name);

// The path made absolute against the working directory, with "." and ".." and doubled
// separators taken out and every byte of its names kept.
QByteArray absolutePath(const QByteArray& path);
// The folders from the root of an absolute, clean path down to the path itself: "/",
// "/home", "/home/ann" on Linux; "C:\", "C:\missions" on Windows.
std::vector<QByteArray> foldersDownTo(const QByteArray& absolutePath);
// The last name of a path; a root is its own name ("/", "C:\").
QByteArrayView lastName(const QByteArray& path);
// The roots that folders hang from: "/" on Linux, each drive's ("C:\", "D:\") on Windows.
std::vector<QByteArray> roots();

// Why this system can hold no file of that name (the name alone, without its folder), for a
// person to read; empty where it can. Linux holds every name that its bytes can give; Windows
// holds no device name (CON, NUL, COM1 ...), with an extension or without, in any case, none
// with one of <>:"/\|?* or a control character, and none ending in a dot or a blank.
QString fileNameFault(QStringView name);

// A path cut into its folder, made absolute against the working directory, and its last
// name; nothing, with the system's reason in `error`, where there is no working directory
// to make it absolute against.
struct FolderAndName {
    QByteArray folder;
    QByteArray name;
};
std::optional<FolderAndName> folderAndName(const QByteArray& path, QString& error);

} // namespace pelomart
