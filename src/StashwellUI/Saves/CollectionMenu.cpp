#include "StashwellUI/Saves/CollectionMenu.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/detail/Accessibility.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <memory>

namespace sw {

namespace {

double checkSide() { return ControlPainting::symbolSide(11); }

QFont titleFont() { return Tokens::Typography::body.font(); }

// --- Accessibility: the painted rows as menu items ---

class RowInterface : public Accessibility::ActionablePart {
public:
    RowInterface(CollectionMenu *menu, int index) : m_menu(menu), m_index(index) {}

    bool isValid() const override { return m_menu && m_index < m_menu->menuRows().size(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        return m_menu && m_menu->window() ? m_menu->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *parent() const override
    {
        return m_menu ? QAccessible::queryAccessibleInterface(m_menu.data()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid() || t != QAccessible::Name)
            return {};
        return m_menu->menuRows().at(m_index).title;
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect local = m_menu->rowRect(m_index).toAlignedRect();
        return QRect(m_menu->mapToGlobal(local.topLeft()), local.size());
    }

    QAccessible::Role role() const override { return QAccessible::MenuItem; }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const CollectionMenu::Row &row = m_menu->menuRows().at(m_index);
        // The checked row is the selected one; the highlight is where the keyboard is.
        state.selectable = true;
        state.selected = row.checked;
        state.focusable = true;
        state.focused = m_menu->highlighted() == m_index;
        state.hotTracked = m_menu->highlighted() == m_index;
        return state;
    }


    QStringList actionNames() const override
    {
        return isValid() ? QStringList{pressAction()} : QStringList();
    }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && isValid())
            m_menu->activate(m_index);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<CollectionMenu> m_menu;
    int m_index;
};

class MenuInterface : public QAccessibleWidget {
public:
    explicit MenuInterface(CollectionMenu *menu) : QAccessibleWidget(menu, QAccessible::PopupMenu) {}

    int childCount() const override { return int(menu()->menuRows().size()); }

    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        RowInterface *&row = rowSlot(index);
        if (!row) {
            row = new RowInterface(menu(), index);
            // Filed with the accessibility cache, which owns it; it goes when the menu goes.
            const QAccessible::Id id = QAccessible::registerAccessibleInterface(row);
            QObject::connect(menu(), &QObject::destroyed, [id] { QAccessible::deleteAccessibleInterface(id); });
        }
        return row;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int i = 0; i < int(rows().size()); ++i) {
            if (rows().at(i) == child)
                return i;
        }
        return -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const int index = menu()->rowAt(QPointF(menu()->mapFromGlobal(QPoint(x, y))));
        return index < 0 ? nullptr : child(index);
    }

private:
    CollectionMenu *menu() const { return static_cast<CollectionMenu *>(widget()); }
    std::vector<RowInterface *> &rows() const { return m_rows; }
    RowInterface *&rowSlot(int index) const
    {
        if (std::size_t(index) >= m_rows.size())
            m_rows.resize(std::size_t(index) + 1, nullptr);
        return m_rows[std::size_t(index)];
    }

    mutable std::vector<RowInterface *> m_rows;
};

QAccessibleInterface *menuFactory(const QString &, QObject *object)
{
    if (auto *menu = qobject_cast<CollectionMenu *>(object))
        return new MenuInterface(menu);
    return nullptr;
}

}  // namespace

QList<CollectionMenu::Row> CollectionMenu::rows(const QList<Collection> &collections,
                                                const std::optional<Collection::ID> &current)
{
    QList<Row> result;
    result.reserve(collections.size() + 2);
    Row none;
    none.kind = Row::Kind::none;
    none.title = StashwellUIStrings::collectionNone();
    none.checked = !current.has_value();
    result.append(none);
    for (const Collection &collection : collections) {
        Row row;
        row.kind = Row::Kind::collection;
        row.title = collection.name;
        row.checked = current.has_value() && *current == collection.id;
        row.id = collection.id;
        row.swatch = collection.swatch;
        result.append(row);
    }
    Row fresh;
    fresh.kind = Row::Kind::newCollection;
    fresh.title = StashwellUIStrings::collectionNew();
    result.append(fresh);
    return result;
}

CollectionMenu::CollectionMenu(const QList<Collection> &collections, const std::optional<Collection::ID> &current,
                               QWidget *parent)
    : QWidget(parent), m_rows(rows(collections, current))
{
    Accessibility::installFactory(menuFactory);
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
}

