#include "Stashwell/Pages/Library/CollectionDrafting.h"

#include "StashKit/Curator.h"
#include "Stashwell/Pages/Library/DialogState.h"
#include "Stashwell/Pages/Library/LibraryPage.h"
#include "Stashwell/Pages/Library/LibraryUndo.h"
#include "Stashwell/StashwellStrings.h"

namespace sw::app {

using S = StashwellStrings;

CollectionDrafting::CollectionDrafting(LibraryPage &page) : QObject(&page), m_page(page) {}

void CollectionDrafting::setDraft(const std::optional<CollectionDraft> &draft)
{
    if (m_draft == draft)
        return;
    m_draft = draft;
    emit draftChanged();
}

void CollectionDrafting::newCollection(const std::optional<Save::ID> &filing)
{
    setDraft(CollectionDraft{QString(), m_page.curator().library().nextSwatch(), filing, std::nullopt});
}

void CollectionDrafting::editCollection(const Collection::ID &id)
{
    const std::optional<Collection> collection = m_page.curator().library().collection(id);
    if (!collection)
        return;
    setDraft(CollectionDraft{collection->name, collection->swatch, std::nullopt, id});
}

void CollectionDrafting::setName(const QString &name)
{
    if (!m_draft)
        return;
    CollectionDraft next = *m_draft;
    next.name = name;
    setDraft(next);
}

void CollectionDrafting::setSwatch(Swatch swatch)
{
    if (!m_draft)
        return;
    CollectionDraft next = *m_draft;
    next.swatch = swatch;
    setDraft(next);
}

std::optional<QString> CollectionDrafting::nameProblem(const Library &library, const QString &name,
                                                       const std::optional<Collection::ID> &editing)
{
    // Only a taken name is worth words; an empty one just keeps the button off.
    if (library.refusal(name, editing) != CollectionRefusal::nameTaken)
        return std::nullopt;
    const std::optional<Collection> taken = library.collection(name);
    return S::libraryNameTaken(taken ? taken->name : QString());
}

std::optional<QString> CollectionDrafting::nameProblem() const
{
    if (!m_draft)
        return std::nullopt;
    return nameProblem(m_page.curator().library(), m_draft->name, m_draft->editing);
}

bool CollectionDrafting::canCreate() const
{
    return m_draft && !m_page.curator().library().refusal(m_draft->name, m_draft->editing).has_value();
}

QString CollectionDrafting::confirmTitle() const
{
    return m_draft && !m_draft->isNew() ? S::librarySave() : S::libraryCreate();
}

void CollectionDrafting::save()
{
    if (!m_draft)
        return;
    Curator &curator = m_page.curator();
    LibraryUndo &undo = m_page.undo();
    const CollectionDraft draft = *m_draft;
    const auto storedName = [&](const Collection::ID &id) {
        const std::optional<Collection> collection = curator.library().collection(id);
        return collection ? collection->name : draft.name;
    };

    if (draft.isNew()) {
        const auto made = curator.makeCollection(draft.name, draft.swatch);
        if (!made) {
            m_page.dialogs().setProblem(DialogState::message(made.error()));
            return;
        }
        const Collection::ID id = made->id;
        const QString name = storedName(id);
        undo.record(made->step, S::undoNewCollection(), S::toastMade(name));
        if (!draft.filing) {
            m_page.setFilter(Filter::collection(id));
        } else {
            const Curator::Recorded filed = curator.file(*draft.filing, id).value_or(std::nullopt);
            undo.record(filed, S::undoFile(), S::toastMadeAndFiled(name));
        }
    } else {
        const Collection::ID id = *draft.editing;
        const auto edited = curator.editCollection(id, draft.name, draft.swatch);
        if (!edited) {
            m_page.dialogs().setProblem(DialogState::message(edited.error()));
            return;
        }
        // An edit that changed nothing recorded nothing: no step to undo, no toast.
        undo.record(*edited, S::undoEditCollection(), S::toastEdited(storedName(id)));
    }
    setDraft(std::nullopt);
}

void CollectionDrafting::cancel() { setDraft(std::nullopt); }

}  // namespace sw::app
