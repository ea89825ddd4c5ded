#include "LibraryFixtures.h"
#include "PostFixtures.h"
#include "Library/Save.h"
#include "Library/SearchVocabulary.h"

#include <QRandomGenerator>

#include <QTest>

#include <limits>

using namespace sw;
using namespace sw::fixtures;

Q_DECLARE_METATYPE(sw::Save)

namespace {

Save makeSave(const QString &text, const QString &authorName, const QString &handle, const QString &note,
              const QStringList &tagNames, bool trashed = false)
{
    QList<Tag> tags;
    for (const QString &t : tagNames)
        tags.append(Tag{t});
    return Save(saveID(1), postOnX(handle, QStringLiteral("1"), text, authorName), Date{10}, false, std::nullopt,
                tags, note, trashed ? std::optional<Date>(Date{20}) : std::nullopt);
}

const char *kFullSave = R"({"collection":{"raw":"00000000-0000-4000-8000-000000001001"},)"
                        R"("id":{"raw":"00000000-0000-4000-8000-000000000001"},"isFavourite":true,)"
                        R"("note":"a note","post":{"attachments":[],"author":{"handle":{"name":"ann"},"name":"Ann"},)"
                        R"("link":{"x":{"handle":{"name":"ann"},"status":{"digits":"42"}}},"postedAt":5,"text":"hi"},)"
                        R"("savedAt":700000000.25,"tags":[{"name":"b"},{"name":"a"}],"trashedAt":700000100})";

// The canonical text of a save built the slow way, as a value tree of its parts: the direct
// writer must give exactly these bytes.
std::string treeJson(const Save &save)
{
    JsonValue v = JsonValue::object();
    v.set("id", save.id().toJson());
    v.set("post", save.post().toJson());
    v.set("savedAt", save.savedAt().toJson());
    v.set("isFavourite", save.isFavourite());
    if (save.collection())
        v.set("collection", save.collection()->toJson());
    JsonValue tags = JsonValue::array();
    for (const Tag &tag : save.tags())
        tags.push(tag.toJson());
    v.set("tags", std::move(tags));
    v.set("note", save.note());
    if (save.trashedAt())
        v.set("trashedAt", save.trashedAt()->toJson());
    return v.toJson();
}

}  // namespace

class TestSave : public QObject {
    Q_OBJECT
private slots:
    void matches_data();
    void matches();
    void matchesTrashedSaves();
    void narrowingQueries_data();
    void narrowingQueries();
    void searchFollowsChanges();
    void scanWhilePreparingMatchesTheIndex();
    void equality_data();
    void equality();
    void jsonRoundTrips_data();
    void jsonRoundTrips();
    void jsonOptionalKeys_data();
    void jsonOptionalKeys();
    void jsonRejects_data();
    void jsonRejects();
    void jsonFollowsChanges();
    void copiesShareUntilChanged();
};

