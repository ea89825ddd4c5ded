#include "Capture/Post.h"

#include <QTest>

#include <limits>
#include <unordered_set>

using namespace sw;

Q_DECLARE_METATYPE(sw::Attachment)
Q_DECLARE_METATYPE(sw::Post)
Q_DECLARE_METATYPE(sw::Quality)
Q_DECLARE_METATYPE(sw::Kind)

namespace {
Url url(const char *text)
{
    return *Url::parse(QString::fromUtf8(text));
}

Attachment image(std::int64_t bytes, const char *u = "https://pbs.twimg.com/a.jpg")
{
    return Attachment::Image{url(u), bytes};
}

Attachment page(std::int64_t bytes)
{
    return Attachment::Page{url("https://example.com/p.html"), bytes};
}

Attachment video(std::int64_t bytes, std::optional<std::vector<Rendition>> renditions = std::nullopt)
{
    return Attachment::Video{url("https://video.twimg.com/v.mp4"), Duration::fromSeconds(12.5), bytes, std::move(renditions)};
}

Rendition rendition(std::int64_t height, std::int64_t bytes)
{
    return Rendition{url(qPrintable(QStringLiteral("https://video.twimg.com/%1-%2.mp4").arg(height).arg(bytes))), height, bytes};
}

Post post(std::vector<Attachment> attachments)
{
    Post p;
    p.link = PostLink::x(Handle{QStringLiteral("Jack")}, StatusID{QStringLiteral("20")});
    p.author = Author{QStringLiteral("jack"), Handle{QStringLiteral("Jack")}, url("https://pbs.twimg.com/p.jpg")};
    p.text = QStringLiteral("just setting up my twttr");
    p.postedAt = Date{786297600.5};
    p.attachments = std::move(attachments);
    return p;
}

template <typename T>
T decode(const QByteArray &json)
{
    JsonDocument doc(json.toStdString());
    return T::fromJson(doc.root());
}

template <typename T>
QString failureOf(const QByteArray &json)
{
    try {
        (void)decode<T>(json);
    } catch (const JsonError &e) {
        return e.message();
    }
    return QString();
}

const QString kCaseCount = QStringLiteral("Invalid number of keys found, expected one.");
}  // namespace

class TestPost : public QObject {
    Q_OBJECT
private slots:
    void kind_data();
    void kind();
    void takingAtQuality_data();
    void takingAtQuality();
    void mediaBytes_data();
    void mediaBytes();
    void attachmentAccessors();
    void quality_data();
    void quality();
    void equality_data();
    void equality();
    void postDocumentByteForByte();
    void jsonRoundTrip_data();
    void jsonRoundTrip();
    void optionalKeys();
    void jsonRefusals_data();
    void jsonRefusals();
    void kindJson();
};

void TestPost::kind_data()
{
    QTest::addColumn<Post>("p");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("hasMedia");
    QTest::newRow("no attachments") << post({}) << Kind(Kind::text) << false;
    QTest::newRow("image and page") << post({image(1), page(2)}) << Kind(Kind::page) << true;
    QTest::newRow("page after video") << post({video(1), page(2)}) << Kind(Kind::page) << true;
    QTest::newRow("image and video") << post({image(1), video(2)}) << Kind(Kind::video) << true;
    QTest::newRow("two images") << post({image(1), image(2)}) << Kind(Kind::images) << true;
    QTest::newRow("one video") << post({video(1)}) << Kind(Kind::video) << true;
}

void TestPost::kind()
{
    QFETCH(Post, p);
    QFETCH(Kind, kind);
    QFETCH(bool, hasMedia);
    QCOMPARE(p.kind(), kind);
    QCOMPARE(p.hasMedia(), hasMedia);
}

