// Cover file names, their place in the covers folder and the picture a post shows.

#include "Offline/Covers.h"
#include "LibraryFixtures.h"
#include "PostFixtures.h"
#include "ShelfFixtures.h"

#include <QTest>

using namespace sw;
using namespace sw::fixtures;

namespace {
const Url kRoot = url(QStringLiteral("file:///home/someone/.local/share/Stashwell/Covers"));
}

class TestCovers : public QObject {
    Q_OBJECT

private slots:
    void fileName_data();
    void fileName();
    void postWithoutPreviewHasNoCover();
    void webLinksThatDifferInTheirQueryHaveTheirOwnCovers();
    void pictureIsTheRemotePreviewUntilTheCoverIsKept();
    void nameOfAnotherPostIsNeverUsed();
    void keptTestFollowsEachPostAskedFor();
    void urlLiesInTheCoversFolder_data();
    void urlLiesInTheCoversFolder();
};

void TestCovers::fileName_data()
{
    QTest::addColumn<PostLink>("link");
    QTest::addColumn<QString>("preview");
    QTest::addColumn<QString>("name");

    const PostLink someone = xLink(QStringLiteral("Someone"), QStringLiteral("42"));
    QTest::newRow("extension in capitals") << someone << "https://pbs.example.com/media/abc.PNG" << "someone_42.png";
    QTest::newRow("jpeg kept") << someone << "https://pbs.example.com/abc.jpeg" << "someone_42.jpeg";
    QTest::newRow("JPEG lowercased") << someone << "https://pbs.example.com/abc.JPEG" << "someone_42.jpeg";
    QTest::newRow("gif") << someone << "https://pbs.example.com/a.b.gif" << "someone_42.gif";
    QTest::newRow("webp") << someone << "https://pbs.example.com/a.webp?name=small" << "someone_42.webp";
    QTest::newRow("no extension") << someone << "https://pbs.example.com/media/abc" << "someone_42.jpg";
    QTest::newRow("not a picture extension") << someone << "https://example.com/image.php?id=3" << "someone_42.jpg";
    QTest::newRow("extension only in the query") << someone << "https://pbs.example.com/img?format=png"
                                                 << "someone_42.jpg";
    QTest::newRow("no path") << someone << "https://pbs.example.com" << "someone_42.jpg";
    QTest::newRow("web link")
        << webLink(QStringLiteral("https://example.com/news/2024/story")) << "https://example.com/og.png"
        << "example.com_news-2024-story.png";
    QTest::newRow("web link without path") << webLink(QStringLiteral("https://example.com")) << "https://cdn.example/x.gif"
                                           << "example.com.gif";
}

void TestCovers::fileName()
{
    QFETCH(PostLink, link);
    QFETCH(QString, preview);
    QFETCH(QString, name);
    QCOMPARE(Covers::fileName(post(link, {}, preview)), std::optional(name));
}

void TestCovers::postWithoutPreviewHasNoCover()
{
    Covers covers(kRoot);
    const Post bare = post(xLink(QStringLiteral("a"), QStringLiteral("1")));
    covers.insert(QStringLiteral("a_1.jpg"));
    QCOMPARE(Covers::fileName(bare), std::nullopt);
    QVERIFY(!covers.isKept(bare));
    QVERIFY(!covers.isKeptPassingBy(bare));
    QCOMPARE(covers.picture(bare), std::nullopt);
}

void TestCovers::webLinksThatDifferInTheirQueryHaveTheirOwnCovers()
{
    const Post first = post(webLink(QStringLiteral("https://shop.example/item?id=1")), {}, QStringLiteral("https://shop.example/1.png"));
    const Post second = post(webLink(QStringLiteral("https://shop.example/item?id=2")), {}, QStringLiteral("https://shop.example/2.png"));
    const Post plain = post(webLink(QStringLiteral("https://shop.example/item")), {}, QStringLiteral("https://shop.example/0.png"));
    const auto a = Covers::fileName(first), b = Covers::fileName(second), c = Covers::fileName(plain);
    QVERIFY(a && b && c);
    QVERIFY(*a != *b);
    QVERIFY(*a != *c && *b != *c);
    QVERIFY(a->startsWith(QStringLiteral("shop.example_item_")));

    Covers covers(kRoot);
    covers.insert(*a);
    QVERIFY(covers.isKept(first));
    QVERIFY(!covers.isKept(second));
    QCOMPARE(covers.picture(second), second.preview);
}

