#include "WalkWorld.h"

#include "StashKit/Curator.h"
#include "StashKit/FileArchive.h"
#include "Shelf/Shelf.h"
#include "Stashwell/Commands/MenuCommands.h"
#include "Stashwell/Pages/Library/LibraryDialogs.h"
#include "Stashwell/Pages/Library/CollectionDrafting.h"
#include "Stashwell/Pages/Library/DialogState.h"
#include "Stashwell/Pages/Library/LibraryDownloads.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/Library/LibraryPlayer.h"
#include "Stashwell/Pages/Library/LinkIntake.h"
#include "Stashwell/Pages/Library/LibrarySelection.h"
#include "Stashwell/Pages/Library/LibraryUndo.h"
#include "Stashwell/Pages/Library/LibraryPageView.h"
#include "Stashwell/Pages/SaveLink/SaveLinkPresenter.h"
#include "Stashwell/Presenters/ShelfPresenter.h"
#include "Stashwell/Preferences/Preferences.h"
#include "Stashwell/Window/LibraryWindow.h"
#include "StashwellUI/Controls/FilterChip.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/SidebarRow.h"
#include "StashwellUI/Controls/SearchField.h"
#include "StashwellUI/Inspector/BulkPanel.h"
#include "StashwellUI/Inspector/SaveInspector.h"
#include "StashwellUI/Playback/InlinePlayer.h"
#include "StashwellUI/Playback/PlayerSheet.h"
#include "StashwellUI/SaveLink/SaveLinkSheet.h"
#include "StashwellUI/Saves/LatestSaveHero.h"
#include "StashwellUI/Saves/SaveCard.h"
#include "StashwellUI/Saves/SaveRow.h"
#include "StashwellUI/Shelf/ShelfBar.h"
#include "StashwellUI/Shelf/ShelfCollection.h"
#include "StashwellUI/Shelf/ShelfSurface.h"
#include "StashwellUI/Sidebar/CollectionCreator.h"
#include "StashwellUI/Sidebar/LibrarySidebar.h"
#include "StashwellUI/Toasts/ToastBubble.h"
#include "StashwellUI/Toasts/ToastOverlay.h"
#include "StashwellUI/Window/LibraryWindowTemplate.h"

#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QDropEvent>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUndoStack>

namespace sw::walk {

using namespace sw::app;
using test::HttpReply;
using test::HttpRequest;

namespace {

QByteArray statusDocument(const QByteArray &handle, int n, const QList<QPair<QByteArray, QByteArray>> &media)
{
    QByteArray all;
    for (const auto &[type, url] : media) {
        if (!all.isEmpty())
            all += ',';
        all += R"({"type":")" + type + R"(","url":")" + url + R"(","duration":2})";
    }
    return R"({"code":200,"tweet":{"text":"Post )" + QByteArray::number(n) + R"( about kites and rain","created_timestamp":)"
        + QByteArray::number(1700000000 + n) + R"(,"author":{"name":"Some One","screen_name":")" + handle
        + R"("},"media":{"all":[)" + all + "]}}}";
}

// The saves on the surface, top to bottom, as (block, index) of its collections.
struct Place {
    qsizetype block;
    qsizetype index;
};

QList<Place> places(const ShelfSurface &surface)
{
    QList<Place> out;
    const auto &blocks = surface.blocks();
    for (qsizetype b = 0; b < blocks.size(); ++b)
        if (const auto *c = std::get_if<ShelfCollection>(&blocks.at(b)))
            for (qsizetype i = 0; i < c->items.size(); ++i)
                out.append(Place{b, i});
    return out;
}

QStringList idsOf(const QList<ShelfItem> &items)
{
    QStringList out;
    for (const ShelfItem &item : items)
        out.append(item.save().id().text());
    return out;
}

void dragLinksOnto(QWidget *target, QMimeData &data)
{
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
}

void press(QWidget *button)
{
    if (button && button->isVisible() && button->isEnabled())
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}

}  // namespace

