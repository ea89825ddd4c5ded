#include "StashwellUI/Pictures/Avatar.h"

#include "StashwellUI/Pictures/CachedImage.h"
#include "StashwellUI/Design/ContinuousShape.h"
#include "StashwellUI/detail/Decorative.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/Design/Tokens.h"

#include <QPainter>
#include <QTextBoundaryFinder>

#include <cmath>

namespace sw {

Avatar::Avatar(QWidget *parent) : Avatar(QString(), std::nullopt, kDefaultSize, parent) {}

Avatar::Avatar(const QString &name, const std::optional<Url> &url, double size, QWidget *parent)
    : QWidget(parent), m_name(name), m_url(url), m_size(size), m_image(new CachedImage(this))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
    Decorative::hide(this);
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
    sourceChanged();
}

void Avatar::setName(const QString &name)
{
    if (name == m_name)
        return;
    m_name = name;
    update();
}

void Avatar::setUrl(const std::optional<Url> &url)
{
    if (url == m_url)
        return;
    m_url = url;
    sourceChanged();
}

void Avatar::setAvatarSize(double size)
{
    if (size == m_size)
        return;
    m_size = size;
    updateGeometry();
    sourceChanged();
}

void Avatar::sourceChanged()
{
    m_image->setSource(m_url, maxPixels(m_size));
    update();
}

PicturePointer Avatar::picture() const
{
    return m_image->current();
}

QSize Avatar::sizeHint() const
{
    const int side = int(std::ceil(std::max(0.0, m_size)));
    return QSize(side, side);
}

std::int64_t Avatar::maxPixels(double size)
{
    const double pixels = size * 3;
    if (!(pixels > 0))
        return 0;
    if (pixels >= 9.0e18)
        return INT64_MAX;
    return std::int64_t(std::trunc(pixels));
}

QString Avatar::initial(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("?");
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, name);
    const qsizetype end = graphemes.toNextBoundary();
    const QString first = end > 0 ? name.left(end) : name.left(1);
    return first.toUpper();
}

int Avatar::paletteIndex(const QString &name)
{
    const std::size_t count = Tokens::Colors::avatarPalette().size();
    std::uint64_t sum = 0;
    for (char32_t scalar : name.toUcs4())
        sum += scalar;   // the remainder is what matters; no name comes near wrapping
    return int(sum % count);
}

void Avatar::paint(QPainter &painter, const QRectF &square, const QString &name, const PicturePointer &picture)
{
    if (square.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipPath(ContinuousShape::rect(square, cornerRadius(square.width())), Qt::IntersectClip);
    if (picture && !picture->image.isNull()) {
        // Scaled to fill: the shorter side meets the square, the longer one is cut.
        const QSizeF source = picture->image.size();
        const double scale = std::max(square.width() / source.width(), square.height() / source.height());
        const QSizeF drawn = source * scale;
        const QRectF target(square.center() - QPointF(drawn.width() / 2, drawn.height() / 2), drawn);
        painter.drawImage(target, picture->image);
    } else {
        const auto &palette = Tokens::Colors::avatarPalette();
        painter.fillRect(square, palette[std::size_t(paletteIndex(name))]);
        painter.setFont(Tokens::Typography::font(square.width() * 0.42, Tokens::Weight::bold));
        painter.setPen(Qt::white);
        painter.drawText(square, Qt::AlignCenter, initial(name));
    }
    painter.restore();
}

void Avatar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF square((width() - m_size) / 2, (height() - m_size) / 2, m_size, m_size);
    paint(painter, square, m_name, picture());
}

}  // namespace sw
