// Reading a web page's title, description, site name and picture into a post.

#include "StashKit/PageReader.h"

#include "HostilePage.h"

#include <QtTest>

using namespace sw;

namespace {

PostLink webLink(const QString &text) { return PostLink::web(*Url::parse(text)); }

const Date kFetchedAt{123456.5};

}  // namespace

class TestPageReader : public QObject {
    Q_OBJECT

private slots:
    void readsPosts_data();
    void readsPosts();
    void emptyPageFallsBackToTheHost();
    void siteNameAndHandle();
    void preview_data();
    void preview();
    void pageSizeIsTheTextInUtf8();
    void cleansValues_data();
    void cleansValues();
    void readsAttributes_data();
    void readsAttributes();
    void readsElementText_data();
    void readsElementText();
    void hostTextOfAnAddressWithoutHost();
};

void TestPageReader::readsPosts_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("text");

    QTest::newRow("title element only") << "<html><head><title>Hello &amp; welcome</title></head></html>"
                                        << "Hello & welcome";
    QTest::newRow("title element over several lines")
        << "<title>\n   First line\n   second line  \n</title>" << "First line\n   second line";
    QTest::newRow("title element with attributes") << "<TITLE lang=\"en\">Caps</TITLE>" << "Caps";
    QTest::newRow("blank og:title then a real one")
        << "<meta property=\"og:title\" content=\"   \"><meta property=\"og:title\" content=\"Second\">" << "Second";
    QTest::newRow("og:title wins over the title element")
        << "<title>Element</title><meta property=\"og:title\" content=\"Graph\">" << "Graph";
    QTest::newRow("capitals everywhere") << "<META PROPERTY=\"OG:TITLE\" CONTENT=\"Shouting\">" << "Shouting";
    QTest::newRow("other property hides name")
        << "<title>T</title><meta property=\"og:type\" name=\"description\" content=\"not this\">" << "T";
    QTest::newRow("name used without property")
        << "<title>T</title><meta name=\"description\" content=\"plain\">" << "T\n\nplain";
    QTest::newRow("og:description wins")
        << "<title>T</title><meta name=\"description\" content=\"plain\"><meta property=\"og:description\" "
           "content=\"graph\">"
        << "T\n\ngraph";
    QTest::newRow("values without quotes are not read")
        << "<title>T</title><meta name=description content=unquoted>" << "T";
    QTest::newRow("single quotes are read") << "<meta property='og:title' content='Single'>" << "Single";
    QTest::newRow("tag over several lines") << "<meta\n  property=\"og:title\"\n  content=\"Lines\"\n>" << "Lines";
    QTest::newRow("angle bracket inside a value ends the tag")
        << "<title>T</title><meta property=\"og:description\" content=\"a > b\">" << "T";
    QTest::newRow("entities in content") << "<meta property=\"og:title\" content=\"It&#39;s &amp;lt;3\">" << "It's <3";
    QTest::newRow("element whose name begins with meta is not a meta tag")
        << "<title>T</title><metadata property=\"og:title\" content=\"No\">" << "T";
    QTest::newRow("key is not trimmed")
        << "<title>T</title><meta property=\" og:title\" content=\"No\">" << "T";
    QTest::newRow("tag without content is skipped")
        << "<meta property=\"og:title\"><meta property=\"og:title\" content=\"Later\">" << "Later";
    QTest::newRow("data-name counts as name")
        << "<title>T</title><meta data-name=\"description\" content=\"hyphenated\">" << "T\n\nhyphenated";
    QTest::newRow("longer word ending in name does not")
        << "<title>T</title><meta nickname=\"description\" content=\"no\">" << "T";
    QTest::newRow("empty title element falls back to the host") << "<title>  </title>" << "example.com";
    QTest::newRow("title element inner tags kept") << "<title><b>Bold</b></title>" << "<b>Bold</b>";
    QTest::newRow("opening tag whose name begins with title matches") << "<titlebar>Bar</title>" << "Bar";
    QTest::newRow("but it needs the closing title tag") << "<titlebar>Bar</titlebar>" << "example.com";
    QTest::newRow("unclosed title element") << "<title>Never closed" << "example.com";
    QTest::newRow("no-break space entity stays") << "<meta property=\"og:title\" content=\"a&nbsp;b\">" << "a&nbsp;b";
    QTest::newRow("unicode white space trimmed")
        << QStringLiteral("<meta property=\"og:title\" content=\"\u3000\u00A0Wide\u2029\">") << "Wide";
    QTest::newRow("key with a dotless capital I is not og:title")
        << QStringLiteral("<title>T</title><meta property=\"OG:T\u0130TLE\" content=\"No\">") << "T";

    // Pages made to slow a reader down are read all the same.
    const QString hostile = QString::fromLatin1(test::hostilePage(64 * 1024));
    QTest::newRow("unclosed tag heads only") << hostile << "example.com";
    QTest::newRow("unclosed tag heads, then a real tag") << hostile + "<meta property=\"og:title\" content=\"After\">"
                                                         << "After";
    QTest::newRow("unclosed tag heads, then a closing title") << "<title>" + QString::fromLatin1(test::hostilePage(26)) + "Late</title>"
                                                              << "<meta <title><meta <title>Late";
    QTest::newRow("a tag runs to the first closing bracket")
        << "<meta property=\"og:title\" content=\"A\" <meta property=\"og:title\" content=\"B\">" << "A";
    QTest::newRow("a tag never closed is no tag") << "<title>T</title><meta property=\"og:title\" content=\"X\""
                                                  << "T";
    QTest::newRow("unclosed quote skips to the next attribute")
        << "<meta property=\"og:title content='x' property='og:title' content='Quoted'>" << "x";
    QTest::newRow("many unclosed quotes")
        << "<meta name=\"a name=\"b name=\"c property='og:title' content='Many'>" << "Many";
    QTest::newRow("meta followed by a non-Latin letter is no meta tag")
        << QStringLiteral("<title>T</title><meta\u00E9 property=\"og:title\" content=\"No\">") << "T";
}