World::World()
{
    if (!m_dir.isValid() || !m_server.listen())
        qFatal("the walk has no temporary folder or loopback server");
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(QColor(40, 120, 200));
    QBuffer buffer(&m_picture);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    m_server.setHandler([this](const HttpRequest &request) { return answer(request); });

    StashwellApp::Options options;
    options.preferencesPath = m_dir.filePath(QStringLiteral("config/Stashwell/preferences.json"));
    options.folders = Curator::Folders{m_dir.filePath(QStringLiteral("data/Stashwell")),
                                       m_dir.filePath(QStringLiteral("Videos/Stashwell"))};
    options.askDesktop = false;
    options.tray = false;
    options.apiBase = Url::parse(m_server.url(QString()).toString());
    Preferences(options.preferencesPath).setValue(Preferences::networkRoute, QStringLiteral("direct"));
    m_app = std::make_unique<StashwellApp>(options);
    m_app->start();
    QObject::connect(&m_app->curator(), &Curator::localMediaChanged, [this] { m_mediaMoved = true; });
    m_app->libraryWindow().resize(1280, 800);
    settle();
}

World::~World() = default;

HttpReply World::answer(const HttpRequest &request) const
{
    const QList<QByteArray> parts = request.path().split('/');
    const auto base = m_server.url(QString()).toString().toUtf8();
    if (parts.size() == 4 && parts.at(2) == "status") {
        const QByteArray &handle = parts.at(1);
        const int n = parts.at(3).toInt();
        if (handle == "broken")
            return HttpReply::withStatus(500, "down");
        if (handle == "gone")
            return HttpReply::json(R"({"code":404,"message":"NOT_FOUND"})");
        QList<QPair<QByteArray, QByteArray>> media;
        const QByteArray digits = QByteArray::number(n);
        switch (n % 5) {
        case 1: media = {{"photo", base + "/media/ok/" + digits + ".png"}}; break;
        case 2: media = {{"photo", base + "/media/fail/" + digits + ".png"}}; break;
        case 3: media = {{"video", base + "/media/slow/" + digits + ".mp4"}}; break;
        case 4: media = {{"photo", base + "/media/ok/" + digits + "a.png"}, {"photo", base + "/media/ok/" + digits + "b.png"}}; break;
        default: break;
        }
        HttpReply reply = HttpReply::json(statusDocument(handle, n, media));
        if (handle == "slow")
            reply.delay = std::chrono::milliseconds(120);
        return reply;
    }
    if (parts.size() == 4 && parts.at(1) == "media") {
        if (parts.at(2) == "fail")
            return HttpReply::withStatus(500, "no picture");
        if (parts.at(2) == "slow")
            return HttpReply::ok(QByteArray(6000, 'v'), "video/mp4").inPieces(1000, std::chrono::milliseconds(40));
        return HttpReply::ok(m_picture, "image/png");
    }
    if (parts.size() == 3 && parts.at(1) == "page")
        return HttpReply::html("<html><head><title>Page " + parts.at(2) + "</title></head><body>Words</body></html>");
    return HttpReply::withStatus(404);
}

LibraryPageView &World::view() const
{
    auto *view = qobject_cast<LibraryPageView *>(m_app->libraryWindow().page());
    if (!view)
        qFatal("the library window holds no library page");
    return *view;
}

void World::settle()
{
    // Coalesced refreshes run in the next turn, and what they schedule in the one after. A change
    // of the local media is shown once the page's turns for progress have passed: while the media
    // keep moving, the window is given that long again, a few times (check() waits for the rest).
    for (int round = 0; round < 1; ++round) {
        for (int turn = 0; turn < 4; ++turn) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        if (!m_mediaMoved)
            return;
        m_mediaMoved = false;
        // The items' turn looks at the change first; a change that is more than progress then
        // waits for the progress turn.
        QTest::qWait(LibraryPage::progressRefreshMs + m_app->libraryPage().progressRefreshInterval() + 5);
    }
}

bool World::blocked() const { return QApplication::activeModalWidget() != nullptr; }

