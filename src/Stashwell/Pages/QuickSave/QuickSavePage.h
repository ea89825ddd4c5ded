#pragma once

// The controller of the quick-save popup. Each time the popup is shown it reads the clipboard's
// link, has the Curator look it up and offers to keep the post with one click into the chosen
// collection; it lists the four newest live saves, and opens the library window, plainly or at
// one of them.
//
//   appear()            the popup is on screen: the lists are read, and the copied link looked up;
//                       while shown, the lists follow the Curator (one refresh per turn)
//   clipboardChanged()  while shown, the clipboard is read and looked up again
//   disappear()         the popup has gone
//   lookUpCopiedLink()  nothing copied: nothingCopied; otherwise looking, then found, saved with
//                       "quickSave.alreadyIn" for a link already kept, or refused with
//                       "quickSave.unreadable"
//   save()              keeps the found post into the chosen collection: saved with
//                       "toast.savedDownloading" when keeping started the download, else
//                       "toast.saved" (a save taken back from the trash downloads nothing)
//   openLibrary()       the library window shown and brought to the front
//   openSave(id)        Router.selecting set to the save first, then the library window
//
// The collection choice is never reset by the page: it holds for every later save. Only the
// latest look-up or save decides the state: each is numbered, and an older one's answer is
// dropped. One save at a time. An answer that arrives after the page is gone touches nothing.

#include "Capture/Date.h"
#include "Library/Collection.h"
#include "Library/Save.h"
#include "Shelf/ShelfItem.h"
#include "StashwellUI/QuickSave/QuickSaveState.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace sw {
class Curator;
class QuickSavePopover;
class Shelf;
}

namespace sw::app {

class Router;

class QuickSavePage final : public QObject {
    Q_OBJECT
public:
    // How many saves the popup lists.
    static constexpr qsizetype kRecentCount = 4;

    struct Hooks {
        // The clipboard's link (copiedLink()); none when it holds no link.
        std::function<std::optional<QString>()> copiedLink;
        // The library window shown, out of the minimised state, raised and activated.
        std::function<void()> showLibrary;
    };

    // The Curator and the Router must outlive the page.
    QuickSavePage(Curator &curator, Router &router, Hooks hooks, QObject *parent = nullptr);
    ~QuickSavePage() override;

    const QuickSaveState &state() const { return m_state; }
    const std::optional<Collection::ID> &collection() const { return m_collection; }
    void setCollection(const std::optional<Collection::ID> &collection);
    // As last read from the Curator: the collections in library order, the newest live saves, and
    // the moment the shelf was taken.
    const QList<Collection> &collections() const { return m_collections; }
    const QList<ShelfItem> &recent() const { return m_recent; }
    Date now() const { return m_now; }

    bool isShown() const { return m_shown; }
    bool isSaving() const { return m_saving; }

    void appear();
    void disappear();
    void clipboardChanged();
    QCoro::Task<> lookUpCopiedLink();
    QCoro::Task<> save();
    void openLibrary();
    void openSave(const Save::ID &id);

    // The first kRecentCount live saves of the shelf, newest first.
    static QList<ShelfItem> recentItems(const Shelf &shelf);

    // Shows the page in the popover and answers its intents, for as long as both exist.
    void bind(QuickSavePopover &popover);

signals:
    void stateChanged();
    void collectionChanged();
    // The collections, the recent saves or the moment changed.
    void listsChanged();

private:
    void setState(QuickSaveState state);
    void readLists();
    void scheduleRead();

    Curator &m_curator;
    Router &m_router;
    Hooks m_hooks;
    QuickSaveState m_state;
    std::optional<Collection::ID> m_collection;
    QList<Collection> m_collections;
    QList<ShelfItem> m_recent;
    Date m_now;
    std::uint64_t m_turns = 0;
    bool m_shown = false;
    bool m_saving = false;
    bool m_readPending = false;
};

}  // namespace sw::app
