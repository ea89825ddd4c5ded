#pragma once

// The sidebar's inline creator: the collection being made or edited (`draft`, none while the
// creator is closed), its fields, the name's problem, and saving it as an undoable edit. Owned by
// the LibraryPage; draftChanged() only when the draft changes.

#include "Library/Collection.h"
#include "Library/Save.h"
#include "Stashwell/Pages/Library/CollectionDraft.h"

#include <QObject>
#include <QString>

#include <optional>

namespace sw {
class Library;
}

namespace sw::app {

class LibraryPage;

class CollectionDrafting final : public QObject {
    Q_OBJECT
public:
    explicit CollectionDrafting(LibraryPage &page);

    const std::optional<CollectionDraft> &draft() const { return m_draft; }
    // A new collection's draft, which files `filing` into it once made.
    void newCollection(const std::optional<Save::ID> &filing = std::nullopt);
    void editCollection(const Collection::ID &id);

    // The creator's fields and decisions.
    void setName(const QString &name);
    void setSwatch(Swatch swatch);
    std::optional<QString> nameProblem() const;
    static std::optional<QString> nameProblem(const Library &library, const QString &name,
                                              const std::optional<Collection::ID> &editing);
    bool canCreate() const;
    QString confirmTitle() const;
    void save();
    void cancel();

signals:
    void draftChanged();

private:
    void setDraft(const std::optional<CollectionDraft> &draft);

    LibraryPage &m_page;
    std::optional<CollectionDraft> m_draft;
};

}  // namespace sw::app
