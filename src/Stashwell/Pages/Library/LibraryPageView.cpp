#include "Stashwell/Pages/Library/LibraryPageView.h"

#include "StashKit/Curator.h"
#include "Stashwell/Pages/Library/CollectionDrafting.h"
#include "Stashwell/Pages/Library/DialogState.h"
#include "Stashwell/Pages/Library/LibraryDialogs.h"
#include "Stashwell/Pages/Library/LibraryDownloads.h"
#include "Stashwell/Pages/Library/LibrarySelection.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/Library/LibraryPlayer.h"
#include "Stashwell/Pages/Library/LinkIntake.h"
#include "Stashwell/Presenters/ProgressedItems.h"
#include "Stashwell/Presenters/ShelfPresenter.h"
#include "Stashwell/StashwellStrings.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Inspector/BulkPanel.h"
#include "StashwellUI/Playback/InlinePlayer.h"
#include "StashwellUI/Inspector/SaveInspector.h"
#include "StashwellUI/Playback/PlayerSheet.h"
#include "StashwellUI/Saves/Paging.h"
#include "StashwellUI/Shelf/ShelfBar.h"
#include "StashwellUI/Shelf/ShelfSurface.h"
#include "StashwellUI/Shelf/ShelfTemplate.h"
#include "StashwellUI/Sidebar/CollectionCreator.h"
#include "StashwellUI/Sidebar/LibrarySidebar.h"
#include "StashwellUI/Toasts/ToastOverlay.h"
#include "StashwellUI/Window/LibraryWindowTemplate.h"
#include "StashwellUI/Window/StatusBar.h"

#include <QDialog>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace sw::app {

namespace {

// The links a drop carries: its URLs, or else each line of its text.
QList<QUrl> droppedLinks(const QMimeData *data)
{
    if (!data)
        return {};
    if (data->hasUrls())
        return data->urls();
    QList<QUrl> links;
    if (data->hasText())
        for (const QString &line : data->text().split(u'\n', Qt::SkipEmptyParts))
            if (const QString trimmed = line.trimmed(); !trimmed.isEmpty())
                links.append(QUrl(trimmed));
    return links;
}

}  // namespace