void TestPageReader::readsPosts()
{
    QFETCH(QString, page);
    QFETCH(QString, text);
    const Post post = PageReader::post(page, webLink(QStringLiteral("https://example.com/article")), kFetchedAt);
    QCOMPARE(post.text, text);
}

void TestPageReader::emptyPageFallsBackToTheHost()
{
    const PostLink link = webLink(QStringLiteral("https://example.com/a?b=c"));
    const Post post = PageReader::post(QString(), link, kFetchedAt);
    QCOMPARE(post.link, link);
    QCOMPARE(post.text, QStringLiteral("example.com"));
    QCOMPARE(post.author.name, QStringLiteral("example.com"));
    QCOMPARE(post.author.handle.name, QStringLiteral("example.com"));
    QVERIFY(!post.author.avatar);
    QVERIFY(!post.preview);
    QCOMPARE(post.postedAt, kFetchedAt);
    QCOMPARE(post.attachments.size(), std::size_t(1));
    const auto *page = post.attachments[0].asPage();
    QVERIFY(page);
    QCOMPARE(page->url, link.url());
    QCOMPARE(page->bytes, 0);
}

void TestPageReader::siteNameAndHandle()
{
    const PostLink link = webLink(QStringLiteral("https://www.example.org/x"));
    const Post named = PageReader::post(QStringLiteral("<meta property=\"og:site_name\" content=\" The Site \">"), link, kFetchedAt);
    QCOMPARE(named.author.name, QStringLiteral("The Site"));
    QCOMPARE(named.author.handle.name, QStringLiteral("www.example.org"));
    const Post unnamed = PageReader::post(QStringLiteral("<p>no meta</p>"), link, kFetchedAt);
    QCOMPARE(unnamed.author.name, QStringLiteral("www.example.org"));
}

void TestPageReader::preview_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("preview");   // empty: none

    QTest::newRow("absolute") << "<meta property=\"og:image\" content=\"https://cdn.example.com/a.jpg\">"
                              << "https://cdn.example.com/a.jpg";
    QTest::newRow("relative stays relative") << "<meta property=\"og:image\" content=\"/img/a.png\">" << "/img/a.png";
    QTest::newRow("not a URL") << "<meta property=\"og:image\" content=\"http://[broken\">" << "";
    QTest::newRow("a later image is not tried after one that does not parse")
        << "<meta property=\"og:image\" content=\"http://[broken\"><meta property=\"og:image\" content=\"/b.png\">"
        << "";
    QTest::newRow("blank image skipped") << "<meta property=\"og:image\" content=\" \"><meta property=\"og:image\" "
                                            "content=\"/b.png\">"
                                         << "/b.png";
    QTest::newRow("none") << "<title>x</title>" << "";
}

void TestPageReader::preview()
{
    QFETCH(QString, page);
    QFETCH(QString, preview);
    const Post post = PageReader::post(page, webLink(QStringLiteral("https://example.com/")), kFetchedAt);
    QCOMPARE(post.preview ? post.preview->text() : QString(), preview);
}

