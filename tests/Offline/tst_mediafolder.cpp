// Names of media files: the stem made from a post's link, the name of each attachment's file and
// the address of a stored file.

#include "OfflineFixtures.h"

#include "Offline/MediaFolder.h"

#include <QRegularExpression>
#include <QTest>

#include <stdexcept>

using namespace sw;
using namespace sw::fixtures;

class TestMediaFolder : public QObject {
    Q_OBJECT

private slots:
    void stem_data();
    void stem();
    void sameStem_data();
    void sameStem();
    void queryMarkIsStable();
    void stemFilterOfLinksWithQueries();
    void fileNames_data();
    void fileNames();
    void fileNameOutsideTheAttachments();
    void fileUrl_data();
    void fileUrl();
};

void TestMediaFolder::stem_data()
{
    QTest::addColumn<PostLink>("link");
    QTest::addColumn<QString>("stem");

    QTest::newRow("x link") << xLink("Blue_Kettle", "42") << QStringLiteral("blue_kettle_42");
    QTest::newRow("x link keeps leading zeros") << xLink("a", "0042") << QStringLiteral("a_0042");
    QTest::newRow("x link lowercases beyond ASCII") << xLink(QStringLiteral("\u00c9COLE"), "1") << QStringLiteral("\u00e9cole_1");
    QTest::newRow("x handle with separators from an archive") << xLink("a/b:c\\d", "7") << QStringLiteral("a-b-c-d_7");
    QTest::newRow("x empty handle") << xLink("", "9") << QStringLiteral("_9");
    // Control characters never reach a file name, wherever the handle or the address came from.
    QTest::newRow("x handle with a NUL") << xLink(QStringLiteral("Other.mp4") + QChar(0) + u'x', "5")
                                         << QStringLiteral("other.mp4x_5");
    QTest::newRow("x handle of dot dot and a NUL") << xLink(QStringLiteral("..") + QChar(0), "5") << QStringLiteral(".._5");
    QTest::newRow("x handle with C0, DEL and C1 controls")
        << xLink(QStringLiteral("\tA\x1f\x7f\u0085b\u009f"), "5") << QStringLiteral("ab_5");
    QTest::newRow("x non-ASCII handle with a NUL") << xLink(QStringLiteral("\u00c9") + QChar(0) + u'X', "5")
                                                   << QStringLiteral("\u00e9x_5");
    QTest::newRow("web NUL and newline in the path") << webLink("https://h.example/a%00b/%0Ac%7F")
                                                     << QStringLiteral("h.example_ab-c");
    QTest::newRow("web path") << webLink("https://h.example/news/2024/story") << QStringLiteral("h.example_news-2024-story");
    QTest::newRow("web no path") << webLink("https://h.example") << QStringLiteral("h.example");
    QTest::newRow("web root path") << webLink("https://h.example/") << QStringLiteral("h.example");
    QTest::newRow("web empty segments") << webLink("https://h.example//a///b/") << QStringLiteral("h.example_a-b");
    QTest::newRow("web keeps www and case of the path") << webLink("https://www.h.example/A/b") << QStringLiteral("www.h.example_A-b");
    QTest::newRow("web port takes no part") << webLink("https://h.example:8443/a") << QStringLiteral("h.example_a");
    QTest::newRow("web colon and backslash in the path")
        << webLink("https://h.example/a:b/c%5Cd") << QStringLiteral("h.example_a-b-c-d");
    QTest::newRow("web encoded slash inside a segment") << webLink("https://h.example/a%2Fb/c") << QStringLiteral("h.example_a-b-c");
    QTest::newRow("web path decoded") << webLink("https://h.example/caf%C3%A9/x%20y") << QStringLiteral("h.example_caf\u00e9-x y");
    QTest::newRow("web fragment takes no part") << webLink("https://h.example/p#part-2") << QStringLiteral("h.example_p");
    QTest::newRow("web without host") << webLink("file:///var/pages/a") << QStringLiteral("page_var-pages-a");
    QTest::newRow("web without host or path") << webLink("about:") << QStringLiteral("page");
}

