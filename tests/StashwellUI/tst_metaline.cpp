#include "ControlTesting.h"
#include "StashwellUI/Design/Formatting.h"
#include "Gallery.h"
#include "StashwellUI/Saves/MetaLine.h"
#include "PresentationFixtures.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QTest>

using namespace sw;
using namespace sw::fixtures;

Q_DECLARE_METATYPE(sw::LocalCopy)
Q_DECLARE_METATYPE(std::vector<sw::Attachment>)
Q_DECLARE_METATYPE(sw::MetaLine::Ink)
Q_DECLARE_METATYPE(sw::MetaLine)
Q_DECLARE_METATYPE(sw::MetaLine::Piece::Role)
Q_DECLARE_METATYPE(QList<sw::MetaLine::Piece::Role>)

namespace {

using Role = MetaLine::Piece::Role;
using Ink = MetaLine::Ink;

const Date kNow{700003600};

QList<Role> roles(const MetaLine &line)
{
    QList<Role> result;
    for (const MetaLine::Piece &piece : line.pieces())
        result.append(piece.role);
    return result;
}

}  // namespace

class TestMetaLine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }

    void kindPiece_data();
    void kindPiece();
    void copyPiece_data();
    void copyPiece();
    void percentReceived_data();
    void percentReceived();
    void pieceOrder_data();
    void pieceOrder();
    void age_data();
    void age();
    void layoutStaysOnOneLine_data();
    void layoutStaysOnOneLine();
    void gallery_data();
    void gallery();
};

void TestMetaLine::kindPiece_data()
{
    QTest::addColumn<std::vector<Attachment>>("attachments");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QString>("text");
    QTest::newRow("video of 9.9 s") << std::vector<Attachment>{video(9.9)} << "play.fill" << "0:09";
    QTest::newRow("video of 61 s") << std::vector<Attachment>{video(61)} << "play.fill" << "1:01";
    QTest::newRow("75 minutes 3 seconds, not hours") << std::vector<Attachment>{video(75 * 60 + 3)} << "play.fill" << "75:03";
    QTest::newRow("the first video counts") << std::vector<Attachment>{image(), video(5), video(500)} << "play.fill" << "0:05";
    QTest::newRow("three pictures") << std::vector<Attachment>{image(0), image(1), image(2)} << "photo"
                                    << StashwellUIStrings::mediaImageCount(3);
    QTest::newRow("one picture") << std::vector<Attachment>{image(0)} << "photo" << StashwellUIStrings::mediaImageCount(1);
    QTest::newRow("text") << std::vector<Attachment>{} << "text.alignleft" << StashwellUIStrings::mediaText();
    QTest::newRow("page") << std::vector<Attachment>{page()} << "link" << StashwellUIStrings::mediaLink();
    QTest::newRow("page with a video") << std::vector<Attachment>{video(), page()} << "link" << StashwellUIStrings::mediaLink();
}

void TestMetaLine::kindPiece()
{
    QFETCH(std::vector<Attachment>, attachments);
    QFETCH(QString, symbol);
    QFETCH(QString, text);
    const MetaLine::Piece piece = MetaLine::kindPiece(post(xLink(), attachments));
    QCOMPARE(piece.role, Role::kind);
    QCOMPARE(piece.symbol, symbol);
    QCOMPARE(piece.text, text);
    QCOMPARE(piece.ink, Ink::muted);
}

void TestMetaLine::copyPiece_data()
{
    QTest::addColumn<LocalCopy>("copy");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Ink>("ink");
    QTest::newRow("downloading") << LocalCopy::downloading(512, 1024) << "arrow.down" << "50%" << Ink::accentInk;
    QTest::newRow("on this computer")
        << LocalCopy::onThisComputer({LocalFile{QStringLiteral("a.jpg"), 1 << 20}, LocalFile{QStringLiteral("b.jpg"), 1 << 20}})
        << "checkmark" << Formatting::bytes(2 << 20) << Ink::ok;
    QTest::newRow("failed") << LocalCopy::failed(DownloadFailure::couldNotWrite) << "exclamationmark.triangle"
                            << StashwellUIStrings::mediaFailed() << Ink::danger;
    QTest::newRow("link only") << LocalCopy::linkOnly() << "icloud" << StashwellUIStrings::mediaNotDownloaded() << Ink::muted;
}

