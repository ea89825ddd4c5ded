#include "StashwellUI/Controls/StorageMeter.h"

#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/Controls/ProgressTrack.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Surfaces.h"
#include "StashwellUI/Controls/TextButton.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/detail/Sizing.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace sw {

namespace {

QFont sizeFont() { return Tokens::Typography::mono.font(); }
QFont limitFont() { return Tokens::Typography::monoSmall.font(); }

// The top row: the on-this-computer label, and the bytes on disk at the trailing edge. The whole
// row takes presses, the space between the two included.
class StorageShowRow : public Pressable {
public:
    static constexpr double gap = 8;

    explicit StorageShowRow(StorageMeter *meter) : Pressable(meter), m_meter(meter)
    {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    static ControlPainting::Label label()
    {
        ControlPainting::Label label;
        label.symbol = QStringLiteral("internaldrive");
        label.title = StashwellUIStrings::storageOnThisComputer();
        label.font = Tokens::Typography::bodyStrong.font();
        label.typeSize = Tokens::Typography::bodyStrong.size;
        label.spacing = 6;
        return label;
    }

    QString sizeText() const { return Formatting::bytes(m_meter->onDisk()); }

    QString accessibleText() const override { return label().title + QStringLiteral(", ") + sizeText(); }
    bool isAccessiblySelectable() const override { return true; }
    bool isAccessiblySelected() const override { return m_meter->isSelected(); }

    QSize sizeHint() const override
    {
        const QSizeF l = label().size();
        const QSizeF s = ControlPainting::textSize(sizeFont(), sizeText());
        return QSize(Sizing::ceilInt(l.width() + gap + s.width()), Sizing::ceilInt(std::max(l.height(), s.height())));
    }
    QSize minimumSizeHint() const override
    {
        const QSizeF s = ControlPainting::textSize(sizeFont(), sizeText());
        return QSize(Sizing::ceilInt(label().symbolBox() + gap + s.width()), sizeHint().height());
    }

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override
    {
        ControlPainting::applyPlainStyle(painter, state);
        const QString size = sizeText();
        const QFont font = sizeFont();
        const QFontMetricsF metrics(font);
        const double sizeWidth = metrics.horizontalAdvance(size);
        painter.setFont(font);
        painter.setPen(Tokens::Colors::muted());
        painter.drawText(QPointF(rect.right() - sizeWidth, rect.center().y() - metrics.height() / 2 + metrics.ascent()), size);
        label().paint(painter, QRectF(rect.left(), rect.top(), std::max(0.0, rect.width() - sizeWidth - gap), rect.height()),
                      m_meter->isSelected() ? Tokens::Colors::accentInk() : Tokens::Colors::text(), false);
    }

private:
    StorageMeter *m_meter;
};

}  // namespace

StorageMeter::StorageMeter(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_show = new StorageShowRow(this);
    connect(m_show, &QAbstractButton::clicked, this, &StorageMeter::showRequested);
    m_track = new ProgressTrack(fraction(m_onDisk, m_limit), this);
    m_download = new TextButton(QString(), Tokens::Typography::caption.weighted(Tokens::Weight::semibold), this);
    m_download->hide();
    connect(m_download, &QAbstractButton::clicked, this, &StorageMeter::downloadMissingRequested);
    connect(&Theme::instance(), &Theme::changed, this, [this] { update(); });
    relayout();
}

double StorageMeter::fraction(std::int64_t onDisk, std::int64_t limit)
{
    if (limit <= 0)
        return 0;
    return std::max(static_cast<double>(onDisk) / static_cast<double>(limit), minimumFraction);
}

QString StorageMeter::limitText(const QString &folder, std::int64_t limit)
{
    return StashwellUIStrings::storageLimit(folder, Formatting::bytes(limit));
}

QString StorageMeter::downloadMissingTitle(std::int64_t missing)
{
    if (missing < 1)
        return {};
    if (missing == 1)
        return StashwellUIStrings::storageDownloadMissingOne(1);
    return StashwellUIStrings::storageDownloadMissingMany(missing);
}

void StorageMeter::setOnDisk(std::int64_t bytes)
{
    if (bytes == m_onDisk)
        return;
    m_onDisk = bytes;
    m_track->setFraction(fraction(m_onDisk, m_limit));
    AccessibleControl::notifyNameChanged(m_show);
    m_show->updateGeometry();
    m_show->update();
}

void StorageMeter::setLimit(std::int64_t bytes)
{
    if (bytes == m_limit)
        return;
    m_limit = bytes;
    m_track->setFraction(fraction(m_onDisk, m_limit));
    update();
}

void StorageMeter::setFolder(const QString &folder)
{
    if (folder == m_folder)
        return;
    m_folder = folder;
    update();
}

void StorageMeter::setMissing(std::int64_t missing)
{
    if (missing == m_missing)
        return;
    m_missing = missing;
    relayout();
}

void StorageMeter::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    AccessibleControl::notifySelectionChanged(m_show);
    m_show->update();
}

