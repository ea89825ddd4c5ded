// Decoding the FxTwitter status document and mapping it onto a post with estimated sizes.

#include "StashKit/FxTwitter.h"

#include "Offline/MediaFolder.h"
#include "Offline/Covers.h"

#include <QtTest>

#include <limits>

using namespace sw;

namespace {

constexpr qint64 kMax = std::numeric_limits<qint64>::max();

const StatusID kStatus{QStringLiteral("1234567890")};

// A reply of code 200 whose tweet has the given extra members (each starting with a comma).
QByteArray tweetReply(const QByteArray &extra = {})
{
    return R"({"code":200,"tweet":{"text":"Hello\nworld","author":{"name":"The Name","screen_name":"TheHandle"})"
        + extra + "}}";
}

QByteArray mediaReply(const QByteArray &items) { return tweetReply(R"(,"media":{"all":[)" + items + "]}"); }

std::expected<Post, FetchError> mapped(const QByteArray &body) { return FxTwitter::post(body, kStatus); }

FxTwitter::Variant variant(const QByteArray &json)
{
    JsonDocument document(std::string_view(json.constData(), std::size_t(json.size())));
    return FxTwitter::Variant::fromJson(document.root());
}

FxTwitter::Item item(const QByteArray &json)
{
    JsonDocument document(std::string_view(json.constData(), std::size_t(json.size())));
    return FxTwitter::Item::fromJson(document.root());
}

QString describe(const std::optional<Rendition> &r)
{
    if (!r)
        return QStringLiteral("none");
    return QStringLiteral("%1 %2 %3").arg(r->height).arg(r->bytes).arg(r->url.text());
}

QString kindOf(const FetchError &error)
{
    if (const FetchFailure *f = error.failure())
        return *f == FetchFailure::notFound ? QStringLiteral("notFound") : QStringLiteral("unreadable");
    return error.decoding() ? QStringLiteral("decoding") : QStringLiteral("transport");
}

}  // namespace

class TestFxTwitter : public QObject {
    Q_OBJECT

private slots:
    void failures_data();
    void failures();
    void mapsTheTweet();
    void loneSurrogates_data();
    void loneSurrogates();
    void namesFromScreenNamesWithControls_data();
    void namesFromScreenNamesWithControls();
    void missingTimestampIsTheUnixEpoch();
    void avatar_data();
    void avatar();
    void attachmentsAndPreview_data();
    void attachmentsAndPreview();
    void videoSizes_data();
    void videoSizes();
    void rendition_data();
    void rendition();
    void renditionsAreSortedStably();
    void renditionsAbsentWhenNoneQualify();
    void videoWithSeveralVariantsAndAnHlsEntry();
    void statusUrl_data();
    void statusUrl();
};

