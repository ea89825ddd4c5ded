#pragma once

// The recent saves of the quick-save popover: a heading over one compact row per save, in the
// order given (nothing sorted, filtered or left out). A row shows a small thumbnail, the first
// line of the post's text and a byline of the author's handle and the save's age; the pointer
// over it lights it; a click anywhere in it (beside the text too) reports the save's id once.

#include "Capture/Date.h"
#include "Capture/PostLink.h"
#include "Library/Save.h"
#include "Shelf/ShelfItem.h"
#include "StashwellUI/Controls/Pressable.h"

#include <QList>
#include <QString>
#include <QWidget>

namespace sw {

class MediaThumbnailView;

class RecentRow : public Pressable {
    Q_OBJECT
public:
    static constexpr double thumbnailSide = 36;
    static constexpr double horizontalPadding = 8;
    static constexpr double verticalPadding = 7;
    static constexpr double spacing = 10;
    static constexpr double lineSpacing = 1;
    static constexpr double radius = 12;

    RecentRow(const ShelfItem &item, Date now, QWidget *parent = nullptr);

    const ShelfItem &item() const { return m_item; }
    Save::ID id() const { return m_item.save().id(); }
    Date now() const { return m_now; }
    void setNow(Date now);

    // The text up to its first line break: line feed, vertical tab, form feed, carriage return,
    // next line, line separator or paragraph separator. Empty when the text is, or when it
    // begins with a break.
    static QString title(const QString &text);
    // "@", the handle's name (always with the "@", also for a name with a full stop), " · " and
    // the age of the save at `now`.
    static QString byline(const Handle &handle, Date savedAt, Date now);

    QString titleText() const { return title(m_item.save().post().text); }
    QString bylineText() const { return byline(m_item.save().post().author.handle, m_item.save().savedAt(), m_now); }

    MediaThumbnailView *thumbnail() const { return m_thumbnail; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QString accessibleText() const override;

protected:
    void paintControl(QPainter &painter, const QRectF &rect, const ControlState &state) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    double textWidth(double width) const;
    QString shownByline(double width) const;

    ShelfItem m_item;
    Date m_now;
    MediaThumbnailView *m_thumbnail = nullptr;
};

class RecentList : public QWidget {
    Q_OBJECT
public:
    static constexpr double spacing = 4;

    explicit RecentList(QWidget *parent = nullptr);

    const QList<ShelfItem> &items() const { return m_items; }
    Date now() const { return m_now; }
    // Rows are made anew only when the items change; a new moment only retells the ages.
    void setItems(const QList<ShelfItem> &items, Date now);

    QList<RecentRow *> rows() const { return m_rows; }

signals:
    void selected(const sw::Save::ID &id);

private:
    QList<ShelfItem> m_items;
    Date m_now;
    QList<RecentRow *> m_rows;
};

}  // namespace sw
