#include "StashwellUI/Saves/MediaThumbnailView.h"

#include "StashwellUI/Pictures/CachedImage.h"
#include "StashwellUI/Saves/Paging.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Design/Theme.h"
#include "StashwellUI/detail/FollowPaging.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace sw {

namespace {

// The thumbnail as assistive technologies see it: a picture whose description is the state of
// the copy, with the two page arrows as its actions wherever the arrows can show.
class ThumbnailInterface : public QAccessibleWidget {
public:
    explicit ThumbnailInterface(MediaThumbnailView *view) : QAccessibleWidget(view, QAccessible::Graphic) {}

    QStringList actionNames() const override
    {
        if (!view()->thumbnail().showsArrows(true))
            return {};
        return {previousAction(), nextAction()};
    }

    QString localizedActionName(const QString &name) const override
    {
        if (name == previousAction())
            return StashwellUIStrings::mediaPrevious();
        if (name == nextAction())
            return StashwellUIStrings::mediaNext();
        return QAccessibleWidget::localizedActionName(name);
    }

    void doAction(const QString &name) override
    {
        if (!view()->thumbnail().showsArrows(true))
            return;
        if (name == previousAction())
            view()->step(-1);
        else if (name == nextAction())
            view()->step(+1);
    }

    static QString previousAction() { return QStringLiteral("media.previous"); }
    static QString nextAction() { return QStringLiteral("media.next"); }

private:
    MediaThumbnailView *view() const { return static_cast<MediaThumbnailView *>(widget()); }
};

QAccessibleInterface *thumbnailFactory(const QString &, QObject *object)
{
    if (auto *view = qobject_cast<MediaThumbnailView *>(object))
        return new ThumbnailInterface(view);
    return nullptr;
}

}  // namespace

MediaThumbnailView::MediaThumbnailView(const MediaThumbnail &thumbnail, QWidget *parent)
    : QWidget(parent), m_thumbnail(thumbnail), m_image(new CachedImage(this))
{
    static const bool accessible = [] {
        QAccessible::installFactory(thumbnailFactory);
        return true;
    }();
    Q_UNUSED(accessible);
    setAttribute(Qt::WA_Hover);
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    connect(&Theme::instance(), &Theme::changed, this, qOverload<>(&QWidget::update));
    connect(m_image, &CachedImage::arrived, this, [this] {
        // A keep-shape thumbnail takes the proportions of the picture once it is there; a load
        // that brought none leaves them as they were, and the layouts above it are not asked
        // again for nothing.
        if (m_thumbnail.mode() == MediaThumbnail::Mode::keepShape && m_image->current())
            updateGeometry();
    });
    m_thumbnail.track(m_state);
    findPaging();
}

void MediaThumbnailView::setThumbnail(const MediaThumbnail &thumbnail)
{
    m_thumbnail = thumbnail;
    m_thumbnail.track(m_state);
    findPaging();
    updateGeometry();
    update();
}

void MediaThumbnailView::findPaging()
{
    FollowPaging::follow(this, m_watched, this, &MediaThumbnailView::pictureChanged);
    m_thumbnail.setPaging(m_watched);
    pictureChanged();
}

void MediaThumbnailView::pictureChanged()
{
    const std::optional<PictureKey> key = m_thumbnail.pictureKey(m_state.page);
    m_image->setSource(key ? std::optional<Url>(key->url) : std::nullopt, key ? key->maxPixels : 0);
    // The picture is decoration; what assistive technologies read is the state of the copy
    // ("3 of 7 bytes", "on this computer") where the mark shows one.
    setAccessibleDescription(m_thumbnail.copyMark().accessibleText);
    update();
}

void MediaThumbnailView::step(int delta)
{
    m_state.page = m_thumbnail.step(delta, m_state.page);
    // In the shared case the memory tells every view, this one included.
    pictureChanged();
}

int MediaThumbnailView::heightForWidth(int width) const
{
    const QSizeF size = m_thumbnail.fittedSize(QSizeF(width, m_thumbnail.height()), m_image->current());
    return int(std::ceil(size.height()));
}

QSize MediaThumbnailView::sizeHint() const
{
    const double height = std::isfinite(m_thumbnail.height()) ? std::max(0.0, m_thumbnail.height()) : 0.0;
    // As wide as a 16:9 picture of the height; a keep-shape picture asks for its own proportions.
    const QSizeF wide(std::ceil(height * 16 / 9), height);
    if (m_thumbnail.mode() == MediaThumbnail::Mode::keepShape) {
        const QSizeF size = m_thumbnail.fittedSize(QSizeF(1.0e6, height), m_image->current());
        return QSize(int(std::ceil(size.width())), int(std::ceil(size.height())));
    }
    return QSize(int(wide.width()), int(std::ceil(height)));
}

QSize MediaThumbnailView::minimumSizeHint() const { return QSize(0, 0); }

void MediaThumbnailView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_thumbnail.paint(painter, QRectF(rect()), m_state, m_image->current());
}

MediaThumbnail::Hit MediaThumbnailView::hitAt(const QPointF &point) const
{
    return m_thumbnail.hitTest(QRectF(rect()), point, m_state, m_image->current());
}

bool MediaThumbnailView::showPointer()
{
    const bool hovering = m_pointer.hovered() != MediaThumbnail::Hit::none;
    // An arrow looks pressed only while the pointer stays on it.
    bool changed = showArrows(m_state, m_pointer.hovered(), m_pointer.held());
    if (hovering != m_state.hovering) {
        m_state.hovering = hovering;
        changed = true;
    }
    return changed;
}

bool MediaThumbnailView::event(QEvent *event)
{
    const PointerHover hover = PointerHover::of(event);
    switch (hover.kind) {
    case PointerHover::Kind::entered:
    case PointerHover::Kind::moved:
        m_pointer.hover(hitAt(hover.position));
        break;
    case PointerHover::Kind::left:
        m_pointer.leave();
        break;
    case PointerHover::Kind::none:
        break;
    }
    if (hover.kind != PointerHover::Kind::none && showPointer())
        update();
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show)
        findPaging();
    return QWidget::event(event);
}

void MediaThumbnailView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (!m_pointer.press(hitAt(event->position()))) {
        event->ignore();
        return;
    }
    showPointer();
    update();
    event->accept();
}

void MediaThumbnailView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pointer.isPressing() && m_pointer.drag(hitAt(event->position())) && showPointer())
        update();
    QWidget::mouseMoveEvent(event);
}

void MediaThumbnailView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pointer.isPressing()) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const MediaThumbnail::Hit clicked = m_pointer.release(hitAt(event->position()));
    showPointer();
    update();
    event->accept();
    if (clicked == MediaThumbnail::Hit::previous)
        step(-1);
    else if (clicked == MediaThumbnail::Hit::next)
        step(+1);
    else if (clicked == MediaThumbnail::Hit::body)
        emit tapped();
}

}  // namespace sw