LibraryPageView::LibraryPageView(LibraryPage &page, QWidget *parent, FirstFrame first)
    : QWidget(parent), m_page(page), m_shelfPresenter(std::make_unique<ShelfPresenter>())
{
    setAcceptDrops(true);
    // One memory of each save's picture page for everything the window shows.
    m_paging = new Paging(this);
    Paging::install(this, m_paging);

    m_sidebar = new LibrarySidebar;
    m_creator = new CollectionCreator;
    m_sidebar->setCreator(m_creator);
    m_bar = new ShelfBar;
    m_emptyTrash = new GlassButton(StashwellStrings::libraryEmptyTrash(), QString(), Tone::danger);
    m_emptyTrash->hide();
    m_bar->setTrailing(m_emptyTrash);
    m_content = new ShelfTemplate;
    m_inspectorColumn = new QWidget;
    m_inspectorColumn->setLayout(new QStackedLayout);
    m_status = new StatusBar;
    m_frame = new LibraryWindowTemplate(m_sidebar, m_bar, m_content, m_inspectorColumn, m_status, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_frame);

    m_shelfPresenter->setView(m_content);
    m_toast = new ToastOverlay(&m_page.toast(), m_content);
    m_dialogs = new LibraryDialogs(m_page, this, this);

    // The page's state, redrawn once a turn.
    m_turn.setSingleShot(true);
    m_turn.setInterval(0);
    connect(&m_turn, &QTimer::timeout, this, &LibraryPageView::refresh);
    connect(&m_page, &LibraryPage::shelfChanged, this, [this] { mark(partShelf); });
    connect(&m_page, &LibraryPage::itemsChanged, this, [this] { mark(partItems); });
    connect(&m_page, &LibraryPage::filterChanged, this, [this] { mark(partFilter); });
    connect(&m_page, &LibraryPage::queryChanged, this, [this] { mark(partQuery); });
    connect(&m_page, &LibraryPage::layoutChanged, this, [this] { mark(partLayout); });
    connect(&m_page.selection(), &LibrarySelection::selectionChanged, this, [this] { mark(partSelection); });
    connect(&m_page.selection(), &LibrarySelection::chosenChanged, this, [this] { mark(partChosen); });
    connect(&m_page.drafting(), &CollectionDrafting::draftChanged, this, [this] { mark(partDraft); });
    connect(&m_page.player(), &LibraryPlayer::playingChanged, this, [this] { mark(partPlaying); });
    connect(&m_page, &LibraryPage::searchFocusRequested, this, [this] { m_bar->setSearchFocused(true); });

    // The sidebar's requests.
    connect(m_sidebar, &LibrarySidebar::selectionChanged, &m_page, &LibraryPage::setFilter);
    connect(m_sidebar, &LibrarySidebar::captureRequested, &m_page.links(), &LinkIntake::pasteLink);
    connect(m_sidebar, &LibrarySidebar::newCollectionRequested, &m_page, [this] { m_page.drafting().newCollection(); });
    connect(m_sidebar, &LibrarySidebar::downloadMissingRequested, &m_page, [this] { m_page.downloads().downloadMissing(); });
    connect(m_sidebar, &LibrarySidebar::editCollectionRequested, &m_page.drafting(), &CollectionDrafting::editCollection);
    connect(m_sidebar, &LibrarySidebar::deleteCollectionRequested, &m_page.dialogs(), &DialogState::askToDelete);
    connect(m_sidebar, &LibrarySidebar::settingsRequested, this, &LibraryPageView::settingsRequested);
    const QPointer<LibraryPage> pagePointer(&m_page);
    m_sidebar->setDropHandler([pagePointer](const Filter &row, const QList<QUrl> &links) {
        return pagePointer && pagePointer->dropLinks(row, links);
    });
    connect(m_creator, &CollectionCreator::nameChanged, &m_page.drafting(), &CollectionDrafting::setName);
    connect(m_creator, &CollectionCreator::swatchChanged, &m_page.drafting(), &CollectionDrafting::setSwatch);
    connect(m_creator, &CollectionCreator::createRequested, &m_page.drafting(), &CollectionDrafting::save);
    connect(m_creator, &CollectionCreator::cancelRequested, &m_page.drafting(), &CollectionDrafting::cancel);

    // The bar's.
    connect(m_bar, &ShelfBar::layoutChosen, &m_page, &LibraryPage::setLayout);
    connect(m_bar, &ShelfBar::queryChanged, &m_page, &LibraryPage::setQuery);
    connect(m_bar, &ShelfBar::saveLinkRequested, &m_page.links(), &LinkIntake::saveLink);
    connect(m_emptyTrash, &QAbstractButton::clicked, &m_page.dialogs(), &DialogState::askToEmptyTrash);

    // The shelf's.
    ShelfPresenter *shelf = m_shelfPresenter.get();
    connect(shelf, &ShelfPresenter::filterChanged, &m_page, [this] { m_page.setFilter(m_shelfPresenter->filter()); });
    connect(shelf, &ShelfPresenter::selectionChanged, &m_page, [this] { m_page.selection().setCurrent(m_shelfPresenter->selection()); });
    connect(shelf, &ShelfPresenter::downloadMissingRequested, &m_page, [this] { m_page.downloads().downloadMissing(); });
    connect(shelf, &ShelfPresenter::intentRaised, &m_page,
            [this](const ShelfItem &item, const SaveIntent &intent) { m_page.handle(intent, item); });
    connect(shelf, &ShelfPresenter::deleteSelectionRequested, &m_page.selection(), &LibrarySelection::trashActedOn);
    connect(shelf, &ShelfPresenter::selectAllRequested, &m_page.selection(), &LibrarySelection::selectAll);

    // The bar lies over the top of the shelf: the shelf's column starts below it.
    const auto underTheBar = [this](const QMargins &insets) {
        m_content->surface().setPadding({ShelfTemplate::sidePadding, ShelfTemplate::topPadding + insets.top(),
                                         ShelfTemplate::sidePadding, ShelfTemplate::bottomPadding});
        m_content->surface().setCoveredTop(insets.top());
    };
    connect(m_frame, &LibraryWindowTemplate::contentSafeAreaInsetsChanged, this, underTheBar);
    underTheBar(m_frame->contentSafeAreaInsets());
    m_frame->followContentScroll(m_content->surface().verticalScrollBar());
    m_content->surface().setBackdrop(m_frame->canvas());

    // The frame's inspector column closed by the user.
    connect(m_frame, &LibraryWindowTemplate::showsInspectorChanged, &m_page, [this](bool shows) {
        if (!shows)
            m_page.selection().setInspectorShown(false);
    });

    connect(&m_page, &LibraryPage::firstFrameReached, this, &LibraryPageView::releaseCounts);
    m_countsHeld = first == FirstFrame::countsAfterFirstFrame && !m_page.hasShownFirstFrame();
    if (m_countsHeld)
        m_sidebar->setContent(m_page.uncountedSidebarContent());
    m_dirty = partAll;
    refresh();
}

