#include "StashwellUI/Controls/CaptureButton.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Controls/KeyCap.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/Tokens.h"

#include <QKeySequence>
#include <QPainter>

#include <cmath>

namespace sw {

namespace {

ControlPainting::Label captureLabel()
{
    ControlPainting::Label label;
    label.symbol = QStringLiteral("link");
    label.title = StashwellUIStrings::sidebarPasteLink();
    label.font = Tokens::Typography::body.font();
    label.typeSize = Tokens::Typography::body.size;
    label.spacing = CaptureButton::spacing;
    return label;
}

}  // namespace

CaptureButton::CaptureButton(QWidget *parent) : Pressable(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QString CaptureButton::shortcutText() { return KeyCap::text(KeyCap::Keys::paste); }

QString CaptureButton::title() const { return StashwellUIStrings::sidebarPasteLink(); }

QRectF CaptureButton::keyCapRect(const QRectF &bounds)
{
    const QSizeF cap = KeyCap::size(shortcutText());
    return QRectF(bounds.right() - trailingPadding - cap.width(), bounds.center().y() - cap.height() / 2, cap.width(),
                  cap.height());
}

QSize CaptureButton::sizeHint() const
{
    const double width = leadingPadding + captureLabel().size().width() + spacing + KeyCap::size(shortcutText()).width() +
                         trailingPadding;
    return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(controlHeight));
}

QSize CaptureButton::minimumSizeHint() const
{
    const double width = leadingPadding + ControlPainting::symbolSide(Tokens::Typography::body.size) + spacing +
                         KeyCap::size(shortcutText()).width() + trailingPadding;
    return QSize(static_cast<int>(std::ceil(width)), static_cast<int>(controlHeight));
}

void CaptureButton::paintControl(QPainter &painter, const QRectF &rect, const ControlState &state)
{
    ControlPainting::applyPlainStyle(painter, state);
    WellStyle::well().fill(painter, rect, radius);
    const QRectF cap = keyCapRect(rect);
    captureLabel().paint(painter, QRectF(rect.left() + leadingPadding, rect.top(), std::max(0.0, cap.left() - spacing - leadingPadding), rect.height()),
                         Tokens::Colors::muted(), false);
    KeyCap::paint(painter, cap, shortcutText());

    // The dashed border, inside the edge.
    QPen pen(Tokens::Colors::lineStronger(), 1, Qt::CustomDashLine, Qt::FlatCap);
    pen.setDashPattern({4, 3});
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(ContinuousShape::rect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5));
}

}  // namespace sw