void World::run(const Step &step)
{
    // While a sheet or an alert is up the window under it takes no input: only what a user can
    // still do then is done.
    const bool free = !blocked();
    switch (step.act) {
    case Act::saveLink: saveLink(step); break;
    case Act::closeSheet: closeSheet(); break;
    case Act::click: if (free) clickItem(step, false); break;
    case Act::doubleClick: if (free) clickItem(step, true); break;
    case Act::cardTrash: if (free) pressCardPart(step, true); break;
    case Act::cardAction: if (free) pressCardPart(step, false); break;
    case Act::key: if (free) key(step); break;
    case Act::selectAll: if (free) selectAll(step); break;
    case Act::undo:
        if (free && m_app->commands().undo()->isEnabled())
            m_app->commands().undo()->trigger();
        break;
    case Act::redo:
        if (free && m_app->commands().redo()->isEnabled())
            m_app->commands().redo()->trigger();
        break;
    case Act::toastUndo: if (free) toastUndo(); break;
    case Act::inspector: if (free) inspector(step); break;
    case Act::bulk: if (free) bulk(step); break;
    case Act::newCollection: if (free) newCollection(step); break;
    case Act::editCollection: if (free) editCollection(step); break;
    case Act::deleteCollection: if (free) deleteCollection(step); break;
    case Act::dropOnRow: if (free) dropOnRow(step); break;
    case Act::downloadMissing:
        if (free && m_app->commands().downloadMissing()->isEnabled())
            m_app->commands().downloadMissing()->trigger();
        break;
    case Act::emptyTrash: if (free) emptyTrash(step); break;
    case Act::dialog: dialog(step); break;
    case Act::filter: if (free) filter(step); break;
    case Act::search: if (free) search(step); break;
    case Act::layout:
        if (free)
            emit view().bar().layoutChosen(step.a % 2 ? ShelfLayout::list : ShelfLayout::grid);
        break;
    case Act::player: player(step); break;
    case Act::resize: resize(step); break;
    case Act::look: look(step); break;
    case Act::wait: QTest::qWait(int(step.a % 80)); break;
    case Act::count: break;
    }
    settle();
}

void World::saveLink(const Step &step)
{
    SaveLinkPresenter *presenter = m_app->saveLinkSheets();
    auto sheetUp = [&] { return presenter && presenter->sheet() && presenter->sheet()->isVisible(); };
    if (blocked() && !sheetUp())
        return;
    const int n = int(step.a % 40);
    const unsigned how = step.b % 8;
    if (!sheetUp()) {
        const QString number = QString::number(n);
        QString link;
        switch (how) {
        case 5: link = QStringLiteral("https://x.com/slow/status/") + number; break;
        case 6: link = QStringLiteral("https://x.com/broken/status/") + number; break;
        case 7: link = QStringLiteral("https://x.com/gone/status/") + number; break;
        case 4: link = m_server.url(QStringLiteral("/page/") + number).toString(); break;
        default: link = QStringLiteral("https://x.com/someone/status/") + number; break;
        }
        if (how == 3) {
            // The bar's Save Link, and the link typed into the empty sheet (a word now and then).
            emit view().bar().saveLinkRequested();
            settle();
            if (!sheetUp())
                return;
            QTest::keyClicks(presenter->sheet()->linkField(), step.a % 7 == 0 ? QStringLiteral("not a link") : link);
            QTest::keyClick(presenter->sheet()->linkField(), Qt::Key_Return);
        } else {
            QMimeData data;
            data.setUrls({QUrl(link)});
            dragLinksOnto(&view(), data);
        }
        settle();
        if (how == 5)
            return;   // left fetching: later steps meet it
    }
    if (!QTest::qWaitFor([&] { return !sheetUp() || !presenter->sheet()->phase().isFetching(); }, 3000))
        return;
    if (!sheetUp())
        return;
    SaveLinkSheet *sheet = presenter->sheet();
    if (sheet->phase().isFound()) {
        emit sheet->downloadsMediaChanged(step.b / 8 % 2 == 0);
        press(sheet->mainButton());
        (void)QTest::qWaitFor([&] { return !sheetUp(); }, 3000);
    } else {
        press(sheet->cancelButton());
    }
}

void World::closeSheet()
{
    SaveLinkPresenter *presenter = m_app->saveLinkSheets();
    if (presenter && presenter->sheet() && presenter->sheet()->isVisible())
        QTest::keyClick(presenter->sheet(), Qt::Key_Escape);
}