void TestSave::matches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("author");
    QTest::addColumn<QString>("handle");
    QTest::addColumn<QString>("note");
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("expected");

    const QStringList none;
    QTest::newRow("empty query") << "x" << "A" << "a" << "" << none << "" << true;
    QTest::newRow("white space query") << "x" << "A" << "a" << "" << none << " \t\r\n\u00a0 " << true;
    QTest::newRow("CAFE finds café") << "a café visit" << "A" << "a" << "" << none << "CAFE" << true;
    QTest::newRow("Café finds cafe") << "cafe" << "A" << "a" << "" << none << "Café" << true;
    QTest::newRow("decomposed query, composed text")
        << QStringLiteral("caf\u00e9") << "A" << "a" << "" << none << QStringLiteral("CAFE\u0301") << true;
    QTest::newRow("composed query, decomposed text")
        << QStringLiteral("cafe\u0301") << "A" << "a" << "" << none << QStringLiteral("caf\u00e9") << true;
    QTest::newRow("words across pieces") << "nothing" << "A" << "a" << "Travel plans" << QStringList{"ui-design"}
                                         << "travel ui" << true;
    QTest::newRow("one word missing") << "travel travel" << "Travel" << "travel" << "travel" << QStringList{"travel"}
                                      << "travel ui" << false;
    QTest::newRow("word inside a longer word") << "a good start" << "A" << "a" << "" << none << "art" << true;
    QTest::newRow("handle name") << "nothing here" << "Ann Lee" << "annlee" << "" << none << "ANNLEE" << true;
    QTest::newRow("at-form not in text") << "nothing here" << "Ann Lee" << "annlee" << "" << none << "@annlee" << false;
    QTest::newRow("at-form in text") << "thanks @annlee" << "Ann Lee" << "annlee" << "" << none << "@annlee" << true;
    QTest::newRow("hash word against tag") << "x" << "A" << "a" << "" << QStringList{"travel"} << "#travel" << false;
    QTest::newRow("hash word in note") << "x" << "A" << "a" << "see #travel" << QStringList{"travel"} << "#travel"
                                       << true;
    QTest::newRow("never across a separator") << "ab" << "cd" << "ef" << "gh" << QStringList{"ij"} << "bc" << false;
    QTest::newRow("not across an empty note") << "ab" << "cd" << "ef" << "" << QStringList{"gh"} << "efgh" << false;
    QTest::newRow("second tag") << "x" << "A" << "a" << "" << QStringList{"one", "two-words"} << "WORDS" << true;
    QTest::newRow("words in any order") << "alpha beta" << "A" << "a" << "" << none << "beta alpha" << true;
    QTest::newRow("tab between query words") << "alpha beta" << "A" << "a" << "" << none << "beta\talpha" << true;
    QTest::newRow("full-width is another letter") << QStringLiteral("\uff21\uff22\uff23") << "A" << "a" << "" << none
                                                  << "abc" << false;
    QTest::newRow("no tags, empty note: text") << "hello" << "Name" << "handle" << "" << none << "hell" << true;
    QTest::newRow("no tags, empty note: other") << "hello" << "Name" << "handle" << "" << none << "zzz" << false;
    QTest::newRow("CJK in the text") << QStringLiteral("\u6771\u4eac\u306e\u5199\u771f") << "A" << "a" << "" << none
                                     << QStringLiteral("\u5199\u771f") << true;
    QTest::newRow("emoji next to a word") << QStringLiteral("party\U0001F389time") << "A" << "a" << "" << none
                                          << QStringLiteral("Y\U0001F389T") << true;
    QTest::newRow("accented author, plain query") << "x" << QStringLiteral("Zo\u00eb Bj\u00f6rk") << "a" << "" << none
                                                  << "zoe bjork" << true;
    QTest::newRow("mixed case and marks in the note") << "x" << "A" << "a" << QStringLiteral("SA\u0303O Paulo") << none
                                                      << QStringLiteral("s\u00e3o PAU") << true;
}

void TestSave::matches()
{
    QFETCH(QString, text);
    QFETCH(QString, author);
    QFETCH(QString, handle);
    QFETCH(QString, note);
    QFETCH(QStringList, tags);
    QFETCH(QString, query);
    QFETCH(bool, expected);
    const Save save = makeSave(text, author, handle, note, tags);
    QCOMPARE(save.matches(query), expected);
    // Asked again (now from the kept folded text) and through a prepared query: the same answer.
    QCOMPARE(save.matches(query), expected);
    QCOMPARE(save.matches(SearchQuery(query)), expected);
    // Prepared (its words indexed, as after a start) with the query made before and after: the
    // same answer, by the plain scan and through the index.
    const Save prepared = makeSave(text, author, handle, note, tags);
    const SearchQuery earlier(query);
    prepared.prepare();
    QCOMPARE(prepared.matches(earlier), expected);
    QCOMPARE(prepared.matches(SearchQuery(query)), expected);
    // Unprepared while the index is being filled (after a start): looked for field by field.
    const Save fresh = makeSave(text, author, handle, note, tags);
    const SearchVocabulary::Filling filling;
    QCOMPARE(fresh.matches(SearchQuery(query)), expected);
    QVERIFY(!fresh.isSearchIndexed());
}

