// The library page's sidebar: the capture button, collections made and edited through the inline
// creator, deleting one, and links dropped on a row.

#include "Stashwell/Pages/Library/LibraryPage.h"

#include "StashKit/Curator.h"
#include "Stashwell/Router/Router.h"
#include "Stashwell/StashwellStrings.h"

namespace sw::app {

using S = StashwellStrings;

void LibraryPage::pasteLink() { m_router.setSavingLink(m_desktop.copiedLink().value_or(QString())); }

void LibraryPage::newCollection(const std::optional<Save::ID> &filing)
{
    setDraft(CollectionDraft{QString(), m_curator.library().nextSwatch(), filing, std::nullopt});
}

void LibraryPage::editCollection(const Collection::ID &id)
{
    const std::optional<Collection> collection = m_curator.library().collection(id);
    if (!collection)
        return;
    setDraft(CollectionDraft{collection->name, collection->swatch, std::nullopt, id});
}

void LibraryPage::askToDelete(const Collection::ID &id) { setDeleting(id); }

bool LibraryPage::dropLinks(const Filter &on, const QList<QUrl> &urls)
{
    const bool trashRow = on == Filter::trash();
    const bool favouritesRow = on == Filter::favourites();
    const auto *collectionRow = std::get_if<Filter::InCollection>(&on.value());
    if (!trashRow && !favouritesRow && !collectionRow)
        return false;

    QList<Url> links;
    for (const QUrl &url : urls)
        links.append(Url::fromQUrl(url));
    const QList<Save::ID> ids = m_curator.saves(links);
    if (ids.isEmpty())
        return false;

    // Dragging one of the acted-on saves acts on all of them.
    const QList<Save::ID> acted = actedOn();
    bool dragsActed = false;
    for (const Save::ID &id : ids)
        dragsActed = dragsActed || acted.contains(id);
    const QList<Save::ID> targets = dragsActed ? acted : ids;
    const qsizetype n = targets.size();

    if (trashRow) {
        undoable(S::undoMoveToTrash(), n == 1 ? S::toastMovedToTrash() : S::toastMovedCountToTrash(qint64(n)),
                 [&] { m_curator.trash(targets); });
        setChosen({});
        setSelection(std::nullopt);
    } else if (favouritesRow) {
        undoable(S::undoFavourite(), n == 1 ? S::toastStarredIt() : S::toastStarredCount(qint64(n)),
                 [&] { m_curator.favourite(targets, true); });
    } else {
        const std::optional<Collection> collection = m_curator.library().collection(collectionRow->id);
        const QString name = collection ? collection->name : S::toastTheCollection();
        undoable(S::undoFile(), n == 1 ? S::toastFiledIn(name) : S::toastFiledCountIn(qint64(n), name),
                 [&] { (void)m_curator.file(targets, collectionRow->id); });
    }
    return true;
}

void LibraryPage::setDraftName(const QString &name)
{
    if (!m_draft)
        return;
    CollectionDraft next = *m_draft;
    next.name = name;
    setDraft(next);
}

void LibraryPage::setDraftSwatch(Swatch swatch)
{
    if (!m_draft)
        return;
    CollectionDraft next = *m_draft;
    next.swatch = swatch;
    setDraft(next);
}

std::optional<QString> LibraryPage::nameProblem(const Library &library, const QString &name,
                                                const std::optional<Collection::ID> &editing)
{
    // Only a taken name is worth words; an empty one just keeps the button off.
    if (library.refusal(name, editing) != CollectionRefusal::nameTaken)
        return std::nullopt;
    const std::optional<Collection> taken = library.collection(name);
    return S::libraryNameTaken(taken ? taken->name : QString());
}

std::optional<QString> LibraryPage::nameProblem() const
{
    if (!m_draft)
        return std::nullopt;
    return nameProblem(m_curator.library(), m_draft->name, m_draft->editing);
}

bool LibraryPage::canCreate() const
{
    return m_draft && !m_curator.library().refusal(m_draft->name, m_draft->editing).has_value();
}

QString LibraryPage::confirmTitle() const
{
    return m_draft && !m_draft->isNew() ? S::librarySave() : S::libraryCreate();
}

void LibraryPage::saveDraft()
{
    if (!m_draft)
        return;
    const CollectionDraft draft = *m_draft;
    const auto storedName = [&](const Collection::ID &id) {
        const std::optional<Collection> collection = m_curator.library().collection(id);
        return collection ? collection->name : draft.name;
    };

    if (draft.isNew()) {
        const std::int64_t before = m_curator.steps();
        const auto made = m_curator.makeCollection(draft.name, draft.swatch);
        if (!made) {
            setProblem(message(made.error()));
            return;
        }
        const Collection::ID id = made->id;
        const QString name = storedName(id);
        if (m_curator.steps() != before)
            registerStep(S::undoNewCollection(), S::toastMade(name));
        if (!draft.filing)
            setFilter(Filter::collection(id));
        else
            undoable(S::undoFile(), S::toastMadeAndFiled(name), [&] { (void)m_curator.file(*draft.filing, id); });
    } else {
        const Collection::ID id = *draft.editing;
        const std::int64_t before = m_curator.steps();
        auto result = m_curator.editCollection(id, draft.name, draft.swatch);
        if (!result) {
            setProblem(message(result.error()));
            return;
        }
        // An edit that changed nothing recorded nothing: no step to undo, no toast.
        if (m_curator.steps() != before)
            registerStep(S::undoEditCollection(), S::toastEdited(storedName(id)));
    }
    setDraft(std::nullopt);
}

void LibraryPage::cancelDraft() { setDraft(std::nullopt); }

}  // namespace sw::app
