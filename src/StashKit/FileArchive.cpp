#include "FileArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

#include <fcntl.h>
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
    const QString path = documentPath();
    if (!QFileInfo::exists(path))
        return std::optional<Archive>();

    ArchiveFailure failed;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failed = {ArchiveFailure::Kind::couldNotRead, file.errorString(), std::nullopt};
    } else {
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            failed = {ArchiveFailure::Kind::couldNotRead, file.errorString(), std::nullopt};
        } else {
            file.close();
            try {
                return std::optional<Archive>(
                    Archive::fromJson(std::string_view(bytes.constData(), std::size_t(bytes.size()))));
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
    std::string document;
    // The previous size is a close guess of this one: one allocation instead of a doubling series.
    document.reserve(m_lastSize + m_lastSize / 8 + 4096);
    archive.writeJson(document);
    m_lastSize = document.size();
    return storeBytes(document);
}

std::expected<void, ArchiveFailure> FileArchive::storeBytes(std::string_view document)
{
    if (!QDir().mkpath(m_directory))
        return failure(ArchiveFailure::Kind::couldNotCreateFolder,
                       QStringLiteral("The folder %1 could not be created.").arg(m_directory));

    QSaveFile file(documentPath());
    // Unbuffered, so that a failure to write shows in write() itself: QSaveFile does not check
    // the flush of its buffer at commit, and would then put a short file in the document's place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(ArchiveFailure::Kind::couldNotWrite, file.errorString());
    const qint64 size = qint64(document.size());
    const qint64 written = file.write(document.data(), size);
    if (written != size) {
        // A short write is a failed write: the temporary file goes, the old document stays.
        QString why = file.errorString();
        if (written >= 0 && file.error() == QFileDevice::NoError)
            why = QStringLiteral("Only %1 of %2 bytes could be written.").arg(written).arg(size);
        file.cancelWriting();
        return failure(ArchiveFailure::Kind::couldNotWrite, why);
    }
    // Some file systems report a lack of room only when the data reach the disk; QSaveFile
    // ignores a failed sync, so sync here and refuse to commit what did not arrive.
    if (::fsync(file.handle()) != 0 && errno != EINVAL) {
        const QString why = systemError(errno);
        file.cancelWriting();
        return failure(ArchiveFailure::Kind::couldNotWrite, why);
    }
    // commit() renames the temporary file over the document; when that fails it removes the
    // temporary file and the old document stays.
    if (!file.commit())
        return failure(ArchiveFailure::Kind::couldNotWrite, file.errorString());
    if (const auto error = syncFolder(m_directory))
        return failure(ArchiveFailure::Kind::couldNotWrite,
                       QStringLiteral("The document was replaced but its folder could not be synced: %1").arg(*error));
    return {};
}

}  // namespace sw