void TestPost::takingAtQuality_data()
{
    QTest::addColumn<Attachment>("attachment");
    QTest::addColumn<Quality>("quality");
    QTest::addColumn<Attachment>("expected");

    const std::vector<Rendition> ladder{rendition(1080, 900), rendition(720, 500), rendition(720, 400), rendition(360, 100)};
    const Attachment v = video(1000, ladder);
    auto chosen = [](const Rendition &r) {
        return Attachment(Attachment::Video{r.url, Duration::fromSeconds(12.5), r.bytes, std::nullopt});
    };
    QTest::newRow("hd takes the first 720") << v << Quality(Quality::hd) << chosen(ladder[1]);
    QTest::newRow("small takes 360") << v << Quality(Quality::small) << chosen(ladder[3]);
    QTest::newRow("original unchanged") << v << Quality(Quality::original) << v;

    const std::vector<Rendition> tall{rendition(1080, 9), rendition(900, 8), rendition(900, 7)};
    QTest::newRow("all too tall: first shortest") << video(10, tall) << Quality(Quality::small) << chosen(tall[1]);
    const std::vector<Rendition> unordered{rendition(240, 1), rendition(480, 2), rendition(360, 3)};
    QTest::newRow("tallest within the ceiling, in any order") << video(10, unordered) << Quality(Quality::hd) << chosen(unordered[1]);
    QTest::newRow("exactly at the ceiling") << video(10, std::vector{rendition(360, 5)}) << Quality(Quality::small)
                                            << chosen(rendition(360, 5));

    QTest::newRow("empty renditions unchanged") << video(10, std::vector<Rendition>{}) << Quality(Quality::small)
                                                << video(10, std::vector<Rendition>{});
    QTest::newRow("no renditions unchanged") << video(10) << Quality(Quality::hd) << video(10);
    QTest::newRow("image unchanged") << image(5) << Quality(Quality::small) << image(5);
    QTest::newRow("page unchanged") << page(5) << Quality(Quality::small) << page(5);
}

void TestPost::takingAtQuality()
{
    QFETCH(Attachment, attachment);
    QFETCH(Quality, quality);
    QFETCH(Attachment, expected);
    const Attachment taken = attachment.at(quality);
    QVERIFY2(taken == expected, taken.toJson().toJson().c_str());
    // A chosen rendition is final at every quality.
    if (!(taken == attachment)) {
        QVERIFY(!taken.asVideo()->renditions);
        for (Quality q : Quality::allCases())
            QVERIFY(taken.at(q) == taken);
    }
}

void TestPost::mediaBytes_data()
{
    QTest::addColumn<Post>("p");
    QTest::addColumn<qint64>("original");
    QTest::addColumn<qint64>("hd");
    QTest::addColumn<qint64>("small");
    const auto max = std::numeric_limits<qint64>::max();
    const auto min = std::numeric_limits<qint64>::min();
    QTest::newRow("no attachments") << post({}) << qint64(0) << qint64(0) << qint64(0);
    QTest::newRow("picture and video with a 720 rendition")
        << post({image(100), video(800, std::vector{rendition(720, 500)})}) << qint64(900) << qint64(600) << qint64(600);
    QTest::newRow("sums saturate instead of overflowing") << post({image(max), image(max), image(1)}) << max << max << max;
    QTest::newRow("negative sums saturate") << post({image(min), image(-1)}) << min << min << min;
    QTest::newRow("saturation applies at each step") << post({image(max), image(1), image(-5)}) << max - 5
                                                             << max - 5 << max - 5;
}

void TestPost::mediaBytes()
{
    QFETCH(Post, p);
    QFETCH(qint64, original);
    QFETCH(qint64, hd);
    QFETCH(qint64, small);
    QCOMPARE(p.mediaBytes(), original);
    QCOMPARE(p.mediaBytes(Quality::original), original);
    QCOMPARE(p.mediaBytes(Quality::hd), hd);
    QCOMPARE(p.mediaBytes(Quality::small), small);
}

