#include "StashwellUI/Controls/KeyCap.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace sw {

KeyCap::KeyCap(const QString &keys, QWidget *parent) : QWidget(parent), m_keys(keys)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(keys);
    connect(&Theme::instance(), &Theme::changed, this, [this] { update(); });
}

KeyCap::KeyCap(Keys keys, QWidget *parent) : KeyCap(text(keys), parent) {}

void KeyCap::setKeys(const QString &keys)
{
    if (keys == m_keys)
        return;
    m_keys = keys;
    setAccessibleName(keys);
    updateGeometry();
    update();
}

QString KeyCap::text(const QKeySequence &shortcut) { return shortcut.toString(QKeySequence::NativeText); }

QString KeyCap::text(Keys keys)
{
    switch (keys) {
    case Keys::paste:
        return text(QKeySequence(Qt::CTRL | Qt::Key_V));
    case Keys::find:
        return text(QKeySequence(Qt::CTRL | Qt::Key_F));
    case Keys::saveLink:
        return text(QKeySequence(Qt::CTRL | Qt::Key_L));
    case Keys::hotKey:
        return text(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_D));
    case Keys::move:
        // Left, right, up, down: one cap for the four. Qt names these keys in words.
        return QStringLiteral("\u2190\u2192\u2191\u2193");
    case Keys::open:
        return QStringLiteral("\u21B5");
    case Keys::trash:
        // Delete and Backspace both trash; the cap names the key as the keyboard labels it.
        return text(QKeySequence(Qt::Key_Delete));
    }
    return QString();
}

QSizeF KeyCap::size(const QString &keys)
{
    const QSizeF text = ControlPainting::textSize(Tokens::Typography::monoSmall.font(), keys);
    return QSizeF(text.width() + 2 * horizontalPadding, text.height() + 2 * verticalPadding);
}

void KeyCap::paint(QPainter &painter, const QRectF &bounds, const QString &keys)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    ContinuousShape::fill(painter, bounds, radius, Tokens::Colors::card());
    const QFont font = Tokens::Typography::monoSmall.font();
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    painter.setPen(Tokens::Colors::textSecondary());
    const double baseline = bounds.center().y() - metrics.height() / 2 + metrics.ascent();
    painter.drawText(QPointF(bounds.left() + horizontalPadding, baseline), keys);
    ContinuousShape::strokeInside(painter, bounds, radius, Tokens::Colors::lineStronger(), 1);
    painter.restore();
}

QSize KeyCap::sizeHint() const
{
    const QSizeF s = size(m_keys);
    return QSize(static_cast<int>(std::ceil(s.width())), static_cast<int>(std::ceil(s.height())));
}

void KeyCap::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, QRectF(rect()), m_keys);
}

}  // namespace sw
