#include "Stashwell/Pages/Library/LibrarySelection.h"

#include "StashKit/Curator.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/Library/LibraryUndo.h"
#include "Stashwell/StashwellStrings.h"

#include <algorithm>
#include <cstdlib>

namespace sw::app {

using S = StashwellStrings;

LibrarySelection::LibrarySelection(LibraryPage &page) : QObject(&page), m_page(page) {}

void LibrarySelection::setCurrent(const std::optional<Save::ID> &current)
{
    if (m_current == current)
        return;
    m_current = current;
    emit selectionChanged();
    if (!m_current || !m_chosen.contains(*m_current))
        setChosen({});
}

void LibrarySelection::setChosen(const QSet<Save::ID> &chosen)
{
    if (m_chosen == chosen)
        return;
    m_chosen = chosen;
    emit chosenChanged();
}

void LibrarySelection::clear()
{
    setChosen({});
    setCurrent(std::nullopt);
}

void LibrarySelection::pick(const Save::ID &id, Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::ControlModifier)) {
        QSet<Save::ID> set = m_chosen;
        if (set.isEmpty() && m_current)
            set.insert(*m_current);
        if (set.contains(id))
            set.remove(id);
        else
            set.insert(id);
        setChosen(set.size() >= 2 ? set : QSet<Save::ID>());
        if (set.contains(id))
            setCurrent(id);
        else if (!set.isEmpty())
            setCurrent(*set.cbegin());
        else
            setCurrent(std::nullopt);
        return;
    }
    if (modifiers.testFlag(Qt::ShiftModifier) && m_current) {
        const QList<ShelfItem> visible = m_page.visibleItems();
        const qsizetype from = ShelfItem::indexOf(visible, *m_current);
        const qsizetype to = ShelfItem::indexOf(visible, id);
        if (from >= 0 && to >= 0) {
            QSet<Save::ID> range;
            range.reserve(std::abs(to - from) + 1);
            for (qsizetype i = std::min(from, to); i <= std::max(from, to); ++i)
                range.insert(visible.at(i).save().id());
            setChosen(range);
        }
        setCurrent(id);
        return;
    }
    setChosen({});
    setCurrent(id);
}

void LibrarySelection::selectAll(const QList<Save::ID> &ids)
{
    setChosen(QSet<Save::ID>(ids.cbegin(), ids.cend()));
    setCurrent(ids.isEmpty() ? std::nullopt : std::optional<Save::ID>(ids.last()));
}

QList<Save::ID> LibrarySelection::actedOn() const
{
    if (m_chosen.size() >= 2)
        return QList<Save::ID>(m_chosen.cbegin(), m_chosen.cend());
    if (m_current)
        return {*m_current};
    return {};
}

void LibrarySelection::forgetRemoved(const Library &library)
{
    // A save that left the library (the trash emptied) is neither current nor chosen. Looked up
    // by id: a few saves, never a walk over all.
    QSet<Save::ID> chosen;
    for (const Save::ID &id : std::as_const(m_chosen))
        if (library.save(id))
            chosen.insert(id);
    if (chosen.size() != m_chosen.size())
        setChosen(chosen.size() >= 2 ? chosen : QSet<Save::ID>());
    if (m_current && !library.save(*m_current))
        setCurrent(m_chosen.isEmpty() ? std::nullopt : std::optional<Save::ID>(*m_chosen.cbegin()));
}

QList<ShelfItem> LibrarySelection::chosenItems()
{
    QList<ShelfItem> items;
    if (m_chosen.isEmpty())
        return items;
    QSet<std::uint64_t> keys;
    keys.reserve(m_chosen.size());
    for (const Save::ID &id : std::as_const(m_chosen))
        keys.insert(ShelfItem::idKey(id));
    for (const ShelfItem &item : m_page.visibleItems())
        if (keys.contains(item.idKey()) && m_chosen.contains(item.save().id()))
            items.append(item);
    return items;
}

std::optional<ShelfItem> LibrarySelection::currentItem()
{
    if (!m_current)
        return std::nullopt;
    // Of the filter, whatever the search: a save the search hides keeps its inspector.
    const Shelf &current = m_page.shelf();
    const std::optional<Save> save = current.library().save(*m_current);
    if (!save)
        return std::nullopt;
    if (!current.selects(m_page.filter(), *save))
        return std::nullopt;
    return current.item(*save);
}

bool LibrarySelection::inspectorShown()
{
    if (m_chosen.size() >= 2)
        return true;
    return currentItem().has_value();
}

void LibrarySelection::setInspectorShown(bool shown)
{
    if (!shown)
        clear();
}

// ---- the bulk panel -------------------------------------------------------------------------------

void LibrarySelection::trashActedOn()
{
    const QList<Save::ID> acted = actedOn();
    if (acted.isEmpty())
        return;
    // One walk over the library, whatever the number of acted-on saves.
    const QSet<Save::ID> wanted(acted.cbegin(), acted.cend());
    QSet<Save::ID> live;
    for (const Save &save : m_page.curator().library().saves)
        if (!save.isTrashed() && wanted.contains(save.id()))
            live.insert(save.id());
    QList<Save::ID> ids;
    for (const Save::ID &id : acted)
        if (live.contains(id))
            ids.append(id);

    if (ids.isEmpty())
        return;
    if (ids.size() == 1) {
        m_page.trash(ids.first());
        return;
    }
    m_page.undo().record(m_page.curator().trash(ids), S::undoMoveToTrash(),
                         S::toastMovedCountToTrash(qint64(ids.size())));
    clear();
}

void LibrarySelection::fileChosen(const std::optional<Collection::ID> &in)
{
    const QList<Save::ID> ids(m_chosen.cbegin(), m_chosen.cend());
    const qint64 n = ids.size();
    std::optional<Collection> collection;
    if (in)
        collection = m_page.curator().library().collection(*in);
    const QString text = collection ? S::toastFiledCountIn(n, collection->name) : S::toastTookCountOut(n);
    m_page.undo().record(m_page.curator().file(ids, in).value_or(std::nullopt), S::undoFile(), text);
}

void LibrarySelection::favouriteChosen()
{
    const QList<Save::ID> ids(m_chosen.cbegin(), m_chosen.cend());
    const QString text = S::toastStarredCount(qint64(ids.size()));
    m_page.undo().record(m_page.curator().favourite(ids, true), S::undoFavourite(), text);
}

void LibrarySelection::restoreChosen()
{
    const QList<Save::ID> ids(m_chosen.cbegin(), m_chosen.cend());
    const QString text = S::toastRestoredCount(qint64(ids.size()));
    m_page.undo().record(m_page.curator().restore(ids), S::undoRestore(), text);
    clear();
}

}  // namespace sw::app