void TestPost::attachmentAccessors()
{
    const Attachment v = video(7);
    const Attachment i = image(8);
    const Attachment p = page(9);
    QCOMPARE(v.fileExtension(), QStringLiteral("mp4"));
    QCOMPARE(i.fileExtension(), QStringLiteral("jpg"));
    QCOMPARE(p.fileExtension(), QStringLiteral("html"));
    QCOMPARE(v.bytes(), 7);
    QCOMPARE(i.bytes(), 8);
    QCOMPARE(p.bytes(), 9);
    QCOMPARE(v.remote().text(), QStringLiteral("https://video.twimg.com/v.mp4"));
    QCOMPARE(p.remote().text(), QStringLiteral("https://example.com/p.html"));
}

void TestPost::quality_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("original") << "original" << true;
    QTest::newRow("hd") << "hd" << true;
    QTest::newRow("small") << "small" << true;
    QTest::newRow("capitals") << "HD" << false;
    QTest::newRow("title case") << "Original" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("padded") << " hd" << false;
}

void TestPost::quality()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    const auto q = Quality::fromRawValue(text);
    QCOMPARE(q.has_value(), accepted);
    const QByteArray json = '"' + text.toUtf8() + '"';
    if (accepted) {
        QCOMPARE(q->rawValue(), text);
        QCOMPARE(QByteArray::fromStdString(q->toJson().toJson()), json);
        QCOMPARE(decode<Quality>(json), *q);
        QVERIFY(q->ceiling().value_or(1 << 30) >= 360);
    } else {
        QVERIFY(!failureOf<Quality>(json).isEmpty());
    }
}

void TestPost::equality_data()
{
    QTest::addColumn<Post>("a");
    QTest::addColumn<Post>("b");
    QTest::addColumn<bool>("equal");
    const Post base = post({image(1)});

    Post otherHandle = base;
    otherHandle.link = PostLink::x(Handle{QStringLiteral("renamed")}, StatusID{QStringLiteral("20")});
    QTest::newRow("link handles differ") << base << otherHandle << true;

    Post handleCase = base;
    handleCase.author.handle = Handle{QStringLiteral("JACK")};
    QTest::newRow("author handles differ in case") << base << handleCase << true;

    Post nameCase = base;
    nameCase.author.name = QStringLiteral("Jack");
    QTest::newRow("author names differ in case") << base << nameCase << false;

    Post composed = base;
    composed.text = QStringLiteral("caf\u00e9");
    Post decomposed = base;
    decomposed.text = QStringLiteral("cafe\u0301");
    QTest::newRow("text canonically equivalent") << composed << decomposed << true;

    Post withPreview = base;
    withPreview.preview = url("https://pbs.twimg.com/a.jpg");
    QTest::newRow("preview absent and present") << base << withPreview << false;

    Post noAvatar = base;
    noAvatar.author.avatar.reset();
    QTest::newRow("avatar absent and present") << base << noAvatar << false;

    Post later = base;
    later.postedAt = Date{786297601};
    QTest::newRow("dates differ") << base << later << false;

    QTest::newRow("attachment order matters") << post({image(1), page(2)}) << post({page(2), image(1)}) << false;
    QTest::newRow("attachment count matters") << post({image(1)}) << post({image(1), image(1)}) << false;
    QTest::newRow("renditions absent and empty") << post({video(1)}) << post({video(1, std::vector<Rendition>{})}) << false;
    QTest::newRow("same case, other bytes") << post({page(1)}) << post({page(2)}) << false;
}

void TestPost::equality()
{
    QFETCH(Post, a);
    QFETCH(Post, b);
    QFETCH(bool, equal);
    QCOMPARE(a == b, equal);
    QCOMPARE(b == a, equal);
    if (equal) {
        QCOMPARE(qHash(a, 11), qHash(b, 11));
        std::unordered_set<Post> set{a};
        QVERIFY(set.contains(b));
    }
}