void TestMediaFolder::stem()
{
    QFETCH(PostLink, link);
    QFETCH(QString, stem);
    QCOMPARE(MediaFolder::stem(link), stem);
    // The quick filter of stems never turns away a link whose stem it holds, nor one whose stem
    // only adds a query mark to one it holds; it turns away other stems.
    QVERIFY(MediaFolder::StemFilter({stem}).mayHave(link));
    QVERIFY(!MediaFolder::StemFilter({stem + QStringLiteral("x"), QStringLiteral("x") + stem}).mayHave(link));
}

void TestMediaFolder::sameStem_data()
{
    QTest::addColumn<PostLink>("a");
    QTest::addColumn<PostLink>("b");
    QTest::addColumn<bool>("same");

    QTest::newRow("handles in other letter case") << xLink("Blue_Kettle", "42") << xLink("BLUE_KETTLE", "42") << true;
    // The same post for the library, but its files were named under the handle it was saved with.
    QTest::newRow("other handle, same status") << xLink("kettle", "42") << xLink("teapot", "42") << false;
    QTest::newRow("fragment only") << webLink("https://h.example/p#a") << webLink("https://h.example/p#b") << true;
    QTest::newRow("queries differ") << webLink("https://h.example/p?id=1") << webLink("https://h.example/p?id=2") << false;
    QTest::newRow("query and none") << webLink("https://h.example/p?id=1") << webLink("https://h.example/p") << false;
    QTest::newRow("empty query and none") << webLink("https://h.example/p?") << webLink("https://h.example/p") << false;
    QTest::newRow("same query, fragments differ")
        << webLink("https://h.example/p?id=1#a") << webLink("https://h.example/p?id=1#b") << false;
    QTest::newRow("query items in other order") << webLink("https://h.example/p?a=1&b=2") << webLink("https://h.example/p?b=2&a=1") << false;
}

void TestMediaFolder::sameStem()
{
    QFETCH(PostLink, a);
    QFETCH(PostLink, b);
    QFETCH(bool, same);
    QCOMPARE(MediaFolder::stem(a) == MediaFolder::stem(b), same);
}

void TestMediaFolder::queryMarkIsStable()
{
    // Files already on disk are found by these names: the mark must never change between runs
    // or versions.
    QCOMPARE(MediaFolder::stem(webLink("https://news.example.com/story?id=7")), QStringLiteral("news.example.com_story_a3a36c4a"));
    QCOMPARE(MediaFolder::stem(webLink("https://news.example.com/story?id=8")), QStringLiteral("news.example.com_story_0ece672d"));
    const QRegularExpression shape(QStringLiteral("^page_[0-9a-f]{8}$"));
    QVERIFY(shape.match(MediaFolder::stem(webLink("about:?x"))).hasMatch());
}

// Links with a query: the filter holds a stem with its mark, so a link of that address passes (as
// do others that differ only in the query, whose marks it does not work out); other paths do not.
void TestMediaFolder::stemFilterOfLinksWithQueries()
{
    const PostLink seven = webLink("https://news.example.com/story?id=7");
    const PostLink eight = webLink("https://news.example.com/story?id=8");
    const PostLink other = webLink("https://news.example.com/stories?id=7");
    const PostLink plain = webLink("https://news.example.com/story");
    const MediaFolder::StemFilter withQuery({MediaFolder::stem(seven)});
    QVERIFY(withQuery.mayHave(seven));
    QVERIFY(withQuery.mayHave(eight));
    QVERIFY(withQuery.mayHave(plain));
    QVERIFY(!withQuery.mayHave(other));
    const MediaFolder::StemFilter without({MediaFolder::stem(plain)});
    QVERIFY(without.mayHave(plain));
    QVERIFY(without.mayHave(seven));
    QVERIFY(!without.mayHave(other));
    QVERIFY(!without.mayHave(xLink("news", "1")));
    // An X stem that happens to end like a mark is held as it is, and less the look-alike mark.
    const MediaFolder::StemFilter lookAlike({QStringLiteral("ann_12345678")});
    QVERIFY(lookAlike.mayHave(xLink("ann", "12345678")));
    QVERIFY(!lookAlike.mayHave(xLink("ann", "1")));
}

