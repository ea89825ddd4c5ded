#pragma once

// The collection choice of the quick-save popover: a glass capsule showing the collection the
// post will be filed into (its swatch and name, or "collection.none"), with an up-and-down
// chevron; a press opens a menu of "collection.none", a divider and every collection in the
// order given. No item is marked as the current one.
//
// Choosing an item takes it as the shown choice and reports it by picked(), also when it is the
// choice already. A choice whose id no collection has is kept as it is (until the user picks
// another) and reads as no collection.

#include "Library/Collection.h"
#include "StashwellUI/Controls/Pressable.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <optional>

class QMenu;

namespace sw {

class CollectionPullDown : public Pressable {
    Q_OBJECT
public:
    static constexpr double controlHeight = 32;
    static constexpr double sidePadding = 12;
    static constexpr double spacing = 8;

    // What the capsule shows: the first collection with the chosen id, in list order.
    struct Label {
        std::optional<Swatch> swatch;   // none without a current collection
        QString title;
        friend bool operator==(const Label &, const Label &) = default;
    };
    static Label label(const QList<Collection> &collections, const std::optional<Collection::ID> &current);

    explicit CollectionPullDown(QWidget *parent = nullptr);

    const QList<Collection> &collections() const { return m_collections; }
    void setCollections(const QList<Collection> &collections);
    const std::optional<Collection::ID> &current() const { return m_current; }
    void setCurrent(const std::optional<Collection::ID> &current);
    Label shownLabel() const { return label(m_collections, m_current); }

    // The menu, filled with the present collections (made on first use; a press shows it).
    QMenu *menu();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QPainterPath hitShape() const override;
    QAccessible::Role accessibleRole() const override { return QAccessible::ComboBox; }
    QString accessibleText() const override;
    QString accessibleValue() const override { return shownLabel().title; }

signals:
    void picked(const std::optional<sw::Collection::ID> &collection);

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override;

private:
    void choose(const std::optional<Collection::ID> &collection);
    void openMenu();

    QList<Collection> m_collections;
    std::optional<Collection::ID> m_current;
    QPointer<QMenu> m_menu;
};

}  // namespace sw
