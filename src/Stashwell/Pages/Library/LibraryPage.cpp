#include "Stashwell/Pages/Library/LibraryPage.h"

#include "Capture/PostLink.h"
#include "StashKit/Curator.h"
#include "Stashwell/Commands/CopiedLink.h"
#include "Stashwell/Pages/Library/CollectionDrafting.h"
#include "Stashwell/Pages/Library/DialogState.h"
#include "Stashwell/Pages/Library/LibraryDownloads.h"
#include "Stashwell/Pages/Library/LibraryPlayer.h"
#include "Stashwell/Pages/Library/LinkIntake.h"
#include "Stashwell/Pages/Library/LibrarySelection.h"
#include "Stashwell/Pages/Library/LibraryUndo.h"
#include "Stashwell/Presenters/ProgressedItems.h"
#include "Stashwell/Presenters/ShelfArrangement.h"
#include "Stashwell/Router/Router.h"
#include "Stashwell/StashwellStrings.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUndoStack>

#include <algorithm>
#include <cmath>
#include <utility>

namespace sw::app {

namespace {

// Files shown selected in the file manager over the desktop's common interface; where no file
// manager answers it, the folder of the first file is opened instead.
void revealFiles(const QList<QUrl> &files)
{
    if (files.isEmpty())
        return;
    QStringList uris;
    for (const QUrl &file : files)
        uris.append(file.toString(QUrl::FullyEncoded));
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << uris << QString();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && bus.send(call))
        return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(files.first().toLocalFile()).absolutePath()));
}

}  // namespace

LibraryPage::Desktop LibraryPage::Desktop::completed() const
{
    Desktop out = *this;
    if (!out.open)
        out.open = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    if (!out.reveal)
        out.reveal = revealFiles;
    if (!out.copyText)
        out.copyText = [](const QString &text) { sw::app::copyText(text); };
    if (!out.copiedLink)
        out.copiedLink = [] { return sw::app::copiedLink(); };
    if (!out.homePath)
        out.homePath = [] { return QDir::homePath(); };
    return out;
}

LibraryPage::LibraryPage(Curator &curator, Router &router, QUndoStack *undoStack, Desktop desktop, QObject *parent)
    : QObject(parent), m_curator(curator), m_router(router), m_desktop(desktop.completed()), m_toast(this),
      m_undo(new LibraryUndo(curator, undoStack, m_toast, this)), m_selection(new LibrarySelection(*this)),
      m_drafting(new CollectionDrafting(*this)), m_dialogs(new DialogState(*this)),
      m_downloads(new LibraryDownloads(*this)), m_player(new LibraryPlayer(*this)), m_links(new LinkIntake(*this))
{
    m_shelfTurn.setSingleShot(true);
    m_shelfTurn.setInterval(0);
    connect(&m_shelfTurn, &QTimer::timeout, this, &LibraryPage::emitShelfChanged);
    m_progressTurn.setSingleShot(true);
    m_progressTurn.setInterval(progressRefreshMs);
    connect(&m_progressTurn, &QTimer::timeout, this, &LibraryPage::emitShelfChanged);
    m_itemsTurn.setSingleShot(true);
    m_itemsTurn.setInterval(progressRefreshMs);
    connect(&m_itemsTurn, &QTimer::timeout, this, &LibraryPage::emitItemsChanged);

    connect(&m_curator, &Curator::libraryChanged, this, [this] {
        shelfStale(false);
        // A search may hide the current and the chosen saves (they stay), but not a save that left
        // the library.
        m_selection->forgetRemoved(m_curator.library());
    });
    connect(&m_curator, &Curator::coversChanged, this, [this] { shelfStale(false); });
    connect(&m_curator, &Curator::qualityChanged, this, [this] { shelfStale(false); });
    connect(&m_curator, &Curator::localMediaChanged, this, &LibraryPage::localMediaDidChange);
    // Once the saves' words are prepared, the shelf at hand learns where each save lies in the
    // search index while nothing is typed, rather than at the first letter typed; the shelves
    // that follow it take that over. Nothing else of the page moves for it.
    connect(&m_curator, &Curator::searchPrepared, this, [this] {
        if (m_lastShelf)
            m_lastShelf->prepareSearch();
    });

    connect(&m_router, &Router::findRequestsChanged, this, &LibraryPage::focusSearch);
    connect(&m_router, &Router::emptyTrashRequestsChanged, m_dialogs, &DialogState::offerEmptyTrash);
    connect(&m_router, &Router::selectingChanged, this, [this] { showRequested(m_router.selecting()); });

    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive)
                becameActive();
        });
}

LibraryPage::~LibraryPage() = default;

// ---- state ----------------------------------------------------------------------------------------

void LibraryPage::setFilter(const Filter &filter)
{
    if (m_filter == filter)
        return;
    m_filter = filter;
    m_matching.reset();
    m_visible.reset();
    emit filterChanged();
    filterDidChange();
}

void LibraryPage::filterDidChange()
{
    setQuery(QString());
    m_selection->setChosen({});
}

void LibraryPage::setQuery(const QString &query)
{
    if (m_query == query)
        return;
    m_query = query;
    m_matching.reset();
    m_visible.reset();
    emit queryChanged();
}

void LibraryPage::setLayout(ShelfLayout layout)
{
    if (m_layout == layout)
        return;
    m_layout = layout;
    emit layoutChanged();
}

// ---- the shelf ------------------------------------------------------------------------------------

void LibraryPage::localMediaDidChange()
{
    // With a projection at hand, the change is looked at when its turn comes (or when the
    // projection is next read): many steps of progress are then one.
    if (m_shelf && !m_shelfTurn.isActive() && !m_progressTurn.isActive()) {
        m_mediaMoved = true;
        if (!m_itemsTurn.isActive())
            m_itemsTurn.start();
        return;
    }
    shelfStale(true);
}