void World::clickItem(const Step &step, bool twice)
{
    ShelfSurface *surface = view().shelfPresenter().surface();
    if (!surface)
        return;
    const QList<Place> all = places(*surface);
    if (all.isEmpty())
        return;
    const Place place = all.at(step.a % all.size());
    const ShelfItem item = *surface->item(place.block, place.index);
    surface->scrollToItem(item.save().id());
    settle();
    const auto found = surface->find(item.save().id());
    if (!found)
        return;
    const auto &collection = std::get<ShelfCollection>(surface->blocks().at(found->block));
    const QRectF rect = surface->itemRect(found->block, found->index);
    const bool selected = collection.isSelected(item.save().id());
    const QPointF at = collection.layout == ShelfLayout::grid
        ? SaveCard(item, collection.now, selected).layout(rect, {}).body.center()
        : SaveRow(item, collection.now, selected).layout(rect).body.center();
    const Qt::KeyboardModifiers modifiers[] = {Qt::NoModifier, Qt::ControlModifier, Qt::ShiftModifier};
    if (twice)
        QTest::mouseDClick(surface->viewport(), Qt::LeftButton, Qt::NoModifier, at.toPoint());
    else
        QTest::mouseClick(surface->viewport(), Qt::LeftButton, modifiers[step.b % 3], at.toPoint());
}

void World::pressCardPart(const Step &step, bool trash)
{
    ShelfSurface *surface = view().shelfPresenter().surface();
    if (!surface)
        return;
    const QList<Place> all = places(*surface);
    if (all.isEmpty())
        return;
    const Place place = all.at(step.a % all.size());
    const ShelfItem item = *surface->item(place.block, place.index);
    surface->scrollToItem(item.save().id());
    settle();
    const auto found = surface->find(item.save().id());
    if (!found)
        return;
    const auto &collection = std::get<ShelfCollection>(surface->blocks().at(found->block));
    const QRectF rect = surface->itemRect(found->block, found->index);
    const bool selected = collection.isSelected(item.save().id());
    std::optional<QRectF> target;
    if (collection.layout == ShelfLayout::grid) {
        SaveCard::ViewState hovered;
        hovered.hovered = true;
        hovered.hover = 1;
        const SaveCard::Layout layout = SaveCard(item, collection.now, selected).layout(rect, hovered);
        target = trash ? layout.trash : std::optional<QRectF>(layout.pill);
    } else {
        const SaveRow::Layout layout = SaveRow(item, collection.now, selected).layout(rect);
        target = trash ? layout.trash : std::optional<QRectF>(layout.pill);
    }
    if (!target)
        return;
    // The pointer comes over the card first: its buttons show while it is hovered.
    QTest::mouseMove(surface->viewport(), rect.center().toPoint());
    QTest::mouseMove(surface->viewport(), target->center().toPoint());
    QTest::mouseClick(surface->viewport(), Qt::LeftButton, Qt::NoModifier, target->center().toPoint());
}

void World::key(const Step &step)
{
    static const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,     Qt::Key_Down,     Qt::Key_Return,
                                   Qt::Key_Space, Qt::Key_Escape, Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Right};
    QWidget *target = QApplication::focusWidget();
    if (!target || step.b % 3 == 0) {
        // A click into the shelf's empty corner takes the focus there first.
        target = view().shelfPresenter().surface();
        if (!target)
            return;
        target->setFocus(Qt::MouseFocusReason);
    }
    QTest::keyClick(target, keys[step.a % std::size(keys)]);
}

void World::selectAll(const Step &step)
{
    if (step.b % 2)
        if (ShelfSurface *surface = view().shelfPresenter().surface())
            surface->setFocus(Qt::MouseFocusReason);
    if (m_app->commands().selectAll()->isEnabled())
        m_app->commands().selectAll()->trigger();
}

void World::toastUndo()
{
    ToastBubble &bubble = view().toastOverlay().bubble();
    if (bubble.isVisible() && bubble.offersUndo())
        bubble.undoButton().click();
}

void World::inspector(const Step &step)
{
    SaveInspector *inspector = view().inspector();
    if (!inspector)
        return;
    const Save::ID id = inspector->item().save().id();
    const QList<Collection> &collections = m_app->curator().library().collections;
    switch (step.a % 8) {
    case 0: emit inspector->intentRaised(id, SaveIntent::favourite()); break;
    case 1: emit inspector->intentRaised(id, SaveIntent::addTag(QStringLiteral("tag%1").arg(step.b % 4))); break;
    case 2:
        if (!inspector->item().save().tags().isEmpty())
            emit inspector->intentRaised(id, SaveIntent::removeTag(inspector->item().save().tags().first()));
        break;
    case 3: emit inspector->intentRaised(id, SaveIntent::note(QStringLiteral("note %1").arg(step.b % 5))); break;
    case 4: {
        const qsizetype pick = qsizetype(step.b % (collections.size() + 1));
        emit inspector->intentRaised(
            id, SaveIntent::file(pick < collections.size() ? std::optional(collections.at(pick).id) : std::nullopt));
        break;
    }
    case 5: emit inspector->intentRaised(id, SaveIntent::removeLocalCopy()); break;
    case 6: emit inspector->intentRaised(id, SaveIntent::close()); break;
    default: emit inspector->intentRaised(id, SaveIntent::trash()); break;
    }
}

