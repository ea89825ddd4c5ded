#include "ControlTesting.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/Saves/MediaThumbnail.h"
#include "StashwellUI/StashwellUIStrings.h"
#include "ThumbnailFixtures.h"

#include <QTest>

// What the media thumbnail shows: its symbol, what fills it, and its marks (length, page counter,
// the state of the local copy, the page arrows).

using namespace sw;
using namespace sw::fixtures;

Q_DECLARE_METATYPE(sw::LocalCopy)
Q_DECLARE_METATYPE(std::vector<sw::Attachment>)
Q_DECLARE_METATYPE(sw::MediaThumbnail)
Q_DECLARE_METATYPE(sw::MediaThumbnail::Mode)

namespace {

using Mode = MediaThumbnail::Mode;

}  // namespace

class TestMediaThumbnailMarks : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }

    void glyph_data();
    void glyph();
    void mode_data();
    void mode();
    void lengthBadge_data();
    void lengthBadge();
    void pageCounter_data();
    void pageCounter();
    void copyMark_data();
    void copyMark();
    void arrows_data();
    void arrows();
};

void TestMediaThumbnailMarks::glyph_data()
{
    QTest::addColumn<std::vector<Attachment>>("attachments");
    QTest::addColumn<int>("pictureCount");
    QTest::addColumn<qint64>("page");
    QTest::addColumn<QString>("glyph");
    QTest::newRow("video on show") << std::vector<Attachment>{video(), image()} << 2 << qint64(0) << "play.rectangle";
    QTest::newRow("image on show in a video post") << std::vector<Attachment>{video(), image()} << 2 << qint64(1) << "photo";
    QTest::newRow("page on show falls to the kind") << std::vector<Attachment>{page(), video()} << 2 << qint64(0) << "globe";
    QTest::newRow("more pictures than attachments: the kind") << std::vector<Attachment>{video()} << 3 << qint64(2)
                                                              << "play.rectangle";
    QTest::newRow("images kind") << std::vector<Attachment>{image(), image()} << 2 << qint64(1) << "photo";
    QTest::newRow("text kind") << std::vector<Attachment>{} << 0 << qint64(0) << "text.alignleft";
    QTest::newRow("page kind") << std::vector<Attachment>{page()} << 1 << qint64(0) << "globe";
}

void TestMediaThumbnailMarks::glyph()
{
    QFETCH(std::vector<Attachment>, attachments);
    QFETCH(int, pictureCount);
    QFETCH(qint64, page);
    QFETCH(QString, glyph);
    QCOMPARE(pagedThumbnail(pictureCount, attachments).glyph(page), glyph);
}

void TestMediaThumbnailMarks::mode_data()
{
    QTest::addColumn<std::vector<Attachment>>("attachments");
    QTest::addColumn<double>("height");
    QTest::addColumn<bool>("keepsShape");
    QTest::addColumn<Mode>("mode");
    QTest::newRow("box") << std::vector<Attachment>{image()} << 150.0 << false << Mode::box;
    QTest::newRow("keep shape") << std::vector<Attachment>{image()} << 130.0 << true << Mode::keepShape;
    QTest::newRow("small box") << std::vector<Attachment>{video()} << 56.0 << false << Mode::box;
    QTest::newRow("text at 100 quotes") << std::vector<Attachment>{} << 100.0 << false << Mode::quotedText;
    QTest::newRow("text at 99.5 shows its symbol") << std::vector<Attachment>{} << 99.5 << false << Mode::textSymbol;
    QTest::newRow("keep-shape text falls back to the box") << std::vector<Attachment>{} << 150.0 << true
                                                           << Mode::quotedText;
    QTest::newRow("small keep-shape text") << std::vector<Attachment>{} << 40.0 << true << Mode::textSymbol;
}

void TestMediaThumbnailMarks::mode()
{
    QFETCH(std::vector<Attachment>, attachments);
    QFETCH(double, height);
    QFETCH(bool, keepsShape);
    QFETCH(Mode, mode);
    const MediaThumbnail thumbnail(post(xLink(), attachments, QStringLiteral("Hello there")), LocalCopy::linkOnly(), height,
                                   keepsShape);
    QCOMPARE(thumbnail.mode(), mode);
    QCOMPARE(thumbnail.quotedText(), QStringLiteral("\u201CHello there\u201D"));
}

