#include "Capture/PostLink.h"

#include <QHash>
#include <QTest>

#include <unordered_map>
#include <unordered_set>

using namespace sw;

Q_DECLARE_METATYPE(sw::PostLink)

namespace {
PostLink xLink(const QString &handle, const QString &digits)
{
    return PostLink::x(Handle{handle}, StatusID{digits});
}

PostLink webLink(const char *text)
{
    return PostLink::web(*Url::parse(QString::fromUtf8(text)));
}

QString decodeFailure(const char *json)
{
    try {
        JsonDocument doc{std::string(json)};
        (void)PostLink::fromJson(doc.root());
    } catch (const JsonError &e) {
        return e.message();
    }
    return QString();
}

const QString kCaseCount = QStringLiteral("Invalid number of keys found, expected one.");
}  // namespace

class TestPostLink : public QObject {
    Q_OBJECT
private slots:
    void reading_data();
    void reading();
    void handleFromText_data();
    void handleFromText();
    void statusFromText_data();
    void statusFromText();
    void equalityAndHashing_data();
    void equalityAndHashing();
    void worksAsKey();
    void keys_data();
    void keys();
    void canonicalAddressOfOddHandles_data();
    void canonicalAddressOfOddHandles();
    void jsonWriting_data();
    void jsonWriting();
    void jsonReading_data();
    void jsonReading();
    void jsonRefusals_data();
    void jsonRefusals();
    void sourceJson();
};