// Saves of random words (accents, case, marks, CJK, emoji, ligatures, jamo) in every field: a
// search while the index is being filled, which looks in the fields themselves, finds exactly what
// the index finds once the saves are prepared, for words cut from the texts and others.
void TestSave::scanWhilePreparingMatchesTheIndex()
{
    const QStringList words{
        QStringLiteral("Caf\u00e9"), QStringLiteral("CAFE\u0301"), QStringLiteral("na\u00efve"), QStringLiteral("Stra\u00dfe"),
        QStringLiteral("\u6771\u4eac"), QStringLiteral("\u30e9\u30fc\u30e1\u30f3"), QStringLiteral("\U0001F600ok"),
        QStringLiteral("\u2728"), QStringLiteral("o\ufb03ce"), QStringLiteral("\u1100\u1161\u11a8"), QStringLiteral("Volcano"),
        QStringLiteral("volume"), QStringLiteral("\u039f\u03a3"), QStringLiteral("Z\u00fcrich"), QStringLiteral("river")};
    QRandomGenerator random(42);
    const auto phrase = [&](int most) {
        QStringList out;
        for (int i = random.bounded(most + 1); i > 0; --i)
            out.append(words.at(random.bounded(words.size())));
        return out.join(random.bounded(4) == 0 ? QStringLiteral("") : QStringLiteral(" "));
    };
    QList<Save> saves;
    for (int i = 0; i < 300; ++i) {
        QStringList tags;
        for (int t = random.bounded(3); t > 0; --t)
            tags.append(phrase(1).toLower());
        saves.append(makeSave(phrase(6), phrase(2), QStringLiteral("h%1").arg(i), phrase(2), tags));
    }
    QStringList queries{QStringLiteral("cafe"), QStringLiteral("STRASSE ZUR"), QStringLiteral("\u6771"), QStringLiteral("office"),
                        QStringLiteral("\uac01"), QStringLiteral("\U0001F600O"), QStringLiteral("e v"), QStringLiteral("\u03c3")};
    for (int q = 0; q < 60; ++q) {
        const QString folded = saves.at(random.bounded(saves.size())).foldedSearchText();
        const qsizetype at = random.bounded(std::max<qsizetype>(folded.size(), 1));
        queries.append(folded.mid(at, 1 + random.bounded(5)));
    }
    QList<QList<bool>> scanned;
    {
        const SearchVocabulary::Filling filling;
        for (const QString &query : queries) {
            const SearchQuery made(query);
            QList<bool> row;
            for (const Save &save : saves)
                row.append(save.matches(made));
            scanned.append(row);
        }
    }
    for (const Save &save : saves) {
        QVERIFY(!save.isSearchIndexed());
        save.prepare();
    }
    const auto sameAsScanned = [&] {
        int hits = 0;
        for (qsizetype q = 0; q < queries.size(); ++q) {
            const SearchQuery made(queries.at(q));
            for (qsizetype i = 0; i < saves.size(); ++i) {
                if (saves.at(i).matches(made) != scanned.at(q).at(i)) {
                    qWarning() << queries.at(q) << saves.at(i).foldedSearchText();
                    return -1;
                }
                hits += scanned.at(q).at(i);
            }
        }
        return hits;
    };
    QVERIFY(sameAsScanned() > 500);
    // The index let go of its spare room (as after a start's preparation): the same answers, and
    // a save indexed afterwards is found by each of its words.
    SearchVocabulary::shared().compact();
    QVERIFY(sameAsScanned() > 500);
    const Save later = makeSave(QStringLiteral("Volcano river kite"), QStringLiteral("Ann"), QStringLiteral("later"),
                                QString(), {QStringLiteral("caf\u00e9")});
    later.prepare();
    for (const QString &word : {QStringLiteral("volcano"), QStringLiteral("kite"), QStringLiteral("cafe"), QStringLiteral("ann")})
        QVERIFY2(later.matches(SearchQuery(word)), qPrintable(word));
    QVERIFY(!later.matches(SearchQuery(QStringLiteral("volume"))));
    QVERIFY(sameAsScanned() > 500);
}

