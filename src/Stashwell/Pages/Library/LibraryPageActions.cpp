// The library page's shelf bar, the sidebar's capture button and drops, its actions on one save,
// and the status bar's values.

#include "Stashwell/Pages/Library/LibraryPage.h"

#include "StashKit/Curator.h"
#include "Stashwell/Pages/Library/CollectionDrafting.h"
#include "Stashwell/Pages/Library/LibraryDownloads.h"
#include "Stashwell/Pages/Library/LibraryPlayer.h"
#include "Stashwell/Pages/Library/LibrarySelection.h"
#include "Stashwell/Pages/Library/LibraryUndo.h"
#include "Stashwell/Router/Router.h"
#include "Stashwell/StashwellStrings.h"


namespace sw::app {

using S = StashwellStrings;

// ---- bar, content and bindings --------------------------------------------------------------------

QString LibraryPage::title(const Filter &filter, const Library &library)
{
    return std::visit(
        [&](const auto &c) -> QString {
            using C = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<C, Filter::InCollection>) {
                const std::optional<Collection> collection = library.collection(c.id);
                return collection ? collection->name : S::titleCollection();
            } else if constexpr (std::is_same_v<C, Filter::OfKind>) {
                switch (Kind::Value(c.kind)) {
                case Kind::video: return S::titleVideos();
                case Kind::images: return S::titleImages();
                case Kind::text: return S::titleTextPosts();
                case Kind::page: return S::titleLinks();
                }
                return S::titleAllSaves();
            } else if constexpr (std::is_same_v<C, Filter::FromSource>) {
                // The service's own name, the same in every language.
                return c.source == Source::x ? QStringLiteral("X") : S::titleWeb();
            } else if constexpr (std::is_same_v<C, Filter::ByAuthor>) {
                const QList<Save> saves = library.live(c.handle);
                return saves.isEmpty() ? c.handle.name : saves.first().post().author.name;
            } else if constexpr (std::is_same_v<C, Filter::All>) {
                return S::titleAllSaves();
            } else if constexpr (std::is_same_v<C, Filter::RecentlyAdded>) {
                return S::titleRecentlyAdded();
            } else if constexpr (std::is_same_v<C, Filter::Favourites>) {
                return S::titleFavourites();
            } else if constexpr (std::is_same_v<C, Filter::Trash>) {
                return S::titleTrash();
            } else if constexpr (std::is_same_v<C, Filter::OnThisComputer>) {
                return S::titleOnThisComputer();
            } else {
                static_assert(std::is_same_v<C, Filter::LinkOnly>);
                return S::titleLinkOnly();
            }
        },
        filter.value());
}

QString LibraryPage::title(const Shelf &shelf) const { return title(m_filter, shelf.library()); }

bool LibraryPage::showsEmptyTrashButton()
{
    // The trash's count from the sidebar's, taken in the same walk: no walk of its own.
    return m_filter == Filter::trash() && sidebarContent().count(Filter::trash()).value_or(0) >= 1;
}

// ---- the sidebar ----------------------------------------------------------------------------------

bool LibraryPage::dropLinks(const Filter &on, const QList<QUrl> &urls)
{
    const bool trashRow = on == Filter::trash();
    const bool favouritesRow = on == Filter::favourites();
    const auto *collectionRow = std::get_if<Filter::InCollection>(&on.value());
    if (!trashRow && !favouritesRow && !collectionRow)
        return false;

    QList<Url> links;
    for (const QUrl &url : urls)
        links.append(Url::fromQUrl(url));
    const QList<Save::ID> ids = m_curator.saves(links);
    if (ids.isEmpty())
        return false;

    // Dragging one of the acted-on saves acts on all of them.
    const QList<Save::ID> acted = m_selection->actedOn();
    bool dragsActed = false;
    for (const Save::ID &id : ids)
        dragsActed = dragsActed || acted.contains(id);
    const QList<Save::ID> targets = dragsActed ? acted : ids;
    const qsizetype n = targets.size();

    if (trashRow) {
        m_undo->record(m_curator.trash(targets), S::undoMoveToTrash(),
                       n == 1 ? S::toastMovedToTrash() : S::toastMovedCountToTrash(qint64(n)));
        m_selection->clear();
    } else if (favouritesRow) {
        m_undo->record(m_curator.favourite(targets, true), S::undoFavourite(),
                       n == 1 ? S::toastStarredIt() : S::toastStarredCount(qint64(n)));
    } else {
        const std::optional<Collection> collection = m_curator.library().collection(collectionRow->id);
        const QString name = collection ? collection->name : S::toastTheCollection();
        m_undo->record(m_curator.file(targets, collectionRow->id).value_or(std::nullopt), S::undoFile(),
                       n == 1 ? S::toastFiledIn(name) : S::toastFiledCountIn(qint64(n), name));
    }
    return true;
}

// ---- actions on one save --------------------------------------------------------------------------