void TestPostLink::reading_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("outcome");   // "x", "web", "notALink", "notAPost"
    QTest::addColumn<QString>("handle");    // x: the handle's name
    QTest::addColumn<QString>("digits");    // x: the status digits
    QTest::addColumn<QString>("url");       // the canonical address

    auto x = [](const char *name, const QString &input, const char *handle, const char *digits, const char *url) {
        QTest::newRow(name) << input << "x" << QString::fromUtf8(handle) << QString::fromUtf8(digits) << QString::fromUtf8(url);
    };
    auto web = [](const char *name, const QString &input, const char *url) {
        QTest::newRow(name) << input << "web" << QString() << QString() << QString::fromUtf8(url);
    };
    auto refused = [](const char *name, const QString &input, const char *refusal) {
        QTest::newRow(name) << input << refusal << QString() << QString() << QString();
    };

    // X links
    x("main host, spaces around, capitals kept", "  https://x.com/JackDorsey/status/20  ", "JackDorsey", "20",
      "https://x.com/jackdorsey/status/20");
    x("newlines and tabs around", "\n\thttps://x.com/jack/status/20\r\n", "jack", "20", "https://x.com/jack/status/20");
    x("no scheme", "x.com/JackDorsey/status/20", "JackDorsey", "20", "https://x.com/jackdorsey/status/20");
    x("legacy host over http with www", "http://www.twitter.com/jack/status/20", "jack", "20", "https://x.com/jack/status/20");
    x("capitals in scheme and host", "HTTPS://WWW.X.COM/jack/status/20", "jack", "20", "https://x.com/jack/status/20");
    x("mobile main host", "https://mobile.x.com/jack/status/20", "jack", "20", "https://x.com/jack/status/20");
    x("mobile legacy host", "https://mobile.twitter.com/jack/status/20", "jack", "20", "https://x.com/jack/status/20");
    x("www before a mobile host", "www.mobile.twitter.com/jack/status/20", "jack", "20", "https://x.com/jack/status/20");
    x("segments after the number, query, fragment", "https://x.com/jack/status/20/photo/1?s=20&t=abc#top", "jack", "20",
      "https://x.com/jack/status/20");
    x("port and user ignored", "https://me@x.com:8443/jack/status/20", "jack", "20", "https://x.com/jack/status/20");
    x("i/web/status", "https://x.com/i/web/status/123", "i", "123", "https://x.com/i/status/123");
    x("i/status", "https://x.com/i/status/123", "i", "123", "https://x.com/i/status/123");
    x("web is removed only after i", "https://x.com/web/status/5", "web", "5", "https://x.com/web/status/5");
    x("at sign removed", "https://x.com/@Jack/status/5", "Jack", "5", "https://x.com/jack/status/5");
    x("at sign alone gives an empty handle", "https://x.com/@/status/5", "", "5", "https://x.com//status/5");
    x("second at sign kept", "https://x.com/@@jack/status/5", "@jack", "5", "https://x.com/@jack/status/5");
    x("leading zeros kept", "https://x.com/jack/status/00123", "jack", "00123", "https://x.com/jack/status/00123");
    x("long number kept as text", "https://x.com/a/status/123456789012345678901234567890", "a",
      "123456789012345678901234567890", "https://x.com/a/status/123456789012345678901234567890");
    x("percent-encoded handle decoded", "https://x.com/%4Aack/status/1", "Jack", "1", "https://x.com/jack/status/1");
    x("an encoded slash stays in the handle", "https://x.com/a%2Fb/status/1", "a/b", "1", "https://x.com/a%2Fb/status/1");
    x("empty segments skipped", "https://x.com//jack//status//7/", "jack", "7", "https://x.com/jack/status/7");

    // Service hosts that are not statuses
    refused("status in capitals", "https://x.com/jack/Status/20", "notAPost");
    refused("letter in the number", "https://x.com/jack/status/2a", "notAPost");
    refused("non-ASCII digits", QStringLiteral("https://x.com/jack/status/\u0661\u0662"), "notAPost");
    refused("full-width digits", QStringLiteral("https://x.com/jack/status/\uff11"), "notAPost");
    refused("missing number", "https://x.com/jack/status", "notAPost");
    refused("profile", "https://x.com/jack", "notAPost");
    refused("bare host", "https://x.com", "notAPost");
    refused("bare host with slash", "twitter.com/", "notAPost");
    refused("i/web/status alone", "https://x.com/i/web/status", "notAPost");
    refused("i/web/status with a word", "https://x.com/i/web/status/abc", "notAPost");
    refused("i/web/other", "https://x.com/i/web/other/1", "notAPost");

    // Not links
    refused("empty", "", "notALink");
    refused("spaces only", "   \t\n", "notALink");
    refused("two words", "hello world", "notALink");
    refused("inner tab", "https://x.com/a\tb/status/1", "notALink");
    refused("inner no-break space", QStringLiteral("https://x.com/a\u00a0b/status/1"), "notALink");
    refused("inner line separator", QStringLiteral("x.com/a/status/1\u2028x"), "notALink");
    refused("other scheme", "ftp://x.com/jack/status/1", "notALink");
    refused("file scheme", "file:///etc/passwd", "notALink");
    refused("bare machine name", "localhost", "notALink");
    refused("machine name with port", "localhost:8080/x", "notALink");
    refused("no host", "https:///path", "notALink");
    refused("query holding a full address, no scheme", "example.com/?u=https://x.com", "notALink");
    refused("no URL forms", "http://[::1/x.y", "notALink");

    // Web links
    web("host lowercased, utm items and fragment dropped",
        "HTTPS://Example.COM/Path/Page?utm_source=a&UTM_Medium=b&id=7#top", "https://example.com/Path/Page?id=7");
    web("only utm items: query goes", "https://example.com/a?utm_source=x&utm_campaign=y", "https://example.com/a");
    web("empty query goes", "https://example.com/a?", "https://example.com/a");
    // Empty items go with the tracking ones, wherever they stand, so that the cleaned address is
    // clean: the same page pasted with and without its tracking query is one link.
    web("empty item after a tracking one", "https://example.org/page?utm_source=news&", "https://example.org/page");
    web("empty item before a tracking one", "https://example.org/page?&utm_source=news", "https://example.org/page");
    web("empty item first", "https://example.org/page?&a=1", "https://example.org/page?a=1");
    web("empty items between", "https://example.org/page?a=1&&b=2", "https://example.org/page?a=1&b=2");
    web("empty item last", "https://example.org/page?a=1&", "https://example.org/page?a=1");
    web("only empty items", "https://example.org/page?&&", "https://example.org/page");
    web("empty items around tracking ones, then a fragment", "https://example.org/page?&utm_a=1&&UTM_b=2&#top",
        "https://example.org/page");
    web("an item of only = is no empty item", "https://example.org/page?=&a=", "https://example.org/page?=&a=");
    web("kept items keep order and case", "https://example.com/?B=2&utm_x=1&a=1&A=3", "https://example.com/?B=2&a=1&A=3");
    web("encoded utm name", "https://example.com/?utm%5Fsource=1&k", "https://example.com/?k");
    web("item merely containing utm_", "https://example.com/?xutm_a=1", "https://example.com/?xutm_a=1");
    web("bare domain", "example.com", "https://example.com");
    web("www kept", "https://www.Example.com/A", "https://www.example.com/A");
    web("lookalike of a service host", "https://twitter.com.evil.example/jack/status/1",
        "https://twitter.com.evil.example/jack/status/1");
    web("sub-domain of a service host", "https://api.x.com/jack/status/1", "https://api.x.com/jack/status/1");
    web("http kept", "http://example.com/x", "http://example.com/x");
    web("percent in query encoded", "example.com/?q=100%", "https://example.com/?q=100%25");
    web("user and port kept", "https://me@example.com:8080/p", "https://me@example.com:8080/p");
    web("non-ASCII path encoded", QStringLiteral("https://example.com/caf\u00e9"), "https://example.com/caf%C3%A9");
}