void TestFxTwitter::failures_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("kind");

    QTest::newRow("not JSON") << QByteArray("<html>rate limited</html>") << "decoding";
    QTest::newRow("empty body") << QByteArray() << "decoding";
    QTest::newRow("a JSON array") << QByteArray("[1,2]") << "decoding";
    QTest::newRow("code missing") << QByteArray(R"({"tweet":null})") << "decoding";
    QTest::newRow("code as text") << QByteArray(R"({"code":"200"})") << "decoding";
    QTest::newRow("code with a fraction") << QByteArray(R"({"code":200.5})") << "decoding";
    QTest::newRow("code beyond 64 bits") << QByteArray(R"({"code":1e30})") << "decoding";
    QTest::newRow("404 with a tweet") << QByteArray(tweetReply()).replace("\"code\":200", "\"code\":404") << "notFound";
    QTest::newRow("401 without tweet") << QByteArray(R"({"code":401,"message":"PRIVATE_TWEET"})") << "notFound";
    QTest::newRow("200 with tweet null") << QByteArray(R"({"code":200,"tweet":null})") << "notFound";
    QTest::newRow("200 without tweet") << QByteArray(R"({"code":200})") << "notFound";
    QTest::newRow("text missing") << QByteArray(R"({"code":200,"tweet":{"author":{"name":"n","screen_name":"s"}}})")
                                  << "decoding";
    QTest::newRow("text null") << QByteArray(R"({"code":200,"tweet":{"text":null,"author":{"name":"n","screen_name":"s"}}})")
                               << "decoding";
    QTest::newRow("screen_name missing") << QByteArray(R"({"code":200,"tweet":{"text":"t","author":{"name":"n"}}})")
                                         << "decoding";
    QTest::newRow("author a string") << QByteArray(R"({"code":200,"tweet":{"text":"t","author":"n"}})") << "decoding";
    QTest::newRow("timestamp as text") << tweetReply(R"(,"created_timestamp":"yesterday")") << "decoding";
    QTest::newRow("only item lacks url") << mediaReply(R"({"type":"photo"})") << "decoding";
    QTest::newRow("all is an object") << tweetReply(R"(,"media":{"all":{}})") << "decoding";
    QTest::newRow("duration as text") << mediaReply(R"({"type":"video","url":"https://v/x.mp4","duration":"10"})")
                                      << "decoding";
    QTest::newRow("one variant lacks url")
        << mediaReply(R"({"type":"video","url":"https://v/x.mp4","variants":[{"url":"https://v/1x1/a.mp4"},{"bitrate":1}]})")
        << "decoding";
    QTest::newRow("bitrate with a fraction")
        << mediaReply(R"({"type":"video","url":"https://v/x.mp4","variants":[{"url":"https://v/1x1/a.mp4","bitrate":1.5}]})")
        << "decoding";
    QTest::newRow("content_type a number")
        << mediaReply(R"({"type":"video","url":"https://v/x.mp4","variants":[{"url":"https://v/1x1/a.mp4","content_type":4}]})")
        << "decoding";
    QTest::newRow("item type missing on a dropped item") << mediaReply(R"({"url":"https://p/a.jpg"})") << "decoding";
}

void TestFxTwitter::failures()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, kind);
    const auto post = mapped(body);
    QVERIFY(!post);
    QCOMPARE(kindOf(post.error()), kind);
    if (post.error().decoding())
        QVERIFY(!post.error().description().isEmpty());
}

void TestFxTwitter::mapsTheTweet()
{
    const auto post = mapped(tweetReply(R"(,"created_timestamp":1700000000.25,"unknown":{"x":1},"media":null)"));
    QVERIFY(post);
    QVERIFY(post->link.isX());
    QCOMPARE(post->link.asX()->handle.name, QStringLiteral("TheHandle"));
    QCOMPARE(post->link.asX()->status, kStatus);
    QCOMPARE(post->link, PostLink::x(Handle{QStringLiteral("asked")}, kStatus));
    QCOMPARE(post->author.name, QStringLiteral("The Name"));
    QCOMPARE(post->author.handle.name, QStringLiteral("TheHandle"));
    QCOMPARE(post->text, QStringLiteral("Hello\nworld"));
    QCOMPARE(post->postedAt.unixSeconds(), 1700000000.25);
    QVERIFY(post->attachments.empty());
    QVERIFY(!post->preview);

    // One leading "@" of the account name is dropped, as a typed handle's would be.
    const auto at = mapped(QByteArray(tweetReply()).replace("\"TheHandle\"", "\"@@Two\""));
    QVERIFY(at);
    QCOMPARE(at->author.handle.name, QStringLiteral("@Two"));
}

// The service writes a character whose surrogate partner was lost as a lone escape: the post is
// read all the same, with U+FFFD in its place.
void TestFxTwitter::loneSurrogates_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    const QByteArray author = R"("author":{"name":"The Name","screen_name":"TheHandle")";
    QTest::newRow("in the author's biography, never read")
        << tweetReply().replace(author, author + R"(,"description":"bio \ud83d")") << QStringLiteral("Hello\nworld")
        << QStringLiteral("The Name");
    QTest::newRow("in the post's text") << tweetReply().replace("Hello", "caf\\ud83d!") << QStringLiteral("caf\uFFFD!\nworld")
                                        << QStringLiteral("The Name");
    QTest::newRow("in the author's name, a whole pair after")
        << tweetReply().replace("The Name", "\\ude00\\ud83d\\ude00") << QStringLiteral("Hello\nworld")
        << QStringLiteral("\uFFFD\U0001F600");
    QTest::newRow("in an item's unread field")
        << mediaReply(R"({"type":"photo","url":"https://p/a.jpg","altText":"\udbff"})") << QStringLiteral("Hello\nworld")
        << QStringLiteral("The Name");
}

void TestFxTwitter::loneSurrogates()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    QFETCH(QString, name);
    const auto post = mapped(body);
    QVERIFY2(post, post ? "" : qPrintable(post.error().description()));
    QCOMPARE(post->text, text);
    QCOMPARE(post->author.name, name);
}

// A screen name is the service's to choose: the names of the post's files never carry its
// control characters.
void TestFxTwitter::namesFromScreenNamesWithControls_data()
{
    QTest::addColumn<QByteArray>("screenName");
    QTest::addColumn<QString>("stem");
    QTest::newRow("NUL inside") << QByteArray(R"(a\u0000b)") << QStringLiteral("ab_1234567890");
    QTest::newRow("NUL and dots") << QByteArray(R"(..\u0000)") << QStringLiteral(".._1234567890");
    QTest::newRow("line breaks and tabs") << QByteArray(R"(\nA\tb\r)") << QStringLiteral("ab_1234567890");
    QTest::newRow("DEL and C1 controls") << QByteArray(R"(a\u007fb\u0085c\u009f)") << QStringLiteral("abc_1234567890");
    QTest::newRow("only controls") << QByteArray(R"(\u0001\u001f)") << QStringLiteral("_1234567890");
}

void TestFxTwitter::namesFromScreenNamesWithControls()
{
    QFETCH(QByteArray, screenName);
    QFETCH(QString, stem);
    const auto post = mapped(mediaReply(R"({"type":"photo","url":"https://p/a.jpg"})").replace("TheHandle", screenName));
    QVERIFY(post);
    QCOMPARE(MediaFolder::fileName(*post, 0), stem + QStringLiteral(".jpg"));
    QCOMPARE(Covers::fileName(*post), stem + QStringLiteral(".jpg"));
    QVERIFY(LocalFile::isSafeName(MediaFolder::fileName(*post, 0)));
}

void TestFxTwitter::missingTimestampIsTheUnixEpoch()
{
    const auto post = mapped(tweetReply());
    QVERIFY(post);
    QCOMPARE(post->postedAt, Date::fromUnixSeconds(0));
    QCOMPARE(post->postedAt.sinceReference, -978307200.0);
}

void TestFxTwitter::avatar_data()
{
    QTest::addColumn<QByteArray>("member");
    QTest::addColumn<QString>("avatar");   // empty: none
    QTest::newRow("address") << QByteArray(R"(,"avatar_url":"https://pbs.example/a.jpg")") << "https://pbs.example/a.jpg";
    QTest::newRow("null") << QByteArray(R"(,"avatar_url":null)") << "";
    QTest::newRow("absent") << QByteArray() << "";
    QTest::newRow("does not parse") << QByteArray(R"(,"avatar_url":"http://[nope")") << "";
    QTest::newRow("empty") << QByteArray(R"(,"avatar_url":"")") << "";
}

void TestFxTwitter::avatar()
{
    QFETCH(QByteArray, member);
    QFETCH(QString, avatar);
    const QByteArray body = R"({"code":200,"tweet":{"text":"t","author":{"name":"n","screen_name":"s")" + member + "}}}";
    const auto post = mapped(body);
    QVERIFY(post);
    QCOMPARE(post->author.avatar ? post->author.avatar->text() : QString(), avatar);
}

void TestFxTwitter::attachmentsAndPreview_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("attachments");   // "kind url bytes"
    QTest::addColumn<QString>("preview");           // empty: none

    QTest::newRow("no media") << tweetReply() << QStringList{} << "";
    QTest::newRow("media without all") << tweetReply(R"(,"media":{})") << QStringList{} << "";
    QTest::newRow("empty all") << mediaReply("") << QStringList{} << "";
    QTest::newRow("photo with thumbnail previews its url")
        << mediaReply(R"({"type":"photo","url":"https://p/a.jpg","thumbnail_url":"https://p/t.jpg"})")
        << QStringList{"image https://p/a.jpg 400000"} << "https://p/a.jpg";
    QTest::newRow("video previews its thumbnail")
        << mediaReply(R"({"type":"video","url":"https://v/a.mp4","thumbnail_url":"https://v/t.jpg"})")
        << QStringList{"video https://v/a.mp4 400000"} << "https://v/t.jpg";
    QTest::newRow("video without thumbnail previews itself")
        << mediaReply(R"({"type":"video","url":"https://v/a.mp4"})") << QStringList{"video https://v/a.mp4 400000"}
        << "https://v/a.mp4";
    QTest::newRow("gif is a video") << mediaReply(R"({"type":"gif","url":"https://v/g.mp4","thumbnail_url":null})")
                                    << QStringList{"video https://v/g.mp4 400000"} << "https://v/g.mp4";
    QTest::newRow("other type dropped but still previews")
        << mediaReply(R"({"type":"audio","url":"https://a/s.m4a","thumbnail_url":"https://a/t.jpg"},{"type":"photo","url":"https://p/b.jpg"})")
        << QStringList{"image https://p/b.jpg 400000"} << "https://a/t.jpg";
    QTest::newRow("type compared exactly") << mediaReply(R"({"type":"Photo","url":"https://p/a.jpg"})") << QStringList{}
                                           << "https://p/a.jpg";
    QTest::newRow("unparsable url dropped, preview none")
        << mediaReply(R"({"type":"photo","url":"http://[bad"},{"type":"photo","url":"https://p/b.jpg"})")
        << QStringList{"image https://p/b.jpg 400000"} << "";
    QTest::newRow("order kept")
        << mediaReply(R"({"type":"photo","url":"https://p/1.jpg"},{"type":"video","url":"https://v/2.mp4","duration":10},{"type":"photo","url":"https://p/3.jpg"})")
        << QStringList{"image https://p/1.jpg 400000", "video https://v/2.mp4 3125000", "image https://p/3.jpg 400000"}
        << "https://p/1.jpg";
}

void TestFxTwitter::attachmentsAndPreview()
{
    QFETCH(QByteArray, body);
    QFETCH(QStringList, attachments);
    QFETCH(QString, preview);
    const auto post = mapped(body);
    QVERIFY(post);
    QStringList seen;
    for (const Attachment &a : post->attachments)
        seen.append(QStringLiteral("%1 %2 %3")
                        .arg(a.isVideo() ? u"video" : a.isImage() ? u"image" : u"page", a.remote().text())
                        .arg(a.bytes()));
    QCOMPARE(seen, attachments);
    QCOMPARE(post->preview ? post->preview->text() : QString(), preview);
}

void TestFxTwitter::videoSizes_data()
{
    QTest::addColumn<QByteArray>("duration");   // the JSON member, or empty
    QTest::addColumn<qint64>("milliseconds");
    QTest::addColumn<qint64>("bytes");

    QTest::newRow("10 s") << QByteArray(R"(,"duration":10)") << qint64(10000) << qint64(3125000);
    QTest::newRow("12.9 s") << QByteArray(R"(,"duration":12.9)") << qint64(12900) << qint64(4031250);
    QTest::newRow("1 s, the floor") << QByteArray(R"(,"duration":1)") << qint64(1000) << qint64(400000);
    QTest::newRow("1.28 s, just at the floor") << QByteArray(R"(,"duration":1.28)") << qint64(1280) << qint64(400000);
    QTest::newRow("1.3 s, over the floor") << QByteArray(R"(,"duration":1.3)") << qint64(1300) << qint64(406250);
    QTest::newRow("no duration") << QByteArray() << qint64(0) << qint64(400000);
    QTest::newRow("null duration") << QByteArray(R"(,"duration":null)") << qint64(0) << qint64(400000);
    QTest::newRow("fraction of a millisecond dropped") << QByteArray(R"(,"duration":2.0009)") << qint64(2000)
                                                       << qint64(625281);
    QTest::newRow("negative counts as none") << QByteArray(R"(,"duration":-5)") << qint64(0) << qint64(400000);
    QTest::newRow("huge saturates") << QByteArray(R"(,"duration":1e300)") << kMax << kMax;
    QTest::newRow("just past the bytes range") << QByteArray(R"(,"duration":3e13)") << qint64(30000000000000000)
                                               << kMax;
}

void TestFxTwitter::videoSizes()
{
    QFETCH(QByteArray, duration);
    QFETCH(qint64, milliseconds);
    QFETCH(qint64, bytes);
    const auto post = mapped(mediaReply(R"({"type":"video","url":"https://v/a.mp4")" + duration + "}"));
    QVERIFY(post);
    QCOMPARE(post->attachments.size(), std::size_t(1));
    const auto *video = post->attachments[0].asVideo();
    QVERIFY(video);
    QCOMPARE(video->length, Duration::fromMilliseconds(milliseconds));
    QCOMPARE(video->bytes, bytes);
    QVERIFY(!video->renditions);
}

void TestFxTwitter::rendition_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<double>("duration");
    QTest::addColumn<QString>("expected");

    QTest::newRow("mp4 type, bitrate")
        << QByteArray(R"({"bitrate":2176000,"url":"https://v/vid/1280x720/a.mp4?tag=12","content_type":"video/mp4"})")
        << 12.9 << "720 3264000 https://v/vid/1280x720/a.mp4?tag=12";
    QTest::newRow("no bitrate") << QByteArray(R"({"url":"https://v/vid/1280x720/a.mp4"})") << 12.9
                                << "720 0 https://v/vid/1280x720/a.mp4";
    QTest::newRow("portrait height") << QByteArray(R"({"bitrate":800,"url":"https://v/480x852/a.mp4"})") << 2.0
                                     << "852 200 https://v/480x852/a.mp4";
    QTest::newRow("mp4 type whatever the url") << QByteArray(R"({"url":"https://v/320x180/stream","content_type":"video/mp4"})")
                                               << 1.0 << "180 0 https://v/320x180/stream";
    QTest::newRow("playlist type with .mp4 in url")
        << QByteArray(R"({"url":"https://v/320x180/a.mp4.m3u8","content_type":"application/x-mpegURL"})") << 1.0 << "none";
    QTest::newRow("no type, url without .mp4") << QByteArray(R"({"url":"https://v/320x180/a.m3u8"})") << 1.0 << "none";
    QTest::newRow("mp4 test is case-sensitive") << QByteArray(R"({"url":"https://v/320x180/a.MP4"})") << 1.0 << "none";
    QTest::newRow("no size segment") << QByteArray(R"({"url":"https://v/a.mp4"})") << 1.0 << "none";
    QTest::newRow("size not between slashes") << QByteArray(R"({"url":"https://v/a_320x180.mp4"})") << 1.0 << "none";
    QTest::newRow("capital X does not match") << QByteArray(R"({"url":"https://v/320X180/a.mp4"})") << 1.0 << "none";
    QTest::newRow("first size segment counts")
        << QByteArray(R"({"url":"https://v/640x360/1280x720/a.mp4"})") << 1.0 << "360 0 https://v/640x360/1280x720/a.mp4";
    QTest::newRow("height beyond 64 bits") << QByteArray(R"({"url":"https://v/1x99999999999999999999/a.mp4"})") << 1.0
                                           << "none";
    QTest::newRow("non-ASCII digits found first")
        << QByteArray("{\"url\":\"https://v/\xD9\xA1x\xD9\xA2/320x180/a.mp4\"}") << 1.0 << "none";
    QTest::newRow("url does not parse") << QByteArray(R"({"url":"http://[v/320x180/a.mp4"})") << 1.0 << "none";
    QTest::newRow("whole seconds of the duration") << QByteArray(R"({"bitrate":80,"url":"https://v/2x2/a.mp4"})") << 2.99
                                                   << "2 20 https://v/2x2/a.mp4";
    QTest::newRow("bits under a byte") << QByteArray(R"({"bitrate":7,"url":"https://v/2x2/a.mp4"})") << 100.0
                                       << "2 0 https://v/2x2/a.mp4";
    QTest::newRow("huge product saturates")
        << QByteArray(R"({"bitrate":9223372036854775807,"url":"https://v/2x2/a.mp4"})") << 1e6
        << QStringLiteral("2 %1 https://v/2x2/a.mp4").arg(kMax);
    QTest::newRow("huge duration saturates") << QByteArray(R"({"bitrate":8,"url":"https://v/2x2/a.mp4"})") << 1e300
                                             << QStringLiteral("2 %1 https://v/2x2/a.mp4").arg(kMax);
    QTest::newRow("negative bitrate counts as none") << QByteArray(R"({"bitrate":-800,"url":"https://v/2x2/a.mp4"})")
                                                     << 10.0 << "2 0 https://v/2x2/a.mp4";
    QTest::newRow("NaN duration counts as none") << QByteArray(R"({"bitrate":800,"url":"https://v/2x2/a.mp4"})")
                                                 << std::numeric_limits<double>::quiet_NaN() << "2 0 https://v/2x2/a.mp4";
}

void TestFxTwitter::rendition()
{
    QFETCH(QByteArray, json);
    QFETCH(double, duration);
    QFETCH(QString, expected);
    QCOMPARE(describe(FxTwitter::rendition(variant(json), duration)), expected);
}

void TestFxTwitter::renditionsAreSortedStably()
{
    const std::vector<FxTwitter::Variant> variants{
        variant(R"({"url":"https://v/1280x720/a.mp4"})"), variant(R"({"url":"https://v/640x320/b.mp4"})"),
        variant(R"({"url":"https://v/852x480/c.mp4"})"), variant(R"({"url":"https://v/960x480/d.mp4"})"),
        variant(R"({"url":"https://v/a.m3u8"})")};
    const auto renditions = FxTwitter::renditions(variants, 1);
    QVERIFY(renditions);
    QStringList order;
    for (const Rendition &r : *renditions)
        order.append(QStringLiteral("%1 %2").arg(r.height).arg(r.url.pathSegments().last()));
    QCOMPARE(order, (QStringList{"320 b.mp4", "480 c.mp4", "480 d.mp4", "720 a.mp4"}));
}

void TestFxTwitter::renditionsAbsentWhenNoneQualify()
{
    QVERIFY(!FxTwitter::renditions({}, 10));
    const FxTwitter::Variant playlist = variant(R"({"url":"https://v/a.m3u8","content_type":"application/x-mpegURL"})");
    QVERIFY(!FxTwitter::renditions({playlist}, 10));
    const auto attachment = FxTwitter::attachment(
        item(R"({"type":"video","url":"https://v/a.mp4","variants":[{"url":"https://v/no-size.mp4"}]})"));
    QVERIFY(attachment && attachment->asVideo());
    QVERIFY(!attachment->asVideo()->renditions.has_value());
    const auto empty = FxTwitter::attachment(item(R"({"type":"video","url":"https://v/a.mp4","variants":[]})"));
    QVERIFY(empty && !empty->asVideo()->renditions.has_value());
}

void TestFxTwitter::videoWithSeveralVariantsAndAnHlsEntry()
{
    const QByteArray video = R"({"type":"video","url":"https://video.example/vid/1280x720/best.mp4",
        "thumbnail_url":"https://pbs.example/thumb.jpg","duration":12.9,
        "variants":[
          {"content_type":"application/x-mpegURL","url":"https://video.example/pl/playlist.m3u8?tag=14"},
          {"bitrate":2176000,"content_type":"video/mp4","url":"https://video.example/vid/1280x720/best.mp4"},
          {"bitrate":256000,"content_type":"video/mp4","url":"https://video.example/vid/480x270/low.mp4"},
          {"bitrate":832000,"content_type":"video/mp4","url":"https://video.example/vid/640x360/mid.mp4"}]})";
    const auto post = mapped(mediaReply(video));
    QVERIFY(post);
    QCOMPARE(post->attachments.size(), std::size_t(1));
    const auto *v = post->attachments[0].asVideo();
    QVERIFY(v);
    QCOMPARE(v->url.text(), QStringLiteral("https://video.example/vid/1280x720/best.mp4"));
    QCOMPARE(v->length, Duration::fromMilliseconds(12900));
    QCOMPARE(v->bytes, 4031250);
    QVERIFY(v->renditions);
    const std::vector<Rendition> expected{
        {*Url::parse(QStringLiteral("https://video.example/vid/480x270/low.mp4")), 270, 32000 * 12},
        {*Url::parse(QStringLiteral("https://video.example/vid/640x360/mid.mp4")), 360, 104000 * 12},
        {*Url::parse(QStringLiteral("https://video.example/vid/1280x720/best.mp4")), 720, 272000 * 12},
    };
    QCOMPARE(*v->renditions, expected);
    QCOMPARE(post->preview->text(), QStringLiteral("https://pbs.example/thumb.jpg"));
    // The download model picks among them.
    QCOMPARE(post->attachments[0].at(Quality::small).bytes(), 104000 * 12);
}

void TestFxTwitter::statusUrl_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("handle");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("expected");

    QTest::newRow("public API, handle lowercased") << "https://api.fxtwitter.com" << "Jack" << "20"
                                                   << "https://api.fxtwitter.com/jack/status/20";
    QTest::newRow("the web-status handle i") << "https://api.fxtwitter.com" << "i" << "5" << "https://api.fxtwitter.com/i/status/5";
    QTest::newRow("base with slash and path") << "http://127.0.0.1:8080/api/" << "a_b" << "007"
                                              << "http://127.0.0.1:8080/api/a_b/status/007";
    QTest::newRow("handle is one segment") << "https://api.example" << "../x/y?z#w" << "1"
                                           << "https://api.example/..%2Fx%2Fy%3Fz%23w/status/1";
    QTest::newRow("non-ASCII handle") << "https://api.example" << QStringLiteral("\u00C9t\u00E9") << "1"
                                      << "https://api.example/%C3%A9t%C3%A9/status/1";
    QTest::newRow("empty handle") << "https://api.example" << "" << "1" << "https://api.example//status/1";
    QTest::newRow("digits from an archive are encoded too") << "https://api.example" << "a" << "1/../2"
                                                            << "https://api.example/a/status/1%2F..%2F2";
}

void TestFxTwitter::statusUrl()
{
    QFETCH(QString, base);
    QFETCH(QString, handle);
    QFETCH(QString, digits);
    QFETCH(QString, expected);
    const Url url = FxTwitter::statusUrl(*Url::parse(base), Handle{handle}, StatusID{digits});
    QCOMPARE(url.text(), expected);
    QVERIFY(url.isHttp());
}

QTEST_GUILESS_MAIN(TestFxTwitter)
#include "tst_fxtwitter.moc"