void TestMediaThumbnailMarks::lengthBadge_data()
{
    QTest::addColumn<std::vector<Attachment>>("attachments");
    QTest::addColumn<int>("pictureCount");
    QTest::addColumn<qint64>("page");
    QTest::addColumn<double>("height");
    QTest::addColumn<LocalCopy>("copy");
    QTest::addColumn<QString>("text");   // empty: no badge
    const std::vector<Attachment> clip{video(75.9)};
    QTest::newRow("75.9 s") << clip << 1 << qint64(0) << 150.0 << LocalCopy::linkOnly() << "1:15";
    QTest::newRow("an hour") << std::vector<Attachment>{video(3600)} << 1 << qint64(0) << 150.0 << LocalCopy::linkOnly()
                             << "60:00";
    QTest::newRow("on this computer") << clip << 1 << qint64(0) << 150.0
                                      << LocalCopy::onThisComputer({LocalFile{QStringLiteral("a.mp4"), 10}}) << "1:15";
    QTest::newRow("none while downloading") << clip << 1 << qint64(0) << 150.0 << LocalCopy::downloading(1, 2) << "";
    QTest::newRow("none below 100") << clip << 1 << qint64(0) << 99.5 << LocalCopy::linkOnly() << "";
    QTest::newRow("exactly 100") << clip << 1 << qint64(0) << 100.0 << LocalCopy::linkOnly() << "1:15";
    QTest::newRow("image on show") << std::vector<Attachment>{image(), video(10)} << 2 << qint64(0) << 150.0
                                   << LocalCopy::linkOnly() << "";
    QTest::newRow("second video on show") << std::vector<Attachment>{image(), video(10)} << 2 << qint64(1) << 150.0
                                          << LocalCopy::linkOnly() << "0:10";
    QTest::newRow("page past the attachments") << clip << 3 << qint64(2) << 150.0 << LocalCopy::linkOnly() << "";
}

void TestMediaThumbnailMarks::lengthBadge()
{
    QFETCH(std::vector<Attachment>, attachments);
    QFETCH(int, pictureCount);
    QFETCH(qint64, page);
    QFETCH(double, height);
    QFETCH(LocalCopy, copy);
    QFETCH(QString, text);
    const MediaThumbnail thumbnail = pagedThumbnail(pictureCount, attachments, height, 1, copy);
    const std::optional<QString> length = thumbnail.lengthText(page);
    QCOMPARE(length.value_or(QString()), text);
    MediaThumbnail::ViewState state;
    state.page = page;
    const MediaThumbnail::Layout layout = thumbnail.layout(QRectF(0, 0, 300, height), state, nullptr);
    QCOMPARE(layout.lengthBadge.has_value(), !text.isEmpty());
}

void TestMediaThumbnailMarks::pageCounter_data()
{
    QTest::addColumn<int>("attachmentCount");
    QTest::addColumn<int>("pictureCount");
    QTest::addColumn<qint64>("page");
    QTest::addColumn<double>("height");
    QTest::addColumn<QString>("text");
    QTest::newRow("2 of 4") << 4 << 4 << qint64(1) << 150.0 << "2/4";
    QTest::newRow("one attachment: none") << 1 << 1 << qint64(0) << 150.0 << "";
    QTest::newRow("below 100: none") << 3 << 3 << qint64(0) << 99.0 << "";
    QTest::newRow("counts attachments, not pictures") << 3 << 1 << qint64(0) << 150.0 << "1/3";
}

void TestMediaThumbnailMarks::pageCounter()
{
    QFETCH(int, attachmentCount);
    QFETCH(int, pictureCount);
    QFETCH(qint64, page);
    QFETCH(double, height);
    QFETCH(QString, text);
    const MediaThumbnail thumbnail = pagedThumbnail(pictureCount, images(attachmentCount), height);
    QCOMPARE(thumbnail.pageCounterText(page).value_or(QString()), text);
}

