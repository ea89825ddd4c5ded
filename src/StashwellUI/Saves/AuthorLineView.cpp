#include "StashwellUI/Saves/AuthorLineView.h"

#include "StashwellUI/Pictures/CachedImage.h"
#include "StashwellUI/Design/Theme.h"

#include <QPainter>

#include <cmath>

namespace sw {

AuthorLineView::AuthorLineView(QWidget *parent) : AuthorLineView(AuthorLine(Author{}), parent) {}

AuthorLineView::AuthorLineView(const AuthorLine &line, QWidget *parent)
    : QWidget(parent), m_line(line), m_avatar(new CachedImage(this))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
    apply();
}

void AuthorLineView::setLine(const AuthorLine &line)
{
    m_line = line;
    apply();
    updateGeometry();
    update();
}

void AuthorLineView::apply()
{
    const std::optional<PictureKey> key = m_line.avatarKey();
    m_avatar->setSource(key ? std::optional<Url>(key->url) : std::nullopt, key ? key->maxPixels : 0);
    // Read as the name, then the handle and the detail; the avatar is decoration.
    setAccessibleName(m_line.author().name);
    const std::optional<QString> detail = m_line.detailText();
    setAccessibleDescription(m_line.handleText() + (detail ? u' ' + *detail : QString()));
}

QSize AuthorLineView::sizeHint() const
{
    const QSizeF size = m_line.sizeHint();
    return QSize(int(std::ceil(size.width())), int(std::ceil(size.height())));
}

QSize AuthorLineView::minimumSizeHint() const
{
    return QSize(int(std::ceil(m_line.size())), sizeHint().height());
}

void AuthorLineView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_line.paint(painter, QRectF(rect()), m_avatar->current());
}

}  // namespace sw
