#include "StashKit/FileArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sw {

namespace {

// How many numbered names to try before giving up on setting a document aside.
constexpr int kSetAsideAttempts = 100;

std::unexpected<ArchiveFailure> failure(ArchiveFailure::Kind kind, QString message)
{
    return std::unexpected(ArchiveFailure{kind, std::move(message), std::nullopt});
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Makes a rename or a new file in the folder durable. Some file systems cannot sync a folder
// (EINVAL); nothing more can be done there and that is no failure.
std::optional<QString> syncFolder(const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder);
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return systemError(errno);
    std::optional<QString> error;
    if (::fsync(fd) != 0 && errno != EINVAL)
        error = systemError(errno);
    ::close(fd);
    return error;
}

// Renames without ever replacing what is at `to`. Gives 0 on success, else the error.
int moveWithoutReplacing(const QString &from, const QString &to)
{
    const QByteArray f = QFile::encodeName(from);
    const QByteArray t = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    int error = errno;
    if (error == EINVAL || error == ENOSYS) {
        // The file system cannot be told not to replace: a hard link fails when the name is
        // taken, and once it exists the document is safe under its new name.
        if (::link(f.constData(), t.constData()) == 0) {
            ::unlink(f.constData());
            return 0;
        }
        error = errno;
    }
    return error;
}

}  // namespace

FileArchive::FileArchive(QString directory, Clock clock)
    : m_directory(std::move(directory)), m_clock(std::move(clock))
{
    if (!m_clock)
        m_clock = [] { return Date::now(); };
}

QString FileArchive::defaultDirectory()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir(base).filePath(QStringLiteral("Stashwell"));
}

QString FileArchive::documentPath() const
{
    return QDir(m_directory).filePath(QLatin1StringView(documentName));
}

QString FileArchive::unreadableName(const QDateTime &time, int attempt)
{
    QString stamp = time.toUTC().toString(Qt::ISODate);
    stamp.replace(u':', u'-');
    QString name = QStringLiteral("library.unreadable-") + stamp;
    if (attempt > 1)
        name += u'-' + QString::number(attempt);
    return name + QStringLiteral(".json");
}

std::optional<QString> FileArchive::setAside(const QString &path) const
{
    const QDateTime now = m_clock().toDateTime();
    const QDir folder(m_directory);
    for (int attempt = 1; attempt <= kSetAsideAttempts; ++attempt) {
        const QString target = folder.filePath(unreadableName(now, attempt));
        const int error = moveWithoutReplacing(path, target);
        if (error == 0) {
            syncFolder(m_directory);
            return target;
        }
        if (error != EEXIST)
            break;
    }
    return std::nullopt;
}

std::expected<std::optional<Archive>, ArchiveFailure> FileArchive::load()
{
    // Loading comes first, before anything is stored: a partial document left here is one that
    // a process ended in the middle of writing, and nothing will ever use it.
    removePartialDocuments();
    const QString path = documentPath();
    if (!QFileInfo::exists(path))
        return std::optional<Archive>();

    ArchiveFailure failed;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failed = {ArchiveFailure::Kind::couldNotRead, file.errorString(), std::nullopt};
    } else {
        // Read into a buffer with room for the parser's padding, so that it parses the document
        // where it lies instead of copying it first.
        QByteArray bytes;
        const qint64 expected = file.size();
        qint64 length = 0;
        if (expected > 0 && expected < std::numeric_limits<qsizetype>::max() - qsizetype(JsonDocument::padding)) {
            bytes.resize(qsizetype(expected) + qsizetype(JsonDocument::padding));
            // Filled once, at start: a large document is taken in huge pages.
            adviseHugePages(bytes.data(), std::size_t(bytes.size()));
            for (;;) {
                const qint64 n = file.read(bytes.data() + length, qint64(bytes.size()) - qint64(JsonDocument::padding) - length);
                if (n <= 0)
                    break;
                length += n;
                if (length == qint64(bytes.size()) - qint64(JsonDocument::padding)) {
                    // The file grew while being read: take the rest the ordinary way.
                    const QByteArray rest = file.readAll();
                    if (!rest.isEmpty()) {
                        bytes.resize(qsizetype(length));
                        bytes += rest;
                        length = bytes.size();
                        bytes.resize(qsizetype(length) + qsizetype(JsonDocument::padding));
                    }
                    break;
                }
            }
        }
        if (file.error() != QFileDevice::NoError) {
            failed = {ArchiveFailure::Kind::couldNotRead, file.errorString(), std::nullopt};
        } else {
            file.close();
            std::fill(bytes.begin() + length, bytes.end(), '\0');
            const std::string_view document(bytes.constData(), std::size_t(length));
            try {
                if (length > 0 && bytes.size() >= length + qsizetype(JsonDocument::padding)) {
                    const JsonDocument parsed(document, JsonDocument::Padded{});
                    // The parsed values lie in the parser's own buffers: the bytes read are let
                    // go of before the library is built from them, so that they and the library
                    // are never in memory together.
                    bytes = QByteArray();
                    return std::optional<Archive>(Archive::fromJson(parsed.root()));
                }
                return std::optional<Archive>(Archive::fromJson(document));
            } catch (const std::exception &e) {
                failed = {ArchiveFailure::Kind::unreadable, QString::fromUtf8(e.what()), std::nullopt};
            }
        }
    }
    file.close();
    failed.setAsideAs = setAside(path);
    return std::unexpected(std::move(failed));
}