void TestMediaThumbnailMarks::copyMark_data()
{
    QTest::addColumn<LocalCopy>("copy");
    QTest::addColumn<double>("height");
    QTest::addColumn<int>("kind");   // MediaThumbnail::CopyMark::Kind
    QTest::addColumn<qint64>("percent");
    QTest::addColumn<double>("fraction");
    const int none = int(MediaThumbnail::CopyMark::Kind::none);
    const int progress = int(MediaThumbnail::CopyMark::Kind::progress);
    const int here = int(MediaThumbnail::CopyMark::Kind::onThisComputer);
    QTest::newRow("link only") << LocalCopy::linkOnly() << 150.0 << none << qint64(0) << 0.0;
    QTest::newRow("failed") << LocalCopy::failed(DownloadFailure::unreachable) << 150.0 << none << qint64(0) << 0.0;
    QTest::newRow("on this computer") << LocalCopy::onThisComputer({}) << 150.0 << here << qint64(0) << 0.0;
    QTest::newRow("half") << LocalCopy::downloading(512, 1024) << 150.0 << progress << qint64(50) << 0.5;
    QTest::newRow("1023 of 1024") << LocalCopy::downloading(1023, 1024) << 150.0 << progress << qint64(99) << 1023.0 / 1024;
    QTest::newRow("total of 0") << LocalCopy::downloading(0, 0) << 150.0 << progress << qint64(100) << 1.0;
    QTest::newRow("more than announced") << LocalCopy::downloading(3, 2) << 150.0 << progress << qint64(150) << 1.5;
    QTest::newRow("below 100: none") << LocalCopy::downloading(1, 2) << 99.0 << none << qint64(0) << 0.0;
}

void TestMediaThumbnailMarks::copyMark()
{
    QFETCH(LocalCopy, copy);
    QFETCH(double, height);
    QFETCH(int, kind);
    QFETCH(qint64, percent);
    QFETCH(double, fraction);
    const MediaThumbnail thumbnail = pagedThumbnail(1, {video()}, height, 1, copy);
    const MediaThumbnail::CopyMark mark = thumbnail.copyMark();
    QCOMPARE(int(mark.kind), kind);
    if (mark.kind == MediaThumbnail::CopyMark::Kind::progress) {
        const auto *running = copy.asDownloading();
        QCOMPARE(mark.text, StashwellUIStrings::mediaDownloading(percent, Formatting::bytes(running->of)));
        QCOMPARE(mark.fraction, fraction);
        QCOMPARE(mark.accessibleText, StashwellUIStrings::mediaBytesProgress(running->received, running->of));
    } else if (mark.kind == MediaThumbnail::CopyMark::Kind::onThisComputer) {
        QCOMPARE(mark.accessibleText, StashwellUIStrings::mediaOnThisComputer());
    }
}

void TestMediaThumbnailMarks::arrows_data()
{
    QTest::addColumn<int>("pictureCount");
    QTest::addColumn<bool>("pages");
    QTest::addColumn<bool>("arrows");
    QTest::addColumn<bool>("hovering");
    QTest::addColumn<double>("height");
    QTest::addColumn<bool>("shown");
    QTest::newRow("all conditions") << 2 << true << true << true << 150.0 << true;
    QTest::newRow("exactly 100") << 3 << true << true << true << 100.0 << true;
    QTest::newRow("99.5") << 3 << true << true << true << 99.5 << false;
    QTest::newRow("one picture") << 1 << true << true << true << 150.0 << false;
    QTest::newRow("not hovering") << 2 << true << true << false << 150.0 << false;
    QTest::newRow("arrows off") << 2 << true << false << true << 150.0 << false;
    QTest::newRow("pages off") << 2 << false << true << true << 150.0 << false;
}

void TestMediaThumbnailMarks::arrows()
{
    QFETCH(int, pictureCount);
    QFETCH(bool, pages);
    QFETCH(bool, arrows);
    QFETCH(bool, hovering);
    QFETCH(double, height);
    QFETCH(bool, shown);
    ShelfItem shelfItem = item(save(post(xLink(), images(pictureCount)), 1));
    shelfItem.setPictures(pictures(pictureCount));
    const MediaThumbnail thumbnail(shelfItem, height, false, false, pages, arrows);
    QCOMPARE(thumbnail.showsArrows(hovering), shown);
    MediaThumbnail::ViewState state;
    state.hovering = hovering;
    const MediaThumbnail::Layout layout = thumbnail.layout(QRectF(0, 0, 300, height), state, nullptr);
    QCOMPARE(layout.previous.has_value(), shown);
    QCOMPARE(layout.next.has_value(), shown);
    if (shown) {
        // At the left and right edges, halfway up, 26 across.
        QCOMPARE(layout.previous->left(), 8.0);
        QCOMPARE(layout.next->right(), 292.0);
        QCOMPARE(layout.previous->center().y(), height / 2);
        QCOMPARE(layout.previous->width(), 26.0);
    }
}

QTEST_MAIN(TestMediaThumbnailMarks)
#include "tst_mediathumbnailmarks.moc"
