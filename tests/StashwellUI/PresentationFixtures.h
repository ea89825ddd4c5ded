#pragma once

// Posts, saves and shelf items for the tests of the save presentation views, and a widget that
// hosts a painter for the gallery.

#include "Offline/CopyTable.h"
#include "Library/Library.h"
#include "Offline/LocalCopy.h"
#include "Offline/LocalMedia.h"
#include "Offline/MediaFolder.h"
#include "Capture/Post.h"
#include "Library/Save.h"
#include "StashKit/Shelf.h"
#include "StashKit/ShelfItem.h"
#include "Capture/Url.h"

#include <QPainter>
#include <QUuid>
#include <QWidget>
#include <QtGlobal>

#include <functional>
#include <optional>
#include <vector>

#include "CaptureFixtures.h"

namespace sw::fixtures {

inline Attachment image(int n = 0)
{
    return Attachment::Image{url(QStringLiteral("https://pbs.example.com/%1.jpg").arg(n)), 1000};
}

inline Attachment video(double seconds = 30, std::int64_t bytes = 5000)
{
    return Attachment::Video{url(QStringLiteral("https://video.example.com/v.mp4")), Duration::fromSeconds(seconds), bytes,
                             std::nullopt};
}

inline Attachment page() { return Attachment::Page{url(QStringLiteral("https://news.example.com/p")), 800}; }

inline Post post(PostLink link, std::vector<Attachment> attachments = {}, const QString &text = QStringLiteral("words"),
                 std::optional<QString> preview = std::nullopt)
{
    Post p;
    p.author = Author{QStringLiteral("Someone"), Handle{QStringLiteral("someone")}, std::nullopt};
    p.link = std::move(link);
    p.text = text;
    p.postedAt = Date{700000000};
    p.attachments = std::move(attachments);
    if (preview)
        p.preview = url(*preview);
    return p;
}

inline Save::ID saveID(int n)
{
    return Save::ID(fixedUuid(n));
}

inline Save save(Post post, int n = 1, Date savedAt = Date{700000000}, bool favourite = false, bool trashed = false)
{
    return Save(saveID(n), std::move(post), savedAt, favourite, std::nullopt, {}, QString(),
                trashed ? std::optional<Date>(Date{700000100}) : std::nullopt);
}

// The item the shelf makes of a save with that local copy (pictures and cover as the shelf
// works them out; tests that need others set them).
inline ShelfItem item(const Save &save, const LocalCopy &copy = LocalCopy::linkOnly())
{
    LocalMedia media(MediaFolder(url(QStringLiteral("file:///tmp/stashwell-media/"))), DiskBudget{std::int64_t(1) << 40});
    CopyTable table;
    if (!copy.isLinkOnly())
        table.insert(save.post().link, copy);
    media.setCopies(table);
    const Shelf shelf(Library{}, media, std::nullopt, Date{700000000}, Quality::original);
    return shelf.item(save);
}

inline std::vector<std::optional<Url>> pictures(int count)
{
    std::vector<std::optional<Url>> result;
    for (int i = 0; i < count; ++i)
        result.push_back(url(QStringLiteral("file:///tmp/stashwell-media/p%1.jpg").arg(i)));
    return result;
}

// A widget that paints with a function: the gallery's frame for painters.
class PainterHost : public QWidget {
public:
    PainterHost(QSize size, std::function<void(QPainter &, const QRectF &)> paint)
        : m_size(size), m_paint(std::move(paint))
    {
        setAttribute(Qt::WA_TranslucentBackground);
        resize(size);
    }
    QSize sizeHint() const override { return m_size; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        m_paint(painter, QRectF(rect()));
    }

private:
    QSize m_size;
    std::function<void(QPainter &, const QRectF &)> m_paint;
};

}  // namespace sw::fixtures
