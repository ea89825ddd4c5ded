#include "StashwellUI/Controls/GlassMaterial.h"

#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Pictures/PaintMemo.h"

#include <QLinearGradient>
#include <QPainter>

namespace sw::GlassMaterial {

namespace {

// The shape's outline relative to the corner of its bounds, for the key of its kept bitmap.
QString outlineKey(const QPainterPath &shape, const QPointF &corner)
{
    QString key;
    key.reserve(shape.elementCount() * 12);
    for (int i = 0; i < shape.elementCount(); ++i) {
        const QPainterPath::Element e = shape.elementAt(i);
        key += QString::number(int(e.type));
        key += QString::number(std::lround((e.x - corner.x()) * 64));
        key += u',';
        key += QString::number(std::lround((e.y - corner.y()) * 64));
        key += u';';
    }
    return key;
}

void paintGlass(QPainter &painter, const QPainterPath &shape, bool interactive, const ControlState &state)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const bool dark = Theme::isDark();
    painter.fillPath(shape, dark ? QColor(255, 255, 255, 24) : QColor(255, 255, 255, 150));
    if (interactive)
        paintResponse(painter, shape, state);

    // The light catching the top edge, fading out towards the middle.
    const QRectF bounds = shape.boundingRect();
    QLinearGradient highlight(bounds.topLeft(), QPointF(bounds.left(), bounds.center().y()));
    highlight.setColorAt(0, dark ? QColor(255, 255, 255, 70) : QColor(255, 255, 255, 230));
    highlight.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setClipPath(shape);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QBrush(highlight), 3));
    painter.drawPath(shape);
    painter.restore();

    // The fine border, inside the edge.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(shape);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Tokens::Colors::lineStrong(), 2));
    painter.drawPath(shape);
    painter.restore();
}

}  // namespace

void paintResponse(QPainter &painter, const QPainterPath &shape, const ControlState &state)
{
    if (!state.enabled || (!state.hovered && !state.pressed))
        return;
    QColor response = Tokens::Colors::onGlassHover();
    if (state.pressed)
        response = ControlPainting::faded(response, 2);
    painter.fillPath(shape, response);
}

void paint(QPainter &painter, const QPainterPath &shape, bool interactive, const ControlState &state)
{
    // The same glass is painted on every repaint of the bar and its controls: kept as a bitmap.
    const QRectF bounds = shape.boundingRect();
    const bool responds = interactive && state.enabled && (state.hovered || state.pressed);
    const QString key = QStringLiteral("glass|%1|%2|%3|%4|").arg(Theme::isDark()).arg(Tokens::Colors::lineStrong().rgba())
                            .arg(responds ? Tokens::Colors::onGlassHover().rgba() : 0u).arg(responds && state.pressed)
                        + outlineKey(shape, bounds.topLeft());
    PaintMemo::drawInPlace(painter, bounds, key, [&](QPainter &p) { paintGlass(p, shape, interactive, state); });
}

ControlPainting::Label label(const QString &symbol, const QString &title)
{
    ControlPainting::Label label;
    label.symbol = symbol;
    label.title = title;
    label.font = Tokens::Typography::bodyStrong.font();
    label.typeSize = Tokens::Typography::bodyStrong.size;
    label.spacing = 6;
    return label;
}

}  // namespace sw::GlassMaterial
