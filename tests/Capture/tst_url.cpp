#include "Capture/Url.h"

#include "Capture/StringPool.h"

#include <QRandomGenerator>
#include <QTest>

using namespace sw;

class TestUrl : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void components_data();
    void components();
    void pathSegments_data();
    void pathSegments();
    void queryItems_data();
    void queryItems();
    void rebuilding();
    void resolving_data();
    void resolving();
    void json();
    void plainlyCanonical_data();
    void plainlyCanonical();
    void plainlyCanonicalTextsRoundTrip();
    void pooledReadsAsUnpooled_data();
    void pooledReadsAsUnpooled();
    void archiveTextsKeepTheirComponents_data();
    void archiveTextsKeepTheirComponents();
};

void TestUrl::parse_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");   // empty: no URL
    QTest::newRow("plain") << "https://example.com/a?b=c#d" << "https://example.com/a?b=c#d";
    QTest::newRow("space encoded") << "https://example.com/a b" << "https://example.com/a%20b";
    QTest::newRow("lone percent encoded") << "https://example.com/100%/x" << "https://example.com/100%25/x";
    QTest::newRow("bad escape encoded") << "https://example.com/%zz" << "https://example.com/%25zz";
    QTest::newRow("non-ASCII path") << QStringLiteral("https://example.com/caf\u00e9") << "https://example.com/caf%C3%A9";
    QTest::newRow("non-ASCII host") << QStringLiteral("https://b\u00fccher.de/") << "https://xn--bcher-kva.de/";
    QTest::newRow("quotes and brackets") << "https://example.com/\"<>{}" << "https://example.com/%22%3C%3E%7B%7D";
    QTest::newRow("escape case") << "https://example.com/%e2%82%ac" << "https://example.com/%E2%82%AC";
    QTest::newRow("relative") << "example.com/a" << "example.com/a";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("unclosed IPv6 host") << "http://[::1" << "";
    QTest::newRow("bad port") << "https://example.com:port/" << "";
}

void TestUrl::parse()
{
    QFETCH(QString, input);
    QFETCH(QString, text);
    const auto url = Url::parse(input);
    if (text.isEmpty()) {
        QVERIFY(!url);
        return;
    }
    QVERIFY(url);
    QCOMPARE(url->text(), text);
    // The text reads back as the same URL.
    const auto again = Url::parse(url->text());
    QVERIFY(again);
    QCOMPARE(again->text(), text);
    QVERIFY(*again == *url);
    QCOMPARE(qHash(*again), qHash(*url));
}

void TestUrl::components_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QString>("host");   // "-": none
    QTest::addColumn<int>("port");       // -1: none
    QTest::addColumn<QString>("query");  // "-": none
    QTest::addColumn<QString>("fragment");
    QTest::newRow("full") << "HTTPS://user@Example.COM:8080/p?q=1#f" << "https" << "example.com" << 8080 << "q=1" << "f";
    QTest::newRow("no host") << "mailto:a@b.com" << "mailto" << "-" << -1 << "-" << "-";
    QTest::newRow("empty query and fragment") << "https://a.com/x?#" << "https" << "a.com" << -1 << "" << "";
    QTest::newRow("no scheme") << "a.com/x" << "" << "-" << -1 << "-" << "-";
}

void TestUrl::components()
{
    QFETCH(QString, input);
    QFETCH(QString, scheme);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, query);
    QFETCH(QString, fragment);
    const auto url = Url::parse(input);
    QVERIFY(url);
    QCOMPARE(url->scheme(), scheme);
    QCOMPARE(url->host().value_or(QStringLiteral("-")), host);
    QCOMPARE(url->port().value_or(-1), port);
    QCOMPARE(url->query().value_or(QStringLiteral("-")), query);
    QCOMPARE(url->fragment().value_or(QStringLiteral("-")), fragment);
}

void TestUrl::pathSegments_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("segments");
    QTest::newRow("empty segments left out") << "https://x.com//a///b/" << QStringList{"a", "b"};
    QTest::newRow("percent-decoded") << "https://x.com/c%20d/%C3%A9" << QStringList{"c d", QStringLiteral("\u00e9")};
    QTest::newRow("an encoded slash stays in its segment") << "https://x.com/a%2Fb/c" << QStringList{"a/b", "c"};
    QTest::newRow("bare host") << "https://x.com" << QStringList{};
    QTest::newRow("root") << "https://x.com/" << QStringList{};
}