void CollectionMenu::setCollections(const QList<Collection> &collections, const std::optional<Collection::ID> &current)
{
    QList<Row> next = rows(collections, current);
    if (next == m_rows)
        return;
    m_rows = std::move(next);
    if (m_highlighted >= m_rows.size())
        m_highlighted = -1;
    m_pressed = -1;
    updateGeometry();
    update();
}

void CollectionMenu::setHighlighted(int row)
{
    if (row < -1 || row >= m_rows.size())
        row = -1;
    if (row == m_highlighted)
        return;
    m_highlighted = row;
    update();
    if (row >= 0 && QAccessible::isActive()) {
        if (QAccessibleInterface *menu = QAccessible::queryAccessibleInterface(this)) {
            if (QAccessibleInterface *child = menu->child(row)) {
                QAccessibleEvent focus(child, QAccessible::Focus);
                QAccessible::updateAccessibility(&focus);
            }
        }
    }
}

QRectF CollectionMenu::rowRect(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    double y = padding + row * (rowHeight + rowSpacing);
    // The divider stands between the last collection and the new-collection row.
    if (m_rows.at(row).kind == Row::Kind::newCollection)
        y += dividerPadding * 2 + 1 + rowSpacing;
    return QRectF(padding, y, std::max(0.0, width() - 2 * padding), rowHeight);
}

QRectF CollectionMenu::dividerRect() const
{
    const double y = padding + (m_rows.size() - 1) * (rowHeight + rowSpacing) + dividerPadding;
    return QRectF(padding, y, std::max(0.0, width() - 2 * padding), 1);
}

int CollectionMenu::rowAt(const QPointF &point) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (rowRect(i).contains(point))
            return i;
    }
    return -1;
}

void CollectionMenu::activate(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    const Row chosen = m_rows.at(row);
    switch (chosen.kind) {
    case Row::Kind::none:
        emit picked(std::nullopt);
        break;
    case Row::Kind::collection:
        emit picked(chosen.id);
        break;
    case Row::Kind::newCollection:
        emit newCollectionRequested();
        break;
    }
}

double CollectionMenu::rowWidth(const Row &row) const
{
    const double title = row.title.isEmpty() ? 0 : std::ceil(QFontMetricsF(titleFont()).horizontalAdvance(row.title));
    double width = rowInset + iconWidth + itemSpacing + title + itemSpacing + minimumGap + rowInset;
    if (row.checked)
        width += itemSpacing + checkSide();
    return width;
}

double CollectionMenu::menuWidth() const
{
    double widest = 0;
    for (const Row &row : m_rows)
        widest = std::max(widest, rowWidth(row));
    return std::max(minimumMenuWidth, std::ceil(widest + 2 * padding));
}

double CollectionMenu::menuHeight() const
{
    // The rows and the divider are the stack's items, one point apart.
    const qsizetype items = m_rows.size() + 1;
    const double divider = dividerPadding * 2 + 1;
    return padding * 2 + m_rows.size() * rowHeight + divider + (items - 1) * rowSpacing;
}

QSize CollectionMenu::sizeHint() const
{
    return QSize(int(std::ceil(menuWidth())), int(std::ceil(menuHeight())));
}

QSize CollectionMenu::minimumSizeHint() const
{
    return QSize(int(minimumMenuWidth), int(std::ceil(menuHeight())));
}

void CollectionMenu::popUp(const QPoint &globalPosition)
{
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    QSize size = sizeHint();
    QPoint at = globalPosition;
    if (const QScreen *screen = QGuiApplication::screenAt(globalPosition)) {
        // A very long collection name makes the menu wide; the screen is the limit, and the
        // names are cut with an ellipsis.
        const QRect room = screen->availableGeometry();
        size.setWidth(std::min(size.width(), room.width()));
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - size.width() + 1)));
        at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - size.height() + 1)));
    }
    resize(size);
    move(at);
    show();
    setFocus(Qt::PopupFocusReason);
}

