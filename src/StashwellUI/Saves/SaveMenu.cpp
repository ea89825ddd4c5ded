#include "StashwellUI/Saves/SaveMenu.h"

#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Saves/ActionStyle.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QAction>
#include <QMenu>

namespace sw {

namespace {

using Entry = SaveMenu::Entry;

Entry button(QString title, QString symbol, SaveIntent intent)
{
    Entry entry;
    entry.title = std::move(title);
    entry.symbol = std::move(symbol);
    entry.intent = std::move(intent);
    return entry;
}

Entry divider()
{
    Entry entry;
    entry.kind = Entry::Kind::divider;
    return entry;
}

// A filing entry: checked when its target is the save's collection, both none or both the same.
Entry filing(QString title, const std::optional<Collection::ID> &target, const std::optional<Collection::ID> &current)
{
    Entry entry = button(std::move(title), QString(), SaveIntent::file(target));
    entry.checked = target == current;
    if (entry.checked)
        entry.symbol = QStringLiteral("checkmark");
    return entry;
}

void fill(QMenu &menu, const QList<Entry> &entries, const IntentHandler &onIntent)
{
    for (const Entry &entry : entries) {
        switch (entry.kind) {
        case Entry::Kind::divider:
            menu.addSeparator();
            break;
        case Entry::Kind::submenu: {
            QMenu *sub = menu.addMenu(entry.title);
            if (!entry.symbol.isEmpty())
                sub->setIcon(Symbols::icon(entry.symbol, Tokens::Colors::text()));
            fill(*sub, entry.children, onIntent);
            break;
        }
        case Entry::Kind::button: {
            // No mnemonics: a collection named "R&D" shows its ampersand.
            QString title = entry.title;
            title.replace(u'&', QStringLiteral("&&"));
            QAction *action = menu.addAction(title);
            if (!entry.symbol.isEmpty())
                action->setIcon(Symbols::icon(entry.symbol, entry.destructive ? Tokens::Colors::danger()
                                                                               : Tokens::Colors::text()));
            action->setIconVisibleInMenu(!entry.symbol.isEmpty());
            if (entry.intent) {
                const SaveIntent intent = *entry.intent;
                QObject::connect(action, &QAction::triggered, &menu, [onIntent, intent] {
                    if (onIntent)
                        onIntent(intent);
                });
            }
            break;
        }
        }
    }
}

}  // namespace

QList<SaveMenu::Entry> SaveMenu::entries(const ShelfItem &item, const QList<Collection> &collections)
{
    using S = StashwellUIStrings;
    QList<Entry> list;
    const Save &save = item.save();
    const Action action = item.action();
    if (!std::holds_alternative<Action::Downloading>(action.value())) {
        const ActionStyle style(action);
        list.append(button(style.title(), style.symbol(), SaveIntent::action(action)));
    }
    list.append(button(S::saveMenuOpenOriginal(), QStringLiteral("safari"), SaveIntent::openOriginal()));
    list.append(button(S::saveMenuCopyLink(), QStringLiteral("link"), SaveIntent::copyLink()));
    if (item.copy().asOnThisComputer()) {
        list.append(divider());
        list.append(button(S::saveMenuShowInFileManager(), QStringLiteral("folder"), SaveIntent::reveal()));
        list.append(button(S::saveMenuRemoveLocalCopy(), QStringLiteral("icloud"), SaveIntent::removeLocalCopy()));
    }
    list.append(divider());

    Entry fileIn;
    fileIn.kind = Entry::Kind::submenu;
    fileIn.title = S::saveMenuFileIn();
    fileIn.symbol = QStringLiteral("folder.badge.plus");
    fileIn.children.append(filing(S::collectionNone(), std::nullopt, save.collection()));
    for (const Collection &collection : collections)
        fileIn.children.append(filing(collection.name, collection.id, save.collection()));
    fileIn.children.append(divider());
    fileIn.children.append(button(S::saveMenuNewCollection(), QString(), SaveIntent::newCollection()));
    list.append(fileIn);

    if (save.isFavourite())
        list.append(button(S::saveMenuUnfavourite(), QStringLiteral("star.slash"), SaveIntent::favourite()));
    else
        list.append(button(S::saveMenuFavourite(), QStringLiteral("star"), SaveIntent::favourite()));

    if (!save.isTrashed()) {
        list.append(divider());
        Entry trash = button(S::actionMoveToTrash(), QStringLiteral("trash"), SaveIntent::trash());
        trash.destructive = true;
        list.append(trash);
    }
    return list;
}

SaveMenu::SaveMenu(ShelfItem item, QList<Collection> collections, IntentHandler onIntent)
    : m_item(std::move(item)), m_collections(std::move(collections)), m_onIntent(std::move(onIntent))
{
}

QMenu *SaveMenu::build(QWidget *parent) const
{
    auto *menu = new QMenu(parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    fill(*menu, entries(), m_onIntent);
    return menu;
}

QMenu *SaveMenu::popUp(QWidget *parent, const QPoint &globalPosition) const
{
    QMenu *menu = build(parent);
    menu->popup(globalPosition);
    return menu;
}

}  // namespace sw