void TestUrl::pathSegments()
{
    QFETCH(QString, input);
    QFETCH(QStringList, segments);
    QCOMPARE(Url::parse(input)->pathSegments(), segments);
}

void TestUrl::queryItems_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("items");   // "name=value" or "name" (no value)
    QTest::newRow("none") << "https://a.com/" << QStringList{};
    QTest::newRow("empty query") << "https://a.com/?" << QStringList{};
    QTest::newRow("values kept raw") << "https://a.com/?a=1&b=c%26d&e=%20" << QStringList{"a=1", "b=c%26d", "e=%20"};
    QTest::newRow("no value, empty value, empty item") << "https://a.com/?a&b=&&c" << QStringList{"a", "b=", "", "c"};
    QTest::newRow("equals in value") << "https://a.com/?a=b=c" << QStringList{"a=b=c"};
}

void TestUrl::queryItems()
{
    QFETCH(QString, input);
    QFETCH(QStringList, items);
    const auto url = Url::parse(input);
    QStringList found;
    for (const auto &item : url->queryItems())
        found << (item.value ? item.name + u'=' + *item.value : item.name);
    QCOMPARE(found, items);
    if (!items.isEmpty()) {
        // Written back unchanged.
        QCOMPARE(url->withQueryItems(url->queryItems()).text(), url->text());
    }
}

void TestUrl::rebuilding()
{
    const Url url = *Url::parse("https://a.com/p?x=1&utm_source=2&y#frag");
    auto items = url.queryItems();
    items.erase(items.begin() + 1);
    QCOMPARE(url.withQueryItems(items).text(), QStringLiteral("https://a.com/p?x=1&y#frag"));
    QCOMPARE(url.withQueryItems({}).text(), QStringLiteral("https://a.com/p#frag"));
    QCOMPARE(url.withoutQuery().withoutFragment().text(), QStringLiteral("https://a.com/p"));
    QCOMPARE(Url::parse("https://a.com/p#")->withoutFragment().text(), QStringLiteral("https://a.com/p"));
    QCOMPARE(url.withHost(QStringLiteral("b.org")).text(), QStringLiteral("https://b.org/p?x=1&utm_source=2&y#frag"));
    QCOMPARE(Url::parse("utm_a=1&x=y")->withQueryItems({}).text(), QStringLiteral("utm_a=1&x=y"));
    QVERIFY(url.isHttp());
    QVERIFY(!Url::parse("ftp://a.com/")->isHttp());
    QVERIFY(Url::fromQUrl(QUrl()).isEmpty());
    const Url file = Url::fromLocalFile(QStringLiteral("/tmp/a b.jpg"));
    QCOMPARE(file.text(), QStringLiteral("file:///tmp/a%20b.jpg"));
    QVERIFY(file.isLocalFile());
    QCOMPARE(file.toLocalFile(), QStringLiteral("/tmp/a b.jpg"));
}

void TestUrl::resolving_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("result");
    QTest::newRow("relative path") << "https://a.com/x/y/z.html" << "../img.png" << "https://a.com/x/img.png";
    QTest::newRow("scheme-relative") << "https://a.com/x" << "//cdn.com/i.jpg" << "https://cdn.com/i.jpg";
    QTest::newRow("absolute") << "https://a.com/x" << "http://b.com/" << "http://b.com/";
    QTest::newRow("root-relative with space") << "https://a.com/x/y" << "/i m.jpg" << "https://a.com/i%20m.jpg";
    QTest::newRow("no URL") << "https://a.com/x" << "http://[::1" << "";
}

void TestUrl::resolving()
{
    QFETCH(QString, base);
    QFETCH(QString, reference);
    QFETCH(QString, result);
    const auto resolved = Url::parse(base)->resolved(reference);
    if (result.isEmpty())
        QVERIFY(!resolved);
    else
        QCOMPARE(resolved->text(), result);
}