void TestPost::postDocumentByteForByte()
{
    const QByteArray document =
        R"({"attachments":[{"video":{"_0":"https:\/\/video.twimg.com\/v.mp4","bytes":800,"length":[0,12500000000000000000],)"
        R"("renditions":[{"bytes":500,"height":720,"url":"https:\/\/video.twimg.com\/720.mp4"}]}},)"
        R"({"image":{"_0":"https:\/\/pbs.twimg.com\/a.jpg","bytes":100}},{"page":{"_0":"https:\/\/example.com\/p.html","bytes":0}}],)"
        R"("author":{"avatar":"https:\/\/pbs.twimg.com\/p.jpg","handle":{"name":"Jack"},"name":"jack"},)"
        R"("link":{"x":{"handle":{"name":"Jack"},"status":{"digits":"20"}}},"postedAt":786297600.5,)"
        R"("preview":"https:\/\/pbs.twimg.com\/a.jpg","text":"just setting up my twttr"})";

    Post expected = post({video(800, std::vector{Rendition{url("https://video.twimg.com/720.mp4"), 720, 500}}), image(100), page(0)});
    expected.preview = url("https://pbs.twimg.com/a.jpg");

    QCOMPARE(QByteArray::fromStdString(expected.toJson().toJson()), document);
    const Post read = decode<Post>(document);
    QVERIFY(read == expected);
    QCOMPARE(read.attachments.front().asVideo()->length, Duration::fromSeconds(12.5));
    QCOMPARE(QByteArray::fromStdString(read.toJson().toJson()), document);
}

void TestPost::jsonRoundTrip_data()
{
    QTest::addColumn<Post>("p");
    QTest::newRow("text post") << post({});
    Post web = post({page(12345)});
    web.link = PostLink::web(url("https://example.com/article?id=1"));
    web.author.avatar.reset();
    web.text = QStringLiteral("Line one\nline two \"quoted\" / slash \u65e5\u672c");
    web.postedAt = Date{-1.25};
    QTest::newRow("web page, no avatar") << web;
    Post longVideo = post({Attachment::Video{url("https://v.example/x.mp4"), Duration::fromSeconds(30), 1, std::vector<Rendition>{}}});
    QTest::newRow("30 s video, empty renditions") << longVideo;
    Post negative = post({Attachment::Video{url("https://v.example/x.mp4"), Duration{-1}, -5, std::nullopt}});
    QTest::newRow("negative length and size") << negative;
}

void TestPost::jsonRoundTrip()
{
    QFETCH(Post, p);
    const std::string text = p.toJson().toJson();
    const Post back = decode<Post>(QByteArray::fromStdString(text));
    QVERIFY(back == p);
    QCOMPARE(back.toJson().toJson(), text);
    // Exactly equal, not merely equal by the model's rules.
    QCOMPARE(back.author.handle.name, p.author.handle.name);
    QCOMPARE(back.link.url(), p.link.url());
}

void TestPost::optionalKeys()
{
    const Post p = post({image(1)});
    const std::string text = p.toJson().toJson();
    QVERIFY(text.find("\"preview\"") == std::string::npos);

    Author anonymous{QStringLiteral("a"), Handle{QStringLiteral("b")}, std::nullopt};
    QCOMPARE(QByteArray::fromStdString(anonymous.toJson().toJson()), QByteArray(R"({"handle":{"name":"b"},"name":"a"})"));

    const QByteArray withNulls =
        R"({"link":{"web":{"_0":"https:\/\/a.com"}},"author":{"name":"a","handle":{"name":"b"},"avatar":null},)"
        R"("text":"","postedAt":0,"attachments":[{"video":{"_0":"https:\/\/a.com\/v","length":[0,0],"bytes":1,"renditions":null}}],)"
        R"("preview":null,"unknown":{"deep":1}})";
    const Post read = decode<Post>(withNulls);
    QVERIFY(!read.preview);
    QVERIFY(!read.author.avatar);
    QVERIFY(!read.attachments.front().asVideo()->renditions);
}

