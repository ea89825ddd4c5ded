#include "StashwellUI/Inspector/InspectorFacts.h"

#include "Offline/ByteCount.h"
#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Playback/PlayerSheet.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace sw::InspectorFacts {

namespace {

// The extensions of downloaded videos and pictures (pages are saved as "html").
const QString kVideoExtension = QStringLiteral("mp4");
const QString kPictureExtension = QStringLiteral("jpg");

}  // namespace

QString linkText(const PostLink &link)
{
    QString text = link.url().text();
    text.remove(QStringLiteral("https://"));
    return text;
}

QString savedText(Date savedAt, Date now)
{
    if (Formatting::isNow(savedAt, now) || !(now.secondsSince(savedAt) >= 60))
        return StashwellUIStrings::inspectorJustNow();
    return StashwellUIStrings::inspectorAgo(Formatting::ago(savedAt, now));
}

QString dayPattern(const QLocale &locale)
{
    // The long date without its weekday, the month abbreviated; then the year and what joins it
    // to the rest go, and a quoted word left dangling at either end with them.
    QString pattern = PlayerSheet::datePattern(locale);
    static const QRegularExpression year(QStringLiteral("\\s*[,،、]?\\s*y+[年년]?\\s*[,،、.]?\\s*"));
    pattern.replace(year, QStringLiteral(" "));
    static const QRegularExpression danglingWord(QStringLiteral("^\\s*'[^']*'|'[^']*'\\s*$"));
    pattern.remove(danglingWord);
    static const QRegularExpression edges(QStringLiteral("^[,،、\\s]+|[,،、\\s]+$"));
    pattern.remove(edges);
    return pattern;
}

QString postedText(Date postedAt, const QLocale &locale, const QTimeZone &zone)
{
    const QDateTime moment = postedAt.toDateTime();
    if (!moment.isValid())
        return QString();
    return StashwellUIStrings::inspectorPosted(locale.toString(moment.toTimeZone(zone).date(), dayPattern(locale)));
}

std::optional<Collection> currentCollection(const QList<Collection> &collections,
                                            const std::optional<Collection::ID> &filedIn)
{
    if (!filedIn)
        return std::nullopt;
    for (const Collection &collection : collections) {
        if (collection.id == *filedIn)
            return collection;
    }
    return std::nullopt;
}

QString collectionLabel(const std::optional<Collection> &current)
{
    return current ? current->name : StashwellUIStrings::collectionNone();
}

std::int64_t pageCount(const ShelfItem &item)
{
    return std::max<std::int64_t>(std::int64_t(item.pictures().size()), 1);
}

QString pagerText(std::int64_t pageShown, std::int64_t count)
{
    // Composed here, not a key of the interface's table: digits around a slash read the same in
    // every language.
    return QStringLiteral("%1 / %2").arg(pageShown + 1).arg(count);
}

std::optional<std::size_t> firstVideoIndex(const Post &post)
{
    for (std::size_t i = 0; i < post.attachments.size(); ++i) {
        if (post.attachments[i].isVideo())
            return i;
    }
    return std::nullopt;
}

bool isPlainFileName(const QString &name)
{
    return LocalFile::isSafeName(name) && !name.contains(QDir::separator()) && !name.contains(QChar(0));
}

std::optional<QUrl> playerFile(const ShelfItem &item, const MediaFolder &folder, std::int64_t pageShown)
{
    const std::optional<LocalFile> file = item.videoFile();
    const std::optional<std::size_t> video = firstVideoIndex(item.save().post());
    if (!file || !video || std::int64_t(*video) != pageShown || !isPlainFileName(file->name))
        return std::nullopt;
    const QUrl address = folder.url(*file).qurl();
    if (!address.isValid() || address.isEmpty())
        return std::nullopt;
    return address;
}

std::optional<Url> posterPicture(const ShelfItem &item, std::int64_t pageShown)
{
    const std::vector<std::optional<Url>> pictures = item.pictures();
    if (pageShown >= 0 && std::uint64_t(pageShown) < pictures.size()) {
        const std::optional<Url> &page = pictures[std::size_t(pageShown)];
        if (page && !page->isEmpty())
            return page;
    }
    std::optional<Url> cover = item.cover();
    if (cover && cover->isEmpty())
        return std::nullopt;
    return cover;
}

QList<Url> revealableFiles(const LocalCopy &copy, const MediaFolder &folder)
{
    QList<Url> files;
    if (const LocalCopy::OnThisComputer *here = copy.asOnThisComputer()) {
        for (const LocalFile &file : here->files) {
            if (isPlainFileName(file.name))
                files.append(folder.url(file));
        }
    }
    return files;
}

QColor color(Tint tint)
{
    switch (tint) {
    case Tint::accentInk: return Tokens::Colors::accentInk();
    case Tint::ok: return Tokens::Colors::ok();
    case Tint::danger: return Tokens::Colors::danger();
    case Tint::muted: break;
    }
    return Tokens::Colors::muted();
}

MediaStatus mediaStatus(const LocalCopy &copy)
{
    if (const LocalCopy::Downloading *running = copy.asDownloading())
        return {percentText(running->received, running->of), QStringLiteral("arrow.down"), Tint::accentInk};
    if (copy.asOnThisComputer())
        return {Formatting::bytes(copy.bytesOnDisk()), QStringLiteral("checkmark"), Tint::ok};
    if (copy.asFailed())
        return {StashwellUIStrings::mediaFailed(), QStringLiteral("exclamationmark.triangle"), Tint::danger};
    return {StashwellUIStrings::mediaNotDownloaded(), QStringLiteral("icloud"), Tint::muted};
}

double downloadFraction(std::int64_t received, std::int64_t of)
{
    return *LocalCopy::downloading(received, of).fraction();
}

QString percentText(std::int64_t received, std::int64_t of)
{
    // Composed, like the pager: the whole number and a percent sign.
    return QString::number(ControlPainting::wholePercent(downloadFraction(received, of))) + u'%';
}

QString downloadingText(std::int64_t received, std::int64_t of)
{
    return StashwellUIStrings::inspectorDownloading(Formatting::bytes(received), Formatting::bytes(of));
}

QString fileSymbol(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : name.mid(dot + 1);
    if (extension == kVideoExtension)
        return QStringLiteral("play.rectangle");
    if (extension == kPictureExtension)
        return QStringLiteral("photo");
    return QStringLiteral("globe");
}

QString fileDetail(const LocalFile &file, const Post &post, std::size_t index)
{
    const QString size = Formatting::bytes(file.bytes);
    if (index >= post.attachments.size())
        return size;
    const Attachment &attachment = post.attachments[index];
    if (const Attachment::Video *video = attachment.asVideo())
        return StashwellUIStrings::inspectorFileVideo(Formatting::duration(video->length), size);
    if (attachment.isImage())
        return StashwellUIStrings::inspectorFileImage(size);
    return StashwellUIStrings::inspectorFilePage(size);
}

QString folderPath(const Url &root, const QString &home)
{
    const QUrl address = root.qurl();
    QString path = address.isLocalFile() ? address.toLocalFile() : address.path(QUrl::FullyDecoded);
    QString base = home;
    while (base.size() > 1 && base.endsWith(u'/'))
        base.chop(1);
    if (base.isEmpty() || base == u"/")
        return path;
    if (path == base)
        return QStringLiteral("~");
    if (path.startsWith(base + u'/'))
        return u'~' + path.mid(base.size());
    return path;
}

}  // namespace sw::InspectorFacts