void TestUrl::json()
{
    const Url url = *Url::parse("https://example.com/a b?c=d");
    QCOMPARE(QByteArray::fromStdString(url.toJson().toJson()), QByteArray(R"("https:\/\/example.com\/a%20b?c=d")"));
    JsonDocument doc(url.toJson().toJson());
    QVERIFY(Url::fromJson(doc.root()) == url);

    for (const char *bad : {R"("http://[::1")", R"("")", "12", "null"}) {
        JsonDocument d{std::string(bad)};
        QVERIFY_THROWS_EXCEPTION(JsonError, Url::fromJson(d.root()));
    }
}

// The texts recognised without parsing must be exactly texts that QUrl reads as valid and writes
// back unchanged; the rest go through QUrl.
void TestUrl::plainlyCanonical_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("plain");
    QTest::newRow("status address") << "https://x.com/ann/status/123" << true;
    QTest::newRow("query with delimiters") << "https://a.example.com/p?x=1&y=%2F%3F%23;z" << true;
    QTest::newRow("sub-delimiters and colons") << "https://a.com/!$&'()*+,;=:@/~_.-" << true;
    QTest::newRow("escaped UTF-8") << "https://a.com/caf%C3%A9" << true;
    QTest::newRow("host only") << "https://a.com" << true;
    QTest::newRow("question marks") << "https://a.com/x?y?z" << true;
    QTest::newRow("hyphen inside a label") << "https://a-b.c-d.org/" << true;
    QTest::newRow("upper-case host") << "https://A.com/" << false;
    QTest::newRow("upper-case scheme") << "HTTPS://a.com/" << false;
    QTest::newRow("lower-case escape") << "https://a.com/%c3%a9" << false;
    QTest::newRow("escaped unreserved letter") << "https://a.com/%41" << false;
    QTest::newRow("escaped tilde") << "https://a.com/%7E" << false;
    QTest::newRow("space") << "https://a.com/a b" << false;
    QTest::newRow("brace") << "https://a.com/{" << false;
    QTest::newRow("lone percent") << "https://a.com/100%" << false;
    QTest::newRow("fragment") << "https://a.com/a#b" << false;
    QTest::newRow("port") << "https://a.com:8080/" << false;
    QTest::newRow("user") << "https://u@a.com/" << false;
    QTest::newRow("IPv4 host") << "https://1.2.3.4/" << false;
    QTest::newRow("IPv6 host") << "https://[::1]/" << false;
    QTest::newRow("internationalised label") << "https://xn--bcher-kva.de/" << false;
    QTest::newRow("empty label") << "https://a..com/" << false;
    QTest::newRow("trailing dot") << "https://a.com./" << false;
    QTest::newRow("leading hyphen") << "https://-a.com/" << false;
    QTest::newRow("trailing hyphen") << "https://a-.com/" << false;
    QTest::newRow("label too long") << "https://" + QString(64, u'a') + ".com/" << false;
    QTest::newRow("longest label") << "https://" + QString(63, u'a') + ".com/" << true;
    QTest::newRow("underscore in host") << "https://a_b.com/" << false;
    QTest::newRow("no host") << "file:///tmp/a" << false;
    QTest::newRow("relative") << "a.com/x" << false;
    QTest::newRow("non-ASCII") << QStringLiteral("https://a.com/caf\u00e9") << false;
    QTest::newRow("empty") << "" << false;
}

void TestUrl::plainlyCanonical()
{
    QFETCH(QString, text);
    QFETCH(bool, plain);
    const QByteArray utf8 = text.toUtf8();
    QCOMPARE(Url::isPlainlyCanonical(std::string_view(utf8.constData(), std::size_t(utf8.size()))), plain);
    if (plain) {
        const QUrl parsed(text, QUrl::TolerantMode);
        QVERIFY(parsed.isValid());
        QCOMPARE(parsed.toString(QUrl::FullyEncoded), text);
    }
}

