#include "StashwellUI/QuickSave/RecentRow.h"

#include "Offline/LocalCopy.h"
#include "StashwellUI/Controls/Kicker.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Saves/MediaThumbnailView.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/detail/TextLines.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QVBoxLayout>

#include <climits>
#include <cmath>

namespace sw {

namespace {

QFont titleFont() { return Tokens::Typography::body.font(); }
QFont bylineFont() { return Tokens::Typography::caption.font(); }
double lineHeight(const QFont &font) { return std::ceil(QFontMetricsF(font).lineSpacing()); }
int ceilInt(double value) { return static_cast<int>(std::ceil(value - 1e-9)); }

bool isLineBreak(QChar c)
{
    switch (c.unicode()) {
    case 0x000A:   // line feed
    case 0x000B:   // vertical tab
    case 0x000C:   // form feed
    case 0x000D:   // carriage return
    case 0x0085:   // next line
    case 0x2028:   // line separator
    case 0x2029:   // paragraph separator
        return true;
    default:
        return false;
    }
}

}  // namespace

RecentRow::RecentRow(const ShelfItem &item, Date now, QWidget *parent) : Pressable(parent), m_item(item), m_now(now)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    m_thumbnail = new MediaThumbnailView(MediaThumbnail(item, thumbnailSide, false, false, false, true), this);
    m_thumbnail->setFixedSize(int(thumbnailSide), int(thumbnailSide));
    // The whole row takes the click, the thumbnail included.
    m_thumbnail->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_thumbnail->setFocusPolicy(Qt::NoFocus);
}

void RecentRow::setNow(Date now)
{
    if (now == m_now)
        return;
    const QString before = bylineText();
    m_now = now;
    if (bylineText() != before) {
        notifyNameChanged(this);
        changed(true);
    }
}

QString RecentRow::title(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isLineBreak(text.at(i)))
            return text.left(i);
    }
    return text;
}

QString RecentRow::byline(const Handle &handle, Date savedAt, Date now)
{
    return u'@' + handle.name + QStringLiteral(" \u00B7 ") + Formatting::ago(savedAt, now);
}

QString RecentRow::accessibleText() const { return titleText() + QStringLiteral(", ") + bylineText(); }

double RecentRow::textWidth(double width) const
{
    return std::max(1.0, width - 2 * horizontalPadding - thumbnailSide - spacing);
}

QString RecentRow::shownByline(double width) const
{
    return TextLines::visible(bylineText(), bylineFont(), textWidth(width), INT_MAX);
}

int RecentRow::heightForWidth(int width) const
{
    const double bylineLines = std::max<qsizetype>(1, shownByline(width).count(u'\n') + 1);
    const double text = lineHeight(titleFont()) + lineSpacing + bylineLines * lineHeight(bylineFont());
    return ceilInt(std::max(thumbnailSide, text) + 2 * verticalPadding);
}

QSize RecentRow::sizeHint() const
{
    const double text = std::max(QFontMetricsF(titleFont()).horizontalAdvance(titleText()),
                                 QFontMetricsF(bylineFont()).horizontalAdvance(bylineText()));
    const int width = ceilInt(2 * horizontalPadding + thumbnailSide + spacing + text);
    return QSize(width, heightForWidth(width));
}

QSize RecentRow::minimumSizeHint() const
{
    // The height of a one-line byline: a narrower row is told its real height by heightForWidth().
    const double text = lineHeight(titleFont()) + lineSpacing + lineHeight(bylineFont());
    return QSize(ceilInt(2 * horizontalPadding + thumbnailSide + spacing), ceilInt(std::max(thumbnailSide, text) + 2 * verticalPadding));
}

void RecentRow::resizeEvent(QResizeEvent *event)
{
    Pressable::resizeEvent(event);
    m_thumbnail->move(int(horizontalPadding), int(std::round((height() - thumbnailSide) / 2)));
}

void RecentRow::paintControl(QPainter &painter, const QRectF &rect, const ControlState &state)
{
    if (state.hovered)
        ContinuousShape::fill(painter, rect, radius, Tokens::Colors::onGlassHover());
    ControlPainting::applyPlainStyle(painter, state);

    const double left = rect.left() + horizontalPadding + thumbnailSide + spacing;
    const double width = textWidth(rect.width());
    const QString bylineShown = shownByline(rect.width());
    const QStringList bylineLines = bylineShown.split(u'\n');
    const double titleHeight = lineHeight(titleFont());
    const double bylineHeight = lineHeight(bylineFont());
    const double block = titleHeight + lineSpacing + bylineHeight * double(bylineLines.size());
    double y = rect.center().y() - block / 2;

    painter.setFont(titleFont());
    painter.setPen(Tokens::Colors::text());
    const QString title = QFontMetricsF(titleFont()).elidedText(titleText(), Qt::ElideRight, width);
    painter.drawText(QRectF(left, y, width, titleHeight), Qt::AlignLeft | Qt::AlignVCenter, title);
    y += titleHeight + lineSpacing;

    painter.setFont(bylineFont());
    painter.setPen(Tokens::Colors::muted());
    for (const QString &line : bylineLines) {
        painter.drawText(QRectF(left, y, width, bylineHeight), Qt::AlignLeft | Qt::AlignVCenter, line);
        y += bylineHeight;
    }
}

// ---------------------------------------------------------------------------------------------
// RecentList

RecentList::RecentList(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(int(spacing));
    auto *heading = new Kicker(StashwellUIStrings::quickSaveRecentlySaved(), this);
    heading->setContentsMargins(0, 0, 0, 0);
    auto *headingBox = new QVBoxLayout;
    headingBox->setContentsMargins(6, 0, 6, 4);
    headingBox->addWidget(heading, 0, Qt::AlignLeft);
    column->addLayout(headingBox);
    // Room beyond the rows stays below them.
    column->addStretch(1);
}

void RecentList::setItems(const QList<ShelfItem> &items, Date now)
{
    m_now = now;
    if (items == m_items && m_rows.size() == items.size()) {
        for (RecentRow *row : std::as_const(m_rows))
            row->setNow(now);
        return;
    }
    m_items = items;
    qDeleteAll(m_rows);
    m_rows.clear();
    auto *column = static_cast<QVBoxLayout *>(layout());
    for (const ShelfItem &item : items) {
        auto *row = new RecentRow(item, now, this);
        const Save::ID id = item.save().id();
        connect(row, &QAbstractButton::clicked, this, [this, id] { emit selected(id); });
        column->insertWidget(column->count() - 1, row);
        m_rows.append(row);
    }
}

}  // namespace sw
