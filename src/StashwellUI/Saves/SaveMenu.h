#pragma once

// The context menu of one save on the shelf (and of the latest-save hero): its main action, open
// the original, copy the link, the file manager entries for media on this computer, the "file in"
// submenu, favourite or unfavourite, and moving it to the trash. The menu changes nothing: each
// entry reports one SaveIntent, and the owner decides what that does.
//
// The entries are a plain list worked out from the item and the collections (entries()), so that
// what the menu offers can be read without a menu; build() makes a QMenu of them, anew on every
// opening, whose actions report the intent of their entry for the item the menu was built with.

#include "Library/Collection.h"
#include "StashwellUI/Saves/SaveIntent.h"
#include "Shelf/ShelfItem.h"

#include <QList>
#include <QString>

#include <optional>

class QMenu;
class QPoint;
class QWidget;

namespace sw {

class SaveMenu {
public:
    struct Entry {
        enum class Kind { button, divider, submenu };
        Kind kind = Kind::button;
        QString title;                     // localised, or a collection's name verbatim
        QString symbol;                    // empty: none
        std::optional<SaveIntent> intent;  // a button's
        bool checked = false;              // drawn with the check mark (a filing entry)
        bool destructive = false;          // the trash entry
        QList<Entry> children;             // a submenu's entries

        friend bool operator==(const Entry &, const Entry &) = default;
    };

    // The menu's entries, top to bottom:
    //   the item's action (its style's title and symbol), unless the action is a running download;
    //   "saveMenu.openOriginal" (safari), "saveMenu.copyLink" (link);
    //   for a copy on this computer a divider, "saveMenu.showInFileManager" (folder) and
    //     "saveMenu.removeLocalCopy" (icloud);
    //   a divider and the "saveMenu.fileIn" submenu (folder.badge.plus): the key collection.none, each
    //     collection by name in the order given, a divider and "saveMenu.newCollection"; the
    //     entry whose target is the save's collection (none for no collection) carries the
    //     check mark, so a collection the list lacks checks nothing;
    //   "saveMenu.favourite" (star) or, for a favourite, "saveMenu.unfavourite" (star.slash), both
    //     asking for the same toggle;
    //   for a save outside the trash a divider and "action.moveToTrash" (trash, destructive).
    static QList<Entry> entries(const ShelfItem &item, const QList<Collection> &collections);

    SaveMenu(ShelfItem item, QList<Collection> collections, IntentHandler onIntent);

    const ShelfItem &item() const { return m_item; }
    const QList<Collection> &collections() const { return m_collections; }
    QList<Entry> entries() const { return entries(m_item, m_collections); }

    // A menu of the entries, owned by `parent` and deleted when it closes. Triggering an action
    // calls onIntent once with its entry's intent (the checked entry too). The destructive entry's
    // symbol is drawn in the danger colour: a menu has no destructive role of its own.
    QMenu *build(QWidget *parent) const;
    // Builds the menu and shows it at `globalPosition`; returns it (already on screen).
    QMenu *popUp(QWidget *parent, const QPoint &globalPosition) const;

private:
    ShelfItem m_item;
    QList<Collection> m_collections;
    IntentHandler m_onIntent;
};

}  // namespace sw