void TestSave::narrowingQueries_data()
{
    QTest::addColumn<QString>("newer");
    QTest::addColumn<QString>("older");
    QTest::addColumn<bool>("narrows");
    QTest::newRow("one more letter") << "pho" << "ph" << true;
    QTest::newRow("one letter fewer") << "ph" << "pho" << false;
    QTest::newRow("a letter in front") << "sphinx" << "phi" << true;
    QTest::newRow("case and diacritics aside") << "Café" << "CAF" << true;
    QTest::newRow("a word more") << "cat dog" << "dog" << true;
    QTest::newRow("a word fewer") << "dog" << "cat dog" << false;
    QTest::newRow("two older words in one newer") << "catdog" << "cat dog" << true;
    QTest::newRow("another word") << "cow" << "cat" << false;
    QTest::newRow("nothing typed now") << "" << "cat" << false;
}

void TestSave::narrowingQueries()
{
    QFETCH(QString, newer);
    QFETCH(QString, older);
    QFETCH(bool, narrows);
    QCOMPARE(SearchQuery::narrows(SearchQuery::foldedWords(newer), SearchQuery::foldedWords(older)), narrows);
}

void TestSave::matchesTrashedSaves()
{
    const Save trashed = makeSave(QStringLiteral("words"), QStringLiteral("A"), QStringLiteral("a"), QString(), {}, true);
    QVERIFY(trashed.isTrashed());
    QVERIFY(trashed.matches(QString()));
    QVERIFY(trashed.matches(QStringLiteral("WORDS")));
}

void TestSave::searchFollowsChanges()
{
    Library library;
    keepNew(library, postOnX(QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("text")), 10, 1);
    QVERIFY(!library.saves.first().matches(QStringLiteral("kyoto")));
    const Library before = library;   // shares the save, and its kept search text
    library.writeNote(QStringLiteral("Kyōto trip"), saveID(1));
    QVERIFY(library.saves.first().matches(QStringLiteral("kyoto")));
    QVERIFY(!before.saves.first().matches(QStringLiteral("kyoto")));
    library.tag(saveID(1), Tag{QStringLiteral("ramen")});
    QVERIFY(library.saves.first().matches(QStringLiteral("RAMEN kyoto")));
    library.untag(saveID(1), Tag{QStringLiteral("ramen")});
    QVERIFY(!library.saves.first().matches(QStringLiteral("ramen")));
}

