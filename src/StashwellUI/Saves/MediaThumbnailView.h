#pragma once

// The media thumbnail as a widget of its own, for views that show one save or one found post
// (the inspector, the quick-save popover, the Save Link sheet, the latest-save hero). It keeps the
// thumbnail's own page and the pointer's hover, loads the picture on show, follows the window's
// page memory found in its environment (Paging::of), turns pages with the hover arrows and
// reports a single click anywhere else on it as tapped(). Assistive technologies read the state
// of the local copy and find the two arrows as its actions, under their labels.

#include "StashwellUI/Saves/HoverPress.h"
#include "StashwellUI/Saves/MediaThumbnail.h"

#include <QPointer>
#include <QWidget>

namespace sw {

class CachedImage;
class Paging;

class MediaThumbnailView : public QWidget {
    Q_OBJECT
public:
    explicit MediaThumbnailView(const MediaThumbnail &thumbnail, QWidget *parent = nullptr);

    const MediaThumbnail &thumbnail() const { return m_thumbnail; }
    // A thumbnail of another post starts on its first page; the page memory is left alone.
    void setThumbnail(const MediaThumbnail &thumbnail);

    const MediaThumbnail::ViewState &viewState() const { return m_state; }
    std::int64_t currentPage() const { return m_thumbnail.currentPage(m_state.page); }
    // The page memory in use: the one of the nearest enclosing widget that has one.
    Paging *paging() const { return m_thumbnail.paging(); }

    // Turns the page as the arrows do.
    void step(int delta);

    // The loader of the picture on show; tests and off-screen renders start it themselves.
    CachedImage &image() { return *m_image; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A single click on the thumbnail, not on an arrow.
    void tapped();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void findPaging();
    void pictureChanged();
    MediaThumbnail::Hit hitAt(const QPointF &point) const;
    // Writes the pointer's parts into the view state; returns whether it changed.
    bool showPointer();

    MediaThumbnail m_thumbnail;
    MediaThumbnail::ViewState m_state;
    CachedImage *m_image;
    QPointer<Paging> m_watched;
    HoverPress<MediaThumbnail::Hit> m_pointer;
};

}  // namespace sw