void TestCovers::pictureIsTheRemotePreviewUntilTheCoverIsKept()
{
    const Post p = post(xLink(QStringLiteral("Ann"), QStringLiteral("7")), {}, QStringLiteral("https://pbs.example.com/x.png"));
    Covers covers(kRoot);
    QVERIFY(!covers.isKept(p));
    QCOMPARE(covers.picture(p), p.preview);

    covers.insert(QStringLiteral("ann_7.png"));
    QVERIFY(covers.isKeptPassingBy(p));
    QVERIFY(covers.isKept(p));
    const auto picture = covers.picture(p);
    QVERIFY(picture);
    QCOMPARE(picture->toLocalFile(), QStringLiteral("/home/someone/.local/share/Stashwell/Covers/ann_7.png"));

    covers.remove(QStringLiteral("ann_7.png"));
    QCOMPARE(covers.picture(p), p.preview);
}

void TestCovers::nameOfAnotherPostIsNeverUsed()
{
    const Post p = post(xLink(QStringLiteral("ann"), QStringLiteral("7")), {}, QStringLiteral("https://pbs.example.com/x.png"));
    Covers covers(kRoot);
    // The same stem with another extension, and another post's cover.
    covers.setPresent({QStringLiteral("ann_7.jpg"), QStringLiteral("ann_8.png"), QStringLiteral("bob_7.png")});
    QVERIFY(!covers.isKept(p));
    QCOMPARE(covers.picture(p), p.preview);
}

void TestCovers::keptTestFollowsEachPostAskedFor()
{
    // One covers value asked about posts that share a link (the same status under two handles,
    // the same link with another preview): each answer is the post's own.
    Covers covers(kRoot);
    covers.setPresent({QStringLiteral("ann_7.png"), QStringLiteral("bob_7.gif")});
    const Post ann = post(xLink(QStringLiteral("ann"), QStringLiteral("7")), {}, QStringLiteral("https://pbs.example.com/x.png"));
    const Post annGif = post(xLink(QStringLiteral("ann"), QStringLiteral("7")), {}, QStringLiteral("https://pbs.example.com/x.gif"));
    const Post bobGif = post(xLink(QStringLiteral("Bob"), QStringLiteral("7")), {}, QStringLiteral("https://pbs.example.com/x.gif"));
    for (int round = 0; round < 2; ++round) {
        // The test that keeps no name answers alike, before the names are kept and after.
        QVERIFY(covers.isKeptPassingBy(ann));
        QVERIFY(!covers.isKeptPassingBy(annGif));
        QVERIFY(covers.isKeptPassingBy(bobGif));
        QVERIFY(covers.isKept(ann));
        QVERIFY(!covers.isKept(annGif));
        QVERIFY(covers.isKept(bobGif));
        QCOMPARE(covers.picture(annGif), annGif.preview);
        QCOMPARE(covers.picture(bobGif)->toLocalFile(), QStringLiteral("/home/someone/.local/share/Stashwell/Covers/bob_7.gif"));
    }
    // Copies answer alike, and compare by root and names only.
    const Covers copy = covers;
    QVERIFY(copy.isKept(ann));
    QCOMPARE(copy, covers);
    Covers fresh(kRoot);
    fresh.setPresent(covers.present());
    QCOMPARE(fresh, covers);
    QCOMPARE(qHash(fresh), qHash(covers));
    fresh.remove(QStringLiteral("ann_7.png"));
    QVERIFY(fresh != covers);
}

void TestCovers::urlLiesInTheCoversFolder_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("plain") << "file:///covers" << "a_1.jpg" << "/covers/a_1.jpg";
    QTest::newRow("root with a trailing slash") << "file:///covers/" << "a_1.jpg" << "/covers/a_1.jpg";
    QTest::newRow("characters that mean something in a URL")
        << "file:///my%20covers" << "caf\u00e9 #1?%.png" << "/my covers/caf\u00e9 #1?%.png";
}

void TestCovers::urlLiesInTheCoversFolder()
{
    QFETCH(QString, root);
    QFETCH(QString, name);
    QFETCH(QString, path);
    const Url file = Covers(url(root)).url(name);
    QVERIFY(file.isLocalFile());
    QCOMPARE(file.toLocalFile(), path);
}

QTEST_GUILESS_MAIN(TestCovers)
#include "tst_covers.moc"
