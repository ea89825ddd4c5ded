#include "Stashwell/Pages/Library/DialogState.h"

#include "StashKit/Curator.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/Library/LibrarySelection.h"
#include "Stashwell/Pages/Library/LibraryUndo.h"
#include "Stashwell/StashwellStrings.h"
#include "StashwellUI/Design/Formatting.h"

#include <limits>

namespace sw::app {

using S = StashwellStrings;

DialogState::DialogState(LibraryPage &page) : QObject(&page), m_page(page)
{
    connect(&m_page.curator(), &Curator::leftBehindChanged, this, &DialogState::leftBehindChanged);
}

// ---- the problem alert ----------------------------------------------------------------------------

void DialogState::setProblem(const std::optional<QString> &problem)
{
    if (m_problem == problem)
        return;
    m_problem = problem;
    emit problemChanged();
}

void DialogState::setProblemShown(bool shown)
{
    if (!shown)
        setProblem(std::nullopt);
}

QString DialogState::message(CollectionRefusal refusal)
{
    switch (refusal) {
    case CollectionRefusal::nameEmpty: return S::refusalNameEmpty();
    case CollectionRefusal::nameTaken: return S::refusalNameTaken();
    case CollectionRefusal::noSuchCollection: return S::refusalNoSuchCollection();
    }
    return S::refusalNoSuchCollection();
}

// ---- deleting a collection ------------------------------------------------------------------------

void DialogState::setDeleting(const std::optional<Collection::ID> &deleting)
{
    if (m_deleting == deleting)
        return;
    m_deleting = deleting;
    emit deletingChanged();
}

void DialogState::askToDelete(const Collection::ID &id) { setDeleting(id); }

QString DialogState::deleteTitle() const
{
    if (m_deleting)
        if (const std::optional<Collection> collection = m_page.curator().library().collection(*m_deleting))
            return S::libraryDeleteTitle(collection->name);
    return S::libraryDeleteTitleUnnamed();
}

QString DialogState::deleteMessage() const
{
    const qsizetype filed = m_deleting ? m_page.curator().library().filed(*m_deleting).size() : 0;
    return filed == 1 ? S::libraryDeleteMessageOne(1) : S::libraryDeleteMessageMany(qint64(filed));
}

void DialogState::confirmDelete()
{
    Curator &curator = m_page.curator();
    const std::optional<Collection::ID> id = m_deleting;
    const std::optional<Collection> collection = id ? curator.library().collection(*id) : std::nullopt;
    if (!collection) {
        setDeleting(std::nullopt);
        return;
    }
    // The shelf leaves the collection before it goes.
    if (m_page.filter() == Filter::collection(collection->id))
        m_page.setFilter(Filter::all());
    m_page.undo().record(curator.removeCollection(collection->id), S::undoDeleteCollection(),
                         S::toastDeleted(collection->name));
    setDeleting(std::nullopt);
}

void DialogState::setDeletingShown(bool shown)
{
    if (!shown)
        setDeleting(std::nullopt);
}

// ---- emptying the trash ---------------------------------------------------------------------------

void DialogState::offerEmptyTrash()
{
    // A fresh projection: the request may come in the same turn as the change that filled the trash.
    if (m_page.curator().shelf().count(Filter::trash()) < 1)
        return;
    askToEmptyTrash();
}

void DialogState::askToEmptyTrash()
{
    if (m_emptyingTrash)
        return;
    m_emptyingTrash = true;
    emit emptyingTrashChanged();
}

void DialogState::setEmptyingTrash(bool shown)
{
    // Only the page opens the dialog (offerEmptyTrash, askToEmptyTrash); closing it clears it.
    if (shown || !m_emptyingTrash)
        return;
    m_emptyingTrash = false;
    emit emptyingTrashChanged();
}

QString DialogState::emptyTrashMessage()
{
    const QList<ShelfItem> trashed = m_page.shelf().items(Filter::trash());
    std::int64_t bytes = 0;
    for (const ShelfItem &item : trashed) {
        const std::int64_t more = item.copy().bytesOnDisk();
        bytes = more > std::numeric_limits<std::int64_t>::max() - bytes ? std::numeric_limits<std::int64_t>::max()
                                                                        : bytes + more;
    }
    const qsizetype count = trashed.size();
    const QString saves = count == 1 ? S::libraryTrashSavesOne(1) : S::libraryTrashSavesMany(qint64(count));
    if (bytes == 0)
        return S::libraryEmptyTrashMessage(saves);
    return S::libraryEmptyTrashWithMedia(saves, sw::Formatting::bytes(bytes));
}

void DialogState::confirmEmptyTrash()
{
    Curator &curator = m_page.curator();
    curator.emptyTrash();
    // The saves removed for good leave the selection and the chosen saves.
    m_page.selection().forgetRemoved(curator.library());
    m_page.undo().clear();
    setEmptyingTrash(false);
    m_page.toast().show(S::toastTrashEmptied());
}

// ---- files left behind ----------------------------------------------------------------------------

bool DialogState::leftBehindShown() const { return !m_page.curator().leftBehind().isEmpty(); }

void DialogState::setLeftBehindShown(bool shown)
{
    if (!shown)
        m_page.curator().forgetLeftBehind();
}

QString DialogState::leftBehindMessage() const
{
    const qsizetype count = m_page.curator().leftBehind().size();
    const QString folder = m_page.folderText();
    return count == 1 ? S::libraryLeftBehindOne(1, folder) : S::libraryLeftBehindMany(qint64(count), folder);
}

void DialogState::showLeftBehind()
{
    Curator &curator = m_page.curator();
    QList<QUrl> files;
    for (const Url &file : curator.leftBehind())
        files.append(file.qurl());
    m_page.desktop().reveal(files);
    curator.forgetLeftBehind();
}

}  // namespace sw::app
