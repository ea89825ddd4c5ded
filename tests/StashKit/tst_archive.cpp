// The archive document's form: what is written, byte for byte, and what reading accepts.

#include "StashKit/Archive.h"
#include "LibraryFixtures.h"
#include "PostFixtures.h"
#include "ShelfFixtures.h"

#include <QTest>

#include <algorithm>
#include <string>
#include <vector>

using namespace sw;
using namespace sw::fixtures;

namespace {

const std::string kCollection =
    R"({"id":{"raw":"11111111-2222-4333-8444-555555555555"},"name":"Reading \/ later","swatch":{"violet":{}}})";

// An X save with everything set: favourite, collection, tags, a note that needs escaping, a
// video with renditions and a fractional length, an image, a preview and an avatar.
const std::string kSaveX =
    R"({"collection":{"raw":"11111111-2222-4333-8444-555555555555"},)"
    R"("id":{"raw":"00000000-0000-4000-8000-000000000001"},"isFavourite":true,)"
    "\"note\":\"Caf\u00e9 \\\"quoted\\\"\\nline\\ttab\","
    R"("post":{"attachments":[{"video":{"_0":"https:\/\/video.twimg.com\/v.mp4?tag=12","bytes":1048576,)"
    R"("length":[0,12500000000000000000],"renditions":[{"bytes":524288,"height":720,)"
    R"("url":"https:\/\/video.twimg.com\/720.mp4"}]}},{"image":{"_0":"https:\/\/pbs.twimg.com\/media\/a.jpg","bytes":2048}}],)"
    R"("author":{"avatar":"https:\/\/pbs.twimg.com\/profile.jpg","handle":{"name":"Someone"},"name":"Some One"},)"
    R"("link":{"x":{"handle":{"name":"Someone"},"status":{"digits":"42"}}},"postedAt":786297600.25,)"
    R"("preview":"https:\/\/pbs.twimg.com\/preview.png",)"
    "\"text\":\"\u65e5\u672c\u8a9e text\"},"
    R"("savedAt":786300000.5,"tags":[{"name":"travel"},{"name":"ui-design"}]})";

// A trashed web save with nothing optional: no collection, no tags, an empty note and text.
const std::string kSaveWeb =
    R"({"id":{"raw":"00000000-0000-4000-8000-000000000002"},"isFavourite":false,"note":"",)"
    R"("post":{"attachments":[{"page":{"_0":"https:\/\/example.com\/news\/story?id=7","bytes":0}}],)"
    R"("author":{"handle":{"name":"example.com"},"name":"Example"},)"
    R"("link":{"web":{"_0":"https:\/\/example.com\/news\/story?id=7"}},"postedAt":786200000,"text":""},)"
    R"("savedAt":786200000,"tags":[],"trashedAt":786310000.125})";

const std::string kLinkX = R"({"x":{"handle":{"name":"Someone"},"status":{"digits":"42"}}})";
const std::string kLinkWeb = R"({"web":{"_0":"https:\/\/example.com\/news\/story?id=7"}})";
const std::string kLinkOther = R"({"x":{"handle":{"name":"other"},"status":{"digits":"7"}}})";

std::string document(const std::string &copies, const std::string &saves = kSaveX + "," + kSaveWeb,
                     const std::string &collections = kCollection, const std::string &version = "1")
{
    return R"({"copies":[)" + copies + R"(],"library":{"collections":[)" + collections + R"(],"saves":[)" + saves
           + R"(]},"version":)" + version + "}";
}

// Runs f and gives the JsonError's text, or an empty text when nothing was thrown.
template <typename F>
QString failureOf(F &&f)
{
    try {
        f();
    } catch (const JsonError &e) {
        return e.message();
    }
    return {};
}

}  // namespace

class TestArchive : public QObject {
    Q_OBJECT

private slots:
    void emptyArchiveHasTheDocumentedForm();
    void documentIsWrittenBackByteForByte_data();
    void documentIsWrittenBackByteForByte();
    void severalCopiesAreWrittenBackAsTheSamePairs();
    void decodedValuesAreTheDocumentsValues();
    void reading_data();
    void reading();
    void laterCopyOfARepeatedLinkWins();
    void writtenArchiveReadsBackEqual();
};

