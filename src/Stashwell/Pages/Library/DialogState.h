#pragma once

// The state of the library page's four dialogs (delete a collection, empty the trash, files left
// behind, the problem alert), their texts and what confirming them does:
//
//   problem       none    the problem alert's message
//   deleting      none    the collection the delete dialog asks about
//   emptyingTrash false   the empty-trash dialog
//   left behind           the Curator's files that could not be deleted (shown while any)
//
// Each has a ...Changed signal, emitted only when the value changes. Owned by the LibraryPage.

#include "Library/Collection.h"

#include <QObject>
#include <QString>

#include <optional>

namespace sw::app {

class LibraryPage;

class DialogState final : public QObject {
    Q_OBJECT
public:
    explicit DialogState(LibraryPage &page);

    const std::optional<QString> &problem() const { return m_problem; }
    void setProblem(const std::optional<QString> &problem);
    bool problemShown() const { return m_problem.has_value(); }
    // The alert closed: false clears it.
    void setProblemShown(bool shown);
    static QString message(CollectionRefusal refusal);

    const std::optional<Collection::ID> &deleting() const { return m_deleting; }
    void askToDelete(const Collection::ID &id);
    QString deleteTitle() const;
    QString deleteMessage() const;
    void confirmDelete();
    // The dialog closed: false clears `deleting`.
    void setDeletingShown(bool shown);

    bool emptyingTrash() const { return m_emptyingTrash; }
    // The Empty Trash command: the dialog, when the trash holds anything.
    void offerEmptyTrash();
    // The bar's Empty Trash button: the dialog.
    void askToEmptyTrash();
    // The dialog closed (any button): false clears it; true does nothing.
    void setEmptyingTrash(bool shown);
    QString emptyTrashMessage();
    void confirmEmptyTrash();

    bool leftBehindShown() const;
    void setLeftBehindShown(bool shown);
    QString leftBehindMessage() const;
    void showLeftBehind();

signals:
    void problemChanged();
    void deletingChanged();
    void emptyingTrashChanged();
    // The left-behind files changed (the dialog shows while there are any).
    void leftBehindChanged();

private:
    void setDeleting(const std::optional<Collection::ID> &deleting);

    LibraryPage &m_page;
    std::optional<QString> m_problem;
    std::optional<Collection::ID> m_deleting;
    bool m_emptyingTrash = false;
};

}  // namespace sw::app