void World::bulk(const Step &step)
{
    BulkPanel *panel = view().bulkPanel();
    if (!panel)
        return;
    const QList<Collection> &collections = m_app->curator().library().collections;
    switch (step.a % 6) {
    case 0: emit panel->trashRequested(); break;
    case 1: emit panel->restoreRequested(); break;
    case 2: emit panel->favouriteRequested(); break;
    case 3: {
        const qsizetype pick = qsizetype(step.b % (collections.size() + 1));
        emit panel->fileRequested(pick < collections.size() ? std::optional(collections.at(pick).id) : std::nullopt);
        break;
    }
    case 4: emit panel->downloadRequested(); break;
    default: emit panel->deselectRequested(); break;
    }
}

void World::newCollection(const Step &step)
{
    static const QString names[] = {QStringLiteral("Trips"), QStringLiteral("Recipes"), QStringLiteral("trips "),
                                    QString(), QStringLiteral("Reading")};
    emit view().sidebar().newCollectionRequested();
    settle();
    CollectionCreator &creator = view().creator();
    emit creator.nameChanged(names[step.a % std::size(names)]);
    emit creator.swatchChanged(allSwatches.at(step.b % allSwatches.size()));
    settle();
    if (step.b / 8 % 3 == 2)
        emit creator.cancelRequested();
    else
        emit creator.createRequested();
}

void World::editCollection(const Step &step)
{
    const QList<Collection> &collections = m_app->curator().library().collections;
    if (collections.isEmpty())
        return;
    emit view().sidebar().editCollectionRequested(collections.at(step.a % collections.size()).id);
    settle();
    static const QString names[] = {QStringLiteral("Trips"), QStringLiteral("Later"), QStringLiteral("Recipes")};
    emit view().creator().nameChanged(names[step.b % std::size(names)]);
    settle();
    emit view().creator().createRequested();
}

void World::deleteCollection(const Step &step)
{
    const QList<Collection> &collections = m_app->curator().library().collections;
    if (collections.isEmpty())
        return;
    emit view().sidebar().deleteCollectionRequested(collections.at(step.a % collections.size()).id);
    settle();
    dialog(step);
}

void World::dropOnRow(const Step &step)
{
    ShelfSurface *surface = view().shelfPresenter().surface();
    if (!surface)
        return;
    const QList<Place> all = places(*surface);
    const QList<Filter> rows = view().sidebar().rowFilters();
    if (all.isEmpty() || rows.isEmpty())
        return;
    const Place place = all.at(step.a % all.size());
    QWidget *row = static_cast<QWidget *>(view().sidebar().row(rows.at(step.b % rows.size())));
    if (!row)
        return;
    std::unique_ptr<QMimeData> data(surface->dragData(place.block, place.index));
    if (data)
        dragLinksOnto(row, *data);
}

void World::emptyTrash(const Step &step)
{
    if (!m_app->commands().emptyTrash()->isEnabled())
        return;
    m_app->commands().emptyTrash()->trigger();
    settle();
    dialog(step);
}

void World::dialog(const Step &step)
{
    LibraryDialogs &dialogs = view().dialogs();
    if (dialogs.shown() == LibraryDialogs::Kind::none)
        return;
    QAbstractButton *button = step.b % 2 ? dialogs.confirmButton() : dialogs.cancelButton();
    if (!button)
        button = dialogs.confirmButton() ? dialogs.confirmButton() : dialogs.cancelButton();
    if (button)
        button->click();
}