void TestMediaFolder::fileNames_data()
{
    QTest::addColumn<Post>("post");
    QTest::addColumn<QStringList>("names");

    const PostLink kettle = xLink("Blue_Kettle", "42");
    QTest::newRow("one video") << post(kettle, {video(10)}) << QStringList{"blue_kettle_42.mp4"};
    QTest::newRow("three images") << post(kettle, {image(1), image(2), image(3)})
                                  << QStringList{"blue_kettle_42.jpg", "blue_kettle_42_2.jpg", "blue_kettle_42_3.jpg"};
    QTest::newRow("video and image") << post(kettle, {video(1), image(2)}) << QStringList{"blue_kettle_42.mp4", "blue_kettle_42_2.jpg"};
    QTest::newRow("page") << post(webLink("https://h.example/a"), {page(5)}) << QStringList{"h.example_a.html"};
    QTest::newRow("extension by case, not by address")
        << post(kettle, {image(1, "https://pbs.example.com/a.png"), video(1, std::nullopt, "https://v.example.com/v.webm")})
        << QStringList{"blue_kettle_42.jpg", "blue_kettle_42_2.mp4"};
    std::vector<Attachment> eleven(11, image(1));
    QStringList elevenNames{"x_1.jpg"};
    for (int i = 2; i <= 11; ++i)
        elevenNames << QStringLiteral("x_1_%1.jpg").arg(i);
    QTest::newRow("counter past nine") << post(xLink("X", "1"), eleven) << elevenNames;
    QTest::newRow("web link with a query")
        << post(webLink("https://news.example.com/story?id=7"), {image(1), image(1)})
        << QStringList{"news.example.com_story_a3a36c4a.jpg", "news.example.com_story_a3a36c4a_2.jpg"};
}

void TestMediaFolder::fileNames()
{
    QFETCH(Post, post);
    QFETCH(QStringList, names);
    QStringList made;
    for (std::size_t i = 0; i < post.attachments.size(); ++i)
        made << MediaFolder::fileName(post, i);
    QCOMPARE(made, names);
    for (const QString &name : made)
        QVERIFY(LocalFile::isSafeName(name));
}

void TestMediaFolder::fileNameOutsideTheAttachments()
{
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, MediaFolder::fileName(post(xLink("a", "1"), {image(1)}), 1));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, MediaFolder::fileName(post(xLink("a", "1"), {}), 0));
}

void TestMediaFolder::fileUrl_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("url");

    QTest::newRow("plain") << "file:///home/u/Videos/Stashwell" << "a_1.mp4" << "file:///home/u/Videos/Stashwell/a_1.mp4";
    QTest::newRow("root with trailing slash") << "file:///home/u/Videos/Stashwell/" << "a_1.mp4"
                                              << "file:///home/u/Videos/Stashwell/a_1.mp4";
    QTest::newRow("space encoded") << "file:///m" << "h.example_x y.html" << "file:///m/h.example_x%20y.html";
    QTest::newRow("query and fragment characters stay in the path") << "file:///m" << "a?b#c.jpg" << "file:///m/a%3Fb%23c.jpg";
    QTest::newRow("percent sign stays literal") << "file:///m" << "100%.jpg" << "file:///m/100%25.jpg";
    QTest::newRow("root with a space") << "file:///my%20media" << "a.jpg" << "file:///my%20media/a.jpg";
}

void TestMediaFolder::fileUrl()
{
    QFETCH(QString, root);
    QFETCH(QString, name);
    QFETCH(QString, url);
    const MediaFolder folder(fixtures::url(root));
    const Url made = folder.url(LocalFile{name, 123});
    QCOMPARE(made.text(), url);
    // The local path names the file itself, inside the folder.
    const QString rootPath = fixtures::url(root).toLocalFile();
    QCOMPARE(made.toLocalFile(), (rootPath.endsWith(u'/') ? rootPath : rootPath + u'/') + name);
}

QTEST_GUILESS_MAIN(TestMediaFolder)
#include "tst_mediafolder.moc"
