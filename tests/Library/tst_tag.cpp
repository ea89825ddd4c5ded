#include "Library/Tag.h"

#include <QTest>

using namespace sw;

class TestTag : public QObject {
    Q_OBJECT
private slots:
    void normalises_data();
    void normalises();
    void equality_data();
    void equality();
    void readsNameAsStored();
    void rejects_data();
    void rejects();
};

void TestTag::normalises_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");   // empty: no tag
    QTest::newRow("hash, capitals, blanks around") << "  #Travel Notes  " << "travel-notes";
    QTest::newRow("only leading hashes go") << "##a##" << "a##";
    QTest::newRow("hash after a space stays") << "# # a" << "#-a";
    QTest::newRow("existing hyphen stays") << "A-B c" << "a-b-c";
    QTest::newRow("tab between words") << "#Tab\there" << "tab-here";
    QTest::newRow("line break between words") << "#Tab\nhere" << "tab-here";
    QTest::newRow("runs of white space") << "a \t\r\n b" << "a-b";
    QTest::newRow("no-break space splits") << QStringLiteral("a\u00a0b") << "a-b";
    QTest::newRow("ideographic space trims") << QStringLiteral("\u3000Tokyo\u3000") << "tokyo";
    QTest::newRow("next line trims") << QStringLiteral("\u0085x\u0085") << "x";
    QTest::newRow("punctuation and digits stay") << "C++ 2024!" << "c++-2024!";
    QTest::newRow("non-ASCII lower case") << QStringLiteral("ÉTÉ Ωmega") << QStringLiteral("été-ωmega");
    QTest::newRow("white space after hashes") << "## Reading" << "reading";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("spaces only") << "   " << "";
    QTest::newRow("one hash") << "#" << "";
    QTest::newRow("three hashes") << "###" << "";
    QTest::newRow("hash and space") << "# " << "";
    QTest::newRow("hash then tab") << "#\t" << "";
}

void TestTag::normalises()
{
    QFETCH(QString, text);
    QFETCH(QString, name);
    const auto tag = Tag::fromText(text);
    if (name.isEmpty()) {
        QVERIFY2(!tag, qPrintable(tag ? tag->name : QString()));
        return;
    }
    QVERIFY(tag);
    QCOMPARE(tag->name, name);
    // A normalised name normalises to itself, unless it begins with a "#" (which goes again).
    if (!name.startsWith(u'#'))
        QCOMPARE(Tag::fromText(tag->name)->name, name);
}

void TestTag::equality_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("equal");
    QTest::newRow("same") << "travel" << "travel" << true;
    QTest::newRow("case matters") << "Travel" << "travel" << false;
    QTest::newRow("composed and decomposed") << QStringLiteral("caf\u00e9") << QStringLiteral("cafe\u0301") << true;
    QTest::newRow("accent matters") << QStringLiteral("caf\u00e9") << "cafe" << false;
}

void TestTag::equality()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, equal);
    QCOMPARE(Tag{a} == Tag{b}, equal);
    if (equal)
        QCOMPARE(qHash(Tag{a}), qHash(Tag{b}));
}

void TestTag::readsNameAsStored()
{
    JsonDocument doc(R"({"name":"Travel Notes","colour":"red"})");
    const Tag tag = Tag::fromJson(doc.root());
    QCOMPARE(tag.name, QStringLiteral("Travel Notes"));
    QVERIFY(!(tag == *Tag::fromText(QStringLiteral("Travel Notes"))));
    JsonDocument again(tag.toJson().toJson());
    QCOMPARE(Tag::fromJson(again.root()), tag);
}

void TestTag::rejects_data()
{
    QTest::addColumn<QString>("json");
    QTest::newRow("no name") << R"({})";
    QTest::newRow("name is a number") << R"({"name":3})";
    QTest::newRow("name is null") << R"({"name":null})";
    QTest::newRow("key in capitals") << R"({"Name":"a"})";
}

void TestTag::rejects()
{
    QFETCH(QString, json);
    const std::string bytes = json.toStdString();
    JsonDocument doc(bytes);
    QVERIFY_THROWS_EXCEPTION(JsonError, Tag::fromJson(doc.root()));
}

QTEST_APPLESS_MAIN(TestTag)
#include "tst_tag.moc"