void World::filter(const Step &step)
{
    LibrarySidebar &sidebar = view().sidebar();
    QList<Filter> filters = sidebar.rowFilters();
    filters.append(sidebar.chipFilters());
    if (filters.isEmpty())
        return;
    const Filter &chosen = filters.at(step.a % filters.size());
    if (auto *row = static_cast<QWidget *>(sidebar.row(chosen)))
        press(row);
    else if (auto *chip = static_cast<QWidget *>(sidebar.chip(chosen)))
        press(chip);
    if (sidebar.selection() != chosen || step.b % 4 == 0)
        emit sidebar.selectionChanged(chosen);
}

void World::search(const Step &step)
{
    QLineEdit *field = view().bar().searchField().lineEdit();
    static const QString words[] = {QStringLiteral("kite"), QStringLiteral("someone"), QStringLiteral("zz"),
                                    QStringLiteral(" "), QStringLiteral("post 1"), QStringLiteral("tag")};
    switch (step.a % 5) {
    case 0:
    case 1: QTest::keyClicks(field, words[step.b % std::size(words)]); break;
    case 2: QTest::keyClick(field, Qt::Key_Backspace); break;
    case 3: QTest::keyClick(field, Qt::Key_Escape); break;
    default:
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        break;
    }
}

void World::player(const Step &step)
{
    PlayerSheet *sheet = view().playerSheet();
    if (!sheet)
        return;
    switch (step.a % 3) {
    case 0: emit sheet->closeRequested(); break;
    case 1: QTest::keyClick(view().playerDialog(), Qt::Key_Escape); break;
    default: emit sheet->openOriginalRequested(); break;
    }
}

void World::resize(const Step &step)
{
    static const QSize sizes[] = {{1280, 800}, {1000, 720}, {820, 600}, {1, 1}, {1600, 1000}, {700, 500}};
    m_app->libraryWindow().resize(sizes[step.a % std::size(sizes)]);
}

void World::look(const Step &step)
{
    static const char *themes[] = {"light", "dark", "system"};
    static const char *surfaces[] = {"solid", "glass"};
    if (step.a % 2)
        m_app->preferences().setValue(Preferences::theme, QLatin1String(themes[step.b % 3]));
    else
        m_app->preferences().setValue(Preferences::surface, QLatin1String(surfaces[step.b % 2]));
}

QString World::check()
{
    // What the page shows after a change of the local media waits for its turns for progress,
    // whose length follows what a refresh costs and which a loaded machine stretches: a fault
    // counts when it is still there a second and a half later, with nothing done meanwhile.
    QString faults = checkOnce();
    for (int retry = 0; !faults.isEmpty() && retry < 15; ++retry) {
        QTest::qWait(100);
        faults = checkOnce();
    }
    return faults;
}