void TestPostLink::reading()
{
    QFETCH(QString, input);
    QFETCH(QString, outcome);
    QFETCH(QString, handle);
    QFETCH(QString, digits);
    QFETCH(QString, url);

    const auto read = PostLink::reading(input);
    if (outcome == u"notALink" || outcome == u"notAPost") {
        QVERIFY2(!read, read ? qPrintable(read->url().text()) : "");
        QCOMPARE(read.error(), outcome == u"notALink" ? LinkRefusal::notALink : LinkRefusal::notAPost);
        return;
    }
    QVERIFY2(read, qPrintable(QStringLiteral("refused: %1").arg(int(read.error()))));
    QCOMPARE(read->url().text(), url);
    if (outcome == u"x") {
        QVERIFY(read->asX());
        QCOMPARE(read->source(), Source::x);
        QCOMPARE(read->asX()->handle.name, handle);
        QCOMPARE(read->asX()->status.digits, digits);
        // The canonical address reads back as the same link (but for an empty handle, whose
        // address has an empty first segment, which the reader skips).
        const auto again = PostLink::reading(read->url().text());
        if (handle.isEmpty()) {
            QCOMPARE(again.error(), LinkRefusal::notAPost);
        } else {
            QVERIFY(again);
            QVERIFY(*again == *read);
        }
    } else {
        QVERIFY(read->asWeb());
        QCOMPARE(read->source(), Source::web);
        QCOMPARE(read->asWeb()->url.text(), url);
        // Reading is stable: the cleaned address reads as itself.
        const auto again = PostLink::reading(url);
        QVERIFY(again);
        QCOMPARE(again->url().text(), url);
    }
}

void TestPostLink::handleFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::newRow("at removed") << "@jack" << "jack";
    QTest::newRow("one at only") << "@@jack" << "@jack";
    QTest::newRow("no at") << "Jack" << "Jack";
    QTest::newRow("not trimmed") << " @jack" << " @jack";
    QTest::newRow("at alone") << "@" << "";
    QTest::newRow("empty") << "" << "";
}

void TestPostLink::handleFromText()
{
    QFETCH(QString, text);
    QFETCH(QString, name);
    QCOMPARE(Handle::fromText(text).name, name);
}

void TestPostLink::statusFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("digits") << "1234" << true;
    QTest::newRow("leading zeros") << "007" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("space inside") << "12 34" << false;
    QTest::newRow("sign") << "-1" << false;
    QTest::newRow("Arabic-Indic digits") << QStringLiteral("\u0661\u0662") << false;
    QTest::newRow("Devanagari digits") << QStringLiteral("\u0967") << false;
    QTest::newRow("full-width digits") << QStringLiteral("\uff11\uff12") << false;
}

void TestPostLink::statusFromText()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    const auto status = StatusID::fromText(text);
    QCOMPARE(status.has_value(), accepted);
    if (accepted)
        QCOMPARE(status->digits, text);
}

void TestPostLink::equalityAndHashing_data()
{
    QTest::addColumn<PostLink>("a");
    QTest::addColumn<PostLink>("b");
    QTest::addColumn<bool>("equal");
    QTest::newRow("same status, other handles") << xLink("jack", "20") << xLink("someoneelse", "20") << true;
    QTest::newRow("handles differing in case") << xLink("Jack", "20") << xLink("jack", "20") << true;
    QTest::newRow("different status") << xLink("jack", "20") << xLink("jack", "21") << false;
    QTest::newRow("leading zero matters") << xLink("jack", "1") << xLink("jack", "01") << false;
    QTest::newRow("same web URL") << webLink("https://a.com/x") << webLink("https://a.com/x") << true;
    QTest::newRow("web URLs differ in path case") << webLink("https://a.com/X") << webLink("https://a.com/x") << false;
    QTest::newRow("x never equals web") << xLink("jack", "20") << webLink("https://x.com/jack/status/20") << false;
    QTest::newRow("longest exact status") << xLink("a", "9999999999999999999") << xLink("b", "9999999999999999999") << true;
    QTest::newRow("twenty digits") << xLink("a", "18446744073709551616") << xLink("b", "18446744073709551616") << true;
    QTest::newRow("twenty digits differ") << xLink("a", "18446744073709551616") << xLink("a", "18446744073709551617") << false;
    QTest::newRow("zero") << xLink("a", "0") << xLink("b", "0") << true;
    QTest::newRow("zero and double zero") << xLink("a", "0") << xLink("a", "00") << false;
    QTest::newRow("other digits") << xLink("a", QStringLiteral("\u0662\u0660")) << xLink("a", "20") << false;
}