std::expected<void, ArchiveFailure> FileArchive::store(const Archive &archive)
{
    return storeArchive(archive, {}, nullptr);
}

std::expected<bool, ArchiveFailure> FileArchive::storeUnlessSuperseded(const Archive &archive,
                                                                      const std::function<bool()> &superseded)
{
    bool givenUp = false;
    auto stored = storeArchive(archive, superseded, &givenUp);
    if (!stored)
        return std::unexpected(std::move(stored.error()));
    return !givenUp;
}

std::expected<void, ArchiveFailure> FileArchive::storeArchive(const Archive &archive,
                                                              const std::function<bool()> &superseded, bool *givenUp)
{
    // The document is encoded and written a few mebibytes at a time, so that a large library
    // never needs a second copy of itself in memory.
    // The buffer for the pieces is kept from one store to the next: a fresh one of its size would
    // cost its page faults on every change.
    return write(
        [&](const std::function<bool(std::string_view)> &put) {
            std::string &piece = m_piece;
            piece.clear();
            piece.reserve((4 << 20) + (64 << 10));
            bool written = archive.writeJson(piece, [&](std::string &out) {
                // Between two pieces: a newer archive waiting makes the rest of this one useless.
                if (superseded && superseded()) {
                    *givenUp = true;
                    return false;
                }
                const bool ok = put(out);
                out.clear();
                return ok;
            }, m_pieces);
            written = written && put(piece);
            piece.clear();
            return written;
        },
        superseded, givenUp);
}

std::expected<void, ArchiveFailure> FileArchive::storeBytes(std::string_view document)
{
    return write([&](const std::function<bool(std::string_view)> &put) { return put(document); });
}

std::expected<void, ArchiveFailure> FileArchive::write(const Producer &produce, const std::function<bool()> &superseded,
                                                       bool *givenUp)
{
    if (!QDir().mkpath(m_directory))
        return failure(ArchiveFailure::Kind::couldNotCreateFolder,
                       QStringLiteral("The folder %1 could not be created.").arg(m_directory));

    const QByteArray target = QFile::encodeName(documentPath());
    // The document's own permissions carry over to its replacement.
    struct stat old {};
    const bool hadDocument = ::stat(target.constData(), &old) == 0;

    QByteArray partial;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        partial = QFile::encodeName(QDir(m_directory).filePath(
            QLatin1StringView(partialPrefix) + QString::number(QRandomGenerator::global()->generate(), 16)));
        fd = ::open(partial.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return failure(ArchiveFailure::Kind::couldNotWrite, systemError(errno));

    // From here on, any failure drops the partial file and leaves the document as it was.
    auto abandon = [&](int error) {
        ::close(fd);
        ::unlink(partial.constData());
        return failure(ArchiveFailure::Kind::couldNotWrite, systemError(error));
    };
    if (hadDocument && ::fchmod(fd, old.st_mode & 07777) != 0)
        return abandon(errno);
    // Every write is checked; a short write goes on with the rest, and a write that fails (no
    // room, a file size limit, an I/O error) fails the store.
    // What is written is handed to the disk a few mebibytes at a time as the write goes on, so
    // that the disk writes while the next pieces are encoded and the closing sync finds little
    // left to do; otherwise it would wait for the whole document after all the encoding.
    // (A file system that cannot be asked is synced at the end as always; the sync reports what
    // went wrong on the way.)
    int writeError = 0;
    off_t written = 0;
    off_t handedToDisk = 0;
    const auto put = [&](std::string_view bytes) {
        const char *data = bytes.data();
        std::size_t left = bytes.size();
        while (left > 0) {
            const ssize_t n = ::write(fd, data, left);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                writeError = errno;
                return false;
            }
            if (n == 0) {
                writeError = EIO;
                return false;
            }
            data += n;
            left -= std::size_t(n);
            written += off_t(n);
        }
        if (written - handedToDisk >= off_t(writebackBytes)) {
            ::sync_file_range(fd, handedToDisk, written - handedToDisk, SYNC_FILE_RANGE_WRITE);
            handedToDisk = written;
        }
        return true;
    };
    const auto giveUp = [&] {
        ::close(fd);
        ::unlink(partial.constData());
        return std::expected<void, ArchiveFailure>();
    };
    if (!produce(put)) {
        if (givenUp && *givenUp)
            return giveUp();
        return abandon(writeError ? writeError : EIO);
    }
    // The sync is the write's last long wait: not for a document a newer one has replaced.
    if (superseded && givenUp && superseded()) {
        *givenUp = true;
        return giveUp();
    }
    // Some file systems report a lack of room only when the data reach the disk.
    if (::fsync(fd) != 0 && errno != EINVAL)
        return abandon(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(partial.constData());
        return failure(ArchiveFailure::Kind::couldNotWrite, systemError(error));
    }
    if (::rename(partial.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(partial.constData());
        return failure(ArchiveFailure::Kind::couldNotWrite, systemError(error));
    }
    if (const auto error = syncFolder(m_directory))
        return failure(ArchiveFailure::Kind::couldNotWrite,
                       QStringLiteral("The document was replaced but its folder could not be synced: %1").arg(*error));
    return {};
}

void FileArchive::removePartialDocuments() const
{
    const QDir folder(m_directory);
    const QStringList names = folder.entryList({QLatin1StringView(partialPrefix) + u'*'},
                                               QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names)
        QFile::remove(folder.filePath(name));
}

}  // namespace sw
