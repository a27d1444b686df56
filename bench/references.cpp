// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "references.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace bench {

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        throw std::runtime_error(what);
    }
}

void syncAndClose(int fd, const char* what) {
    const bool synced = ::fsync(fd) == 0;
    check(::close(fd) == 0 && synced, what);
}

} // namespace

void plainWrite(const QByteArray& path, const QByteArray& bytes) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    check(fd >= 0, "cannot open the file");
    const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    syncAndClose(fd, "cannot sync the file");
    check(written, "cannot write the file");
}

void safeReplace(const QByteArray& directory, const QByteArray& name, const QByteArray& bytes) {
    const QByteArray temporary = directory + "/.replace";
    plainWrite(temporary, bytes);
    check(::rename(temporary.constData(), (directory + '/' + name).constData()) == 0,
          "cannot rename the file");
    const int fd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    check(fd >= 0, "cannot open the directory");
    syncAndClose(fd, "cannot sync the directory");
}

std::vector<std::string> sortedSubdirectories(const std::string& path) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(path)) {
        if (entry.is_directory()) {
            names.push_back(entry.path().filename().native());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string manySubdirectories(int count) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("pelomart-bench-" + std::to_string(count));
    // The last name is made last, so a run cut short makes the next one finish the job.
    const auto name = [](int i) { return "dir" + std::to_string(i); };
    if (!fs::exists(root / name(count - 1))) {
        fs::create_directories(root);
        for (int i = 0; i < count; ++i) {
            fs::create_directory(root / name(i));
        }
    }
    return root.native();
}

} // namespace bench