void TestSave::equality_data()
{
    QTest::addColumn<Save>("a");
    QTest::addColumn<Save>("b");
    QTest::addColumn<bool>("equal");
    const Post post = postOnX(QStringLiteral("ann"), QStringLiteral("1"));
    const QList<Tag> ab{Tag{QStringLiteral("a")}, Tag{QStringLiteral("b")}};
    const QList<Tag> ba{Tag{QStringLiteral("b")}, Tag{QStringLiteral("a")}};
    auto make = [&](Save::ID id, Post p, double savedAt, bool fav, std::optional<Collection::ID> c, QList<Tag> tags,
                    QString note, std::optional<Date> trashed) {
        return Save(id, std::move(p), Date{savedAt}, fav, c, std::move(tags), std::move(note), trashed);
    };
    const Save base = make(saveID(1), post, 5, false, collectionID(1), ab, QStringLiteral("note"), std::nullopt);
    QTest::newRow("built alike") << base
                                 << make(saveID(1), post, 5, false, collectionID(1), ab, QStringLiteral("note"),
                                         std::nullopt)
                                 << true;
    QTest::newRow("same link, other handle case")
        << base
        << make(saveID(1), postOnX(QStringLiteral("ANN"), QStringLiteral("1")), 5, false, collectionID(1), ab,
                QStringLiteral("note"), std::nullopt)
        << true;
    QTest::newRow("note composed and decomposed")
        << make(saveID(1), post, 5, false, std::nullopt, {}, QStringLiteral("caf\u00e9"), std::nullopt)
        << make(saveID(1), post, 5, false, std::nullopt, {}, QStringLiteral("cafe\u0301"), std::nullopt) << true;
    QTest::newRow("id") << base
                        << make(saveID(2), post, 5, false, collectionID(1), ab, QStringLiteral("note"), std::nullopt)
                        << false;
    QTest::newRow("post text")
        << base
        << make(saveID(1), postOnX(QStringLiteral("ann"), QStringLiteral("1"), QStringLiteral("other")), 5, false,
                collectionID(1), ab, QStringLiteral("note"), std::nullopt)
        << false;
    QTest::newRow("savedAt") << base
                             << make(saveID(1), post, 5.001, false, collectionID(1), ab, QStringLiteral("note"),
                                     std::nullopt)
                             << false;
    QTest::newRow("favourite") << base
                               << make(saveID(1), post, 5, true, collectionID(1), ab, QStringLiteral("note"),
                                       std::nullopt)
                               << false;
    QTest::newRow("collection absent") << base
                                       << make(saveID(1), post, 5, false, std::nullopt, ab, QStringLiteral("note"),
                                               std::nullopt)
                                       << false;
    QTest::newRow("other collection") << base
                                      << make(saveID(1), post, 5, false, collectionID(2), ab, QStringLiteral("note"),
                                              std::nullopt)
                                      << false;
    QTest::newRow("tag order") << base
                               << make(saveID(1), post, 5, false, collectionID(1), ba, QStringLiteral("note"),
                                       std::nullopt)
                               << false;
    QTest::newRow("note case") << base
                               << make(saveID(1), post, 5, false, collectionID(1), ab, QStringLiteral("Note"),
                                       std::nullopt)
                               << false;
    QTest::newRow("trashed") << base
                             << make(saveID(1), post, 5, false, collectionID(1), ab, QStringLiteral("note"), Date{9})
                             << false;
}

void TestSave::equality()
{
    QFETCH(Save, a);
    QFETCH(Save, b);
    QFETCH(bool, equal);
    QCOMPARE(a == b, equal);
    QCOMPARE(b == a, equal);
    if (equal)
        QCOMPARE(qHash(a), qHash(b));
}

void TestSave::jsonRoundTrips_data()
{
    QTest::addColumn<Save>("save");
    Post web = pageAt(QStringLiteral("https://example.com/a?b=c"));
    web.attachments = {image(100), page(50)};
    web.preview = url(QStringLiteral("https://example.com/p.png"));
    Post x = postOnX(QStringLiteral("Ann"), QStringLiteral("0042"), QStringLiteral("line\nbreak \"quoted\" / ü"));
    x.attachments = {video(800)};
    QTest::newRow("new") << Save(saveID(1), x, Date{726000000.5});
    QTest::newRow("every field")
        << Save(saveID(2), web, Date{-3.25}, true, collectionID(3),
                {Tag{QStringLiteral("Travel Notes")}, Tag{QStringLiteral("a")}, Tag{QStringLiteral("a")}},
                QStringLiteral("ñote\t"), Date{726000100});
    Post video = postOnX(QStringLiteral("Bo"), QStringLiteral("7"), QString::fromUtf16(u"\U0001F600 \u6771\u4eac\u0001"),
                       QStringLiteral("B\u00f8 \"Q\""));
    video.author.avatar = url(QStringLiteral("https://pbs.example.com/a b.jpg"));
    video.preview = url(QStringLiteral("https://pbs.example.com/p.jpg?name=orig"));
    video.postedAt = Date{1e-7};
    video.attachments = {
        Attachment(Attachment::Video{url(QStringLiteral("https://v.example.com/pl.m3u8")), Duration::fromParts(-1, 42),
                                     std::int64_t(-5), std::vector<Rendition>{
                                         Rendition{url(QStringLiteral("https://v.example.com/360.mp4")), 360, 9000},
                                         Rendition{url(QStringLiteral("https://v.example.com/720.mp4")), 720,
                                                   std::numeric_limits<std::int64_t>::max()}}}),
        Attachment(Attachment::Video{url(QStringLiteral("https://v.example.com/b.mp4")), Duration::fromSeconds(1),
                                     std::numeric_limits<std::int64_t>::min(), std::vector<Rendition>{}}),
        image(100), page(50)};
    QTest::newRow("renditions, avatar and escapes")
        << Save(saveID(3), video, Date{1e300}, false, std::nullopt, {Tag{QStringLiteral("a/b")}},
                QStringLiteral("\u00e9\r\n"), Date{-2.5});
}

