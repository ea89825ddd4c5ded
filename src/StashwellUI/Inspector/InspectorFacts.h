#pragma once

// What the save inspector shows, worked out from its inputs without any widget: the texts of its
// rows, the choice between the player and the thumbnail, the state line of the local media and
// the lines of its files. The inspector's widgets draw these; the tests check them directly.

#include "Capture/Date.h"
#include "Capture/Post.h"
#include "Capture/PostLink.h"
#include "Capture/Url.h"
#include "Library/Collection.h"
#include "Offline/LocalCopy.h"
#include "Offline/LocalFile.h"
#include "Offline/MediaFolder.h"
#include "Shelf/ShelfItem.h"

#include <QColor>
#include <QList>
#include <QLocale>
#include <QString>
#include <QTimeZone>
#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace sw::InspectorFacts {

// ---- the details pane and the media area --------------------------------------------------------

// The link as the details pane shows it: the canonical address with every "https://" taken out
// (also one inside the query); other schemes stay.
QString linkText(const PostLink &link);

// "inspector.justNow" while `now` is less than 60 seconds after `savedAt` (or before it, or the
// interval cannot be read), otherwise "inspector.ago" with the age.
QString savedText(Date savedAt, Date now);

// The day of the month and the abbreviated month, in the order and with the words of the locale,
// without year, weekday or time ("Mar 5", "5. März", "3月5日").
QString dayPattern(const QLocale &locale);
// "inspector.posted" with the day the post was made in `zone`, in `locale`'s words (the inspector
// passes the interface's locale, Formatting::interfaceLocale()); empty for a date that cannot be
// shown.
QString postedText(Date postedAt, const QLocale &locale, const QTimeZone &zone = QTimeZone::systemTimeZone());

// The first collection of the list with the save's collection id; none for no id or an id the
// list does not hold.
std::optional<Collection> currentCollection(const QList<Collection> &collections,
                                            const std::optional<Collection::ID> &filedIn);
// The picker's label: that collection's name, or "collection.none".
QString collectionLabel(const std::optional<Collection> &current);

// The number of picture pages: the pictures, at least 1.
std::int64_t pageCount(const ShelfItem &item);
// "1 / 3": the page shown counted from 1, and the count.
QString pagerText(std::int64_t pageShown, std::int64_t count);

// The position of the post's first video attachment.
std::optional<std::size_t> firstVideoIndex(const Post &post);

// A file name from the library that may be joined to the media folder: a plain name (not empty,
// no path separator, not "." or ".."). Other names are never turned into an address.
bool isPlainFileName(const QString &name);

// The file the inline player plays: the save's video file when its copy is on this computer, the
// page shown is that of the post's first video and the file's name is plain. None: the thumbnail.
std::optional<QUrl> playerFile(const ShelfItem &item, const MediaFolder &folder, std::int64_t pageShown);
// The poster the inline player shows before it plays: the picture of the page shown (the video's
// cover), else the save's cover; none when the save has neither.
std::optional<Url> posterPicture(const ShelfItem &item, std::int64_t pageShown);

// The addresses of the files of a copy on this computer that may be shown in the file manager:
// those with plain names, in order. Empty for any other state.
QList<Url> revealableFiles(const LocalCopy &copy, const MediaFolder &folder);

// ---- the local media section --------------------------------------------------------------------

// The colour a status line is drawn in; resolved when painted, so it follows the appearance.
enum class Tint { accentInk, ok, danger, muted };
QColor color(Tint tint);

// The state line at the head of the local media section.
struct MediaStatus {
    QString text;
    QString symbol;
    Tint tint = Tint::muted;
    friend bool operator==(const MediaStatus &, const MediaStatus &) = default;
};
MediaStatus mediaStatus(const LocalCopy &copy);

// A download's percentage: received ÷ of × 100 truncated, 100 for a total of 0; beyond what an
// integer holds it stops at the end of the range, and a value that is not a number reads 0.
QString percentText(std::int64_t received, std::int64_t of);
// "inspector.downloading" with the received and the total sizes.
QString downloadingText(std::int64_t received, std::int64_t of);
// The fraction the progress track shows: received ÷ of, 1 for a total of 0 (clamped when drawn).
double downloadFraction(std::int64_t received, std::int64_t of);

// The symbol of a file by its extension, compared exactly: mp4 a video, jpg a picture,
// anything else a page.
QString fileSymbol(const QString &name);
// The line under a file's name: by the attachment at the file's position, "inspector.fileVideo"
// with the video's length ("1:15") and the size, "inspector.fileImage" or "inspector.filePage"
// with the size; the size alone when the post has no attachment there.
QString fileDetail(const LocalFile &file, const Post &post, std::size_t index);

// The media folder as a path to read: decoded, with the home folder at its start written "~". The
// home folder counts only as a whole leading part of the path ("/home/ann2" is not under
// "/home/ann"), and nowhere else.
QString folderPath(const Url &root, const QString &home);

}  // namespace sw::InspectorFacts