void TestArchive::emptyArchiveHasTheDocumentedForm()
{
    const Archive empty;
    QCOMPARE(QString::fromStdString(empty.json()),
             QStringLiteral(R"({"copies":[],"library":{"collections":[],"saves":[]},"version":1})"));
    QCOMPARE(Archive::fromJson(empty.json()), empty);
}

void TestArchive::documentIsWrittenBackByteForByte_data()
{
    QTest::addColumn<QString>("text");
    // "onThisMac": the name stored documents give a copy on this computer (LocalCopy::onThisComputerKey).
    const std::string onThisComputer = R"({"onThisMac":{"_0":[{"bytes":1048576,"name":"someone_42.mp4"},{"bytes":2048,"name":"someone_42_2.jpg"}]}})";
    QTest::newRow("no copies") << QString::fromStdString(document(""));
    QTest::newRow("copy on this computer") << QString::fromStdString(document(kLinkX + "," + onThisComputer));
    QTest::newRow("copy downloading")
        << QString::fromStdString(document(kLinkX + R"(,{"downloading":{"of":9,"received":5}})"));
    QTest::newRow("copy failed, unreachable")
        << QString::fromStdString(document(kLinkWeb + R"(,{"failed":{"_0":{"unreachable":{}}}})"));
    QTest::newRow("copy failed, could not write")
        << QString::fromStdString(document(kLinkWeb + R"(,{"failed":{"_0":{"couldNotWrite":{}}}})"));
    QTest::newRow("copy stored as link only") << QString::fromStdString(document(kLinkX + R"(,{"linkOnly":{}})"));
    QTest::newRow("empty library") << QString::fromStdString(document("", "", ""));
    QTest::newRow("other version") << QString::fromStdString(document("", kSaveWeb, "", "7"));
    QTest::newRow("negative version") << QString::fromStdString(document("", "", "", "-3"));
}

void TestArchive::documentIsWrittenBackByteForByte()
{
    QFETCH(QString, text);
    const std::string original = text.toStdString();
    const Archive archive = Archive::fromJson(original);
    QCOMPARE(QString::fromStdString(archive.json()), text);
}

void TestArchive::severalCopiesAreWrittenBackAsTheSamePairs()
{
    // The pairs' order is the table's own; every pair must come back exactly as it was, and
    // everything around the pairs byte for byte.
    std::vector<std::string> pairs = {
        // "onThisMac": the name stored documents give a copy on this computer (LocalCopy::onThisComputerKey).
        kLinkX + R"(,{"onThisMac":{"_0":[{"bytes":1,"name":"someone_42.mp4"}]}})",
        kLinkWeb + R"(,{"failed":{"_0":{"unreachable":{}}}})",
        kLinkOther + R"(,{"downloading":{"of":0,"received":0}})",
    };
    auto joined = [](const std::vector<std::string> &list) {
        std::string out;
        for (const auto &p : list)
            out += (out.empty() ? "" : ",") + p;
        return out;
    };
    const std::string written = Archive::fromJson(document(joined(pairs))).json();
    std::sort(pairs.begin(), pairs.end());
    bool matched = false;
    do {
        matched = matched || written == document(joined(pairs));
    } while (std::next_permutation(pairs.begin(), pairs.end()));
    QVERIFY2(matched, written.c_str());
}

