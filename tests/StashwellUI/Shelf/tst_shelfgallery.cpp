// Pictures of the shelf in every look: a grid of cards (one selected, one highlighted, one under
// the pointer), the same saves as a list of rows, the home arrangement's blocks (headers, a row of
// cards, a list) in one column, the empty state, and a grid scrolled under the window's bar.

#include "Gallery.h"
#include "ShelfFixtures.h"

#include "StashwellUI/Controls/SectionHeader.h"
#include "StashwellUI/Design/Fonts.h"
#include "StashwellUI/Design/ScrollBarStyle.h"
#include "StashwellUI/Design/Tokens.h"
#include "StashwellUI/Shelf/ShelfBar.h"
#include "StashwellUI/Shelf/ShelfPictures.h"
#include "StashwellUI/Shelf/ShelfSurface.h"
#include "StashwellUI/Shelf/ShelfTemplate.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "StashwellUI/Window/LibraryWindowTemplate.h"

#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace sw;
using namespace sw::shelftest;

class TestShelfGallery : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void grid();
    void list();
    void home();
    void empty();
    void scrolledUnderTheBar();

private:
    QList<ShelfItem> showcase() const;
    void settle(ShelfSurface &surface);

    QTemporaryDir m_folder;
    QList<Url> m_pictures;
};

void TestShelfGallery::initTestCase()
{
    loadFonts();
    ScrollBarStyle::install();
    Tokens::Motion::setEnabled(false);
    QVERIFY(m_folder.isValid());
    for (int i = 0; i < 6; ++i) {
        QImage image(640, 400, QImage::Format_RGB32);
        image.fill(QColor::fromHsv((i * 53) % 360, 110, 210));
        QPainter painter(&image);
        painter.setPen(QPen(QColor(255, 255, 255, 200), 18));
        painter.drawEllipse(QPointF(320, 200), 90 + i * 20, 70 + i * 10);
        painter.end();
        const QString path = m_folder.filePath(QStringLiteral("p%1.png").arg(i));
        QVERIFY(image.save(path));
        m_pictures.append(Url::fromLocalFile(path));
    }
}

// Saves in every state a card or row shows.
QList<ShelfItem> TestShelfGallery::showcase() const
{
    const LocalCopy here = LocalCopy::onThisComputer({LocalFile{QStringLiteral("a.jpg"), 3 << 20}});
    QList<ShelfItem> list{
        item(SaveSpec{.n = 1, .favourite = true}, here),
        item(SaveSpec{.n = 2, .attachments = {video()}}, LocalCopy::downloading(420, 1000)),
        item(SaveSpec{.n = 3, .attachments = {}}),
        item(SaveSpec{.n = 4, .attachments = {image(1), image(2), image(3)}}),
        item(SaveSpec{.n = 5, .web = true}),
        item(SaveSpec{.n = 6}, LocalCopy::failed(DownloadFailure::unreachable)),
        item(SaveSpec{.n = 7, .attachments = {video()}}, LocalCopy::onThisComputer({LocalFile{QStringLiteral("v.mp4"), 9 << 20}})),
        item(SaveSpec{.n = 8, .trashed = true}),
    };
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (!list[i].save().post().attachments.empty())
            list[i].setPictures({m_pictures[i % m_pictures.size()]});
    }
    return list;
}

// Draws once so that the pictures are asked for, then waits for them.
void TestShelfGallery::settle(ShelfSurface &surface)
{
    surface.viewport()->grab();
    QTRY_VERIFY(surface.pictures().loadingCount() == 0 && surface.pictures().queuedCount() == 0);
}

void TestShelfGallery::grid()
{
    Calls calls;
    ShelfSurface surface;
    surface.setPadding({24, 16, 24, 44});
    surface.resize(1180, 900);
    ShelfCollection c = recording(showcase(), ShelfLayout::grid, calls);
    c.selection = saveID(2);
    c.highlighted = {saveID(6)};
    surface.setCollection(c);
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    settle(surface);
    QTest::mouseMove(surface.viewport(), surface.itemRect(0, 3).center().toPoint());
    QString why;
    QVERIFY2(gallery::captureAndCheck(surface, QStringLiteral("shelf-grid"), &why), qPrintable(why));
}

