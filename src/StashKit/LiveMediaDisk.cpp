#include "StashKit/LiveMediaDisk.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <optional>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sw {

namespace {

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

DiskError notAFile(const Url &url)
{
    return DiskError{url.text(), QStringLiteral("Not a file on this computer.")};
}

// The path as the system takes it, or none when that is not the whole path: the system ends a
// path at its first NUL, so "<folder>/other.mp4\0x" would name "<folder>/other.mp4", and a name
// the encoding cannot hold would name another file too.
std::optional<QByteArray> nativePath(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty() || native.contains('\0') || QFile::decodeName(native) != path)
        return std::nullopt;
    return native;
}

DiskError notWhole(const QString &path)
{
    return DiskError{path, QStringLiteral("The name cannot be handed to the file system whole.")};
}

}  // namespace

std::expected<void, DiskError> LiveMediaDisk::remove(const QList<Url> &files)
{
    for (const Url &url : files) {
        if (!url.isLocalFile())
            return std::unexpected(notAFile(url));
        const QString path = url.toLocalFile();
        const std::optional<QByteArray> encoded = nativePath(path);
        if (!encoded)
            return std::unexpected(notWhole(path));
        const QByteArray &native = *encoded;
        struct stat info {};
        if (::lstat(native.constData(), &info) != 0) {
            if (errno == ENOENT || errno == ENOTDIR)
                continue;   // nothing there
            return std::unexpected(DiskError{path, systemError(errno)});
        }
        if (S_ISDIR(info.st_mode)) {
            if (!QDir(path).removeRecursively())
                return std::unexpected(DiskError{path, QStringLiteral("The folder could not be removed.")});
            continue;
        }
        if (::unlink(native.constData()) != 0 && errno != ENOENT)
            return std::unexpected(DiskError{path, systemError(errno)});
    }
    return {};
}

namespace {

// The plain file's native path and status, or the failure.
std::expected<QByteArray, DiskError> plainFile(const Url &url, struct stat &info)
{
    if (!url.isLocalFile())
        return std::unexpected(notAFile(url));
    const QString path = url.toLocalFile();
    const std::optional<QByteArray> native = nativePath(path);
    if (!native)
        return std::unexpected(notWhole(path));
    if (::lstat(native->constData(), &info) != 0)
        return std::unexpected(DiskError{path, systemError(errno)});
    if (!S_ISREG(info.st_mode))
        return std::unexpected(DiskError{path, QStringLiteral("Not a plain file.")});
    return *native;
}

}  // namespace

std::expected<void, DiskError> LiveMediaDisk::move(const Url &from, const Url &to)
{
    struct stat info {};
    const auto source = plainFile(from, info);
    if (!source)
        return std::unexpected(source.error());
    if (!to.isLocalFile())
        return std::unexpected(notAFile(to));
    const QString path = to.toLocalFile();
    const std::optional<QByteArray> target = nativePath(path);
    if (!target)
        return std::unexpected(notWhole(path));
    if (::rename(source->constData(), target->constData()) != 0)
        return std::unexpected(DiskError{path, systemError(errno)});
    return {};
}

std::expected<std::int64_t, DiskError> LiveMediaDisk::size(const Url &file)
{
    struct stat info {};
    const auto native = plainFile(file, info);
    if (!native)
        return std::unexpected(native.error());
    return std::int64_t(info.st_size);
}

std::expected<QSet<QString>, DiskError> LiveMediaDisk::names(const Url &folder)
{
    if (!folder.isLocalFile())
        return std::unexpected(notAFile(folder));
    const QString path = folder.toLocalFile();
    const std::optional<QByteArray> encoded = nativePath(path);
    if (!encoded)
        return std::unexpected(notWhole(path));
    const QByteArray &native = *encoded;
    struct stat info {};
    if (::stat(native.constData(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR))
        return QSet<QString>();

    DIR *dir = ::opendir(native.constData());
    if (!dir)
        return std::unexpected(DiskError{path, systemError(errno)});
    QSet<QString> names;
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
            names.insert(QFile::decodeName(name));
        errno = 0;
    }
    const int error = errno;
    ::closedir(dir);
    if (error != 0)
        return std::unexpected(DiskError{path, systemError(error)});
    return names;
}

std::optional<FolderStamp> LiveMediaDisk::stamp(const Url &folder)
{
    if (!folder.isLocalFile())
        return std::nullopt;
    const std::optional<QByteArray> native = nativePath(folder.toLocalFile());
    if (!native)
        return std::nullopt;
    struct stat info {};
    if (::stat(native->constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return std::nullopt;
    const auto nanoseconds = [](const timespec &t) { return std::int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec; };
    timespec now {};
    if (::clock_gettime(CLOCK_REALTIME, &now) != 0)
        return std::nullopt;
    // A change made since, even within the same tick of the file system's clock, moves the times
    // on past these; a folder changed in the future (a clock set back) tells nothing.
    const std::int64_t latest = std::max(nanoseconds(info.st_mtim), nanoseconds(info.st_ctim));
    if (nanoseconds(now) - latest < m_settled)
        return std::nullopt;
    return FolderStamp{std::uint64_t(info.st_dev), std::uint64_t(info.st_ino), nanoseconds(info.st_mtim),
                       nanoseconds(info.st_ctim), std::int64_t(info.st_size)};
}

}  // namespace sw