void TestSave::jsonRoundTrips()
{
    QFETCH(Save, save);
    const std::string text = save.toJson().toJson();
    JsonDocument doc(text);
    const Save back = Save::fromJson(doc.root());
    QCOMPARE(back, save);
    QVERIFY(!back.sharesDataWith(save));
    // Written again, the text is the same; and it is the value tree's text.
    QCOMPARE(QByteArray::fromStdString(back.toJson().toJson()), QByteArray::fromStdString(text));
    QCOMPARE(QByteArray::fromStdString(text), QByteArray::fromStdString(treeJson(save)));
    std::string appended = "[";
    save.writeJson(appended);
    QCOMPARE(appended, "[" + text);
    QCOMPARE(doc.root().has("collection"), save.collection().has_value());
    QCOMPARE(doc.root().has("trashedAt"), save.trashedAt().has_value());
    QVERIFY(doc.root().has("tags"));
    QVERIFY(doc.root().has("note"));
    QCOMPARE(doc.root()["id"]["raw"].string(), save.id().text());
    QCOMPARE(save.id().text(), save.id().text().toUpper());
}

void TestSave::jsonOptionalKeys_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<bool>("filed");
    QTest::addColumn<bool>("trashed");
    const QString full = QString::fromLatin1(kFullSave);
    QTest::newRow("every key") << full << true << true;
    QString noOptional = full;
    noOptional.replace(QStringLiteral(R"("collection":{"raw":"00000000-0000-4000-8000-000000001001"},)"), QString());
    noOptional.replace(QStringLiteral(R"(,"trashedAt":700000100)"), QString());
    QTest::newRow("without collection and trashedAt") << noOptional << false << false;
    QString nulls = full;
    nulls.replace(QStringLiteral(R"({"raw":"00000000-0000-4000-8000-000000001001"})"), QStringLiteral("null"));
    nulls.replace(QStringLiteral("700000100"), QStringLiteral("null"));
    QTest::newRow("nulls") << nulls << false << false;
    QTest::newRow("unknown key ignored") << QString(full).replace(QStringLiteral("\"note\""),
                                                                   QStringLiteral("\"extra\":[1],\"note\""))
                                         << true << true;
}

void TestSave::jsonOptionalKeys()
{
    QFETCH(QString, json);
    QFETCH(bool, filed);
    QFETCH(bool, trashed);
    const std::string bytes = json.toStdString();
    JsonDocument doc(bytes);
    const Save save = Save::fromJson(doc.root());
    QCOMPARE(save.collection().has_value(), filed);
    QCOMPARE(save.isTrashed(), trashed);
    QCOMPARE(save.id(), saveID(1));
    QCOMPARE(save.savedAt(), Date{700000000.25});
    QVERIFY(save.isFavourite());
    QCOMPARE(save.note(), QStringLiteral("a note"));
    QCOMPARE(save.tags(), (QList<Tag>{Tag{QStringLiteral("b")}, Tag{QStringLiteral("a")}}));
    QCOMPARE(save.post().link, PostLink::x(Handle{QStringLiteral("x")}, StatusID{QStringLiteral("42")}));
    if (filed)
        QCOMPARE(*save.collection(), collectionID(1));
}