void TestShelfGallery::list()
{
    Calls calls;
    ShelfSurface surface;
    surface.setPadding({24, 16, 24, 44});
    surface.resize(1180, 720);
    ShelfCollection c = recording(showcase(), ShelfLayout::list, calls);
    c.selection = saveID(2);
    c.highlighted = {saveID(6)};
    surface.setCollection(c);
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    settle(surface);
    QString why;
    QVERIFY2(gallery::captureAndCheck(surface, QStringLiteral("shelf-list"), &why), qPrintable(why));
}

// The blocks a shelf page puts in one column: a header and a row of cards, a header and a list.
void TestShelfGallery::home()
{
    Calls calls;
    ShelfTemplate frame;
    frame.resize(1180, 900);
    const QList<ShelfItem> all = showcase();
    SectionHeader recent(QStringLiteral("Recently added"));
    recent.setActionTitle(QStringLiteral("View all"));
    recent.setAction([] {});
    SectionHeader rest(QStringLiteral("All saves"));
    rest.setDetail(QStringLiteral("4 saves"));
    QList<ShelfSurface::Block> blocks;
    blocks.append(ShelfSurface::WidgetBlock{&recent});
    blocks.append(recording(all.mid(0, 4), ShelfLayout::grid, calls));
    blocks.append(ShelfSurface::WidgetBlock{&rest});
    blocks.append(recording(all.mid(4), ShelfLayout::list, calls));
    frame.surface().setBlocks(blocks);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    settle(frame.surface());
    QString why;
    QVERIFY2(gallery::captureAndCheck(frame, QStringLiteral("shelf-home"), &why), qPrintable(why));
}

// The bar over a grid scrolled half-way: what went under it melts into the window's colour; the
// thin scroll bar stands clear of the bar.
void TestShelfGallery::scrolledUnderTheBar()
{
    Calls calls;
    auto *bar = new ShelfBar;
    bar->setTitle(QStringLiteral("All Saves"));
    bar->setSubtitle(QStringLiteral("30 saved"));
    auto *content = new ShelfTemplate;
    const QList<ShelfItem> some = showcase().mid(0, 7);
    content->surface().setCollection(recording(some + some + some, ShelfLayout::grid, calls));
    LibraryWindowTemplate window(new QWidget, bar, content, new QWidget, new QWidget);
    window.followContentScroll(content->surface().verticalScrollBar());
    window.resize(1280, 680);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    content->surface().setPadding({24, 16 + 52, 24, 44});
    content->surface().setCoveredTop(52);
    // A row of cards half under the bar.
    QTRY_VERIFY(content->surface().verticalScrollBar()->maximum() > 300);
    content->surface().verticalScrollBar()->setValue(300);
    settle(content->surface());
    QString why;
    QVERIFY2(gallery::captureAndCheck(window, QStringLiteral("shelf-under-bar"), &why), qPrintable(why));
}

void TestShelfGallery::empty()
{
    ShelfTemplate frame;
    frame.resize(900, 600);
    frame.setEmptyTexts(QStringLiteral("Nothing saved yet"), StashwellUIStrings::shelfEmptyMessage());
    frame.setEmpty(true);
    QVERIFY(frame.emptyState().isVisibleTo(&frame));
    QVERIFY(!frame.surface().isVisibleTo(&frame));
    QString why;
    QVERIFY2(gallery::captureAndCheck(frame, QStringLiteral("shelf-empty"), &why), qPrintable(why));
    frame.setEmpty(false);
    QVERIFY(frame.surface().isVisibleTo(&frame));
}

QTEST_MAIN(TestShelfGallery)
#include "tst_shelfgallery.moc"
