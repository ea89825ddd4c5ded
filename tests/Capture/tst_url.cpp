#include "Url.h"

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

QTEST_APPLESS_MAIN(TestUrl)
#include "tst_url.moc"