void LibraryPage::followLocalMedia()
{
    if (!m_mediaMoved)
        return;
    m_mediaMoved = false;
    if (!m_shelf)
        return;
    const LocalMedia &before = m_shelf->localMedia();
    const LocalMedia &after = m_curator.localMedia();
    std::optional<QList<PostLink>> links;
    if (before.folder() == after.folder() && before.budget() == after.budget())
        links = ProgressedItems::progressedLinks(before.copies(), after.copies());
    if (!links) {
        shelfStale(true);
        return;
    }
    if (links->isEmpty())
        return;
    // The library, the covers and the quality have not changed since the projection was made
    // (each change of theirs drops it): the new one differs in these saves' copies alone, so
    // what was counted and listed from the last one stands, with these saves' items renewed.
    Shelf next = m_curator.shelf();
    next.follow(*m_shelf);
    m_shelf = next;
    m_lastShelf = next;
    if (m_matching)
        ProgressedItems::renew(*m_matching, next, *links);
    if (m_visible)
        ProgressedItems::renew(*m_visible, next, *links);
    if (m_sidebar) {
        m_sidebar->onDisk = after.onDisk();
        m_sidebar->limit = after.budget().limit;
    }
    for (const PostLink &link : std::as_const(*links))
        if (!m_progressed.contains(link))
            m_progressed.append(link);
}

void LibraryPage::emitItemsChanged()
{
    m_itemsTurn.stop();
    followLocalMedia();
    if (!m_progressed.isEmpty())
        emit itemsChanged();
}

void LibraryPage::showProgressNow()
{
    if (m_mediaMoved)
        emitItemsChanged();
}

QList<PostLink> LibraryPage::takeProgressed() { return std::exchange(m_progressed, {}); }

void LibraryPage::shelfStale(bool progressOnly)
{
    m_mediaMoved = false;
    m_itemsTurn.stop();
    m_shelf.reset();
    m_matching.reset();
    m_visible.reset();
    m_sidebar.reset();
    if (m_shelfTurn.isActive())
        return;
    if (progressOnly) {
        // Progress alone: at most one refresh per interval, however many steps arrive.
        if (!m_progressTurn.isActive())
            m_progressTurn.start();
        return;
    }
    m_progressTurn.stop();
    m_shelfTurn.start();
}

void LibraryPage::emitShelfChanged()
{
    // A full refresh shows the progress too.
    m_progressed.clear();
    m_shelfTurn.stop();
    m_progressTurn.stop();
    emit shelfChanged();
}

void LibraryPage::setProgressRefreshCost(double milliseconds)
{
    const double wait = std::isfinite(milliseconds) ? 3 * milliseconds : double(progressRefreshMaxMs);
    m_progressTurn.setInterval(int(std::clamp(wait, double(progressRefreshMs), double(progressRefreshMaxMs))));
}

const Shelf &LibraryPage::shelf()
{
    followLocalMedia();
    if (!m_shelf) {
        // The new projection follows the last one, so that its counts are brought up to date from
        // the saves the change touched instead of counted again.
        m_shelf.emplace(m_curator.shelf());
        if (m_lastShelf)
            m_shelf->follow(*m_lastShelf);
        m_lastShelf = m_shelf;
    }
    return *m_shelf;
}

const QList<ShelfItem> &LibraryPage::matchingItems()
{
    followLocalMedia();
    if (!m_matching)
        m_matching.emplace(shelf().items(m_filter, m_query));
    return *m_matching;
}

const QList<ShelfItem> &LibraryPage::visibleItems()
{
    followLocalMedia();
    if (m_visible)
        return *m_visible;
    // Outside the home arrangement the shelf shows the matching saves as they are.
    if (!ShelfArrangement::isHome(m_filter, m_query))
        m_visible.emplace(matchingItems());
    else
        m_visible.emplace(ShelfArrangement::visibleItems(shelf(), m_filter, m_query));
    return *m_visible;
}

const SidebarContent &LibraryPage::sidebarContent()
{
    followLocalMedia();
    if (!m_sidebar)
        m_sidebar.emplace(shelf(), folderText());
    return *m_sidebar;
}

SidebarContent LibraryPage::uncountedSidebarContent()
{
    SidebarContent content;
    content.collections = m_curator.library().collections;
    content.onDisk = m_curator.localMedia().onDisk();
    content.limit = m_curator.localMedia().budget().limit;
    content.folder = folderText();
    return content;
}

// ---- the window and the Router --------------------------------------------------------------------

void LibraryPage::appear()
{
    if (m_appeared)
        return;
    m_appeared = true;
    showRequested(m_router.selecting());
}

void LibraryPage::firstFrameShown()
{
    if (m_firstFrameShown)
        return;
    m_firstFrameShown = true;
    // What the frame went without (the counts, the home list) comes before the work behind it.
    emit firstFrameReached();
    // The search words first: a search is what comes first.
    m_curator.releasePreparation();
    // Nothing waits on the covers: the Curator tells of each one as it arrives.
    m_curator.keepMissingCovers();
}

void LibraryPage::focusSearch() { emit searchFocusRequested(); }

void LibraryPage::becameActive()
{
    if (m_firstFrameShown)
        m_curator.reconcileAside();
}

void LibraryPage::showRequested(const std::optional<Save::ID> &id)
{
    if (!id)
        return;
    const Save::ID shown = *id;
    setFilter(Filter::all());
    m_selection->setCurrent(shown);
    m_router.setSelecting(std::nullopt);
}

QString LibraryPage::windowTitle() { return title(shelf()); }

void LibraryPage::openAddress(const ShelfItem &item) { m_desktop.open(item.save().post().link.url().qurl()); }

}  // namespace sw::app