QString World::checkOnce()
{
    Curator &curator = m_app->curator();
    LibraryPage &page = m_app->libraryPage();
    LibraryPageView &v = view();
    const Library &library = curator.library();
    QStringList faults;

    // The shelf against a projection worked out afresh from the Curator.
    const Shelf fresh(library, curator.localMedia(), curator.covers(), page.shelf().now(), curator.quality());
    const QStringList wanted = idsOf(ShelfPresenter::visibleItems(fresh, page.filter(), page.query()));
    QStringList shown;
    if (ShelfSurface *surface = v.shelfPresenter().surface()) {
        for (const auto &block : surface->blocks()) {
            if (const auto *c = std::get_if<ShelfCollection>(&block))
                shown.append(idsOf(c->items));
            else if (auto *hero = qobject_cast<LatestSaveHero *>(std::get<ShelfSurface::WidgetBlock>(block).widget.data()))
                if (hero->isVisibleTo(surface))
                    shown.append(hero->item().save().id().text());
        }
    }
    if (shown != wanted)
        faults.append(QStringLiteral("shelf: it shows [%1] where the filter and the search select [%2]")
                          .arg(shown.join(u' '), wanted.join(u' ')));
    if (v.shelfPresenter().filter() != page.filter() || v.shelfPresenter().query() != page.query())
        faults.append(QStringLiteral("shelf-input: it shows another filter or search than the page's"));

    // The selection and the chosen saves name saves that exist. Neither is emptied when an edit
    // takes its saves out of the filter (a selection outside the filter closes the inspector; the
    // bulk panel lists the chosen saves shown).
    auto exists = [&](const Save::ID &id) { return library.save(id).has_value(); };
    if (const auto &selection = page.selection().current(); selection && !exists(*selection))
        faults.append(QStringLiteral("selection-gone: ") + selection->text());
    if (v.shelfPresenter().selection() != page.selection().current())
        faults.append(QStringLiteral("shelf-selection: the shelf's selection is not the page's"));
    for (const Save::ID &id : page.selection().chosen())
        if (!exists(id))
            faults.append(QStringLiteral("chosen-gone: ") + id.text());
    if (v.shelfPresenter().highlighted() != page.selection().chosen())
        faults.append(QStringLiteral("shelf-chosen: the shelf highlights other saves than the chosen"));

    // The inspector column: the bulk panel for two chosen saves, else the selected save of the
    // filter, else closed.
    const std::optional<Save> selected = page.selection().current() ? library.save(*page.selection().current()) : std::nullopt;
    const bool selectedShown = selected && fresh.selects(page.filter(), *selected);
    if (v.frame().showsInspector() != (page.selection().chosen().size() >= 2 || selectedShown))
        faults.append(QStringLiteral("inspector-column: it %1 with %2 chosen and the selection %3")
                          .arg(v.frame().showsInspector() ? QStringLiteral("shows") : QStringLiteral("is closed"))
                          .arg(page.selection().chosen().size())
                          .arg(selectedShown ? QStringLiteral("of the filter") : QStringLiteral("none or elsewhere")));
    if (page.selection().chosen().size() >= 2) {
        QStringList chosenShown;
        for (const ShelfItem &item : ShelfPresenter::visibleItems(fresh, page.filter(), page.query()))
            if (page.selection().chosen().contains(item.save().id()))
                chosenShown.append(item.save().id().text());
        if (!v.bulkPanel())
            faults.append(QStringLiteral("bulk-missing: chosen saves without the bulk panel"));
        else if (idsOf(v.bulkPanel()->items()) != chosenShown)
            faults.append(QStringLiteral("bulk-items: the bulk panel shows [%1] of the chosen [%2]")
                              .arg(idsOf(v.bulkPanel()->items()).join(u' '), chosenShown.join(u' ')));
    } else if (selectedShown) {
        if (!v.inspector())
            faults.append(QStringLiteral("inspector-missing: a selected save without the inspector"));
        else if (v.inspector()->item().save() != *selected)
            faults.append(QStringLiteral("inspector-other: it shows %1 as it was or another save, not the selected %2")
                              .arg(v.inspector()->item().save().id().text(), selected->id().text()));
    }

    // The sidebar's counts against a full recount.
    const SidebarContent &content = v.sidebar().content();
    for (auto it = content.counts.cbegin(); it != content.counts.cend(); ++it) {
        const qsizetype recount = fresh.items(it.key()).size();
        if (it.value() != recount)
            faults.append(QStringLiteral("sidebar-count: %1 counted where there are %2 (%3)")
                              .arg(it.value())
                              .arg(recount)
                              .arg(LibraryPage::title(it.key(), library)));
    }
    if (content.collections != library.collections)
        faults.append(QStringLiteral("sidebar-collections: it lists other collections than the library's"));

    // The undo history.
    if (m_app->libraryWindow().undoStack()->count() > 100)
        faults.append(QStringLiteral("undo-limit: the stack holds %1 steps").arg(m_app->libraryWindow().undoStack()->count()));

    // Nothing refers to what is gone. (A filter of a collection that is gone stays: it shows no
    // saves under the collections' common title. So do the delete dialog and the creator of a
    // collection an undo took away: confirming does nothing, saving is refused with a message.)
    if (page.player().playing() && !exists(*page.player().playing()))
        faults.append(QStringLiteral("player-gone: the player plays a save that is gone"));

    // The document on disk, once the writes have landed.
    curator.flush();
    const auto stored = FileArchive(m_dir.filePath(QStringLiteral("data/Stashwell"))).load();
    if (!library.saves.isEmpty() || !library.collections.isEmpty()) {
        if (!stored || !*stored)
            faults.append(QStringLiteral("archive-unreadable: library.json cannot be read back"));
        else if ((*stored)->library != library)
            faults.append(QStringLiteral("archive-differs: library.json holds another library than the Curator's"));
    }
    return faults.join(QStringLiteral("\n"));
}

}  // namespace sw::walk