void LibraryPageView::releaseCounts()
{
    if (!m_countsHeld)
        return;
    m_countsHeld = false;
    // In this turn: the frame without them is already on screen.
    refresh();
}

LibraryPageView::~LibraryPageView()
{
    closePlayerDialog();
    // The shelf presenter lets go of its frame before the frame goes.
    m_shelfPresenter->setView(nullptr);
}

SaveInspector *LibraryPageView::inspector() const
{
    return m_inspector && m_inspector->isVisibleTo(m_inspectorColumn) ? m_inspector.data() : nullptr;
}

BulkPanel *LibraryPageView::bulkPanel() const
{
    return m_bulk && m_bulk->isVisibleTo(m_inspectorColumn) ? m_bulk.data() : nullptr;
}

QDialog *LibraryPageView::playerDialog() const { return m_player; }

PlayerSheet *LibraryPageView::playerSheet() const { return m_playerSheet; }

void LibraryPageView::mark(unsigned parts)
{
    m_dirty |= parts;
    // What the shelf shows is drawn again in that turn: painting ahead over the column that is
    // about to go would only delay it.
    if (parts & ~(partDraft | partPlaying))
        m_content->surface().holdPrepare();
    // Posted at the normal priority, ahead of the window's update request (posted at a low one):
    // what the input changed is in the frame that shows the input's own feedback (a row's
    // selection, a letter typed), not in one after it.
    if (!m_turnPosted) {
        m_turnPosted = true;
        QCoreApplication::postEvent(this, new QEvent(turnEvent()), Qt::NormalEventPriority);
    }
}

QEvent::Type LibraryPageView::turnEvent()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

bool LibraryPageView::event(QEvent *event)
{
    if (event->type() == turnEvent()) {
        m_turnPosted = false;
        refresh();
        return true;
    }
    return QWidget::event(event);
}

void LibraryPageView::refreshNow()
{
    m_refreshingNow = true;
    if (m_dirty)
        refresh();
    m_refreshingNow = false;
    m_shelfPresenter->refreshNow();
}

void LibraryPageView::refreshShelf()
{
    // Timed with the shelf's own redraw, which follows in this turn: what a new projection costs
    // the window decides how often a download's progress may ask for one.
    QElapsedTimer timer;
    timer.start();
    m_shelfPresenter->setShelf(m_page.shelf());
    m_shelfPresenter->refreshNow();
    m_sidebar->setContent(m_page.sidebarContent());
    const LibraryPage::Status status = m_page.status();
    m_status->setItems(status.items);
    m_status->setOnDisk(status.onDisk);
    m_status->setFolder(status.folder);
    m_page.setProgressRefreshCost(double(timer.nsecsElapsed()) / 1e6);
}

void LibraryPageView::refreshItems()
{
    // Only these saves' items changed: the shelf renews them (its surface repaints their cells),
    // the inspector or the bulk panel follows when it shows one of them, and the storage figures
    // are taken again; the counts, the sections and the orders stand.
    const QList<PostLink> links = m_page.takeProgressed();
    if (links.isEmpty())
        return;
    m_shelfPresenter->renewItems(m_page.shelf(), links);
    m_shelfPresenter->refreshNow();
    m_sidebar->setContent(m_page.sidebarContent());
    m_status->setOnDisk(m_page.sidebarContent().onDisk);
    bool inspected = m_page.selection().chosen().size() >= 2;
    if (const std::optional<ShelfItem> selected = m_page.selection().currentItem())
        inspected = inspected || ProgressedItems::touches(*selected, links);
    if (inspected)
        refreshInspector();
}