void TestMetaLine::copyPiece()
{
    QFETCH(LocalCopy, copy);
    QFETCH(QString, symbol);
    QFETCH(QString, text);
    QFETCH(Ink, ink);
    const MetaLine::Piece piece = MetaLine::copyPiece(copy);
    QCOMPARE(piece.role, Role::copy);
    QCOMPARE(piece.symbol, symbol);
    QCOMPARE(piece.text, text);
    QCOMPARE(piece.ink, ink);
}

void TestMetaLine::percentReceived_data()
{
    QTest::addColumn<qint64>("received");
    QTest::addColumn<qint64>("of");
    QTest::addColumn<int>("percent");
    QTest::newRow("a total of 0") << qint64(0) << qint64(0) << 100;
    QTest::newRow("512 of 1024") << qint64(512) << qint64(1024) << 50;
    QTest::newRow("1023 of 1024") << qint64(1023) << qint64(1024) << 99;
    QTest::newRow("more than the total") << qint64(1536) << qint64(1024) << 150;
    QTest::newRow("nothing yet") << qint64(0) << qint64(1024) << 0;
    // Corrupt counts from an archive: never an undefined conversion.
    QTest::newRow("huge ratio") << qint64(INT64_MAX) << qint64(1) << std::numeric_limits<int>::max();
    QTest::newRow("negative total") << qint64(5) << qint64(-10) << -50;
}

void TestMetaLine::percentReceived()
{
    QFETCH(qint64, received);
    QFETCH(qint64, of);
    QFETCH(int, percent);
    QCOMPARE(MetaLine::percentReceived(LocalCopy::Downloading{received, of}), percent);
    QCOMPARE(MetaLine::copyPiece(LocalCopy::downloading(received, of)).text, QString::number(percent) + u'%');
}

void TestMetaLine::pieceOrder_data()
{
    QTest::addColumn<std::vector<Attachment>>("attachments");
    QTest::addColumn<LocalCopy>("copy");
    QTest::addColumn<bool>("favourite");
    QTest::addColumn<QList<Role>>("roles");
    const QList<Role> base{Role::kind, Role::separator, Role::age};
    const QList<Role> withCopy = base + QList<Role>{Role::separator, Role::copy};
    QTest::newRow("text post: no copy whatever its state") << std::vector<Attachment>{}
                                                            << LocalCopy::downloading(1, 2) << false << base;
    QTest::newRow("text favourite") << std::vector<Attachment>{} << LocalCopy::linkOnly() << true
                                    << base + QList<Role>{Role::favourite};
    QTest::newRow("media") << std::vector<Attachment>{image()} << LocalCopy::linkOnly() << false << withCopy;
    QTest::newRow("media favourite: the star last") << std::vector<Attachment>{video()}
                                                    << LocalCopy::onThisComputer({}) << true
                                                    << withCopy + QList<Role>{Role::favourite};
}

void TestMetaLine::pieceOrder()
{
    QFETCH(std::vector<Attachment>, attachments);
    QFETCH(LocalCopy, copy);
    QFETCH(bool, favourite);
    QFETCH(QList<Role>, roles);
    const MetaLine line(item(save(post(xLink(), attachments), 1, Date{700000000}, favourite), copy), kNow);
    QCOMPARE(::roles(line), roles);
    for (const MetaLine::Piece &piece : line.pieces()) {
        if (piece.role == Role::separator)
            QCOMPARE(piece.text, QStringLiteral("\u00B7"));
        if (piece.role == Role::favourite) {
            QCOMPARE(piece.symbol, QStringLiteral("star.fill"));
            QCOMPARE(piece.ink, Ink::accentInk);
            QCOMPARE(piece.accessibleText, StashwellUIStrings::mediaFavourite());
            QVERIFY(line.accessibleText().endsWith(StashwellUIStrings::mediaFavourite()));
        }
    }
}

