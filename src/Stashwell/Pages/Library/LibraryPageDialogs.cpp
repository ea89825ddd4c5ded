// The library page's four dialogs: delete a collection, empty the trash, files left behind, and
// the problem alert; their texts and what confirming them does.

#include "Stashwell/Pages/Library/LibraryPage.h"

#include "StashKit/Curator.h"
#include "Stashwell/StashwellStrings.h"
#include "StashwellUI/Design/Formatting.h"

#include <QUndoStack>

#include <limits>

namespace sw::app {

using S = StashwellStrings;

QString LibraryPage::deleteTitle() const
{
    if (m_deleting)
        if (const std::optional<Collection> collection = m_curator.library().collection(*m_deleting))
            return S::libraryDeleteTitle(collection->name);
    return S::libraryDeleteTitleUnnamed();
}

QString LibraryPage::deleteMessage() const
{
    const qsizetype filed = m_deleting ? m_curator.library().filed(*m_deleting).size() : 0;
    return filed == 1 ? S::libraryDeleteMessageOne(1) : S::libraryDeleteMessageMany(qint64(filed));
}

void LibraryPage::confirmDelete()
{
    const std::optional<Collection::ID> id = m_deleting;
    const std::optional<Collection> collection = id ? m_curator.library().collection(*id) : std::nullopt;
    if (!collection) {
        setDeleting(std::nullopt);
        return;
    }
    // The shelf leaves the collection before it goes.
    if (m_filter == Filter::collection(collection->id))
        setFilter(Filter::all());
    undoable(S::undoDeleteCollection(), S::toastDeleted(collection->name),
             [&] { m_curator.removeCollection(collection->id); });
    setDeleting(std::nullopt);
}

void LibraryPage::setDeletingShown(bool shown)
{
    if (!shown)
        setDeleting(std::nullopt);
}

QString LibraryPage::emptyTrashMessage()
{
    const QList<ShelfItem> trashed = shelf().items(Filter::trash());
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

void LibraryPage::confirmEmptyTrash()
{
    m_curator.emptyTrash();
    // The saves removed for good leave the selection and the chosen saves.
    forgetRemovedSaves();
    // The Curator's history is gone: nothing earlier can be undone or redone from the Edit menu.
    if (m_undoStack)
        m_undoStack->clear();
    setEmptyingTrash(false);
    m_toast.show(S::toastTrashEmptied());
}

bool LibraryPage::leftBehindShown() const { return !m_curator.leftBehind().isEmpty(); }

void LibraryPage::setLeftBehindShown(bool shown)
{
    if (!shown)
        m_curator.forgetLeftBehind();
}

QString LibraryPage::leftBehindMessage() const
{
    const qsizetype count = m_curator.leftBehind().size();
    return count == 1 ? S::libraryLeftBehindOne(1, folderText())
                      : S::libraryLeftBehindMany(qint64(count), folderText());
}

void LibraryPage::showLeftBehind()
{
    QList<QUrl> files;
    for (const Url &file : m_curator.leftBehind())
        files.append(file.qurl());
    m_desktop.reveal(files);
    m_curator.forgetLeftBehind();
}

void LibraryPage::setProblemShown(bool shown)
{
    if (!shown)
        setProblem(std::nullopt);
}

}  // namespace sw::app
