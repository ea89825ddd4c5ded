#pragma once

// Posts, saves and shelf items for the tests of the save presentation views, and a widget that
// hosts a painter for the gallery. Built on the shared builders (tests/support), with the
// defaults these views are drawn with.

#include "CaptureFixtures.h"
#include "LibraryFixtures.h"
#include "ShelfFixtures.h"

#include <QPainter>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

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
    return makePost(std::move(link), {.attachments = std::move(attachments),
                                      .text = text,
                                      .preview = std::move(preview),
                                      .handle = QStringLiteral("someone")});
}

inline Save save(Post post, int n = 1, Date savedAt = Date{700000000}, bool favourite = false, bool trashed = false)
{
    return makeSave(SaveSpec(n, std::move(post), savedAt.sinceReference)
                        .favourite(favourite)
                        .trashed(trashed ? std::optional<double>(700000100) : std::nullopt));
}

// The item the shelf makes of a save with that local copy (pictures and cover as the shelf
// works them out; tests that need others set them).
inline ShelfItem item(const Save &save, const LocalCopy &copy = LocalCopy::linkOnly())
{
    return shelfItem(save, copy,
                     {.mediaRoot = QStringLiteral("file:///tmp/stashwell-media/"), .budget = std::int64_t(1) << 40,
                      .now = Date{700000000}});
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