TextButton *StorageMeter::downloadMissingButton() const { return m_download->isVisibleTo(this) ? m_download : nullptr; }

void StorageMeter::relayout()
{
    m_download->setTitle(downloadMissingTitle(m_missing));
    m_download->setVisible(m_missing >= 1);
    updateGeometry();
    place();
    update();
}

double StorageMeter::limitLineHeight() const { return std::ceil(QFontMetricsF(limitFont()).height()); }

QRectF StorageMeter::limitLineRect() const
{
    const double top = padding + m_show->sizeHint().height() + spacing + m_track->barHeight() + spacing;
    return QRectF(padding, top, std::max(0.0, width() - 2 * padding), limitLineHeight());
}

void StorageMeter::place()
{
    const int inner = std::max(0, width() - Sizing::ceilInt(2 * padding));
    const int left = Sizing::ceilInt(padding);
    int y = left;
    const int rowHeight = m_show->sizeHint().height();
    m_show->setGeometry(left, y, inner, rowHeight);
    y += rowHeight + Sizing::ceilInt(spacing);
    const int trackHeight = Sizing::ceilInt(m_track->barHeight());
    m_track->setGeometry(left, y, inner, trackHeight);
    y += trackHeight + Sizing::ceilInt(spacing) + Sizing::ceilInt(limitLineHeight());
    if (m_download->isVisibleTo(this)) {
        y += Sizing::ceilInt(spacing);
        const QSize size = m_download->sizeHint();
        m_download->setGeometry(left, y, std::min(size.width(), inner), size.height());
    }
}

QSize StorageMeter::sizeHint() const
{
    double height = 2 * padding + m_show->sizeHint().height() + spacing + std::ceil(m_track->barHeight()) + spacing +
                    limitLineHeight();
    double width = std::max<double>(m_show->sizeHint().width(),
                                    ControlPainting::textSize(limitFont(), limitText(m_folder, m_limit)).width());
    if (m_missing >= 1) {
        height += spacing + m_download->sizeHint().height();
        width = std::max<double>(width, m_download->sizeHint().width());
    }
    return QSize(Sizing::ceilInt(width + 2 * padding), Sizing::ceilInt(height));
}

QSize StorageMeter::minimumSizeHint() const
{
    return QSize(Sizing::ceilInt(2 * padding + m_show->minimumSizeHint().width()), sizeHint().height());
}

void StorageMeter::resizeEvent(QResizeEvent *) { place(); }

void StorageMeter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds(rect());
    WellStyle::well(Tokens::Colors::field()).fill(painter, bounds, radius);

    const QRectF line = limitLineRect();
    const QFont font = limitFont();
    const QFontMetricsF metrics(font);
    const QString text = limitText(m_folder, m_limit);
    painter.setFont(font);
    painter.setPen(Tokens::Colors::muted());
    painter.drawText(QPointF(line.left(), line.top() + metrics.ascent()),
                     metrics.horizontalAdvance(text) <= line.width() + 0.5 ? text
                                                                           : metrics.elidedText(text, Qt::ElideMiddle, line.width()));
    ContinuousShape::strokeInside(painter, bounds, radius, Tokens::Colors::lineStrong(), 1);
}

}  // namespace sw