void CollectionMenu::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(rect(), Tokens::Colors::card());

    const QFont font = titleFont();
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    for (int i = 0; i < m_rows.size(); ++i) {
        const Row &row = m_rows.at(i);
        const QRectF bounds = rowRect(i);
        const bool hovered = i == m_highlighted;
        if (hovered)
            ContinuousShape::fill(painter, bounds, hoverRadius, Tokens::Colors::hover());
        const QColor tint = row.kind == Row::Kind::newCollection ? Tokens::Colors::accentInk()
                                                                : Tokens::Colors::textSecondary();
        const QColor foreground = hovered ? Tokens::Colors::text() : tint;

        const QRectF content = bounds.adjusted(rowInset, 0, -rowInset, 0);
        const QRectF iconBox(content.left(), content.top(), iconWidth, content.height());
        switch (row.kind) {
        case Row::Kind::none: {
            const double side = ControlPainting::symbolSide(10);
            Symbols::paint(painter, QRectF(iconBox.center().x() - side / 2, iconBox.center().y() - side / 2, side, side),
                           QStringLiteral("xmark"), Tokens::Colors::muted());
            break;
        }
        case Row::Kind::collection: {
            const QRectF square(iconBox.center().x() - swatchSide / 2, iconBox.center().y() - swatchSide / 2, swatchSide,
                                swatchSide);
            ContinuousShape::fill(painter, square, swatchRadius, Tokens::Colors::swatch(row.swatch));
            break;
        }
        case Row::Kind::newCollection: {
            const double side = ControlPainting::symbolSide(11);
            Symbols::paint(painter, QRectF(iconBox.center().x() - side / 2, iconBox.center().y() - side / 2, side, side),
                           QStringLiteral("plus"), foreground);
            break;
        }
        }

        // The title gets what the icon, the gap and the check mark leave; it never wraps.
        const double titleLeft = iconBox.right() + itemSpacing;
        const double reserved = itemSpacing + minimumGap + (row.checked ? itemSpacing + checkSide() : 0);
        const double room = std::max(0.0, content.right() - reserved - titleLeft);
        const QString shown = metrics.horizontalAdvance(row.title) <= room + 0.5
            ? row.title
            : metrics.elidedText(row.title, Qt::ElideRight, room);
        painter.setPen(foreground);
        painter.drawText(QPointF(titleLeft, bounds.center().y() - metrics.height() / 2 + metrics.ascent()), shown);

        if (row.checked) {
            const double side = checkSide();
            Symbols::paint(painter, QRectF(content.right() - side, bounds.center().y() - side / 2, side, side),
                           QStringLiteral("checkmark"), Tokens::Colors::accentInk());
        }
    }
    painter.fillRect(dividerRect(), Tokens::Colors::lineStrong());
}

void CollectionMenu::moveHighlight(int delta)
{
    const int count = int(m_rows.size());
    if (count == 0)
        return;
    if (m_highlighted < 0)
        setHighlighted(delta > 0 ? 0 : count - 1);
    else
        setHighlighted((m_highlighted + count + delta) % count);
}

void CollectionMenu::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_Tab:
        moveHighlight(+1);
        break;
    case Qt::Key_Up:
    case Qt::Key_Backtab:
        moveHighlight(-1);
        break;
    case Qt::Key_Home:
    case Qt::Key_PageUp:
        setHighlighted(m_rows.isEmpty() ? -1 : 0);
        break;
    case Qt::Key_End:
    case Qt::Key_PageDown:
        setHighlighted(int(m_rows.size()) - 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_highlighted < 0 || event->isAutoRepeat()) {
            QWidget::keyPressEvent(event);
            return;
        }
        activate(m_highlighted);
        break;
    default:
        // Escape and the rest go to the presenter (a pop-up window closes on Escape).
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool CollectionMenu::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::HoverLeave:
    case QEvent::Leave:
        if (m_pressed < 0)
            setHighlighted(-1);
        break;
    case QEvent::KeyPress: {
        // Tab and Backtab move within the menu instead of leaving it.
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::event(event);
}

void CollectionMenu::mouseMoveEvent(QMouseEvent *event)
{
    setHighlighted(rowAt(event->position()));
    QWidget::mouseMoveEvent(event);
}

void CollectionMenu::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = rowAt(event->position());
    if (m_pressed < 0) {
        QWidget::mousePressEvent(event);
        return;
    }
    setHighlighted(m_pressed);
    event->accept();
}

void CollectionMenu::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_pressed < 0) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const int pressed = m_pressed;
    m_pressed = -1;
    event->accept();
    if (rowAt(event->position()) == pressed)
        activate(pressed);
}

}  // namespace sw
