#include "Stashwell/Pages/Library/LibraryPlayer.h"

#include "StashKit/Curator.h"
#include "Stashwell/Pages/Library/LibraryPage.h"

namespace sw::app {

LibraryPlayer::LibraryPlayer(LibraryPage &page) : QObject(&page), m_page(page) {}

void LibraryPlayer::setPlaying(const std::optional<Save::ID> &playing)
{
    if (m_playing == playing)
        return;
    m_playing = playing;
    emit playingChanged();
}

void LibraryPlayer::play(const Save::ID &id) { setPlaying(id); }

void LibraryPlayer::close() { setPlaying(std::nullopt); }

std::optional<LibraryPlayer::Content> LibraryPlayer::content()
{
    if (!m_playing)
        return std::nullopt;
    const Shelf &current = m_page.shelf();
    const std::optional<Save> save = current.library().save(*m_playing);
    if (!save)
        return std::nullopt;
    const std::optional<ShelfItem> item = current.item(save->post().link);
    if (!item)
        return std::nullopt;
    const std::optional<LocalFile> video = item->videoFile();
    if (!video)
        return std::nullopt;
    return Content{m_page.curator().localMedia().folder().url(*video).qurl(), *item};
}

void LibraryPlayer::reveal(const QUrl &file) { m_page.desktop().reveal({file}); }

void LibraryPlayer::openOriginal(const ShelfItem &item) { m_page.desktop().open(item.save().post().link.url().qurl()); }

}  // namespace sw::app
