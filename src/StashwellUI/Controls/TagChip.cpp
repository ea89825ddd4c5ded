#include "StashwellUI/Controls/TagChip.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace sw {

namespace {

QFont chipFont() { return Tokens::Typography::caption.font(); }

double removeSide() { return ControlPainting::symbolSide(TagChip::removeSymbolSize); }

// The small "xmark" that removes a tag.
class RemoveTagButton : public Pressable {
public:
    RemoveTagButton(TagChip *chip) : Pressable(chip), m_chip(chip)
    {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        // Tags are removed with the pointer or by Tab then Space; a click does not move the focus.
        setFocusPolicy(Qt::TabFocus);
    }

    QString accessibleText() const override { return StashwellUIStrings::tagRemove(m_chip->name()); }
    QSize sizeHint() const override
    {
        const int side = static_cast<int>(std::ceil(removeSide()));
        return QSize(side, side);
    }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override
    {
        ControlPainting::applyPlainStyle(painter, state);
        // The symbol in the bold weight: the xmark drawn a little heavier than the text.
        Symbols::paint(painter, rect, u"xmark", Tokens::Colors::textSecondary());
    }

private:
    TagChip *m_chip;
};

}  // namespace

TagChip::TagChip(const QString &name, QWidget *parent) : QWidget(parent), m_name(name)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(shownText(name));
    m_remove = new RemoveTagButton(this);
    m_remove->hide();
    connect(m_remove, &QAbstractButton::clicked, this, [this] {
        if (m_onRemove)
            m_onRemove();
    });
    connect(&Theme::instance(), &Theme::changed, this, [this] { update(); });
}

QString TagChip::shownText(const QString &name) { return u'#' + name; }

void TagChip::setName(const QString &name)
{
    if (name == m_name)
        return;
    m_name = name;
    setAccessibleName(shownText(name));
    AccessibleControl::notifyNameChanged(m_remove);
    updateGeometry();
    place();
    update();
}

void TagChip::setOnRemove(std::function<void()> onRemove)
{
    const bool had = isRemovable();
    m_onRemove = std::move(onRemove);
    if (had == isRemovable())
        return;
    m_remove->setVisible(isRemovable());
    updateGeometry();
    place();
    update();
}

Pressable *TagChip::removeButton() const { return isRemovable() ? m_remove : nullptr; }

QSize TagChip::sizeHint() const
{
    const QSizeF text = ControlPainting::textSize(chipFont(), shownText(m_name));
    double width = text.width() + 2 * horizontalPadding;
    double height = text.height();
    if (isRemovable()) {
        width += spacing + m_remove->sizeHint().width();
        height = std::max<double>(height, m_remove->sizeHint().height());
    }
    return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(height + 2 * verticalPadding)));
}

void TagChip::place()
{
    const QSize size = m_remove->sizeHint();
    m_remove->setGeometry(width() - static_cast<int>(horizontalPadding) - size.width(), (height() - size.height()) / 2,
                          size.width(), size.height());
}

void TagChip::resizeEvent(QResizeEvent *) { place(); }

void TagChip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(rect());
    ContinuousShape::fill(painter, bounds, bounds.height() / 2, Tokens::Colors::hover());
    const QFont font = chipFont();
    const QFontMetricsF metrics(font);
    double right = bounds.right() - horizontalPadding;
    if (isRemovable())
        right = m_remove->x() - spacing;
    const QString text = shownText(m_name);
    const double available = std::max(0.0, right - horizontalPadding);
    painter.setFont(font);
    painter.setPen(Tokens::Colors::textSecondary());
    painter.drawText(QPointF(horizontalPadding, bounds.center().y() - metrics.height() / 2 + metrics.ascent()),
                     metrics.horizontalAdvance(text) <= available + 0.5 ? text
                                                                         : metrics.elidedText(text, Qt::ElideRight, available));
}

}  // namespace sw
