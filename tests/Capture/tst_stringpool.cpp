#include "Capture/StringPool.h"

#include <QRandomGenerator>
#include <QHash>
#include <QTest>

#include <string>
#include <thread>
#include <vector>

using namespace sw;

namespace {
QString fromUtf8(const std::string &bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}
}  // namespace

class TestStringPool : public QObject {
    Q_OBJECT
private slots:
    void givesTheTextOnce_data();
    void givesTheTextOnce();
    void seededTextsMatchFreshOnes();
    void staysWithinItsCapacity();
    void scopesAreThisThreadsOnly();
};

void TestStringPool::givesTheTextOnce_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("kept");
    QTest::newRow("handle") << QByteArray("kenSuzuki1992") << true;
    QTest::newRow("non-ASCII name") << QByteArray("Caf\xc3\xa9 \xe5\x86\x99\xe7\x9c\x9f \xf0\x9f\x98\x80") << true;
    QTest::newRow("malformed UTF-8") << QByteArray("a\xff" "b\xc3") << true;
    QTest::newRow("address") << QByteArray("https://pbs.twimg.com/profile_images/84/c1_normal.jpg") << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("long text") << QByteArray(5000, 'x') << false;
}

// The pool gives what QString::fromUtf8 gives the JSON reader; met again, the same bytes give the same shared text.
void TestStringPool::givesTheTextOnce()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, kept);
    const std::string_view view(bytes.constData(), std::size_t(bytes.size()));
    StringPool pool;
    const QString first = pool.take(view);
    const QString second = pool.take(std::string(view));   // other storage, same bytes
    // What the reader made of a string before there was a pool.
    const QString fresh = QString::fromUtf8(bytes.constData(), bytes.size());
    QCOMPARE(first, fresh);
    QCOMPARE(second, first);
    QCOMPARE(first.isNull(), fresh.isNull());
    if (!bytes.isEmpty())   // (empty texts share Qt's one empty text anyway)
        QCOMPARE(second.constData() == first.constData(), kept);
    QCOMPARE(pool.size(), std::size_t(kept ? 1 : 0));
    // The same bytes as bytes (an address): kept apart from the texts, shared alike.
    const QByteArray firstBytes = pool.takeBytes(view);
    const QByteArray secondBytes = pool.takeBytes(std::string(view));
    QCOMPARE(firstBytes, bytes);
    QCOMPARE(secondBytes, bytes);
    if (!bytes.isEmpty())
        QCOMPARE(secondBytes.constData() == firstBytes.constData(), kept);
    QCOMPARE(pool.size(), std::size_t(kept ? 2 : 0));
    QCOMPARE(pool.take(view), first);
    {
        const StringPool::Scope scope(pool);
        if (!bytes.isEmpty())
            QCOMPARE(StringPool::bytes(view).constData() == firstBytes.constData(), kept);
    }
    QCOMPARE(StringPool::bytes(view), bytes);
}

// Many texts, most met many times, some differing only in their last byte or in length: each is
// the fresh text of its bytes, equal bytes share one text and unequal ones never do.
void TestStringPool::seededTextsMatchFreshOnes()
{
    QRandomGenerator random(20261207);
    const std::string alphabet = "abAB09_\xc3\xa9 ";
    std::vector<std::string> distinct;
    for (int i = 0; i < 3000; ++i) {
        std::string text;
        const int length = 1 + random.bounded(24);
        for (int c = 0; c < length; ++c)
            text += alphabet[std::size_t(random.bounded(int(alphabet.size())))];
        distinct.push_back(text);
        distinct.push_back(text + "x");
    }
    StringPool pool;
    QHash<QByteArray, const QChar *> storageOf;   // by the bytes
    QHash<const QChar *, QByteArray> bytesOf;     // by the storage
    for (int round = 0; round < 40000; ++round) {
        const std::string &bytes = distinct[std::size_t(random.bounded(int(distinct.size())))];
        const QByteArray key = QByteArray::fromStdString(bytes);
        const QString text = pool.take(bytes);
        QCOMPARE(text, fromUtf8(bytes));
        if (!storageOf.contains(key)) {
            QVERIFY2(!bytesOf.contains(text.constData()), "unequal bytes share a text");
            storageOf.insert(key, text.constData());
            bytesOf.insert(text.constData(), key);
        }
        QCOMPARE(text.constData(), storageOf.value(key));
    }
    QCOMPARE(pool.size(), std::size_t(storageOf.size()));
}

void TestStringPool::staysWithinItsCapacity()
{
    StringPool pool;
    const std::size_t beyond = StringPool::capacity + 500;
    for (std::size_t i = 0; i < beyond; ++i) {
        const std::string bytes = "name" + std::to_string(i);
        QCOMPARE(pool.take(bytes), fromUtf8(bytes));
    }
    QCOMPARE(pool.size(), StringPool::capacity);
    // The texts kept are still given; one past the capacity is made afresh each time.
    const QString kept = pool.take("name7");
    QCOMPARE(pool.take("name7").constData(), kept.constData());
    const std::string late = "name" + std::to_string(beyond - 1);
    QCOMPARE(pool.take(late), fromUtf8(late));
    QVERIFY(pool.take(late).constData() != pool.take(late).constData());
}

// text() takes from the pool of the innermost scope open on its own thread, and makes a text
// afresh anywhere else.
void TestStringPool::scopesAreThisThreadsOnly()
{
    const std::string bytes = "ann";
    QCOMPARE(StringPool::text(bytes), QStringLiteral("ann"));
    StringPool outer;
    StringPool inner;
    {
        StringPool::Scope openOuter(outer);
        const QString a = StringPool::text(bytes);
        QCOMPARE(outer.size(), std::size_t(1));
        {
            StringPool::Scope openInner(inner);
            QCOMPARE(StringPool::text(bytes), QStringLiteral("ann"));
            QCOMPARE(inner.size(), std::size_t(1));
            QCOMPARE(outer.size(), std::size_t(1));
            QString elsewhere;
            std::thread other([&] { elsewhere = StringPool::text("bob"); });
            other.join();
            QCOMPARE(elsewhere, QStringLiteral("bob"));
            QCOMPARE(inner.size(), std::size_t(1));
        }
        // The outer pool is open again.
        QCOMPARE(StringPool::text(bytes).constData(), a.constData());
        StringPool::text("cy");
        QCOMPARE(outer.size(), std::size_t(2));
        QCOMPARE(inner.size(), std::size_t(1));
    }
    StringPool::text("dee");
    QCOMPARE(outer.size(), std::size_t(2));
    {
        ThreadStringPool own;
        QCOMPARE(StringPool::text(bytes).constData(), StringPool::text(bytes).constData());
        QCOMPARE(own.pool.size(), std::size_t(1));
    }
}

QTEST_APPLESS_MAIN(TestStringPool)
#include "tst_stringpool.moc"
