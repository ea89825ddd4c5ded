#include "StashwellUI/detail/ShelfAccessibility.h"

#include "StashwellUI/Shelf/ShelfSurface.h"
#include "StashwellUI/detail/Accessibility.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

namespace sw::detail {

// An item on screen as a list item. Kept by its block and save: it finds its place among the
// items on screen each time it is asked, and is invalid once the item left the screen.
class ShelfItemInterface : public Accessibility::ActionablePart {
public:
    ShelfItemInterface(ShelfSurface *surface, qsizetype block, Save::ID id) : m_surface(surface), m_block(block), m_id(id) {}

    // Where the item stands now, among the items on screen.
    std::optional<qsizetype> index() const
    {
        if (!m_surface)
            return std::nullopt;
        for (const ShelfGeometry::Visible &v : m_surface->visibleItems()) {
            if (v.block != m_block)
                continue;
            for (qsizetype i = v.items.first; i < v.items.last; ++i) {
                const ShelfItem *item = m_surface->item(m_block, i);
                if (item && item->save().id() == m_id)
                    return i;
            }
        }
        return std::nullopt;
    }

    bool isValid() const override { return index().has_value(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        return m_surface && m_surface->window() ? m_surface->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *parent() const override
    {
        return m_surface ? QAccessible::queryAccessibleInterface(m_surface->viewport()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        const auto at = index();
        if (!at || t != QAccessible::Name)
            return {};
        const ShelfItem *item = m_surface->item(m_block, *at);
        const auto *collection = std::get_if<ShelfCollection>(&m_surface->blocks().at(m_block));
        if (!item || !collection)
            return {};
        if (collection->layout == ShelfLayout::grid)
            return SaveCard(*item, collection->now, false).accessibleText();
        return SaveRow(*item, collection->now, false).accessibleText();
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        const auto at = index();
        if (!at)
            return {};
        const QRect local = m_surface->itemRect(m_block, *at).toAlignedRect();
        return QRect(m_surface->viewport()->mapToGlobal(local.topLeft()), local.size());
    }

    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        const auto at = index();
        if (!at) {
            state.invalid = true;
            return state;
        }
        const auto *collection = std::get_if<ShelfCollection>(&m_surface->blocks().at(m_block));
        state.selectable = true;
        state.selected = collection && collection->isSelected(m_id);
        state.focusable = true;
        return state;
    }

    QStringList actionNames() const override
    {
        return isValid() ? QStringList{pressAction(), showMenuAction()} : QStringList();
    }
    void doAction(const QString &name) override
    {
        const auto at = index();
        if (!at)
            return;
        if (!std::holds_alternative<ShelfCollection>(m_surface->blocks().at(m_block)))
            return;
        if (name == pressAction()) {
            m_surface->selectItem(m_block, m_id);
        } else if (name == showMenuAction()) {
            if (const auto menu = m_surface->menuFor(m_block, *at))
                menu->popUp(m_surface, m_surface->viewport()->mapToGlobal(m_surface->itemRect(m_block, *at).center().toPoint()));
        }
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    qsizetype block() const { return m_block; }
    const Save::ID &id() const { return m_id; }

private:
    QPointer<ShelfSurface> m_surface;
    qsizetype m_block;
    Save::ID m_id;
};

namespace {


class ListInterface : public QAccessibleWidget {
public:
    explicit ListInterface(ShelfViewport *viewport) : QAccessibleWidget(viewport, QAccessible::List) {}
    ~ListInterface() override
    {
        for (const QAccessible::Id id : std::as_const(m_items))
            QAccessible::deleteAccessibleInterface(id);
    }

    // The page's widgets first, then the items on screen in order.
    struct Entry {
        qsizetype block;
        qsizetype index;
    };
    std::vector<Entry> entries() const
    {
        std::vector<Entry> result;
        for (const ShelfGeometry::Visible &v : surface()->visibleItems()) {
            for (qsizetype i = v.items.first; i < v.items.last; ++i)
                result.push_back(Entry{v.block, i});
        }
        return result;
    }
    int widgetCount() const { return QAccessibleWidget::childCount(); }

    int childCount() const override { return widgetCount() + int(entries().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const int widgets = widgetCount();
        if (index < widgets)
            return QAccessibleWidget::child(index);
        const std::vector<Entry> all = entries();
        const std::size_t at = std::size_t(index - widgets);
        if (index < 0 || at >= all.size())
            return nullptr;
        const ShelfItem *item = surface()->item(all[at].block, all[at].index);
        if (!item)
            return nullptr;
        const Key key{all[at].block, item->save().id()};
        if (const auto found = m_items.find(key); found != m_items.end())
            return QAccessible::accessibleInterface(*found);
        auto *interface = new ShelfItemInterface(surface(), key.block, key.id);
        m_items.insert(key, QAccessible::registerAccessibleInterface(interface));
        return interface;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const int widgets = widgetCount();
        if (child && child->role() == QAccessible::ListItem && !child->object()) {
            const auto *item = static_cast<const ShelfItemInterface *>(child);
            const std::vector<Entry> all = entries();
            for (std::size_t i = 0; i < all.size(); ++i) {
                const ShelfItem *shown = surface()->item(all[i].block, all[i].index);
                if (all[i].block == item->block() && shown && shown->save().id() == item->id())
                    return widgets + int(i);
            }
            return -1;
        }
        return QAccessibleWidget::indexOfChild(child);
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
        if (const auto hit = surface()->itemAt(QPointF(local))) {
            const std::vector<Entry> all = entries();
            for (std::size_t i = 0; i < all.size(); ++i) {
                if (all[i].block == hit->block && all[i].index == hit->index)
                    return child(widgetCount() + int(i));
            }
        }
        return QAccessibleWidget::childAt(x, y);
    }

private:
    struct Key {
        qsizetype block;
        Save::ID id;
        friend bool operator==(const Key &, const Key &) = default;
    };
    friend size_t qHash(const Key &key, size_t seed) noexcept { return qHashMulti(seed, key.block, key.id); }

    ShelfSurface *surface() const { return static_cast<ShelfViewport *>(widget())->surface(); }
    mutable QHash<Key, QAccessible::Id> m_items;
};

QAccessibleInterface *viewportFactory(const QString &, QObject *object)
{
    if (auto *viewport = dynamic_cast<ShelfViewport *>(object))
        return new ListInterface(viewport);
    return nullptr;
}

}  // namespace

ShelfViewport::ShelfViewport(ShelfSurface *surface)
    : QWidget(surface), m_surface(surface)
{
    Accessibility::installFactory(viewportFactory);
}

}  // namespace sw::detail
