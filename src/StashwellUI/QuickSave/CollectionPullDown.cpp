#include "StashwellUI/QuickSave/CollectionPullDown.h"

#include "StashwellUI/Controls/GlassMaterial.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/SwatchDot.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QFontMetricsF>
#include <QMenu>
#include <QPainter>

#include <cmath>

namespace sw {

namespace {

QFont labelFont() { return Tokens::Typography::body.font(); }
double chevronSide() { return ControlPainting::symbolSide(Tokens::Typography::caption.size); }

// A title as a menu shows it: an "&" stays a character, not a mnemonic.
QString menuText(const QString &title) { return QString(title).replace(u'&', QStringLiteral("&&")); }

}  // namespace

CollectionPullDown::Label CollectionPullDown::label(const QList<Collection> &collections, const std::optional<Collection::ID> &current)
{
    if (current) {
        for (const Collection &collection : collections) {
            if (collection.id == *current)
                return Label{collection.swatch, collection.name};
        }
    }
    return Label{std::nullopt, StashwellUIStrings::collectionNone()};
}

CollectionPullDown::CollectionPullDown(QWidget *parent) : Pressable(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::clicked, this, &CollectionPullDown::openMenu);
}

void CollectionPullDown::setCollections(const QList<Collection> &collections)
{
    if (collections == m_collections)
        return;
    const Label before = shownLabel();
    m_collections = collections;
    if (shownLabel() != before)
        notifyValueChanged(this);
    changed(true);
}

void CollectionPullDown::setCurrent(const std::optional<Collection::ID> &current)
{
    if (current == m_current)
        return;
    const Label before = shownLabel();
    m_current = current;
    if (shownLabel() != before) {
        notifyValueChanged(this);
        changed(true);
    }
}

QString CollectionPullDown::accessibleText() const { return StashwellUIStrings::collectionLabel(); }

QMenu *CollectionPullDown::menu()
{
    if (!m_menu) {
        m_menu = new QMenu(this);
        m_menu->setAccessibleName(StashwellUIStrings::collectionLabel());
    }
    m_menu->clear();
    QAction *none = m_menu->addAction(menuText(StashwellUIStrings::collectionNone()));
    connect(none, &QAction::triggered, this, [this] { choose(std::nullopt); });
    m_menu->addSeparator();
    for (const Collection &collection : std::as_const(m_collections)) {
        QAction *action = m_menu->addAction(menuText(collection.name));
        const Collection::ID id = collection.id;
        connect(action, &QAction::triggered, this, [this, id] { choose(id); });
    }
    return m_menu;
}

void CollectionPullDown::openMenu() { menu()->popup(mapToGlobal(QPoint(0, height()))); }

void CollectionPullDown::choose(const std::optional<Collection::ID> &collection)
{
    setCurrent(collection);
    emit picked(collection);
}

QSize CollectionPullDown::sizeHint() const
{
    const Label shown = shownLabel();
    double width = 2 * sidePadding + QFontMetricsF(labelFont()).horizontalAdvance(shown.title) + spacing + chevronSide();
    if (shown.swatch)
        width += SwatchDot::kWidth + spacing;
    return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(controlHeight));
}

QSize CollectionPullDown::minimumSizeHint() const
{
    return QSize(static_cast<int>(std::ceil(2 * sidePadding + chevronSide())), static_cast<int>(controlHeight));
}

QPainterPath CollectionPullDown::hitShape() const { return ContinuousShape::capsule(QRectF(rect())); }

void CollectionPullDown::paintControl(QPainter &painter, const QRectF &rect, const ControlState &state)
{
    GlassMaterial::paint(painter, ContinuousShape::capsule(rect), true, state);
    ControlPainting::applyPlainStyle(painter, state);
    const Label shown = shownLabel();
    const QRectF content = rect.adjusted(sidePadding, 0, -sidePadding, 0);
    const double side = chevronSide();
    const QRectF chevron(content.right() - side, content.center().y() - side / 2, side, side);
    double left = content.left();
    if (shown.swatch) {
        SwatchDot::paint(painter, QRectF(left, content.top(), SwatchDot::kWidth, content.height()), Tokens::Colors::swatch(*shown.swatch));
        left += SwatchDot::kWidth + spacing;
    }
    const double titleWidth = std::max(0.0, chevron.left() - spacing - left);
    const QFont font = labelFont();
    painter.setFont(font);
    painter.setPen(Tokens::Colors::text());
    painter.drawText(QRectF(left, content.top(), titleWidth, content.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(font).elidedText(shown.title, Qt::ElideRight, titleWidth));
    Symbols::paint(painter, chevron, u"chevron.up.chevron.down", Tokens::Colors::muted());
}

}  // namespace sw
