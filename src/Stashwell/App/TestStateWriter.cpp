#include "Stashwell/App/TestStateWriter.h"

#include "Shelf/ShelfItem.h"
#include "Stashwell/App/InterfaceLanguage.h"
#include "Stashwell/App/StashwellApp.h"
#include "Stashwell/App/TrayIcon.h"
#include "Stashwell/Commands/MenuCommands.h"
#include "Stashwell/Pages/Settings/GeneralSettingsView.h"
#include "Stashwell/Window/SettingsWindow.h"
#include "StashwellUI/Controls/GlassButton.h"
#include "StashwellUI/Controls/GlassPicker.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/SaveLink/SaveLinkPresenter.h"
#include "Stashwell/Window/LibraryWindow.h"
#include "StashwellUI/SaveLink/SaveLinkSheet.h"
#include "StashwellUI/Controls/SearchField.h"
#include "StashwellUI/Controls/SidebarRow.h"
#include "StashwellUI/Shelf/ShelfBar.h"
#include "StashwellUI/Shelf/ShelfSurface.h"
#include "StashwellUI/Sidebar/LibrarySidebar.h"
#include "StashwellUI/Shelf/ShelfTemplate.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QMenuBar>
#include <QSystemTrayIcon>
#include <QFileInfo>
#include <QSaveFile>
#include <QScrollBar>

