#pragma once

// The panel that stands in the inspector column while several saves are chosen: under a fixed
// header with the count and a close button, a fanned deck of the first three thumbnails with the
// count on a badge, a summary of their kinds and of how many are on this computer, the bulk
// actions (download what is missing, file all into a collection or into none, favourite all,
// trash all or, when every one is in the trash, restore all) and a hint.
//
// The panel acts on nothing: each control reports a request without save ids; the page applies it
// to its own set of chosen saves. It keeps no state: setItems() and setCollections() redraw it.

#include "Library/Collection.h"
#include "Shelf/ShelfItem.h"
#include "StashwellUI/Inspector/BulkSummary.h"

#include <QList>
#include <QWidget>

#include <optional>

class QLabel;
class QMenu;
class QScrollArea;

namespace sw {

class BulkDeck;
class InfoRow;
class PillButton;
class RoundIconButton;

class BulkPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr double headerHeight = 52;
    static constexpr double headerPadding = 16;
    static constexpr double contentPadding = 18;
    static constexpr double bottomExtra = 28;
    static constexpr double blockSpacing = 16;
    static constexpr double actionSpacing = 8;
    static constexpr double summaryPadding = 12;

    explicit BulkPanel(const QList<ShelfItem> &items = {}, const QList<Collection> &collections = {},
                       QWidget *parent = nullptr);

    const QList<ShelfItem> &items() const { return m_items; }
    void setItems(const QList<ShelfItem> &items);
    const QList<Collection> &collections() const { return m_collections; }
    void setCollections(const QList<Collection> &collections);

    const BulkSummary &summary() const { return m_summary; }

    // The parts, for the tests and the owner's focus chain.
    QString headerText() const;
    RoundIconButton &deselectButton() { return *m_deselect; }
    BulkDeck &deck() { return *m_deck; }
    InfoRow &kindsRow() { return *m_kinds; }
    InfoRow &onThisComputerRow() { return *m_onThisComputer; }
    PillButton &downloadButton() { return *m_download; }
    PillButton &fileInButton() { return *m_fileIn; }
    // The file-in menu's entries: no collection, a separator, each collection.
    QMenu &fileInMenu() { return *m_menu; }
    PillButton &favouriteButton() { return *m_favourite; }
    // Trash all, or restore all when every one is in the trash.
    PillButton &trashOrRestoreButton() { return *m_trashOrRestore; }
    QScrollArea &scrollArea() { return *m_scroll; }

signals:
    void deselectRequested();
    void downloadRequested();
    // None: out of every collection.
    void fileRequested(const std::optional<sw::Collection::ID> &collection);
    void favouriteRequested();
    void trashRequested();
    void restoreRequested();

protected:
    void changeEvent(QEvent *event) override;

private:
    void apply();
    void buildMenu();

    QList<ShelfItem> m_items;
    QList<Collection> m_collections;
    BulkSummary m_summary;

    QLabel *m_title = nullptr;
    RoundIconButton *m_deselect = nullptr;
    QScrollArea *m_scroll = nullptr;
    BulkDeck *m_deck = nullptr;
    InfoRow *m_kinds = nullptr;
    InfoRow *m_onThisComputer = nullptr;
    PillButton *m_download = nullptr;
    PillButton *m_fileIn = nullptr;
    QMenu *m_menu = nullptr;
    PillButton *m_favourite = nullptr;
    PillButton *m_trashOrRestore = nullptr;
    QLabel *m_hint = nullptr;
};

// The fanned deck: up to three thumbnails, each a little turned and shifted, the later over the
// earlier, and the count on an accent badge at the top right.
class BulkDeck : public QWidget {
    Q_OBJECT
public:
    static constexpr double width = 220;
    static constexpr double height = 130;
    static constexpr double cardWidth = 110;
    static constexpr double cardHeight = 96;
    static constexpr double turn = 5;        // degrees per place
    static constexpr double shift = 40;      // sideways per place
    static constexpr double drop = 4;        // downwards per place
    static constexpr double badgeSide = 26;
    static constexpr double badgePadding = 4;
    static constexpr double badgeInset = 10;
    static constexpr double badgeRise = 6;
    static constexpr double shadowBlur = 8;
    static constexpr double shadowOffset = 6;
    static constexpr double shadowOpacity = 0.4;

    explicit BulkDeck(QWidget *parent = nullptr);

    // The first three items are dealt; the count is the badge's.
    void setItems(const QList<ShelfItem> &items, std::int64_t count);
    const QList<ShelfItem> &cards() const { return m_cards; }
    QString badgeText() const;

    // Where card `place` (0, 1, 2) lies before it is turned, in the cards' 220 × 130 frame, and by
    // how many degrees it is turned about its centre.
    static QRectF cardRect(int place);
    static double cardAngle(int place);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF frame() const;
    QRectF badgeRect() const;

    QList<ShelfItem> m_cards;
    std::int64_t m_count = 0;
    class PictureFeed *m_feed = nullptr;
};

}  // namespace sw
