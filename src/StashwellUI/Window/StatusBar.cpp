#include "StashwellUI/Window/StatusBar.h"

#include "StashwellUI/Controls/ControlPainting.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/Design/LogoMark.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/detail/Sizing.h"

#include <QFontMetricsF>
#include <QPainter>

namespace sw {

StatusBar::StatusBar(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(static_cast<int>(barHeight));
    setAccessibleName(summary());
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
}

void StatusBar::setItems(qsizetype items)
{
    if (items == m_items)
        return;
    m_items = items;
    changed();
}

void StatusBar::setOnDisk(std::int64_t bytes)
{
    if (bytes == m_onDisk)
        return;
    const QString before = Formatting::bytes(m_onDisk);
    m_onDisk = bytes;
    if (Formatting::bytes(bytes) != before)
        changed();
}

void StatusBar::setFolder(const QString &folder)
{
    if (folder == m_folder)
        return;
    m_folder = folder;
    changed();
}

void StatusBar::changed()
{
    setAccessibleName(summary());
    update();
}

QString StatusBar::summary() const { return summary(m_items, m_onDisk, m_folder); }

QString StatusBar::summary(qsizetype items, std::int64_t onDisk, const QString &folder)
{
    return StashwellUIStrings::statusSummary(items, Formatting::bytes(onDisk), folder);
}

QList<StatusBar::Hint> StatusBar::hints()
{
    return {
        {KeyCap::Keys::paste, StashwellUIStrings::statusSaveLink(), 0},
        {KeyCap::Keys::find, StashwellUIStrings::statusSearch(), 1},
        {KeyCap::Keys::move, StashwellUIStrings::statusMove(), 2},
        {KeyCap::Keys::open, StashwellUIStrings::statusOpenItem(), 2},
        {KeyCap::Keys::trash, StashwellUIStrings::statusTrash(), 2},
    };
}

namespace {

QFont textFont() { return Tokens::Typography::mono.font(); }

}  // namespace

double StatusBar::hintsWidth()
{
    const QFontMetricsF metrics(textFont());
    double width = 0;
    int group = -1;
    for (const Hint &hint : hints()) {
        if (group >= 0)
            width += hint.group == group ? pairSpacing : spacing;
        group = hint.group;
        width += KeyCap::size(KeyCap::text(hint.keys)).width() + pairSpacing + metrics.horizontalAdvance(hint.meaning);
    }
    return width;
}

QSize StatusBar::sizeHint() const
{
    const QFontMetricsF metrics(textFont());
    const double width = 2 * sidePadding + logoSize + spacing + metrics.horizontalAdvance(summary()) + spacing + hintsWidth();
    return QSize(Sizing::ceilInt(width), static_cast<int>(barHeight));
}

QSize StatusBar::minimumSizeHint() const
{
    return QSize(Sizing::ceilInt(2 * sidePadding + logoSize + spacing + hintsWidth()), static_cast<int>(barHeight));
}

void StatusBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF line = QRectF(rect()).adjusted(sidePadding, 0, -sidePadding, 0);
    const double middle = line.center().y();
    LogoMark::paint(painter, QRectF(line.left(), middle - logoSize / 2, logoSize, logoSize), true);

    const QFont font = textFont();
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    painter.setPen(Tokens::Colors::muted());
    const double baseline = middle - metrics.height() / 2 + metrics.ascent();

    // The hints keep their place at the trailing edge; the summary takes what is left.
    double x = line.right() - hintsWidth();
    const double summaryLeft = line.left() + logoSize + spacing;
    const double summaryWidth = x - spacing - summaryLeft;
    if (summaryWidth > 0)
        painter.drawText(QPointF(summaryLeft, baseline), metrics.elidedText(summary(), Qt::ElideMiddle, summaryWidth));

    int group = -1;
    for (const Hint &hint : hints()) {
        if (group >= 0)
            x += hint.group == group ? pairSpacing : spacing;
        group = hint.group;
        const QString keys = KeyCap::text(hint.keys);
        const QSizeF cap = KeyCap::size(keys);
        KeyCap::paint(painter, QRectF(x, middle - cap.height() / 2, cap.width(), cap.height()), keys);
        x += cap.width() + pairSpacing;
        painter.setFont(font);
        painter.setPen(Tokens::Colors::muted());
        painter.drawText(QPointF(x, baseline), hint.meaning);
        x += metrics.horizontalAdvance(hint.meaning);
    }
}

}  // namespace sw
