// The library page's two selections (the save in the inspector and the chosen saves), clicks with
// modifiers, Select All and Delete, the bulk panel's actions, and the status bar's values; and the
// downloads the page starts.

#include "Stashwell/Pages/Library/LibraryPage.h"

#include "StashKit/Curator.h"
#include "Stashwell/StashwellStrings.h"
#include "StashwellUI/Design/Formatting.h"

namespace sw::app {

using S = StashwellStrings;

// ---- selection ------------------------------------------------------------------------------------

void LibraryPage::pick(const Save::ID &id, Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::ControlModifier)) {
        QSet<Save::ID> set = m_chosen;
        if (set.isEmpty() && m_selection)
            set.insert(*m_selection);
        if (set.contains(id))
            set.remove(id);
        else
            set.insert(id);
        setChosen(set.size() >= 2 ? set : QSet<Save::ID>());
        if (set.contains(id))
            setSelection(id);
        else if (!set.isEmpty())
            setSelection(*set.cbegin());
        else
            setSelection(std::nullopt);
        return;
    }
    if (modifiers.testFlag(Qt::ShiftModifier) && m_selection) {
        const QList<ShelfItem> visible = visibleItems();
        qsizetype from = -1;
        qsizetype to = -1;
        for (qsizetype i = 0; i < visible.size() && (from < 0 || to < 0); ++i) {
            const Save::ID &each = visible.at(i).save().id();
            if (from < 0 && each == *m_selection)
                from = i;
            if (to < 0 && each == id)
                to = i;
        }
        if (from >= 0 && to >= 0) {
            QSet<Save::ID> range;
            range.reserve(std::abs(to - from) + 1);
            for (qsizetype i = std::min(from, to); i <= std::max(from, to); ++i)
                range.insert(visible.at(i).save().id());
            setChosen(range);
        }
        setSelection(id);
        return;
    }
    setChosen({});
    setSelection(id);
}

void LibraryPage::selectAll(const QList<Save::ID> &ids)
{
    setChosen(QSet<Save::ID>(ids.cbegin(), ids.cend()));
    setSelection(ids.isEmpty() ? std::nullopt : std::optional<Save::ID>(ids.last()));
}

void LibraryPage::trashSelection()
{
    const QList<Save::ID> acted = actedOn();
    if (acted.isEmpty())
        return;
    // One walk over the library, whatever the number of acted-on saves.
    const QSet<Save::ID> wanted(acted.cbegin(), acted.cend());
    QSet<Save::ID> live;
    for (const Save &save : m_curator.library().saves)
        if (!save.isTrashed() && wanted.contains(save.id()))
            live.insert(save.id());
    QList<Save::ID> ids;
    for (const Save::ID &id : acted)
        if (live.contains(id))
            ids.append(id);

    if (ids.isEmpty())
        return;
    if (ids.size() == 1) {
        trash(ids.first());
        return;
    }
    undoable(S::undoMoveToTrash(), S::toastMovedCountToTrash(qint64(ids.size())), [&] { m_curator.trash(ids); });
    setChosen({});
    setSelection(std::nullopt);
}

// ---- the bulk panel -------------------------------------------------------------------------------

void LibraryPage::downloadChosen()
{
    const QList<Save::ID> ids(m_chosen.cbegin(), m_chosen.cend());
    showToast(S::toastDownloading(qint64(ids.size())));
    // One save after another; refusals are the Curator's to drop.
    m_curator.download(ids);
}

void LibraryPage::fileChosen(const std::optional<Collection::ID> &in)
{
    const QList<Save::ID> ids(m_chosen.cbegin(), m_chosen.cend());
    const qint64 n = ids.size();
    std::optional<Collection> collection;
    if (in)
        collection = m_curator.library().collection(*in);
    const QString text = collection ? S::toastFiledCountIn(n, collection->name) : S::toastTookCountOut(n);
    undoable(S::undoFile(), text, [&] { (void)m_curator.file(ids, in); });
}

void LibraryPage::favouriteChosen()
{
    const QList<Save::ID> ids(m_chosen.cbegin(), m_chosen.cend());
    undoable(S::undoFavourite(), S::toastStarredCount(qint64(ids.size())), [&] { m_curator.favourite(ids, true); });
}

void LibraryPage::restoreChosen()
{
    const QList<Save::ID> ids(m_chosen.cbegin(), m_chosen.cend());
    undoable(S::undoRestore(), S::toastRestoredCount(qint64(ids.size())), [&] { m_curator.restore(ids); });
    setChosen({});
    setSelection(std::nullopt);
}

void LibraryPage::clearChosen()
{
    setChosen({});
    setSelection(std::nullopt);
}

QList<ShelfItem> LibraryPage::chosenItems()
{
    QList<ShelfItem> items;
    if (m_chosen.isEmpty())
        return items;
    for (const ShelfItem &item : visibleItems())
        if (m_chosen.contains(item.save().id()))
            items.append(item);
    return items;
}

LibraryPage::Status LibraryPage::status()
{
    return Status{shelf().count(Filter::all()), m_curator.localMedia().onDisk(), folderText()};
}

// ---- downloads ------------------------------------------------------------------------------------

QCoro::Task<> LibraryPage::download(ShelfItem item)
{
    const QPointer<LibraryPage> self(this);
    const Save::ID id = item.save().id();
    const PostLink link = item.save().post().link;
    const auto result = co_await m_curator.download(id);
    // The page may have gone while the media came.
    if (!self)
        co_return;
    if (!result) {
        self->setProblem(message(result.error()));
        co_return;
    }
    // A failed file leaves the copy failed: the card offers retry, and nothing is said.
    if (self->m_curator.localMedia().copy(link).asOnThisComputer())
        self->showToast(S::toastSavedTo(self->folderText()));
}

QCoro::Task<> LibraryPage::downloadMissing()
{
    const QPointer<LibraryPage> self(this);
    // Counted at the press: the toast names that number whatever becomes of each download.
    const qsizetype n = shelf().count(Filter::linkOnly());
    co_await m_curator.downloadMissing();
    if (!self)
        co_return;
    self->showToast(S::toastDownloadedTo(qint64(n), self->folderText()));
}

QString LibraryPage::message(const DownloadRefusal &refusal)
{
    return std::visit(
        [](const auto &c) -> QString {
            using C = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<C, DownloadRefusal::OverBudget>)
                return S::refusalOverBudget(sw::Formatting::bytes(c.needs), sw::Formatting::bytes(c.free));
            else if constexpr (std::is_same_v<C, DownloadRefusal::NothingToDownload>)
                return S::refusalNothingToDownload();
            else if constexpr (std::is_same_v<C, DownloadRefusal::AlreadyOnThisComputer>)
                return S::refusalAlreadyOnThisComputer();
            else
                return S::refusalAlreadyDownloading();
        },
        refusal.value());
}

QString LibraryPage::message(CollectionRefusal refusal)
{
    switch (refusal) {
    case CollectionRefusal::nameEmpty: return S::refusalNameEmpty();
    case CollectionRefusal::nameTaken: return S::refusalNameTaken();
    case CollectionRefusal::noSuchCollection: return S::refusalNoSuchCollection();
    }
    return S::refusalNoSuchCollection();
}

}  // namespace sw::app