void TestArchive::decodedValuesAreTheDocumentsValues()
{
    const Archive archive = Archive::fromJson(
        document(kLinkX + R"(,{"downloading":{"of":9,"received":5}})"));
    QCOMPARE(archive.version, std::int64_t(1));
    QCOMPARE(archive.library.saves.size(), 2);
    QCOMPARE(archive.library.collections.size(), 1);
    const Save &x = archive.library.saves.at(0);
    QCOMPARE(x.id(), saveID(1));
    QVERIFY(x.isFavourite());
    QCOMPARE(x.note(), QStringLiteral("Caf\u00e9 \"quoted\"\nline\ttab"));
    QCOMPARE(x.post().text, QStringLiteral("\u65e5\u672c\u8a9e text"));
    QCOMPARE(x.post().attachments.at(0).asVideo()->length, Duration::fromMilliseconds(12500));
    QCOMPARE(x.savedAt(), Date{786300000.5});
    QCOMPARE(x.collection(), std::optional(archive.library.collections.at(0).id));
    QCOMPARE(archive.library.collections.at(0).name, QStringLiteral("Reading / later"));
    const Save &web = archive.library.saves.at(1);
    QCOMPARE(web.trashedAt(), std::optional<Date>(Date{786310000.125}));
    QVERIFY(!web.collection());
    QCOMPARE(archive.copies.size(), 1);
    QCOMPARE(*archive.copies.find(xLink("someone", "42")), LocalCopy::downloading(5, 9));
}

void TestArchive::reading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("failure");   // empty: reads; "*": fails with any message

    const std::string library = R"({"collections":[],"saves":[]})";
    auto object = [](const std::string &members) { return QString::fromStdString("{" + members + "}"); };
    QTest::newRow("extra top-level key is ignored")
        << object(R"("copies":[],"extra":{"anything":[1,2]},"library":)" + library + R"(,"version":1)") << "";
    QTest::newRow("keys in another order")
        << object(R"("version":2,"library":)" + library + R"(,"copies":[])") << "";
    QTest::newRow("version written as an integral double")
        << object(R"("copies":[],"library":)" + library + R"(,"version":1.0)") << "";
    QTest::newRow("empty file") << "" << "*";
    QTest::newRow("not JSON") << "library" << "*";
    QTest::newRow("truncated") << QString::fromStdString(document("").substr(0, 120)) << "*";
    QTest::newRow("an array") << "[]" << "*";
    QTest::newRow("null") << "null" << "*";
    QTest::newRow("no library") << object(R"("copies":[],"version":1)") << "*";
    QTest::newRow("no copies") << object(R"("library":)" + library + R"(,"version":1)") << "*";
    QTest::newRow("no version") << object(R"("copies":[],"library":)" + library) << "*";
    QTest::newRow("version is text") << object(R"("copies":[],"library":)" + library + R"(,"version":"1")") << "*";
    QTest::newRow("version has a fraction")
        << object(R"("copies":[],"library":)" + library + R"(,"version":1.5)") << "*";
    QTest::newRow("version is null") << object(R"("copies":[],"library":)" + library + R"(,"version":null)") << "*";
    QTest::newRow("copies is an object") << object(R"("copies":{},"library":)" + library + R"(,"version":1)") << "*";
    QTest::newRow("copies is null") << object(R"("copies":null,"library":)" + library + R"(,"version":1)") << "*";
    QTest::newRow("copies of odd length")
        << object(R"("copies":[)" + kLinkX + R"(],"library":)" + library + R"(,"version":1)") << "*";
    QTest::newRow("copies of odd length, three elements")
        << object(R"("copies":[)" + kLinkX + R"(,{"linkOnly":{}},)" + kLinkWeb + R"(],"library":)" + library
                  + R"(,"version":1)")
        << "*";
    QTest::newRow("copy's link has two cases")
        << object(R"("copies":[{"x":{"handle":{"name":"a"},"status":{"digits":"1"}},"web":{"_0":"https:\/\/a.example"}},{"linkOnly":{}}],"library":)"
                  + library + R"(,"version":1)")
        << QString::fromLatin1(kInvalidCaseCount);
    QTest::newRow("copy has no case")
        << object(R"("copies":[)" + kLinkX + R"(,{}],"library":)" + library + R"(,"version":1)")
        << QString::fromLatin1(kInvalidCaseCount);
    QTest::newRow("copy's link and copy swapped")
        << object(R"("copies":[{"linkOnly":{}},)" + kLinkX + R"(],"library":)" + library + R"(,"version":1)")
        << "*";
    QTest::newRow("library without saves") << object(R"("copies":[],"library":{"collections":[]},"version":1)")
                                           << "*";
    QTest::newRow("saves is not an array")
        << object(R"("copies":[],"library":{"collections":[],"saves":{}},"version":1)") << "*";
    QTest::newRow("a save without note")
        << object(R"("copies":[],"library":{"collections":[],"saves":[{"id":{"raw":"00000000-0000-4000-8000-000000000002"},"isFavourite":false,"post":)"
                  + std::string(R"({"attachments":[],"author":{"handle":{"name":"a"},"name":"A"},"link":{"x":{"handle":{"name":"a"},"status":{"digits":"1"}}},"postedAt":0,"text":""})")
                  + R"(,"savedAt":0,"tags":[]}]},"version":1)")
        << "*";
    QTest::newRow("a collection with a bad id")
        << object(R"("copies":[],"library":{"collections":[{"id":{"raw":"nope"},"name":"A","swatch":{"blue":{}}}],"saves":[]},"version":1)")
        << "*";
}