void LibraryPage::perform(const Action &action, const ShelfItem &item)
{
    std::visit(
        [&](const auto &c) {
            using C = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<C, Action::Download> || std::is_same_v<C, Action::Retry>) {
                m_downloads->download(item);
            } else if constexpr (std::is_same_v<C, Action::Downloading>) {
                // Under way: nothing to do.
            } else if constexpr (std::is_same_v<C, Action::Play>) {
                if (item.videoFile())
                    m_player->play(item.save().id());
                else
                    openAddress(item);
            } else if constexpr (std::is_same_v<C, Action::Open>) {
                const LocalCopy::OnThisComputer *here = item.copy().asOnThisComputer();
                if (here && !here->files.isEmpty())
                    m_desktop.open(m_curator.localMedia().folder().url(here->files.first()).qurl());
                else
                    openAddress(item);
            } else if constexpr (std::is_same_v<C, Action::OpenOnX>) {
                openAddress(item);
            } else {
                static_assert(std::is_same_v<C, Action::Restore>);
                m_undo->record(m_curator.restore(item.save().id()), S::undoRestore(), S::toastRestored());
            }
        },
        action.value());
}

void LibraryPage::trash(const Save::ID &id)
{
    const Save::ID trashed = id;
    m_undo->record(m_curator.trash(trashed), S::undoMoveToTrash(), S::toastMovedToTrash());
    if (m_selection->current() == trashed)
        m_selection->setCurrent(std::nullopt);
}

void LibraryPage::handle(const SaveIntent &intent, const ShelfItem &item)
{
    const Save::ID id = item.save().id();
    std::visit(
        [&](const auto &c) {
            using C = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<C, SaveIntent::Action>) {
                perform(c.action, item);
            } else if constexpr (std::is_same_v<C, SaveIntent::File>) {
                std::optional<Collection> collection;
                if (c.collection)
                    collection = m_curator.library().collection(*c.collection);
                const QString text = collection ? S::toastFiledIn(collection->name) : S::toastTakenOut();
                m_undo->record(m_curator.file(id, c.collection).value_or(std::nullopt), S::undoFile(), text);
            } else if constexpr (std::is_same_v<C, SaveIntent::AddTag>) {
                if (const std::optional<Tag> tag = Tag::fromText(c.text))
                    m_undo->record(m_curator.tag(id, *tag), S::undoTag(), std::nullopt);
            } else if constexpr (std::is_same_v<C, SaveIntent::RemoveTag>) {
                m_undo->record(m_curator.untag(id, c.tag), S::undoRemoveTag(), std::nullopt);
            } else if constexpr (std::is_same_v<C, SaveIntent::Note>) {
                m_curator.writeNote(c.text, id);
            } else if constexpr (std::is_same_v<C, SaveIntent::Favourite>) {
                m_undo->record(m_curator.favourite(id), S::undoFavourite(), std::nullopt);
            } else if constexpr (std::is_same_v<C, SaveIntent::Trash>) {
                trash(id);
            } else if constexpr (std::is_same_v<C, SaveIntent::Close>) {
                m_selection->setCurrent(std::nullopt);
            } else if constexpr (std::is_same_v<C, SaveIntent::CopyLink>) {
                m_desktop.copyText(item.save().post().link.url().text());
                m_toast.show(S::toastLinkCopied());
            } else if constexpr (std::is_same_v<C, SaveIntent::OpenOriginal>) {
                openAddress(item);
            } else if constexpr (std::is_same_v<C, SaveIntent::Reveal>) {
                if (const LocalCopy::OnThisComputer *here = item.copy().asOnThisComputer()) {
                    QList<QUrl> files;
                    for (const LocalFile &file : here->files)
                        files.append(m_curator.localMedia().folder().url(file).qurl());
                    m_desktop.reveal(files);
                }
            } else if constexpr (std::is_same_v<C, SaveIntent::RemoveLocalCopy>) {
                m_curator.removeLocalCopy(id);
                m_toast.show(S::toastLocalCopyRemoved());
            } else if constexpr (std::is_same_v<C, SaveIntent::NewCollection>) {
                m_drafting->newCollection(id);
            } else if constexpr (std::is_same_v<C, SaveIntent::Select>) {
                m_selection->pick(id, c.modifiers);
            } else {
                static_assert(std::is_same_v<C, SaveIntent::Preview>);
                preview(item);
            }
        },
        intent.value());
}

void LibraryPage::preview(const ShelfItem &item)
{
    if (item.videoFile())
        m_player->play(item.save().id());
    else
        m_selection->setCurrent(item.save().id());
}

// ---- the media folder's text ----------------------------------------------------------------------

QString LibraryPage::folderText(const QString &path, const QString &home)
{
    QString text = path;
    QString root = home;
    while (root.size() > 1 && root.endsWith(u'/'))
        root.chop(1);
    // Home only as a whole leading part of the path: "/home/al" is not the start of "/home/alice".
    if (!root.isEmpty() && root != QStringLiteral("/")
        && (text == root || text.startsWith(root + u'/')))
        text = u'~' + text.mid(root.size());
    while (text.size() > 1 && text.endsWith(u'/'))
        text.chop(1);
    return text;
}

QString LibraryPage::folderText() const
{
    return folderText(m_curator.localMedia().folder().root().toLocalFile(), m_desktop.homePath());
}

LibraryPage::Status LibraryPage::status()
{
    return Status{shelf().count(Filter::all()), m_curator.localMedia().onDisk(), folderText()};
}

}  // namespace sw::app