void LibraryPageView::refresh()
{
    m_turn.stop();
    // Before the first frame, only what needs no count of the library: the rest waits, marked.
    constexpr unsigned counting = partShelf | partItems | partChosen | partPlaying;
    const unsigned held = m_countsHeld ? counting : 0u;
    const unsigned dirty = m_dirty & ~held;
    m_dirty &= held;
    if (!dirty) {
        m_content->surface().releasePrepare();
        return;
    }
    const Shelf &shelf = m_page.shelf();

    // The shelf presenter's inputs first, so that it works its arrangement out once.
    if (dirty & partFilter) {
        m_sidebar->setSelection(m_page.filter());
        m_shelfPresenter->setFilter(m_page.filter());
    }
    if (dirty & partQuery) {
        m_shelfPresenter->setQuery(m_page.query());
        if (m_bar->query() != m_page.query())
            m_bar->setQuery(m_page.query());
    }
    if (dirty & partLayout) {
        m_shelfPresenter->setLayout(m_page.layout());
        m_bar->setShelfLayout(m_page.layout());
    }
    if (dirty & partSelection)
        m_shelfPresenter->setSelection(m_page.selection().current());
    if (dirty & partChosen)
        m_shelfPresenter->setHighlighted(m_page.selection().chosen());
    if (dirty & (partShelf | partFilter)) {
        const QString title = m_page.title(shelf);
        m_bar->setTitle(title);
        m_shelfPresenter->setTitle(title);
        if (!m_countsHeld)
            m_emptyTrash->setVisible(m_page.showsEmptyTrashButton());
    }
    if (m_countsHeld) {
        // The shelf's presenter has its inputs; with no shelf given yet it draws nothing (not even
        // its empty state), so the column stays blank until the counted shelf arrives.
        if (dirty & partDraft)
            refreshCreator();
        m_content->surface().releasePrepare();
        return;
    }
    if (dirty & partShelf) {
        // A full refresh shows the progress too.
        m_page.takeProgressed();
        refreshShelf();
    } else if (dirty & partItems) {
        refreshItems();
    }
    if (dirty & (partShelf | partFilter | partQuery))
        // The shelf's own visible order: the saves it shows are the ones the subtitle counts.
        m_bar->setSubtitle(StashwellStrings::titleSavedCount(qint64(m_shelfPresenter->visibleCount())));
    // The bulk panel lists the chosen saves the search shows: a new search changes it too.
    if (dirty & (partShelf | partFilter | partQuery | partSelection | partChosen | partInspector)) {
        // A click or an arrow that only moves the selection shows on the shelf in the next frame,
        // and the inspector (the larger repaint, with its layout) follows in the turn after that
        // frame: the shelf's answer to the input is not kept waiting for the inspector's. Not
        // when the column opens or closes: the shelf takes its new width in the same frame, or
        // it would be laid out twice.
        const bool selectionAlone = !(dirty & ~(partSelection | partChosen | partInspector)) && (dirty & partSelection);
        const bool columnStays = m_frame->showsInspector() == m_page.selection().inspectorShown();
        if (selectionAlone && columnStays && !m_refreshingNow && isVisible()) {
            m_dirty |= partInspector;
            m_turn.start();
        } else {
            refreshInspector();
        }
    }
    if (dirty & (partShelf | partDraft))
        refreshCreator();
    if (dirty & (partShelf | partPlaying))
        refreshPlayer();
    // The shelf's column in this turn too, once all its inputs are set: that is what the next
    // paint of the window shows.
    m_shelfPresenter->refreshNow();
    m_content->surface().releasePrepare();
}

void LibraryPageView::refreshInspector()
{
    auto *stack = static_cast<QStackedLayout *>(m_inspectorColumn->layout());
    LibrarySelection &selection = m_page.selection();
    const bool shows = selection.inspectorShown();
    if (selection.chosen().size() >= 2) {
        if (!m_bulk) {
            m_bulk = new BulkPanel;
            connect(m_bulk, &BulkPanel::downloadRequested, &m_page.downloads(), &LibraryDownloads::downloadChosen);
            connect(m_bulk, &BulkPanel::fileRequested, &selection, &LibrarySelection::fileChosen);
            connect(m_bulk, &BulkPanel::favouriteRequested, &selection, &LibrarySelection::favouriteChosen);
            connect(m_bulk, &BulkPanel::trashRequested, &selection, &LibrarySelection::trashActedOn);
            connect(m_bulk, &BulkPanel::restoreRequested, &selection, &LibrarySelection::restoreChosen);
            connect(m_bulk, &BulkPanel::deselectRequested, &selection, &LibrarySelection::clear);
            stack->addWidget(m_bulk);
        }
        m_bulk->setItems(selection.chosenItems());
        m_bulk->setCollections(m_page.shelf().library().collections);
        stack->setCurrentWidget(m_bulk);
    } else if (const std::optional<ShelfItem> item = selection.currentItem()) {
        const Shelf &shelf = m_page.shelf();
        if (!m_inspector) {
            m_inspector = new SaveInspector(*item, shelf.library().collections, shelf.localMedia().folder(), shelf.now());
            m_inspector->setHomePath(QDir::homePath());
            connect(m_inspector, &SaveInspector::intentRaised, this, &LibraryPageView::inspectorIntent);
            stack->addWidget(m_inspector);
        } else {
            m_inspector->setItem(*item);
            m_inspector->setCollections(shelf.library().collections);
            m_inspector->setFolder(shelf.localMedia().folder());
            m_inspector->setNow(shelf.now());
        }
        stack->setCurrentWidget(m_inspector);
    }
    // The column's content stays while it slides away; only what it shows next replaces it.
    if (m_frame->showsInspector() != shows) {
        const QSignalBlocker quiet(m_frame);
        m_frame->setShowsInspector(shows);
    }
}