void TestArchive::reading()
{
    QFETCH(QString, text);
    QFETCH(QString, failure);
    const std::string bytes = text.toStdString();
    const QString thrown = failureOf([&] { (void)Archive::fromJson(bytes); });
    if (failure.isEmpty())
        QCOMPARE(thrown, QString());
    else if (failure == u"*")
        QVERIFY2(!thrown.isEmpty(), "the document was read");
    else
        QCOMPARE(thrown, failure);
}

void TestArchive::laterCopyOfARepeatedLinkWins()
{
    // The same status under another handle is the same link.
    const std::string pairs = kLinkX + R"(,{"downloading":{"of":9,"received":5}},)" + kLinkWeb
                              + R"(,{"linkOnly":{}},{"x":{"handle":{"name":"SOMEONE-ELSE"},"status":{"digits":"42"}}},)"
                              + R"({"failed":{"_0":{"unreachable":{}}}})";
    const Archive archive = Archive::fromJson(document(pairs));
    QCOMPARE(archive.copies.size(), 2);
    QCOMPARE(*archive.copies.find(xLink("someone", "42")), LocalCopy::failed(DownloadFailure::unreachable));
    QCOMPARE(*archive.copies.find(webLink("https://example.com/news/story?id=7")), LocalCopy::linkOnly());
}

void TestArchive::writtenArchiveReadsBackEqual()
{
    Library library;
    library.saves = {makeSave(SaveSpec(3,
                                       post(webLink("https://a.example/x/y?q=1&r=2"), {image(10)},
                                            QStringLiteral("https://a.example/p.png"), QStringLiteral("a\u0000b")),
                                       5.5)
                                  .favourite()
                                  .trashed(9.75)
                                  .noted(QStringLiteral("n"))
                                  .tagged({Tag{QStringLiteral("t")}})),
                     makeSave(4, post(xLink("Ann", "0012"), {video(1, std::vector<Rendition>{})}), -1)};
    Archive archive(library, copies({{xLink("ann", "0012"), LocalCopy::onThisComputer({LocalFile{QStringLiteral("ann_0012.mp4"), 1}})},
                                     {webLink("https://a.example/x/y?q=1&r=2"), LocalCopy::downloading(0, 10)}}));
    archive.version = 1;
    const std::string written = archive.json();
    QVERIFY(written.find("https:\\/\\/a.example\\/x\\/y?q=1&r=2") != std::string::npos);
    for (std::size_t i = written.find('/'); i != std::string::npos; i = written.find('/', i + 1))
        QVERIFY2(i > 0 && written[i - 1] == '\\', "a slash is not escaped");
    QVERIFY(written.find('\n') == std::string::npos && written.find(' ') == std::string::npos);
    const Archive back = Archive::fromJson(written);
    QCOMPARE(back, archive);
    QCOMPARE(qHash(back), qHash(archive));
}

QTEST_GUILESS_MAIN(TestArchive)
#include "tst_archive.moc"