void TestMetaLine::age_data()
{
    QTest::addColumn<double>("secondsBeforeNow");
    QTest::addColumn<QString>("text");
    QTest::newRow("30 s") << 30.0 << StashwellUIStrings::timeNow();
    QTest::newRow("in the future") << -3600.0 << StashwellUIStrings::timeNow();
    QTest::newRow("an hour") << 3600.0 << StashwellUIStrings::timeHours(1);
    QTest::newRow("two days") << 2 * 86400.0 << StashwellUIStrings::timeDays(2);
}

void TestMetaLine::age()
{
    QFETCH(double, secondsBeforeNow);
    QFETCH(QString, text);
    const Date savedAt{kNow.sinceReference - secondsBeforeNow};
    const MetaLine line(item(save(post(xLink(), {}), 1, savedAt)), kNow);
    QCOMPARE(line.pieces().at(2).role, Role::age);
    QCOMPARE(line.pieces().at(2).text, text);
}

void TestMetaLine::layoutStaysOnOneLine_data()
{
    QTest::addColumn<double>("width");
    QTest::newRow("roomy") << 600.0;
    QTest::newRow("tight") << 120.0;
    QTest::newRow("tiny") << 10.0;
    QTest::newRow("none") << 0.0;
}

void TestMetaLine::layoutStaysOnOneLine()
{
    QFETCH(double, width);
    const MetaLine line(item(save(post(xLink(), {video(61)}), 1, Date{700000000}, true), LocalCopy::downloading(1, 3)),
                        kNow);
    const QRectF rect(5, 5, width, 20);
    const QList<MetaLine::Placed> placed = line.layout(rect);
    const bool fits = line.sizeHint().width() <= width;
    QCOMPARE(placed.size() == line.pieces().size() && placed.last().shownText == line.pieces().last().text, fits);
    double previousRight = rect.left();
    for (const MetaLine::Placed &p : placed) {
        const QRectF area = p.symbol.isEmpty() ? p.text : p.text.isEmpty() ? p.symbol : p.symbol.united(p.text);
        QVERIFY(area.left() >= previousRight - 0.01);
        QVERIFY(area.right() <= rect.right() + 0.5);
        QVERIFY(qAbs(area.center().y() - rect.center().y()) < 0.01);
        previousRight = area.right();
    }
    if (fits) {
        QCOMPARE(placed.at(1).text.left(), placed.at(0).text.right() + MetaLine::spacing);
        QVERIFY(line.hitTest(rect, placed.at(0).text.center()));
    }
}

void TestMetaLine::gallery_data()
{
    QTest::addColumn<MetaLine>("line");
    const auto make = [](std::vector<Attachment> attachments, LocalCopy copy, bool favourite) {
        return MetaLine(item(save(post(xLink(), std::move(attachments)), 1, Date{700000000}, favourite), copy), kNow);
    };
    QTest::newRow("video-link-only") << make({video(75)}, LocalCopy::linkOnly(), false);
    QTest::newRow("images-downloading") << make({image(0), image(1), image(2)}, LocalCopy::downloading(2, 5), false);
    QTest::newRow("video-on-this-computer-favourite")
        << make({video(61)}, LocalCopy::onThisComputer({LocalFile{QStringLiteral("v.mp4"), 12 << 20}}), true);
    QTest::newRow("page-failed") << make({page()}, LocalCopy::failed(DownloadFailure::unreachable), false);
    QTest::newRow("text-favourite") << make({}, LocalCopy::linkOnly(), true);
}

void TestMetaLine::gallery()
{
    QFETCH(MetaLine, line);
    const int width = int(std::ceil(line.sizeHint().width())) + 16;
    fixtures::PainterHost host(QSize(width, 28), [line](QPainter &painter, const QRectF &rect) {
        line.paint(painter, rect.adjusted(8, 0, -8, 0));
    });
    QString why;
    QVERIFY2(gallery::captureAndCheck(host, QStringLiteral("MetaLine-%1").arg(QString::fromLatin1(QTest::currentDataTag())), &why),
             qPrintable(why));
}

QTEST_MAIN(TestMetaLine)
#include "tst_metaline.moc"
