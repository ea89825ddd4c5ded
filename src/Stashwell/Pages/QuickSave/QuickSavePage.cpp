#include "Stashwell/Pages/QuickSave/QuickSavePage.h"

#include "StashKit/Curator.h"
#include "Shelf/Shelf.h"
#include "Stashwell/Pages/Keeping/FoundPostKeeping.h"
#include "Stashwell/Router/Router.h"
#include "Stashwell/StashwellStrings.h"
#include "StashwellUI/QuickSave/QuickSavePopover.h"

#include <QPointer>
#include <QTimer>

namespace sw::app {

QuickSavePage::QuickSavePage(Curator &curator, Router &router, Hooks hooks, QObject *parent)
    : QObject(parent), m_curator(curator), m_router(router), m_hooks(std::move(hooks))
{
    // While the popup is shown its lists follow the Curator, once per turn however many changes.
    for (auto changed : {&Curator::libraryChanged, &Curator::localMediaChanged, &Curator::coversChanged,
                         &Curator::qualityChanged})
        connect(&m_curator, changed, this, &QuickSavePage::scheduleRead);
}

QuickSavePage::~QuickSavePage() = default;

void QuickSavePage::setCollection(const std::optional<Collection::ID> &collection)
{
    if (collection == m_collection)
        return;
    m_collection = collection;
    emit collectionChanged();
}

void QuickSavePage::appear()
{
    m_shown = true;
    readLists();
    lookUpCopiedLink();
}

void QuickSavePage::disappear() { m_shown = false; }

void QuickSavePage::clipboardChanged()
{
    if (m_shown)
        lookUpCopiedLink();
}

QCoro::Task<> QuickSavePage::lookUpCopiedLink()
{
    const std::uint64_t number = ++m_turns;
    const std::optional<QString> link = m_hooks.copiedLink ? m_hooks.copiedLink() : std::nullopt;
    if (!link) {
        setState(QuickSaveState::nothingCopied());
        co_return;
    }
    setState(QuickSaveState::looking(*link));
    const QPointer<QuickSavePage> self(this);
    const std::expected<Post, SaveRefusal> looked = co_await m_curator.look(*link);
    if (!self || number != m_turns)
        co_return;
    if (looked)
        setState(QuickSaveState::found(*looked));
    else if (looked.error().asAlreadyKept())
        setState(QuickSaveState::saved(StashwellStrings::quickSaveAlreadyIn()));
    else
        setState(QuickSaveState::refused(StashwellStrings::quickSaveUnreadable()));
}

QCoro::Task<> QuickSavePage::save()
{
    const Post *found = m_state.post();
    if (!found || m_saving)
        co_return;
    const std::uint64_t number = ++m_turns;
    m_saving = true;
    const QPointer<QuickSavePage> self(this);
    const KeptPost kept = co_await keepFound(m_curator, *found, m_collection);
    if (!self)
        co_return;
    m_saving = false;
    // A look-up that started meanwhile (the clipboard changed) owns the state now.
    if (number != m_turns)
        co_return;
    setState(QuickSaveState::saved(kept.downloading ? StashwellStrings::toastSavedDownloading()
                                                    : StashwellStrings::toastSaved()));
}

void QuickSavePage::openLibrary()
{
    if (m_hooks.showLibrary)
        m_hooks.showLibrary();
}

void QuickSavePage::openSave(const Save::ID &id)
{
    // First the request, so that the window shows the save as it comes up.
    m_router.setSelecting(id);
    openLibrary();
}

QList<ShelfItem> QuickSavePage::recentItems(const Shelf &shelf)
{
    // The shelf's "all" in library order, cut short: only the first few items are ever built.
    QList<ShelfItem> items;
    for (const Save &save : shelf.library().saves) {
        if (items.size() == kRecentCount)
            break;
        if (!save.isTrashed())
            items.append(shelf.item(save));
    }
    return items;
}

void QuickSavePage::setState(QuickSaveState state)
{
    if (state == m_state)
        return;
    m_state = std::move(state);
    emit stateChanged();
}

void QuickSavePage::readLists()
{
    m_readPending = false;
    const Shelf shelf = m_curator.shelf();
    QList<Collection> collections = shelf.library().collections;
    QList<ShelfItem> recent = recentItems(shelf);
    const Date now = shelf.now();
    if (collections == m_collections && recent == m_recent && now == m_now)
        return;
    m_collections = std::move(collections);
    m_recent = std::move(recent);
    m_now = now;
    emit listsChanged();
}

void QuickSavePage::scheduleRead()
{
    if (!m_shown || m_readPending)
        return;
    m_readPending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_readPending)
            readLists();
    });
}

void QuickSavePage::bind(QuickSavePopover &popover)
{
    popover.setState(m_state);
    popover.setCollections(m_collections);
    popover.setCollection(m_collection);
    popover.setRecent(m_recent, m_now);

    connect(this, &QuickSavePage::stateChanged, &popover, [this, &popover] { popover.setState(m_state); });
    connect(this, &QuickSavePage::collectionChanged, &popover, [this, &popover] { popover.setCollection(m_collection); });
    connect(this, &QuickSavePage::listsChanged, &popover, [this, &popover] {
        popover.setCollections(m_collections);
        popover.setRecent(m_recent, m_now);
    });

    connect(&popover, &QuickSavePopover::collectionChanged, this, &QuickSavePage::setCollection);
    connect(&popover, &QuickSavePopover::saveRequested, this, [this] { save(); });
    connect(&popover, &QuickSavePopover::openAppRequested, this, &QuickSavePage::openLibrary);
    connect(&popover, &QuickSavePopover::selected, this, &QuickSavePage::openSave);
}

}  // namespace sw::app