// Random texts built mostly from the pieces the recogniser accepts, with every byte escaped now
// and then and a stray character here and there: whatever it accepts, QUrl must read as a valid
// URL and write back unchanged.
void TestUrl::plainlyCanonicalTextsRoundTrip()
{
    QRandomGenerator random(20240611);
    const QByteArray hostChars = "abcdefghz0189-";
    const QByteArray pathChars = "abcXYZ059-._~!$&'()*+,;=:@/?";
    const QByteArray strays = " \"#%<>[]\\^`{|}\x7f";
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        QByteArray text = random.bounded(8) == 0 ? "h.t+t-p://" : "https://";
        const int labels = 1 + random.bounded(4);
        for (int l = 0; l < labels; ++l) {
            if (l > 0)
                text += '.';
            const int length = 1 + random.bounded(random.bounded(20) == 0 ? 70 : 10);
            for (int c = 0; c < length; ++c)
                text += hostChars.at(random.bounded(hostChars.size()));
        }
        const int start = random.bounded(10);
        text += start < 7 ? "/" : start < 9 ? "?" : "";
        const int tail = random.bounded(30);
        for (int c = 0; c < tail; ++c) {
            const int kind = random.bounded(20);
            if (kind == 0)
                text += QByteArray("%") + QByteArray::number(random.bounded(256), 16).rightJustified(2, '0').toUpper();
            else if (kind == 1)
                text += strays.at(random.bounded(strays.size()));
            else
                text += pathChars.at(random.bounded(pathChars.size()));
        }
        if (random.bounded(10) == 0 && text.size() > 9)
            text.insert(8 + random.bounded(text.size() - 8), ".");
        if (!Url::isPlainlyCanonical(std::string_view(text.constData(), std::size_t(text.size()))))
            continue;
        ++accepted;
        const QString asText = QString::fromLatin1(text);
        const QUrl parsed(asText, QUrl::TolerantMode);
        QVERIFY2(parsed.isValid() && !parsed.isEmpty(), text.constData());
        QVERIFY2(parsed.toString(QUrl::FullyEncoded) == asText, text.constData());
        // Read from the archive, its parts are those the parser gives.
        const Url viaParser = *Url::parse(asText);
        JsonDocument doc(JsonValue(asText).toJson());
        const Url read = Url::fromJson(doc.root());
        QVERIFY2(read.scheme() == viaParser.scheme() && read.host() == viaParser.host()
                     && read.port() == viaParser.port() && read.path() == viaParser.path()
                     && read.pathSegments() == viaParser.pathSegments() && read.query() == viaParser.query()
                     && read.fragment() == viaParser.fragment() && read.isHttp() == viaParser.isHttp(),
                 text.constData());
    }
    // The generator must reach the accepting side often enough to mean something.
    QVERIFY(accepted > 2000);
}

void TestUrl::archiveTextsKeepTheirComponents_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("recognised") << "https://www.example.com/a/b%2Fc/d.jpg?name=orig&x=%20";
    QTest::newRow("parsed") << "https://WWW.Example.com:8080/a b#frag";
    QTest::newRow("host only") << "https://example.com";
}

// A URL read from the archive answers exactly like the same text parsed.
void TestUrl::archiveTextsKeepTheirComponents()
{
    QFETCH(QString, text);
    const auto parsed = Url::parse(text);
    QVERIFY(parsed);
    JsonDocument doc(JsonValue(text).toJson());
    const Url read = Url::fromJson(doc.root());
    QCOMPARE(read.text(), parsed->text());
    QVERIFY(read == *parsed);
    QCOMPARE(read.qurl(), parsed->qurl());
    QCOMPARE(read.scheme(), parsed->scheme());
    QCOMPARE(read.host(), parsed->host());
    QCOMPARE(read.port(), parsed->port());
    QCOMPARE(read.path(), parsed->path());
    QCOMPARE(read.pathSegments(), parsed->pathSegments());
    QCOMPARE(read.query(), parsed->query());
    QCOMPARE(read.fragment(), parsed->fragment());
    QCOMPARE(read.isHttp(), parsed->isHttp());
    QCOMPARE(read.withoutQuery().text(), parsed->withoutQuery().text());
    QCOMPARE(read.resolved(QStringLiteral("../x"))->text(), parsed->resolved(QStringLiteral("../x"))->text());
}

void TestUrl::pooledReadsAsUnpooled_data()
{
    plainlyCanonical_data();
    QTest::newRow("not a URL") << "http://[" << false;
}

// An address read through a string pool is the one read without it (or refused alike); read
// twice in the pool's scope, a plain one shares its text.
void TestUrl::pooledReadsAsUnpooled()
{
    QFETCH(QString, text);
    QFETCH(bool, plain);
    const JsonDocument doc(JsonValue(text).toJson());
    const auto read = [&](bool pooled) -> std::optional<Url> {
        try {
            return pooled ? Url::fromPooledJson(doc.root()) : Url::fromJson(doc.root());
        } catch (const JsonError &) {
            return std::nullopt;
        }
    };
    const std::optional<Url> unpooled = read(false);
    QCOMPARE(read(true), unpooled);
    StringPool pool;
    StringPool::Scope scope(pool);
    const std::optional<Url> first = read(true);
    const std::optional<Url> second = read(true);
    QCOMPARE(first, unpooled);
    QCOMPARE(second, unpooled);
    if (plain)
        QCOMPARE(first->encoded().constData(), second->encoded().constData());
    QCOMPARE(pool.size(), std::size_t(plain && !text.isEmpty() ? 1 : 0));
}

QTEST_APPLESS_MAIN(TestUrl)
#include "tst_url.moc"
