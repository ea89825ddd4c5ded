#include "StashwellUI/Controls/FileRow.h"

#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Design/Symbols.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextOption>

#include <cmath>

namespace sw {

namespace {

QFont nameFont() { return Tokens::Typography::body.font(); }
QFont detailFont() { return Tokens::Typography::monoSmall.font(); }

double textLeft() { return FileRow::tile + FileRow::spacing; }

QRectF detailBounds(const QString &detail, double width)
{
    const QFontMetricsF metrics(detailFont());
    return metrics.boundingRect(QRectF(0, 0, std::max(1.0, width), 1e6), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, detail);
}

}  // namespace

FileRow::FileRow(const QString &name, const QString &detail, const QString &symbol, QWidget *parent)
    : QWidget(parent), m_name(name), m_detail(detail), m_symbol(symbol)
{
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setAccessibleName(name);
    setAccessibleDescription(detail);
    connect(&Theme::instance(), &Theme::changed, this, [this] { update(); });
}

void FileRow::textChanged()
{
    setAccessibleName(m_name);
    setAccessibleDescription(m_detail);
    updateGeometry();
    update();
}

void FileRow::setName(const QString &name)
{
    if (name == m_name)
        return;
    m_name = name;
    textChanged();
}

void FileRow::setDetail(const QString &detail)
{
    if (detail == m_detail)
        return;
    m_detail = detail;
    textChanged();
}

void FileRow::setSymbol(const QString &symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    update();
}

QString FileRow::shownName(const QString &name, double width)
{
    const QFontMetricsF metrics(nameFont());
    if (metrics.horizontalAdvance(name) <= width + 0.5)
        return name;
    return metrics.elidedText(name, Qt::ElideMiddle, width);
}

int FileRow::heightForWidth(int width) const
{
    const double textWidth = std::max(1.0, width - textLeft());
    const double names = std::ceil(QFontMetricsF(nameFont()).height());
    const double details = m_detail.isEmpty() ? std::ceil(QFontMetricsF(detailFont()).height())
                                              : std::ceil(detailBounds(m_detail, textWidth).height());
    return static_cast<int>(std::ceil(std::max(tile, names + lineSpacing + details) + 2 * verticalPadding));
}

QSize FileRow::sizeHint() const
{
    const double nameWidth = ControlPainting::textSize(nameFont(), m_name).width();
    const double detailWidth = ControlPainting::textSize(detailFont(), m_detail).width();
    const int width = static_cast<int>(std::ceil(textLeft() + std::max(nameWidth, detailWidth)));
    return QSize(width, heightForWidth(width));
}

QSize FileRow::minimumSizeHint() const
{
    return QSize(static_cast<int>(tile), static_cast<int>(tile + 2 * verticalPadding));
}

void FileRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double midY = height() / 2.0;
    const QRectF tileRect(0, midY - tile / 2, tile, tile);
    WellStyle::well(Tokens::Colors::field()).fill(painter, tileRect, tileRadius);
    if (!m_symbol.isEmpty()) {
        const double side = ControlPainting::symbolSide(Tokens::Typography::body.size);
        Symbols::paint(painter, QRectF(tileRect.center().x() - side / 2, tileRect.center().y() - side / 2, side, side), m_symbol,
                       Tokens::Colors::muted());
    }

    const double left = textLeft();
    const double textWidth = std::max(0.0, width() - left);
    const QFontMetricsF nameMetrics(nameFont());
    const double nameHeight = std::ceil(nameMetrics.height());
    const QRectF details = m_detail.isEmpty() ? QRectF(0, 0, 0, std::ceil(QFontMetricsF(detailFont()).height()))
                                              : detailBounds(m_detail, textWidth);
    const double block = nameHeight + lineSpacing + std::ceil(details.height());
    const double top = midY - block / 2;
    painter.setFont(nameFont());
    painter.setPen(Tokens::Colors::text());
    painter.drawText(QPointF(left, top + nameMetrics.ascent()), shownName(m_name, textWidth));
    painter.setFont(detailFont());
    painter.setPen(Tokens::Colors::muted());
    painter.drawText(QRectF(left, top + nameHeight + lineSpacing, textWidth, std::ceil(details.height()) + 1),
                     Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, m_detail);
}

}  // namespace sw
