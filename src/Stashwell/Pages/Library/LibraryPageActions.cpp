// The library page's shelf bar and bindings, its actions on one save, the undo rule and the toast.

#include "Stashwell/Pages/Library/LibraryPage.h"

#include "StashKit/Curator.h"
#include "Stashwell/Pages/Library/CuratorStep.h"
#include "Stashwell/Router/Router.h"
#include "Stashwell/StashwellStrings.h"

#include <QUndoStack>

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

void LibraryPage::askToEmptyTrash()
{
    if (m_emptyingTrash)
        return;
    m_emptyingTrash = true;
    emit emptyingTrashChanged();
}

void LibraryPage::saveLink() { m_router.setSavingLink(QString()); }

QList<Save::ID> LibraryPage::actedOn() const
{
    if (m_chosen.size() >= 2)
        return QList<Save::ID>(m_chosen.cbegin(), m_chosen.cend());
    if (m_selection)
        return {*m_selection};
    return {};
}

std::optional<ShelfItem> LibraryPage::selectedItem()
{
    if (!m_selection)
        return std::nullopt;
    // Of the filter, whatever the search: a save the search hides keeps its inspector.
    const Shelf &current = shelf();
    const std::optional<Save> save = current.library().save(*m_selection);
    if (!save)
        return std::nullopt;
    if (!current.selects(m_filter, *save))
        return std::nullopt;
    return current.item(*save);
}

bool LibraryPage::inspectorShown()
{
    if (m_chosen.size() >= 2)
        return true;
    return selectedItem().has_value();
}

void LibraryPage::setInspectorShown(bool shown)
{
    if (shown)
        return;
    setChosen({});
    setSelection(std::nullopt);
}

// ---- the undo rule --------------------------------------------------------------------------------

bool LibraryPage::undoable(const QString &name, const std::optional<QString> &toastText,
                           const std::function<void()> &edit)
{
    const std::int64_t before = m_curator.steps();
    edit();
    if (m_curator.steps() == before)
        return false;
    registerStep(name, toastText);
    return true;
}

void LibraryPage::registerStep(const QString &name, const std::optional<QString> &toastText)
{
    const std::int64_t serial = m_nextSerial++;
    if (m_undoStack) {
        if (m_undoStack->count() == 0 && m_undoStack->undoLimit() != int(Curator::kHistoryLimit))
            m_undoStack->setUndoLimit(int(Curator::kHistoryLimit));
        m_undoStack->push(new CuratorStep(m_curator, name, serial));
    }
    if (toastText) {
        m_toast.show(*toastText, ToastUndo{serial, [self = QPointer<LibraryPage>(this), serial] {
                                               if (self)
                                                   self->undoStep(serial);
                                           }});
    } else {
        // A step that announces nothing is the latest one now all the same.
        m_toast.setLatestUndoStep(serial);
    }
}

void LibraryPage::undoStep(std::int64_t serial)
{
    // Only the step the toast announced, and only while nothing else came after it.
    if (m_undoStack && CuratorStep::latest(*m_undoStack) == serial)
        m_undoStack->undo();
}

void LibraryPage::followUndoStack()
{
    if (m_undoStack)
        m_toast.setLatestUndoStep(CuratorStep::latest(*m_undoStack));
}

void LibraryPage::showToast(const QString &text) { m_toast.show(text); }

// ---- actions on one save --------------------------------------------------------------------------

void LibraryPage::perform(const Action &action, const ShelfItem &item)
{
    std::visit(
        [&](const auto &c) {
            using C = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<C, Action::Download> || std::is_same_v<C, Action::Retry>) {
                download(item);
            } else if constexpr (std::is_same_v<C, Action::Downloading>) {
                // Under way: nothing to do.
            } else if constexpr (std::is_same_v<C, Action::Play>) {
                if (item.videoFile())
                    setPlaying(item.save().id());
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
                const Save::ID id = item.save().id();
                undoable(S::undoRestore(), S::toastRestored(), [&] { m_curator.restore(id); });
            }
        },
        action.value());
}

void LibraryPage::trash(const Save::ID &id)
{
    const Save::ID trashed = id;
    undoable(S::undoMoveToTrash(), S::toastMovedToTrash(), [&] { m_curator.trash(trashed); });
    if (m_selection == trashed)
        setSelection(std::nullopt);
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
                const std::optional<Collection::ID> in = c.collection;
                undoable(S::undoFile(), text, [&] { (void)m_curator.file(id, in); });
            } else if constexpr (std::is_same_v<C, SaveIntent::AddTag>) {
                if (const std::optional<Tag> tag = Tag::fromText(c.text))
                    undoable(S::undoTag(), std::nullopt, [&] { m_curator.tag(id, *tag); });
            } else if constexpr (std::is_same_v<C, SaveIntent::RemoveTag>) {
                const Tag tag = c.tag;
                undoable(S::undoRemoveTag(), std::nullopt, [&] { m_curator.untag(id, tag); });
            } else if constexpr (std::is_same_v<C, SaveIntent::Note>) {
                m_curator.writeNote(c.text, id);
            } else if constexpr (std::is_same_v<C, SaveIntent::Favourite>) {
                undoable(S::undoFavourite(), std::nullopt, [&] { m_curator.favourite(id); });
            } else if constexpr (std::is_same_v<C, SaveIntent::Trash>) {
                trash(id);
            } else if constexpr (std::is_same_v<C, SaveIntent::Close>) {
                setSelection(std::nullopt);
            } else if constexpr (std::is_same_v<C, SaveIntent::CopyLink>) {
                m_desktop.copyText(item.save().post().link.url().text());
                showToast(S::toastLinkCopied());
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
                showToast(S::toastLocalCopyRemoved());
            } else {
                static_assert(std::is_same_v<C, SaveIntent::NewCollection>);
                newCollection(id);
            }
        },
        intent.value());
}

void LibraryPage::preview(const ShelfItem &item)
{
    if (item.videoFile())
        setPlaying(item.save().id());
    else
        setSelection(item.save().id());
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

}  // namespace sw::app
