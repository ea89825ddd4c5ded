#include "StashwellUI/Inspector/CollectionPicker.h"

#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Inspector/InspectorFacts.h"
#include "StashwellUI/Saves/CollectionMenu.h"
#include "StashwellUI/detail/Sizing.h"

#include <QEvent>
#include <QPainter>

namespace sw {

namespace {

QFont labelFont() { return Tokens::Typography::caption.font(); }
double chevronSide() { return ControlPainting::symbolSide(CollectionPicker::chevronTypeSize); }

}  // namespace

CollectionPicker::CollectionPicker(QWidget *parent) : Pressable(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setHoverTracked(true);
    connect(this, &Pressable::clicked, this, [this] { setChoosing(!isChoosing()); });
}

void CollectionPicker::setContent(const QList<Collection> &collections, const std::optional<Collection::ID> &filedIn)
{
    m_collections = collections;
    m_filedIn = filedIn;
    m_current = InspectorFacts::currentCollection(collections, filedIn);
    if (m_menu)
        m_menu->setCollections(m_collections, m_filedIn);
    changed(true);
}

QString CollectionPicker::label() const { return InspectorFacts::collectionLabel(m_current); }

void CollectionPicker::setChoosing(bool choosing)
{
    if (choosing == isChoosing())
        return;
    if (!choosing) {
        closeMenu();
        return;
    }
    // The menu's current row is the save's own filing, also when that collection is not listed.
    auto *menu = new CollectionMenu(m_collections, m_filedIn, this);
    m_menu = menu;
    menu->installEventFilter(this);
    connect(menu, &CollectionMenu::picked, this, [this](const std::optional<Collection::ID> &collection) {
        closeMenu();
        emit picked(collection);
    });
    connect(menu, &CollectionMenu::newCollectionRequested, this, [this] {
        closeMenu();
        emit newCollectionRequested();
    });
    menu->popUp(mapToGlobal(QPoint(0, height())));
    update();
}

void CollectionPicker::closeMenu()
{
    CollectionMenu *menu = m_menu;
    if (!menu)
        return;
    m_menu = nullptr;
    menu->removeEventFilter(this);
    menu->hide();
    // The menu may be in the middle of reporting the click that closes it.
    menu->deleteLater();
    update();
}

bool CollectionPicker::eventFilter(QObject *watched, QEvent *event)
{
    // Closed by a click elsewhere or by Escape: nothing is chosen.
    if (watched == m_menu && event->type() == QEvent::Hide)
        closeMenu();
    return Pressable::eventFilter(watched, event);
}

QSize CollectionPicker::sizeHint() const
{
    double width = 2 * padding + ControlPainting::textSize(labelFont(), label()).width() + spacing + chevronSide();
    if (m_current)
        width += swatchSide + spacing;
    return QSize(Sizing::ceilInt(width), int(pickerHeight));
}

void CollectionPicker::paintControl(QPainter &painter, const QRectF &rect, const ControlState &state)
{
    ControlPainting::applyPlainStyle(painter, state);
    WellStyle::well().fill(painter, rect, radius);
    ContinuousShape::strokeInside(painter, rect, radius, Tokens::Colors::lineStronger(), 1);
    double x = rect.left() + padding;
    const double middle = rect.center().y();
    if (m_current) {
        ContinuousShape::fill(painter, QRectF(x, middle - swatchSide / 2, swatchSide, swatchSide), swatchRadius,
                              Tokens::Colors::swatch(m_current->swatch));
        x += swatchSide + spacing;
    }
    const QString text = label();
    const double textWidth = ControlPainting::textSize(labelFont(), text).width();
    painter.setFont(labelFont());
    painter.setPen(Tokens::Colors::text());
    painter.drawText(QRectF(x, rect.top(), textWidth, rect.height()), Qt::AlignLeft | Qt::AlignVCenter, text);
    x += textWidth + spacing;
    const double side = chevronSide();
    Symbols::paint(painter, QRectF(x, middle - side / 2, side, side), u"chevron.down", Tokens::Colors::muted());
    if (state.focused)
        ControlPainting::paintFocusRing(painter, ContinuousShape::rect(rect, radius));
}

}  // namespace sw
