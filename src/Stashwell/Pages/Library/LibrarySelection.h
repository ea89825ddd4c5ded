#pragma once

// The library page's two selections and what acts on them:
//
//   current   none    the save in the inspector; a change to a save outside `chosen` empties
//                     `chosen`
//   chosen    empty   the saves the bulk panel acts on (two or more, or none)
//
// Clicks with their modifiers, Select All, the acted-on saves (the chosen ones, else the current
// one) and the bulk panel's edits. Each state has a ...Changed signal, emitted only when the value
// changes. Owned by the LibraryPage, whose visible order a Shift-click ranges over.

#include "Library/Collection.h"
#include "Library/Save.h"
#include "Shelf/ShelfItem.h"

#include <QList>
#include <QObject>
#include <QSet>

#include <optional>

namespace sw {
class Library;
}

namespace sw::app {

class LibraryPage;

class LibrarySelection final : public QObject {
    Q_OBJECT
public:
    explicit LibrarySelection(LibraryPage &page);

    const std::optional<Save::ID> &current() const { return m_current; }
    void setCurrent(const std::optional<Save::ID> &current);
    const QSet<Save::ID> &chosen() const { return m_chosen; }
    void setChosen(const QSet<Save::ID> &chosen);
    // Both emptied.
    void clear();

    // A click on a card or row, with the modifiers of that click: Ctrl toggles the save among the
    // chosen, Shift chooses the range from the current save over the visible order.
    void pick(const Save::ID &id, Qt::KeyboardModifiers modifiers);
    void selectAll(const QList<Save::ID> &ids);
    // The saves an action on the selection applies to.
    QList<Save::ID> actedOn() const;
    // Drops the saves no longer in the library (a search may hide them: they stay).
    void forgetRemoved(const Library &library);

    // The bulk panel's saves: the chosen ones, in visible order.
    QList<ShelfItem> chosenItems();
    // The current save as the inspector shows it: of the filter, whatever the search.
    std::optional<ShelfItem> currentItem();
    // The inspector column: shown for two chosen saves or a current save of the filter.
    bool inspectorShown();
    // The user closed the column: false empties both.
    void setInspectorShown(bool shown);

    // Delete: the acted-on saves that are live go to the trash.
    void trashActedOn();
    void fileChosen(const std::optional<Collection::ID> &in);
    void favouriteChosen();
    void restoreChosen();

signals:
    void selectionChanged();
    void chosenChanged();

private:
    LibraryPage &m_page;
    std::optional<Save::ID> m_current;
    QSet<Save::ID> m_chosen;
};

}  // namespace sw::app
