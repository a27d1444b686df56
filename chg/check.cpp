#include "commands.h"

#include "human_record_reader.h"

#include <QFile>
#include <QTextStream>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelomart::chg {
namespace {

// A change file holds at most the longest record and its line end.
constexpr qint64 kLongestChangeFile = kMaxRecordLength + 2;

const char* kindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a directory";
    }
    if (S_ISFIFO(mode)) {
        return "a FIFO";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "not a regular file";
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    int fd() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

std::optional<QByteArray> readWholeFile(const QString& path, qint64 longest, QTextStream& err) {
    auto refuse = [&](const QString& why) {
        err << path << ": " << why << Qt::endl;
        return std::nullopt;
    };
    // Opened without blocking, so that a FIFO or a device given by mistake cannot hang the
    // run; what it is shows before anything is read.
    const Descriptor file(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.fd() < 0) {
        return refuse(QStringLiteral("cannot read: ") + qt_error_string(errno));
    }
    struct stat status {};
    if (::fstat(file.fd(), &status) != 0) {
        return refuse(QStringLiteral("cannot read: ") + qt_error_string(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        return refuse(QStringLiteral("cannot read: %1").arg(QLatin1String(kindOf(status.st_mode))));
    }
    if (status.st_size > longest) {
        return refuse(QStringLiteral("longer than %1 bytes; not read").arg(longest));
    }
    // Read to the end, at most one byte past the bound: the file may have grown.
    QByteArray bytes(longest + 1, Qt::Uninitialized);
    qint64 filled = 0;
    while (filled < bytes.size()) {
        const ssize_t count = ::read(file.fd(), bytes.data() + filled, std::size_t(bytes.size() - filled));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return refuse(QStringLiteral("cannot read: ") + qt_error_string(errno));
        }
        if (count == 0) {
            break;
        }
        filled += count;
    }
    if (filled > longest) {
        return refuse(QStringLiteral("longer than %1 bytes; not read").arg(longest));
    }
    bytes.truncate(filled);
    return bytes;
}

std::optional<HumanRecord> readChangeFile(const QString& path, QTextStream& err) {
    const std::optional<QByteArray> bytes = readWholeFile(path, kLongestChangeFile, err);
    if (!bytes) {
        return std::nullopt;
    }
    DecodedHumanRecord decoded =
        decodeHumanRecord({bytes->constData(), std::size_t(bytes->size())});
    if (!decoded.record) {
        err << path << ": " << QString::fromStdString(decoded.error) << Qt::endl;
        return std::nullopt;
    }
    return std::move(decoded.record);
}

void describeCheck(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Checks change files; prints why each bad one is refused."));
    parser.addOption({{QStringLiteral("v"), QStringLiteral("verbose")},
                      QStringLiteral("Name the good files too.")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Change files."),
                                 QStringLiteral("FILE..."));
}

int check(const QCommandLineParser& parser, QTextStream& out, QTextStream& err) {
    int status = kSuccess;
    for (const QString& path : parser.positionalArguments()) {
        if (!readChangeFile(path, err)) {
            status = kFileFailed;
        } else if (parser.isSet(QStringLiteral("verbose"))) {
            out << path << ": ok\n";
        }
    }
    return status;
}

} // namespace pelomart::chg