void LibraryPageView::inspectorIntent(const Save::ID &id, const SaveIntent &intent)
{
    const std::optional<ShelfItem> item = m_page.selection().currentItem();
    if (item && item->save().id() == id)
        m_page.handle(intent, *item);
}

void LibraryPageView::refreshCreator()
{
    const CollectionDrafting &drafting = m_page.drafting();
    const std::optional<CollectionDraft> &draft = drafting.draft();
    if (!draft) {
        m_sidebar->setCreating(std::nullopt);
        return;
    }
    {
        // The creator reports what it is set to as if typed; the page already holds it.
        const QSignalBlocker quiet(m_creator);
        m_creator->setName(draft->name);
        m_creator->setSwatch(draft->swatch);
    }
    m_creator->setProblem(drafting.nameProblem());
    m_creator->setCanCreate(drafting.canCreate());
    m_creator->setFilesSave(draft->filing.has_value());
    m_creator->setConfirmTitle(drafting.confirmTitle());
    m_sidebar->setCreating(draft->editing ? CreatorPlace::editing(*draft->editing) : CreatorPlace::makeNew());
}

void LibraryPageView::refreshPlayer()
{
    LibraryPlayer &player = m_page.player();
    const std::optional<Save::ID> &playing = player.playing();
    if (!playing) {
        closePlayerDialog();
        return;
    }
    if (m_player && m_playerSave == playing)
        return;
    closePlayerDialog();
    const std::optional<LibraryPlayer::Content> content = player.content();
    if (!content) {
        // Nothing to play (the file went): no empty sheet that only Escape could close.
        player.close();
        return;
    }
    auto *dialog = new QDialog(window());
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *sheet = new PlayerSheet(content->url, content->item.save().post(), dialog);
    layout->addWidget(sheet);
    const QUrl file = content->url;
    const ShelfItem item = content->item;
    connect(sheet, &PlayerSheet::revealRequested, &player, [&player, file] { player.reveal(file); });
    connect(sheet, &PlayerSheet::openOriginalRequested, &player, [&player, item] { player.openOriginal(item); });
    connect(sheet, &PlayerSheet::closeRequested, &player, &LibraryPlayer::close);
    // Closed by the window system: the page forgets the request.
    connect(dialog, &QDialog::finished, &m_page, [this, dialog] {
        if (m_player == dialog)
            m_page.player().close();
    });
    m_player = dialog;
    m_playerSheet = sheet;
    m_playerSave = playing;
    dialog->open();
}

void LibraryPageView::closePlayerDialog()
{
    QDialog *dialog = m_player;
    m_player = nullptr;
    m_playerSheet = nullptr;
    m_playerSave.reset();
    if (dialog) {
        dialog->disconnect(&m_page);
        dialog->close();
    }
}

void LibraryPageView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_page.appear();
    // The page's work that the first frame does not need waits until the window has drawn it.
    if (!m_page.hasShownFirstFrame() && !m_awaitedFrame) {
        m_awaitedFrame = window();
        m_awaitedFrame->installEventFilter(this);
    }
}

bool LibraryPageView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && watched == m_awaitedFrame) {
        watched->removeEventFilter(this);
        m_awaitedFrame = nullptr;
        // The next turn: the paint (the window's, then its children's) ends first. The page may
        // be gone by then, the view with it.
        QTimer::singleShot(0, &m_page, &LibraryPage::firstFrameShown);
    }
    return QWidget::eventFilter(watched, event);
}

void LibraryPageView::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedLinks(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void LibraryPageView::dragMoveEvent(QDragMoveEvent *event)
{
    if (!droppedLinks(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void LibraryPageView::dropEvent(QDropEvent *event)
{
    if (m_page.links().openDropped(droppedLinks(event->mimeData())))
        event->acceptProposedAction();
    else
        event->ignore();
}

}  // namespace sw::app