void TestPostLink::equalityAndHashing()
{
    QFETCH(PostLink, a);
    QFETCH(PostLink, b);
    QFETCH(bool, equal);
    QCOMPARE(a == b, equal);
    QCOMPARE(b == a, equal);
    if (equal) {
        QCOMPARE(qHash(a, 3), qHash(b, 3));
        QCOMPARE(std::hash<PostLink>()(a), std::hash<PostLink>()(b));
    }
    // Equal links share their key; two exact keys are equal exactly when the links are.
    const LinkKey ka = a.key();
    const LinkKey kb = b.key();
    if (equal)
        QVERIFY(ka == kb);
    if (ka.exact && kb.exact)
        QCOMPARE(ka == kb, equal);
}

void TestPostLink::keys_data()
{
    QTest::addColumn<PostLink>("link");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<quint64>("value");
    QTest::newRow("status") << xLink("jack", "20") << true << quint64(20);
    QTest::newRow("largest status") << xLink("jack", "9999999999999999999") << true << quint64(9999999999999999999ull);
    QTest::newRow("zero") << xLink("jack", "0") << true << quint64(0);
    QTest::newRow("leading zero") << xLink("jack", "020") << false << quint64(0);
    QTest::newRow("twenty digits") << xLink("jack", "10000000000000000000") << false << quint64(0);
    QTest::newRow("not digits") << xLink("jack", "2a") << false << quint64(0);
    QTest::newRow("web") << webLink("https://a.com/20") << false << quint64(0);
}

void TestPostLink::keys()
{
    QFETCH(PostLink, link);
    QFETCH(bool, exact);
    QFETCH(quint64, value);
    QCOMPARE(link.key().exact, exact);
    if (exact)
        QCOMPARE(link.key().value, value);
}

void TestPostLink::worksAsKey()
{
    QHash<PostLink, int> qt;
    std::unordered_map<PostLink, int> std;
    qt.insert(xLink("Jack", "20"), 1);
    std[xLink("Jack", "20")] = 1;
    qt.insert(webLink("https://a.com/"), 2);
    std[webLink("https://a.com/")] = 2;
    QCOMPARE(qt.value(xLink("JACK", "20")), 1);
    QCOMPARE(std.at(xLink("other", "20")), 1);
    QCOMPARE(qt.value(webLink("https://a.com/")), 2);
    QVERIFY(!qt.contains(xLink("jack", "020")));
    QVERIFY(!std.contains(webLink("https://a.com/?")));

    QHash<Handle, int> handles;
    handles.insert(Handle{QStringLiteral("\u00c9mile")}, 1);
    QVERIFY(handles.contains(Handle{QStringLiteral("e\u0301mile")}));   // lowercase, then canonical equivalence
    std::unordered_set<Handle> handleSet{Handle{QStringLiteral("ABC")}};
    QVERIFY(handleSet.contains(Handle{QStringLiteral("abc")}));
}

void TestPostLink::canonicalAddressOfOddHandles_data()
{
    QTest::addColumn<QString>("handle");
    QTest::addColumn<QString>("url");
    QTest::newRow("slash") << "a/b" << "https://x.com/a%2Fb/status/1";
    QTest::newRow("query and fragment marks") << "a?b#c" << "https://x.com/a%3Fb%23c/status/1";
    QTest::newRow("space and percent") << "a b%" << "https://x.com/a%20b%25/status/1";
    QTest::newRow("non-ASCII, lowercased") << QStringLiteral("\u00c9") << "https://x.com/%C3%A9/status/1";
}

void TestPostLink::canonicalAddressOfOddHandles()
{
    QFETCH(QString, handle);
    QFETCH(QString, url);
    const PostLink link = xLink(handle, "1");
    QCOMPARE(link.url().text(), url);
    // The address reads back as the same status, the handle whole.
    const auto again = PostLink::reading(url);
    QVERIFY(again);
    QVERIFY(*again == link);
    QCOMPARE(again->asX()->handle.name, handle.toLower());
}

