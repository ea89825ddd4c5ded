#pragma once

// The details pane's collection button: the swatch and name of the save's collection (or the
// words for none) and a small chevron, on a well. A press opens the collection menu below it; a
// further press closes it. Choosing in the menu closes the menu first and then reports the choice,
// so the menu is gone by the time the owner acts; closing it by a click elsewhere or Escape
// reports nothing.

#include "Library/Collection.h"
#include "StashwellUI/Controls/Pressable.h"
#include "StashwellUI/Saves/CollectionMenu.h"

#include <QList>
#include <QPointer>

#include <optional>

namespace sw {

class CollectionMenu;

class CollectionPicker : public Pressable {
    Q_OBJECT
public:
    static constexpr double spacing = 6;
    static constexpr double padding = 8;
    static constexpr double pickerHeight = 24;
    static constexpr double radius = 8;
    static constexpr double swatchSide = 10;
    static constexpr double swatchRadius = 3;
    static constexpr double chevronTypeSize = 9;

    explicit CollectionPicker(QWidget *parent = nullptr);

    // The library's collections and the save's filing (possibly an id of no listed collection).
    void setContent(const QList<Collection> &collections, const std::optional<Collection::ID> &filedIn);
    const std::optional<Collection> &current() const { return m_current; }
    // The name shown: the current collection's, or "collection.none".
    QString label() const;

    // Whether the menu is open, and the menu while it is.
    bool isChoosing() const { return m_menu != nullptr; }
    CollectionMenu *menu() const { return m_menu; }
    void setChoosing(bool choosing);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    QString accessibleText() const override { return label(); }

signals:
    // A row of the menu was chosen, after the menu closed.
    void picked(const std::optional<sw::Collection::ID> &collection);
    void newCollectionRequested();

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void closeMenu();

    QList<Collection> m_collections;
    std::optional<Collection::ID> m_filedIn;
    std::optional<Collection> m_current;
    QPointer<CollectionMenu> m_menu;
};

}  // namespace sw