void TestSave::jsonRejects_data()
{
    QTest::addColumn<QString>("json");
    const QString full = QString::fromLatin1(kFullSave);
    auto without = [&](const QString &piece) { return QString(full).replace(piece, QString()); };
    QTest::newRow("no note") << without(QStringLiteral(R"("note":"a note",)"));
    QTest::newRow("no tags") << without(QStringLiteral(R"(,"tags":[{"name":"b"},{"name":"a"}])"));
    QTest::newRow("no id") << without(QStringLiteral(R"("id":{"raw":"00000000-0000-4000-8000-000000000001"},)"));
    QTest::newRow("no savedAt") << without(QStringLiteral(R"("savedAt":700000000.25,)"));
    QTest::newRow("no isFavourite") << without(QStringLiteral(R"("isFavourite":true,)"));
    QTest::newRow("id not a uuid")
        << QString(full).replace(QStringLiteral("00000000-0000-4000-8000-000000000001"), QStringLiteral("nope"));
    QTest::newRow("collection id malformed")
        << QString(full).replace(QStringLiteral("00000000-0000-4000-8000-000000001001"),
                                 QStringLiteral("00000000-0000-4000-8000-00000000100"));
    QTest::newRow("isFavourite a number") << QString(full).replace(QStringLiteral("true"), QStringLiteral("1"));
    QTest::newRow("tags an object") << QString(full).replace(QStringLiteral(R"([{"name":"b"},{"name":"a"}])"),
                                                             QStringLiteral(R"({"name":"b"})"));
    QTest::newRow("savedAt a string") << QString(full).replace(QStringLiteral("700000000.25"),
                                                               QStringLiteral("\"700000000.25\""));
    QTest::newRow("link with two cases")
        << QString(full).replace(QStringLiteral(R"("link":{"x")"),
                                 QStringLiteral(R"("link":{"web":{"_0":"https:\/\/a.com"},"x")"));
}

void TestSave::jsonRejects()
{
    QFETCH(QString, json);
    const std::string bytes = json.toStdString();
    JsonDocument doc(bytes);
    QVERIFY_THROWS_EXCEPTION(JsonError, Save::fromJson(doc.root()));
}

void TestSave::jsonFollowsChanges()
{
    Library library;
    keepNew(library, postOnX(QStringLiteral("a"), QStringLiteral("1")), 10, 1);
    const std::string fresh = library.saves.first().toJson().toJson();
    QVERIFY(fresh.find("trashedAt") == std::string::npos);
    const Library before = library;
    library.trash(saveID(1), Date{20});
    library.favourite(saveID(1));
    library.writeNote(QStringLiteral("n"), saveID(1));
    JsonDocument doc(library.saves.first().toJson().toJson());
    const Save back = Save::fromJson(doc.root());
    QCOMPARE(back, library.saves.first());
    QCOMPARE(back.trashedAt(), std::optional<Date>(Date{20}));
    QVERIFY(back.isFavourite());
    // The earlier value still writes its own text.
    QCOMPARE(before.saves.first().toJson().toJson(), fresh);
}

void TestSave::copiesShareUntilChanged()
{
    Library library;
    for (int i = 0; i < 3; ++i)
        keepNew(library, postOnX(QStringLiteral("a"), QString::number(i + 1)), 10 - i, i + 1);
    Library copy = library;
    for (qsizetype i = 0; i < 3; ++i)
        QVERIFY(copy.saves.at(i).sharesDataWith(library.saves.at(i)));
    copy.favourite(saveID(2));
    QVERIFY(copy.saves.at(0).sharesDataWith(library.saves.at(0)));
    QVERIFY(!copy.saves.at(1).sharesDataWith(library.saves.at(1)));
    QVERIFY(copy.saves.at(2).sharesDataWith(library.saves.at(2)));
    QVERIFY(!library.saves.at(1).isFavourite());
    QVERIFY(copy.saves.at(1).isFavourite());
    QVERIFY(!(copy == library));
    // An operation that changes nothing leaves every save shared.
    Library untouched = library;
    untouched.restore(saveID(1));
    untouched.favourite(saveID(99));
    untouched.trash(saveID(99), Date{1});
    QVERIFY(untouched == library);
    for (qsizetype i = 0; i < 3; ++i)
        QVERIFY(untouched.saves.at(i).sharesDataWith(library.saves.at(i)));
}

QTEST_APPLESS_MAIN(TestSave)
#include "tst_save.moc"
