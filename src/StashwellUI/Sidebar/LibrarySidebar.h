#pragma once

// The left column of the library window: the product's header, the capture button, the library
// rows, the collections (with the inline creator where the page wants it, or a dashed button when
// there are none), the filter chips, the top authors, and at the foot the storage meter beside the
// trash row and the settings button.
//
// It shows a SidebarContent and marks the page's current filter; it owns nothing else. Every pick
// of a row, a chip or the storage meter writes the selection and emits selectionChanged(), also
// when the filter is already the selection. Links dragged over the favourites row, the trash row or
// a collection row light that row until they leave or are dropped; a drop is put to the page's
// drop handler, whose answer is the drop's (with none set, every drop is refused). Nothing here
// changes the library: new, edited and deleted collections, downloads and the settings are asked
// for by signals.
//
// Above the product's header the column keeps a band of topSafeArea for window buttons drawn into
// the window itself, only while its window is frameless; where the desktop decorates the window,
// its own title bar holds the buttons and the header starts at the top.
//
// Setting a value equal to the current one changes and repaints nothing.

#include "Shelf/Filter.h"
#include "StashwellUI/Sidebar/CreatorPlace.h"
#include "StashwellUI/Sidebar/DropOnRow.h"
#include "StashwellUI/Sidebar/SidebarContent.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <optional>

class QMenu;
class QScrollArea;
class QVBoxLayout;

namespace sw {

class CaptureButton;
class FilterChip;
class Pressable;
class RoundIconButton;
class SidebarRow;
class SoftScrollEdges;
class StorageMeter;

class LibrarySidebar : public QWidget {
    Q_OBJECT
public:
    static constexpr double spacing = 16;
    static constexpr double padding = 10;
    static constexpr double topSafeArea = 52;
    static constexpr double chipSpacing = 6;

    explicit LibrarySidebar(QWidget *parent = nullptr);
    ~LibrarySidebar() override;

    // The band kept above the header: topSafeArea in a frameless window, else none.
    int topBand() const { return m_topBand; }

    const SidebarContent &content() const { return m_content; }
    void setContent(const SidebarContent &content);

    const Filter &selection() const { return m_selection; }
    void setSelection(const Filter &filter);

    // Asked with a row's filter and the links dropped on it; answers whether it took them.
    void setDropHandler(DropLinksHandler handler);
    // The row a drag of links is over now, if any.
    const DropTarget &dropTarget() const { return *m_dropTarget; }

    // Where the inline creator stands; none hides it.
    const std::optional<CreatorPlace> &creating() const { return m_creating; }
    void setCreating(const std::optional<CreatorPlace> &place);
    // The creator view, taken into the sidebar and shown where creating() says.
    QWidget *creator() const { return m_creator; }
    void setCreator(QWidget *creator);
    // Whether the creator shows (creating() names a place that exists).
    bool showsCreator() const;

    // The rows and chips, in the order shown: the library rows, the collection rows, the author
    // rows and the trash row; the seven chips.
    QList<Filter> rowFilters() const;
    QList<Filter> chipFilters() const;
    SidebarRow *row(const Filter &filter) const;
    FilterChip *chip(const Filter &filter) const;
    // What stands in the collections section under its title, in order (rows, the creator, the
    // dashed button).
    QList<QWidget *> collectionEntries() const;
    // The dashed button while it shows, else null.
    Pressable *newCollectionButton() const;
    Pressable *newCollectionAccessory() const { return m_plus; }
    bool showsTopAuthors() const;
    CaptureButton *captureButton() const { return m_capture; }
    StorageMeter *storageMeter() const { return m_meter; }
    Pressable *settingsButton() const;
    // The context menu of a collection's row (edit, delete); the caller owns it.
    QMenu *collectionMenu(const Collection::ID &collection);

signals:
    // A row, chip or the storage meter was picked (also when it was already the selection).
    void selectionChanged(const sw::Filter &filter);
    void captureRequested();
    void newCollectionRequested();
    void downloadMissingRequested();
    void editCollectionRequested(const sw::Collection::ID &collection);
    void deleteCollectionRequested(const sw::Collection::ID &collection);
    void settingsRequested();

protected:
    bool event(QEvent *event) override;

private:
    class Section;
    class Header;
    class PlainSymbolButton;
    class DashedButton;

    struct RowEntry {
        Filter filter;
        SidebarRow *row = nullptr;
    };

    SidebarContent m_content;
    Filter m_selection;
    DropLinksHandler m_dropHandler;
    DropTarget *m_dropTarget = nullptr;
    std::optional<CreatorPlace> m_creating;
    QPointer<QWidget> m_creator;
    bool m_creatorPlaced = false;
    int m_topBand = -1;

    QScrollArea *m_scroll = nullptr;
    QWidget *m_column = nullptr;
    SoftScrollEdges *m_edges = nullptr;
    CaptureButton *m_capture = nullptr;
    QList<RowEntry> m_libraryRows;
    Section *m_collectionsSection = nullptr;
    QVBoxLayout *m_collectionsList = nullptr;
    Pressable *m_plus = nullptr;
    DashedButton *m_dashed = nullptr;
    QList<RowEntry> m_collectionRows;
    QList<std::pair<Filter, FilterChip *>> m_chips;
    Section *m_authorsSection = nullptr;
    QList<RowEntry> m_authorRows;
    StorageMeter *m_meter = nullptr;
    RowEntry m_trash;
    RoundIconButton *m_settings = nullptr;

    SidebarRow *makeRow(const QString &title, const Filter &filter, bool takesDrops, QWidget *parent);
    void pick(const Filter &filter);
    void rebuildCollections();
    void rebuildAuthors();
    static void discardRows(QList<RowEntry> &rows, QVBoxLayout *list);
    void placeCollectionEntries();
    void refreshCounts();
    void refreshSelection();
    void refreshStorage();
    void followWindowFrame();
};

}  // namespace sw