void TestPost::jsonRefusals_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");   // empty: any
    QTest::newRow("attachment with video and image") << "attachment"
        << QByteArray(R"({"video":{"_0":"https:\/\/a.com","length":[0,0],"bytes":1},"image":{"_0":"https:\/\/a.com","bytes":1}})")
        << kCaseCount;
    QTest::newRow("attachment without a case") << "attachment" << QByteArray(R"({"audio":{}})") << kCaseCount;
    QTest::newRow("image without bytes") << "attachment" << QByteArray(R"({"image":{"_0":"https:\/\/a.com"}})") << QString();
    QTest::newRow("video without length") << "attachment" << QByteArray(R"({"video":{"_0":"https:\/\/a.com","bytes":1}})") << QString();
    QTest::newRow("bytes as text") << "attachment" << QByteArray(R"({"page":{"_0":"https:\/\/a.com","bytes":"1"}})") << QString();
    QTest::newRow("bytes with a fraction") << "attachment" << QByteArray(R"({"page":{"_0":"https:\/\/a.com","bytes":1.5}})") << QString();
    QTest::newRow("renditions not an array") << "attachment"
        << QByteArray(R"({"video":{"_0":"https:\/\/a.com","length":[0,0],"bytes":1,"renditions":{}}})") << QString();
    QTest::newRow("rendition without height") << "rendition" << QByteArray(R"({"url":"https:\/\/a.com","bytes":1})") << QString();
    QTest::newRow("author without handle") << "author" << QByteArray(R"({"name":"a"})") << QString();
    QTest::newRow("avatar forms no URL") << "author" << QByteArray(R"({"name":"a","handle":{"name":"b"},"avatar":"http:\/\/[::1"})") << QString();
    QTest::newRow("post without text") << "post"
        << QByteArray(R"({"link":{"web":{"_0":"https:\/\/a.com"}},"author":{"name":"a","handle":{"name":"b"}},"postedAt":0,"attachments":[]})")
        << QString();
    QTest::newRow("post date as text") << "post"
        << QByteArray(R"({"link":{"web":{"_0":"https:\/\/a.com"}},"author":{"name":"a","handle":{"name":"b"}},"text":"","postedAt":"0","attachments":[]})")
        << QString();
    QTest::newRow("post with a bad attachment") << "post"
        << QByteArray(R"({"link":{"web":{"_0":"https:\/\/a.com"}},"author":{"name":"a","handle":{"name":"b"}},"text":"","postedAt":0,"attachments":[{}]})")
        << kCaseCount;
    QTest::newRow("post keys match exactly") << "post"
        << QByteArray(R"({"Link":{"web":{"_0":"https:\/\/a.com"}},"author":{"name":"a","handle":{"name":"b"}},"text":"","postedAt":0,"attachments":[]})")
        << QString();
}

void TestPost::jsonRefusals()
{
    QFETCH(QString, type);
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    QString failure;
    if (type == u"attachment")
        failure = failureOf<Attachment>(json);
    else if (type == u"rendition")
        failure = failureOf<Rendition>(json);
    else if (type == u"author")
        failure = failureOf<Author>(json);
    else
        failure = failureOf<Post>(json);
    QVERIFY(!failure.isEmpty());
    if (!message.isEmpty())
        QCOMPARE(failure, message);
}

void TestPost::kindJson()
{
    const QStringList names{"video", "images", "text", "page"};
    QCOMPARE(qsizetype(Kind::allCases().size()), names.size());
    for (Kind k : Kind::allCases()) {
        const QByteArray json = "{\"" + k.name().toUtf8() + "\":{}}";
        QCOMPARE(QByteArray::fromStdString(k.toJson().toJson()), json);
        QCOMPARE(decode<Kind>(json), k);
    }
    QCOMPARE(failureOf<Kind>(R"({"video":{},"page":{}})"), kCaseCount);
    QCOMPARE(failureOf<Kind>(R"({})"), kCaseCount);
}

QTEST_APPLESS_MAIN(TestPost)
#include "tst_post.moc"