void TestPageReader::pageSizeIsTheTextInUtf8()
{
    // Four accented letters, as decoded from ISO Latin-1: two bytes each in UTF-8.
    const QString page = QString::fromLatin1("<title>\xE9t\xE9 \xE0 Z\xFCrich</title>");
    const Post post = PageReader::post(page, webLink(QStringLiteral("https://example.com/")), kFetchedAt);
    QCOMPARE(post.attachments.at(0).bytes(), std::int64_t(page.size() + 4));
    QCOMPARE(post.text, QString::fromUtf8("\xC3\xA9t\xC3\xA9 \xC3\xA0 Z\xC3\xBCrich"));
}

void TestPageReader::cleansValues_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("clean");
    QTest::newRow("five entities") << "&amp;&quot;&#39;&lt;&gt;" << "&\"'<>";
    QTest::newRow("double-escaped less-than") << "&amp;lt;" << "<";
    QTest::newRow("double-escaped amp stays escaped once") << "&amp;amp;" << "&amp;";
    QTest::newRow("entities are case-sensitive") << "&AMP;&Lt;" << "&AMP;&Lt;";
    QTest::newRow("other numeric entities stay") << "&#60;&#x3C;" << "&#60;&#x3C;";
    QTest::newRow("trims unicode white space, keeps inner") << "\n\t a \n b \u2003" << "a \n b";
}

void TestPageReader::cleansValues()
{
    QFETCH(QString, raw);
    QFETCH(QString, clean);
    QCOMPARE(PageReader::clean(raw), clean);
}

void TestPageReader::readsAttributes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("value");   // "<none>" for none
    QTest::newRow("double quotes") << "content" << "<meta content=\"v\">" << "v";
    QTest::newRow("single quotes with a double quote inside") << "content" << "<meta content='say \"hi\"'>"
                                                             << "say \"hi\"";
    QTest::newRow("spaces around equals") << "content" << "<meta content \n= \t\"v\">" << "v";
    QTest::newRow("empty value is a value") << "content" << "<meta content=\"\">" << "";
    QTest::newRow("unquoted") << "content" << "<meta content=v>" << "<none>";
    QTest::newRow("first match counts") << "content" << "<meta content=\"a\" content=\"b\">" << "a";
    QTest::newRow("case ignored") << "content" << "<meta CoNtEnT=\"v\">" << "v";
    QTest::newRow("hyphenated prefix") << "name" << "<meta data-name=\"v\">" << "v";
    QTest::newRow("word ending in the name") << "name" << "<meta surname=\"v\">" << "<none>";
    QTest::newRow("unclosed quote, then a closed one") << "content" << "<meta content=\"open content='closed'>"
                                                       << "closed";
    QTest::newRow("quote closed only by the other kind") << "content" << "<meta content=\"v'>" << "<none>";
    QTest::newRow("name in another case folding") << "name" << QStringLiteral("<meta NAME=\"v\">") << "v";
    QTest::newRow("digit before the name is a word character") << "name" << "<meta 2name=\"v\">" << "<none>";
    QTest::newRow("letter with accent before the name is a word character") << "name" << "<meta \u00E9name=\"v\">"
                                                                            << "<none>";
}

void TestPageReader::readsAttributes()
{
    QFETCH(QString, name);
    QFETCH(QString, tag);
    QFETCH(QString, value);
    QCOMPARE(PageReader::attribute(name, tag).value_or(QStringLiteral("<none>")), value);
}

void TestPageReader::readsElementText_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("text");   // "<none>" for none
    QTest::newRow("first element counts") << "<title>A</title><title>B</title>" << "A";
    QTest::newRow("shortest run") << "<title>A</title>x</title>" << "A";
    QTest::newRow("closing tag in capitals") << "<title>A</TITLE>" << "A";
    QTest::newRow("blank") << "<title> \n </title>" << "<none>";
    QTest::newRow("missing") << "<p>x</p>" << "<none>";
    QTest::newRow("opening tag runs to the closing tag's bracket") << "<title A</title>" << "<none>";
    QTest::newRow("opening bracket missing") << "<title" << "<none>";
    QTest::newRow("many openings, one closing") << "<title><title><title>x</title>" << "<title><title>x";
    QTest::newRow("hostile heads without closing") << QString::fromLatin1(test::hostilePage(4096)) << "<none>";
}

void TestPageReader::readsElementText()
{
    QFETCH(QString, page);
    QFETCH(QString, text);
    QCOMPARE(PageReader::elementText(u"title", page).value_or(QStringLiteral("<none>")), text);
}

void TestPageReader::hostTextOfAnAddressWithoutHost()
{
    const PostLink link = webLink(QStringLiteral("urn:isbn:0451450523"));
    const Post post = PageReader::post(QString(), link, kFetchedAt);
    QCOMPARE(post.text, link.url().text());
    QCOMPARE(post.author.name, link.url().text());
}

QTEST_GUILESS_MAIN(TestPageReader)
#include "tst_pagereader.moc"