void TestPostLink::jsonWriting_data()
{
    QTest::addColumn<PostLink>("link");
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("x") << xLink("Jack", "20") << QByteArray(R"({"x":{"handle":{"name":"Jack"},"status":{"digits":"20"}}})");
    QTest::newRow("web") << webLink("https://example.com/a?b=1")
                         << QByteArray(R"({"web":{"_0":"https:\/\/example.com\/a?b=1"}})");
}

void TestPostLink::jsonWriting()
{
    QFETCH(PostLink, link);
    QFETCH(QByteArray, json);
    QCOMPARE(QByteArray::fromStdString(link.toJson().toJson()), json);
    JsonDocument doc(json.toStdString());
    const PostLink back = PostLink::fromJson(doc.root());
    QVERIFY(back == link);
    QCOMPARE(QByteArray::fromStdString(back.toJson().toJson()), json);
}

void TestPostLink::jsonReading_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("handle");
    QTest::addColumn<QString>("digits");
    QTest::newRow("unknown key beside x ignored")
        << QByteArray(R"({"x":{"handle":{"name":"a"},"status":{"digits":"1"}},"other":3})") << "a" << "1";
    QTest::newRow("unknown keys inside ignored")
        << QByteArray(R"({"x":{"handle":{"name":"a","n":1},"status":{"digits":"1"},"extra":[]}})") << "a" << "1";
    QTest::newRow("at sign kept as stored") << QByteArray(R"({"x":{"handle":{"name":"@a"},"status":{"digits":"1"}}})")
                                            << "@a" << "1";
    QTest::newRow("digits not tested") << QByteArray(R"({"x":{"handle":{"name":"a"},"status":{"digits":"abc"}}})")
                                       << "a" << "abc";
}

void TestPostLink::jsonReading()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, handle);
    QFETCH(QString, digits);
    JsonDocument doc(json.toStdString());
    const PostLink link = PostLink::fromJson(doc.root());
    QVERIFY(link.asX());
    QCOMPARE(link.asX()->handle.name, handle);
    QCOMPARE(link.asX()->status.digits, digits);
}

void TestPostLink::jsonRefusals_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");   // empty: any message
    QTest::newRow("both cases") << QByteArray(R"({"x":{"handle":{"name":"a"},"status":{"digits":"1"}},"web":{"_0":"https:\/\/a.com"}})")
                                << kCaseCount;
    QTest::newRow("empty object") << QByteArray("{}") << kCaseCount;
    QTest::newRow("case names match exactly") << QByteArray(R"({"X":{"handle":{"name":"a"},"status":{"digits":"1"}}})")
                                              << kCaseCount;
    QTest::newRow("missing status") << QByteArray(R"({"x":{"handle":{"name":"a"}}})") << QString();
    QTest::newRow("missing name") << QByteArray(R"({"x":{"handle":{},"status":{"digits":"1"}}})") << QString();
    QTest::newRow("digits as number") << QByteArray(R"({"x":{"handle":{"name":"a"},"status":{"digits":1}}})") << QString();
    QTest::newRow("web without _0") << QByteArray(R"({"web":{"url":"https:\/\/a.com"}})") << QString();
    QTest::newRow("web URL forms no URL") << QByteArray(R"({"web":{"_0":"http:\/\/[::1"}})") << QString();
    QTest::newRow("payload not an object") << QByteArray(R"({"web":"https:\/\/a.com"})") << QString();
    QTest::newRow("not an object") << QByteArray(R"(["x"])") << QString();
}

void TestPostLink::jsonRefusals()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    const QString failure = decodeFailure(json.constData());
    QVERIFY(!failure.isEmpty());
    if (!message.isEmpty())
        QCOMPARE(failure, message);
}

void TestPostLink::sourceJson()
{
    for (Source s : Source::allCases()) {
        const std::string text = s.toJson().toJson();
        QCOMPARE(QByteArray::fromStdString(text), s == Source::x ? QByteArray(R"({"x":{}})") : QByteArray(R"({"web":{}})"));
        JsonDocument doc(text);
        QCOMPARE(Source::fromJson(doc.root()), s);
    }
    JsonDocument anything(std::string(R"({"web":{"whatever":[1]}})"));
    QCOMPARE(Source::fromJson(anything.root()), Source::web);
    JsonDocument both(std::string(R"({"web":{},"x":{}})"));
    QVERIFY_THROWS_EXCEPTION(JsonError, Source::fromJson(both.root()));
}

QTEST_APPLESS_MAIN(TestPostLink)
#include "tst_postlink.moc"
