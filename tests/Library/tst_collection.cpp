#include "Library/Collection.h"
#include "LibraryFixtures.h"
#include "PostFixtures.h"

#include <QTest>

using namespace sw;
using namespace sw::fixtures;

Q_DECLARE_METATYPE(sw::Swatch)

namespace {

Collection collection(int n, Swatch swatch, const QString &name = QString())
{
    return Collection{collectionID(n), name.isEmpty() ? QStringLiteral("C%1").arg(n) : name, swatch};
}

}  // namespace

class TestCollection : public QObject {
    Q_OBJECT
private slots:
    void nextSwatch_data();
    void nextSwatch();
    void swatchReads_data();
    void swatchReads();
    void swatchRoundTrips();
    void collectionRoundTrips();
    void collectionRejects_data();
    void collectionRejects();
    void uuidText_data();
    void uuidText();
    void equalityIsExact_data();
    void equalityIsExact();
};

void TestCollection::nextSwatch_data()
{
    QTest::addColumn<QList<Swatch>>("used");
    QTest::addColumn<Swatch>("expected");
    using S = Swatch;
    QTest::newRow("none") << QList<S>{} << S::amber;
    QTest::newRow("only blue") << QList<S>{S::blue} << S::amber;
    QTest::newRow("amber, blue") << QList<S>{S::amber, S::blue} << S::green;
    QTest::newRow("first free after a gap") << QList<S>{S::amber, S::green, S::violet} << S::blue;
    QTest::newRow("five all amber") << QList<S>(5, S::amber) << S::blue;
    QTest::newRow("five distinct") << QList<S>{S::amber, S::blue, S::green, S::pink, S::violet} << S::amber;
    QTest::newRow("six using all") << QList<S>{S::amber, S::blue, S::green, S::pink, S::violet, S::amber} << S::blue;
    QTest::newRow("seven using all")
        << QList<S>{S::violet, S::pink, S::green, S::blue, S::amber, S::amber, S::pink} << S::green;
    QTest::newRow("ten using all")
        << QList<S>{S::amber, S::blue, S::green, S::pink, S::violet, S::amber, S::blue, S::green, S::pink, S::violet}
        << S::amber;
}

void TestCollection::nextSwatch()
{
    QFETCH(QList<Swatch>, used);
    QFETCH(Swatch, expected);
    QList<Collection> collections;
    for (qsizetype i = 0; i < used.size(); ++i)
        collections.append(collection(int(i), used.at(i)));
    QCOMPARE(sw::nextSwatch(std::span<const Collection>(collections.constData(), std::size_t(collections.size()))),
             expected);
    Library library;
    library.collections = collections;
    QCOMPARE(library.nextSwatch(), expected);
}

void TestCollection::swatchReads_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<Swatch>("expected");
    QTest::addColumn<QString>("error");
    const QString countError = QString::fromLatin1(kInvalidCaseCount);
    QTest::newRow("amber") << R"({"amber":{}})" << true << Swatch::amber << QString();
    QTest::newRow("violet") << R"({"violet":{}})" << true << Swatch::violet << QString();
    QTest::newRow("pink among unknown keys") << R"({"x":1,"pink":{"y":2},"Blue":{}})" << true << Swatch::pink
                                             << QString();
    QTest::newRow("two cases") << R"({"amber":{},"blue":{}})" << false << Swatch::amber << countError;
    QTest::newRow("empty object") << R"({})" << false << Swatch::amber << countError;
    QTest::newRow("only unknown keys") << R"({"red":{}})" << false << Swatch::amber << countError;
    QTest::newRow("case value not an object") << R"({"green":true})" << false << Swatch::amber << QString();
    QTest::newRow("bare string") << R"("amber")" << false << Swatch::amber << QString();
}

void TestCollection::swatchReads()
{
    QFETCH(QString, json);
    QFETCH(bool, reads);
    QFETCH(Swatch, expected);
    QFETCH(QString, error);
    const std::string bytes = json.toStdString();
    JsonDocument doc(bytes);
    if (reads) {
        QCOMPARE(swatchFromJson(doc.root()), expected);
        return;
    }
    try {
        swatchFromJson(doc.root());
        QFAIL("the swatch was read");
    } catch (const JsonError &e) {
        if (!error.isEmpty())
            QCOMPARE(e.message(), error);
    }
}

void TestCollection::swatchRoundTrips()
{
    for (Swatch s : allSwatches) {
        const std::string text = swatchToJson(s).toJson();
        QCOMPARE(text, "{\"" + std::string(swatchName(s)) + "\":{}}");
        JsonDocument doc(text);
        QCOMPARE(swatchFromJson(doc.root()), s);
    }
}

void TestCollection::collectionRoundTrips()
{
    const Collection written{collectionID(7), QStringLiteral("Café \"reading\" / list"), Swatch::pink};
    const std::string text = written.toJson().toJson();
    JsonDocument doc(text);
    QCOMPARE(Collection::fromJson(doc.root()), written);
    QVERIFY(doc.root()["id"].isObject());
    QCOMPARE(doc.root()["id"]["raw"].string(), written.id.text());
    QCOMPARE(doc.root()["swatch"].keys().size(), std::size_t(1));
}

