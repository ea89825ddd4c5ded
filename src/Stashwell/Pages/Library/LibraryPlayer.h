#pragma once

// The player sheet's state: the save it plays (`playing`, none while the sheet is down), its
// content, and the sheet's requests. playingChanged() only when the save changes. Owned by the
// LibraryPage.

#include "Library/Save.h"
#include "Shelf/ShelfItem.h"

#include <QObject>
#include <QUrl>

#include <optional>

namespace sw::app {

class LibraryPage;

class LibraryPlayer final : public QObject {
    Q_OBJECT
public:
    // What the sheet shows.
    struct Content {
        QUrl url;          // the local video file
        ShelfItem item;
    };

    explicit LibraryPlayer(LibraryPage &page);

    const std::optional<Save::ID> &playing() const { return m_playing; }
    void play(const Save::ID &id);
    void close();
    // The content for `playing`; none when its save, item or video is missing.
    std::optional<Content> content();

    // The sheet's requests.
    void reveal(const QUrl &file);
    void openOriginal(const ShelfItem &item);

signals:
    void playingChanged();

private:
    void setPlaying(const std::optional<Save::ID> &playing);

    LibraryPage &m_page;
    std::optional<Save::ID> m_playing;
};

}  // namespace sw::app
