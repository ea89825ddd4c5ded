#include "Stashwell/Pages/Library/LibraryPage.h"

#include "Capture/PostLink.h"
#include "StashKit/Curator.h"
#include "Stashwell/Commands/CopiedLink.h"
#include "Stashwell/Pages/Library/CuratorStep.h"
#include "Stashwell/Pages/Shelf/ShelfArrangement.h"
#include "Stashwell/Router/Router.h"
#include "Stashwell/StashwellStrings.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUndoStack>

#include <algorithm>
#include <cmath>

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
        out.copyText = [](const QString &text) {
            if (QClipboard *clipboard = QGuiApplication::clipboard()) {
                clipboard->clear();
                clipboard->setText(text);
            }
        };
    if (!out.copiedLink)
        out.copiedLink = [] { return sw::app::copiedLink(); };
    if (!out.homePath)
        out.homePath = [] { return QDir::homePath(); };
    return out;
}

LibraryPage::LibraryPage(Curator &curator, Router &router, QUndoStack *undoStack, Desktop desktop, QObject *parent)
    : QObject(parent), m_curator(curator), m_router(router), m_undoStack(undoStack),
      m_desktop(desktop.completed()), m_toast(this)
{
    m_shelfTurn.setSingleShot(true);
    m_shelfTurn.setInterval(0);
    connect(&m_shelfTurn, &QTimer::timeout, this, &LibraryPage::emitShelfChanged);
    m_progressTurn.setSingleShot(true);
    m_progressTurn.setInterval(progressRefreshMs);
    connect(&m_progressTurn, &QTimer::timeout, this, &LibraryPage::emitShelfChanged);

    connect(&m_curator, &Curator::libraryChanged, this, [this] { shelfStale(false); });
    connect(&m_curator, &Curator::coversChanged, this, [this] { shelfStale(false); });
    connect(&m_curator, &Curator::qualityChanged, this, [this] { shelfStale(false); });
    connect(&m_curator, &Curator::localMediaChanged, this, [this] { shelfStale(true); });
    connect(&m_curator, &Curator::leftBehindChanged, this, &LibraryPage::leftBehindChanged);

    connect(&m_router, &Router::findRequestsChanged, this, &LibraryPage::focusSearch);
    connect(&m_router, &Router::emptyTrashRequestsChanged, this, &LibraryPage::offerEmptyTrash);
    connect(&m_router, &Router::selectingChanged, this, [this] { showRequested(m_router.selecting()); });

    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive)
                becameActive();
        });

    if (m_undoStack) {
        // The stack keeps no more steps than the Curator's history; the limit can only be set
        // while the stack is empty, which it is before the page pushes anything.
        if (m_undoStack->count() == 0)
            m_undoStack->setUndoLimit(int(Curator::kHistoryLimit));
        connect(m_undoStack, &QUndoStack::indexChanged, this, &LibraryPage::followUndoStack);
        connect(m_undoStack, &QUndoStack::cleanChanged, this, &LibraryPage::followUndoStack);
    }
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
    setChosen({});
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

void LibraryPage::setSelection(const std::optional<Save::ID> &selection)
{
    if (m_selection == selection)
        return;
    m_selection = selection;
    emit selectionChanged();
    selectionDidChange();
}

void LibraryPage::selectionDidChange()
{
    if (!m_selection || !m_chosen.contains(*m_selection))
        setChosen({});
}

void LibraryPage::setChosen(const QSet<Save::ID> &chosen)
{
    if (m_chosen == chosen)
        return;
    m_chosen = chosen;
    emit chosenChanged();
}

void LibraryPage::setDraft(const std::optional<CollectionDraft> &draft)
{
    if (m_draft == draft)
        return;
    m_draft = draft;
    emit draftChanged();
}

void LibraryPage::setProblem(const std::optional<QString> &problem)
{
    if (m_problem == problem)
        return;
    m_problem = problem;
    emit problemChanged();
}

void LibraryPage::setDeleting(const std::optional<Collection::ID> &deleting)
{
    if (m_deleting == deleting)
        return;
    m_deleting = deleting;
    emit deletingChanged();
}