void TestCollection::collectionRejects_data()
{
    QTest::addColumn<QString>("json");
    const QString swatch = QStringLiteral(R"("swatch":{"blue":{}})");
    const QString id = QStringLiteral(R"("id":{"raw":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F"})");
    QTest::newRow("id as bare string") << R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","name":"A",)" + swatch + "}";
    QTest::newRow("id without raw") << R"({"id":{},"name":"A",)" + swatch + "}";
    QTest::newRow("id not a uuid") << R"({"id":{"raw":"not-a-uuid"},"name":"A",)" + swatch + "}";
    QTest::newRow("missing name") << "{" + id + "," + swatch + "}";
    QTest::newRow("name not a string") << "{" + id + R"(,"name":5,)" + swatch + "}";
    QTest::newRow("missing swatch") << "{" + id + R"(,"name":"A"})";
    QTest::newRow("two swatches") << "{" + id + R"(,"name":"A","swatch":{"blue":{},"pink":{}}})";
}

void TestCollection::collectionRejects()
{
    QFETCH(QString, json);
    const std::string bytes = json.toStdString();
    JsonDocument doc(bytes);
    QVERIFY_THROWS_EXCEPTION(JsonError, Collection::fromJson(doc.root()));
}

void TestCollection::uuidText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("upper case") << "E621E1F8-C36C-495A-93FC-0C247A3E6E5F" << true;
    QTest::newRow("lower case") << "e621e1f8-c36c-495a-93fc-0c247a3e6e5f" << true;
    QTest::newRow("mixed case") << "e621E1F8-c36c-495A-93fc-0C247A3E6E5F" << true;
    QTest::newRow("nil") << "00000000-0000-0000-0000-000000000000" << true;
    QTest::newRow("braces") << "{E621E1F8-C36C-495A-93FC-0C247A3E6E5F}" << false;
    QTest::newRow("no hyphens") << "E621E1F8C36C495A93FC0C247A3E6E5F" << false;
    QTest::newRow("hyphen moved") << "E621E1F-8C36C-495A-93FC-0C247A3E6E5F" << false;
    QTest::newRow("short") << "E621E1F8-C36C-495A-93FC-0C247A3E6E5" << false;
    QTest::newRow("long") << "E621E1F8-C36C-495A-93FC-0C247A3E6E5FF" << false;
    QTest::newRow("not hex") << "G621E1F8-C36C-495A-93FC-0C247A3E6E5F" << false;
    QTest::newRow("not hex, last digit") << "E621E1F8-C36C-495A-93FC-0C247A3E6E5g" << false;
    QTest::newRow("not hex, second half of a byte") << "E621E1F8-C36C-495A-9:FC-0C247A3E6E5F" << false;
    QTest::newRow("hyphen for a digit") << "E621E1F8-C36C-495A-93FC--C247A3E6E5F" << false;
    QTest::newRow("digit for a hyphen") << "E621E1F80C36C-495A-93FC-0C247A3E6E5F" << false;
    QTest::newRow("non-ASCII digit") << QStringLiteral("E621E1F8-C36C-495A-93FC-0C247A3E6E\u00e9") << false;
    QTest::newRow("spaces around") << " E621E1F8-C36C-495A-93FC-0C247A3E6E5F" << false;
    QTest::newRow("empty") << "" << false;
}

void TestCollection::uuidText()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const std::string json = R"({"raw":")" + text.toStdString() + "\"}";
    JsonDocument doc(json);
    if (!valid) {
        QVERIFY_THROWS_EXCEPTION(JsonError, Collection::ID::fromJson(doc.root()));
        return;
    }
    const auto id = Collection::ID::fromJson(doc.root());
    QCOMPARE(id.text(), text.toUpper());
    QCOMPARE(id.raw(), QUuid::fromString(text));
    // Written back, the text is upper case and reads as an equal id.
    const std::string again = id.toJson().toJson();
    QCOMPARE(again, R"({"raw":")" + text.toUpper().toStdString() + "\"}");
    JsonDocument doc2(again);
    QCOMPARE(Collection::ID::fromJson(doc2.root()), id);
}

void TestCollection::equalityIsExact_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("equal");
    QTest::newRow("same") << "Reading" << "Reading" << true;
    QTest::newRow("case differs") << "Reading" << "reading" << false;
    QTest::newRow("accent differs") << "Café" << "Cafe" << false;
    QTest::newRow("composed and decomposed") << QStringLiteral("Caf\u00e9") << QStringLiteral("Cafe\u0301") << true;
}

void TestCollection::equalityIsExact()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, equal);
    const Collection x{collectionID(1), a, Swatch::blue};
    const Collection y{collectionID(1), b, Swatch::blue};
    QCOMPARE(x == y, equal);
    if (equal)
        QCOMPARE(qHash(x), qHash(y));
    // Id and swatch take part too.
    QVERIFY(!(x == Collection{collectionID(2), a, Swatch::blue}));
    QVERIFY(!(x == Collection{collectionID(1), a, Swatch::green}));
}

QTEST_APPLESS_MAIN(TestCollection)
#include "tst_collection.moc"