namespace sw::app {

namespace {

QString className(const QObject *object) { return object ? QString::fromLatin1(object->metaObject()->className()) : QString(); }

QJsonValue sheetState(const SaveLinkSheet *sheet)
{
    if (!sheet || !sheet->isVisible())
        return QJsonValue::Null;
    const SaveLinkPhase &phase = sheet->phase();
    const char *name = phase.isFound() ? "found" : phase.isFetching() ? "fetching" : "typing";
    return QJsonObject{{QStringLiteral("url"), sheet->url()}, {QStringLiteral("phase"), QString::fromLatin1(name)}};
}

QJsonArray shownCells(const ShelfSurface *surface)
{
    QJsonArray out;
    if (!surface || !surface->isVisible())
        return out;
    const QRect shown = surface->viewport()->rect();
    for (const ShelfGeometry::Visible &visible : surface->visibleItems()) {
        for (qsizetype i = visible.items.first; i < visible.items.last; ++i) {
            const ShelfItem *item = surface->item(visible.block, i);
            const QRect cell = surface->itemRect(visible.block, i).toAlignedRect().intersected(shown);
            if (!item || cell.isEmpty())
                continue;
            const QPoint centre = surface->viewport()->mapToGlobal(cell.center());
            out.append(QJsonObject{{QStringLiteral("text"), item->save().post().text},
                                   {QStringLiteral("x"), centre.x()},
                                   {QStringLiteral("y"), centre.y()}});
        }
    }
    return out;
}

QJsonObject point(QPoint centre) { return QJsonObject{{QStringLiteral("x"), centre.x()}, {QStringLiteral("y"), centre.y()}}; }

// Where a shown widget lies on screen.
void insertArea(QJsonObject &into, const QString &name, const QWidget *widget)
{
    if (!widget || !widget->isVisible())
        return;
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    into.insert(name, QJsonObject{{QStringLiteral("x"), origin.x()},
                                  {QStringLiteral("y"), origin.y()},
                                  {QStringLiteral("width"), widget->width()},
                                  {QStringLiteral("height"), widget->height()}});
}

void insertCentre(QJsonObject &into, const QString &name, const QWidget *widget)
{
    if (widget && widget->isVisible())
        into.insert(name, point(widget->mapToGlobal(widget->rect().center())));
}

// The items of the popup menu on screen (a menu of the menu bar, the tray's, a picker's).
QJsonArray openMenu()
{
    QJsonArray out;
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (!menu || !menu->isVisible())
        return out;
    for (QAction *action : menu->actions()) {
        const QRect rect = menu->actionGeometry(action);
        if (action->isSeparator() || rect.isEmpty())
            continue;
        QJsonObject item = point(menu->mapToGlobal(rect.center()));
        item.insert(QStringLiteral("text"), action->text());
        out.append(item);
    }
    return out;
}

}  // namespace

TestStateWriter::TestStateWriter(StashwellApp &app, QString path, bool listsSaves, QObject *parent)
    : QObject(parent), m_app(app), m_path(std::move(path)), m_listsSaves(listsSaves)
{
    if (!m_listsSaves) {
        m_savesStale = false;
        m_saves = "[]";
    }
    // The saves shown follow the shelf's projection, the filter and the search, nothing else.
    const auto stale = [this] { m_savesStale = m_listsSaves; };
    LibraryPage &page = m_app.libraryPage();
    connect(&page, &LibraryPage::shelfChanged, this, stale);
    connect(&page, &LibraryPage::filterChanged, this, stale);
    connect(&page, &LibraryPage::queryChanged, this, stale);
    connect(&m_timer, &QTimer::timeout, this, &TestStateWriter::write);
    m_timer.start(50);
}

QJsonObject TestStateWriter::shownState() const
{
    LibraryWindow &window = m_app.libraryWindow();
    const SaveLinkPresenter *sheets = m_app.saveLinkSheets();
    bool empty = false;
    for (const ShelfEmptyState *state : window.findChildren<ShelfEmptyState *>())
        empty = empty || state->isVisible();
    return QJsonObject{
        {QStringLiteral("active"), className(QApplication::activeWindow())},
        {QStringLiteral("focus"), className(QApplication::focusWidget())},
        {QStringLiteral("query"), m_app.libraryPage().query()},
        {QStringLiteral("empty"), empty},
        {QStringLiteral("sheet"), sheetState(sheets ? sheets->sheet() : nullptr)},
        {QStringLiteral("cells"), shownCells(window.findChild<ShelfSurface *>())},
        {QStringLiteral("language"), InterfaceLanguage::inUse()},
        {QStringLiteral("menu"), openMenu()},
        {QStringLiteral("points"), points()},
        {QStringLiteral("areas"), areas()},
        {QStringLiteral("filters"), filters()},
    };
}

QJsonArray TestStateWriter::savesShown() const
{
    QJsonArray texts;
    for (const ShelfItem &item : m_app.libraryPage().visibleItems())
        texts.append(item.save().post().text);
    return texts;
}

QJsonObject TestStateWriter::state() const
{
    QJsonObject state = shownState();
    state.insert(QStringLiteral("saves"), savesShown());
    return state;
}

QJsonObject TestStateWriter::points() const
{
    QJsonObject out;
    const LibraryWindow &window = m_app.libraryWindow();
    if (window.isVisible()) {
        const QMenuBar *bar = window.menuBar();
        const QRect file = bar->actionGeometry(m_app.commands().fileMenu()->menuAction());
        if (!file.isEmpty())
            out.insert(QStringLiteral("fileMenu"), point(bar->mapToGlobal(file.center())));
    }
    if (const auto *bar = window.findChild<ShelfBar *>()) {
        const QList<ShelfLayoutOption *> &options = bar->layoutSwitch().options();
        for (const ShelfLayoutOption *option : options)
            insertCentre(out, option->layout() == ShelfLayout::grid ? QStringLiteral("gridOption") : QStringLiteral("listOption"), option);
        insertCentre(out, QStringLiteral("search"), &bar->searchField());
    }
    if (const TrayIcon *tray = m_app.tray(); tray && tray->isVisible()) {
        const QRect icon = tray->icon()->geometry();
        if (!icon.isEmpty())
            out.insert(QStringLiteral("trayIcon"), point(icon.center()));
    }
    if (m_app.settingsWindow().isVisible()) {
        if (const auto *general = m_app.settingsWindow().findChild<GeneralSettingsView *>()) {
            const QWidget &picker = general->languagePicker();
            if (picker.isVisible())
                out.insert(QStringLiteral("languagePicker"), point(picker.mapToGlobal(picker.rect().center())));
            const QWidget &relaunch = general->relaunchButton();
            if (relaunch.isVisible())
                out.insert(QStringLiteral("relaunch"), point(relaunch.mapToGlobal(relaunch.rect().center())));
        }
    }
    return out;
}

QJsonObject TestStateWriter::areas() const
{
    QJsonObject out;
    const LibraryWindow &window = m_app.libraryWindow();
    if (const auto *surface = window.findChild<ShelfSurface *>())
        insertArea(out, QStringLiteral("shelf"), surface->viewport());
    insertArea(out, QStringLiteral("bar"), window.findChild<ShelfBar *>());
    insertArea(out, QStringLiteral("window"), &window);
    return out;
}

QJsonArray TestStateWriter::filters() const
{
    QJsonArray out;
    const auto *sidebar = m_app.libraryWindow().findChild<LibrarySidebar *>();
    if (!sidebar || !sidebar->isVisible())
        return out;
    for (const Filter &filter : sidebar->rowFilters()) {
        const SidebarRow *row = sidebar->row(filter);
        if (!row || !row->isVisible())
            continue;
        QJsonObject item = point(row->mapToGlobal(row->rect().center()));
        item.insert(QStringLiteral("text"), row->title());
        out.append(item);
    }
    return out;
}

void TestStateWriter::write()
{
    // Told to leave the saves out (a benchmark), it works only when asked, while the file is
    // missing: the hook then costs nothing while an input is being timed.
    if (!m_listsSaves) {
        if (QFileInfo::exists(m_path))
            return;
        m_unwritten = true;
    }
    QByteArray shown = QJsonDocument(shownState()).toJson(QJsonDocument::Compact);
    if (shown != m_shown) {
        m_shown = shown;
        m_unwritten = true;
    }
    if (m_savesStale) {
        m_savesStale = false;
        ++m_savesListed;
        QByteArray saves = QJsonDocument(savesShown()).toJson(QJsonDocument::Compact);
        if (saves != m_saves) {
            m_saves = std::move(saves);
            m_unwritten = true;
        }
    }
    if (!m_unwritten)
        return;
    // The object without the saves, with them as its last member: "{...}" becomes
    // "{...,"saves":[...]}".
    QByteArray text = shown;
    text.chop(1);
    if (text.size() > 1)
        text += ',';
    text += "\"saves\":" + m_saves + '}';
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return;   // tried again at the next tick
    m_unwritten = false;
    ++m_writes;
}

}  // namespace sw::app