void LibraryPage::setEmptyingTrash(bool shown)
{
    // Only the page opens the dialog (offerEmptyTrash, askToEmptyTrash); closing it clears it.
    if (shown || !m_emptyingTrash)
        return;
    m_emptyingTrash = false;
    emit emptyingTrashChanged();
}

void LibraryPage::setPlaying(const std::optional<Save::ID> &playing)
{
    if (m_playing == playing)
        return;
    m_playing = playing;
    emit playingChanged();
}

// ---- the shelf ------------------------------------------------------------------------------------

void LibraryPage::shelfStale(bool progressOnly)
{
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
    if (!m_matching)
        m_matching.emplace(shelf().items(m_filter, m_query));
    return *m_matching;
}

const QList<ShelfItem> &LibraryPage::visibleItems()
{
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
    if (!m_sidebar)
        m_sidebar.emplace(shelf(), folderText());
    return *m_sidebar;
}

std::optional<ShelfItem> LibraryPage::itemOf(const Shelf &shelf, const Save::ID &id) const
{
    const std::optional<Save> save = shelf.library().save(id);
    if (!save)
        return std::nullopt;
    return shelf.item(*save);
}

// ---- the window and the Router --------------------------------------------------------------------

void LibraryPage::appear()
{
    if (m_appeared)
        return;
    m_appeared = true;
    // Nothing waits on the covers: the Curator tells of each one as it arrives.
    m_curator.keepMissingCovers();
    showRequested(m_router.selecting());
}

void LibraryPage::focusSearch() { emit searchFocusRequested(); }

void LibraryPage::offerEmptyTrash()
{
    // A fresh projection: the request may come in the same turn as the change that filled the trash.
    if (m_curator.shelf().count(Filter::trash()) < 1)
        return;
    if (m_emptyingTrash)
        return;
    m_emptyingTrash = true;
    emit emptyingTrashChanged();
}

void LibraryPage::becameActive() { m_curator.reconcile(); }

void LibraryPage::showRequested(const std::optional<Save::ID> &id)
{
    if (!id)
        return;
    const Save::ID shown = *id;
    setFilter(Filter::all());
    setSelection(shown);
    m_router.setSelecting(std::nullopt);
}

bool LibraryPage::openDroppedLink(const QList<QUrl> &urls)
{
    for (const QUrl &url : urls) {
        const QString text = url.toString(QUrl::FullyEncoded);
        if (PostLink::reading(text)) {
            m_router.setSavingLink(text);
            return true;
        }
    }
    return false;
}

void LibraryPage::finishSaveLink(const std::optional<Save::ID> &id)
{
    if (!id)
        return;
    const std::optional<Save> save = m_curator.library().save(*id);
    if (!save)
        return;
    setFilter(Filter::all());
    setSelection(*id);
    const bool downloading = m_curator.localMedia().copy(save->post().link).asDownloading() != nullptr;
    m_toast.show(downloading ? StashwellStrings::toastSavedDownloading() : StashwellStrings::toastSaved());
}

QString LibraryPage::windowTitle() { return title(shelf()); }

std::optional<LibraryPage::Player> LibraryPage::player()
{
    if (!m_playing)
        return std::nullopt;
    const Shelf &current = shelf();
    const std::optional<Save> save = current.library().save(*m_playing);
    if (!save)
        return std::nullopt;
    const std::optional<ShelfItem> item = current.item(save->post().link);
    if (!item)
        return std::nullopt;
    const std::optional<LocalFile> video = item->videoFile();
    if (!video)
        return std::nullopt;
    return Player{m_curator.localMedia().folder().url(*video).qurl(), *item};
}

void LibraryPage::closePlayer() { setPlaying(std::nullopt); }

void LibraryPage::reveal(const QUrl &file) { m_desktop.reveal({file}); }

void LibraryPage::openOriginal(const ShelfItem &item) { openAddress(item); }

void LibraryPage::openAddress(const ShelfItem &item) { m_desktop.open(item.save().post().link.url().qurl()); }

}  // namespace sw::app
