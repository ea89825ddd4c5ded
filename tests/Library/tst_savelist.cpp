#include "Library/SaveList.h"
#include "LibraryFixtures.h"
#include "PostFixtures.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

using namespace sw;
using namespace sw::fixtures;

namespace {

Save saveNumber(int n) { return makeSave(n, postOnX(QStringLiteral("a"), QString::number(n)), n); }

// Same saves (shared data) at the same places, read through every way the list offers.
bool sameSaves(const SaveList &list, const QList<Save> &model)
{
    if (list.size() != model.size() || list.isEmpty() != model.isEmpty())
        return false;
    qsizetype i = 0;
    for (const Save &save : list) {
        if (!save.sharesDataWith(model.at(i)) || !list.at(i).sharesDataWith(model.at(i)))
            return false;
        ++i;
    }
    if (i != model.size())
        return false;
    qsizetype walked = 0;
    forEachSave(list, [&](const Save &save) {
        if (walked < model.size() && !save.sharesDataWith(model.at(walked)))
            walked = -model.size() - 1;
        ++walked;
    });
    if (walked != model.size())
        return false;
    // Random access through iterators, from both ends.
    for (qsizetype step : {qsizetype(1), qsizetype(97), qsizetype(255), qsizetype(256), qsizetype(513)}) {
        for (qsizetype at = 0; at < model.size(); at += step) {
            if (!(list.begin() + at)->sharesDataWith(model.at(at)) || (list.begin() + at) - list.begin() != at)
                return false;
            if (!(list.end() - (at + 1))->sharesDataWith(model.at(model.size() - 1 - at)))
                return false;
        }
    }
    return model.isEmpty() || (list.first().sharesDataWith(model.first()) && list.last().sharesDataWith(model.last()));
}

// The places where two lists hold different saves, the long way.
QList<qsizetype> differentPlaces(const QList<Save> &a, const QList<Save> &b)
{
    QList<qsizetype> out;
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
        if (!a.at(i).sharesDataWith(b.at(i)))
            out.append(i);
    return out;
}

qsizetype head(const QList<Save> &a, const QList<Save> &b)
{
    qsizetype i = 0;
    while (i < std::min(a.size(), b.size()) && a.at(i).sharesDataWith(b.at(i)))
        ++i;
    return i;
}

qsizetype tail(const QList<Save> &a, const QList<Save> &b, qsizetype head)
{
    qsizetype t = 0;
    while (t < std::min(a.size(), b.size()) - head && a.at(a.size() - 1 - t).sharesDataWith(b.at(b.size() - 1 - t)))
        ++t;
    return t;
}

}  // namespace

class TestSaveList : public QObject {
    Q_OBJECT
private slots:
    void followsQList_data();
    void followsQList();
    void aChangedCopyLeavesTheOriginal_data();
    void aChangedCopyLeavesTheOriginal();
    void anEditCopiesOneChunk();
    void equality();
};

void TestSaveList::followsQList_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("initial");
    QTest::addColumn<int>("steps");
    // Inserts and removals at random places, single and in runs, filtered removal, replacement;
    // from empty (chunks made and split by inserts) and from a long list (chunks emptied, merged).
    QTest::newRow("from empty") << 1u << 0 << 3000;
    QTest::newRow("from one") << 2u << 1 << 2000;
    QTest::newRow("from a chunk and a bit") << 3u << 300 << 2000;
    QTest::newRow("from many chunks") << 4u << 5000 << 1500;
    QTest::newRow("from many chunks, other seed") << 5u << 3000 << 1500;
}

void TestSaveList::followsQList()
{
    QFETCH(quint32, seed);
    QFETCH(int, initial);
    QFETCH(int, steps);
    QRandomGenerator random(seed);
    QList<Save> model;
    int next = 1;
    for (int i = 0; i < initial; ++i)
        model.append(saveNumber(next++));
    SaveList list(model);
    QVERIFY(sameSaves(list, model));
    // Built as a decoded library is (the ids' keys read ahead of the saves): found by id as well.
    const SaveList decoded(std::vector<Save>(model.cbegin(), model.cend()));
    QVERIFY(sameSaves(decoded, model));
    for (qsizetype i = 0; i < model.size(); ++i)
        QCOMPARE(decoded.indexOf(model.at(i).id()), i);

    // Copies taken along the way, with what they held: no later change may show in them.
    QList<std::pair<SaveList, QList<Save>>> snapshots;
    for (int step = 0; step < steps; ++step) {
        const SaveList before = list;
        const QList<Save> modelBefore = model;
        const int op = int(random.bounded(100));
        const qsizetype n = model.size();
        QString what;
        if (op < 35 || n == 0) {
            const qsizetype at = qsizetype(random.bounded(int(n + 1)));
            const Save save = saveNumber(next++);
            if (random.bounded(4) == 0) {
                list.append(save);
                model.append(save);
                what = QStringLiteral("append");
            } else {
                list.insert(at, save);
                model.insert(at, save);
                what = QStringLiteral("insert at %1").arg(at);
            }
        } else if (op < 60) {
            const qsizetype at = qsizetype(random.bounded(int(n)));
            const qsizetype count = std::min<qsizetype>(n - at, random.bounded(3) == 0 ? random.bounded(700) : 1);
            list.remove(at, count);
            model.remove(at, count);
            what = QStringLiteral("remove %1 at %2").arg(count).arg(at);
        } else if (op < 85) {
            const qsizetype at = qsizetype(random.bounded(int(n)));
            // Now and then a save the list holds already: two places with one id.
            const Save save = random.bounded(4) == 0 ? model.at(random.bounded(int(n))) : saveNumber(next++);
            list.replace(at, save);
            model[at] = save;
            what = QStringLiteral("replace at %1").arg(at);
        } else if (op < 90) {
            // Drops a random share of the saves, sometimes nearly all of them.
            const int modulus = int(random.bounded(1, 12));
            const int keepRemainder = int(random.bounded(modulus));
            const auto test = [&](const Save &s) { return qHash(s.id()) % modulus != std::size_t(keepRemainder); };
            const qsizetype removed = list.removeIf(test);
            QCOMPARE(removed, model.removeIf(test));
            what = QStringLiteral("removeIf");
        } else if (op < 95) {
            const qsizetype at = qsizetype(random.bounded(int(n)));
            QVERIFY(list.takeAt(at).sharesDataWith(model.takeAt(at)));
            what = QStringLiteral("takeAt %1").arg(at);
        } else {
            snapshots.append({list, model});
            what = QStringLiteral("copy kept");
        }
        if (!sameSaves(list, model))
            QFAIL(qPrintable(QStringLiteral("step %1 (%2) left the list unlike QList").arg(step).arg(what)));
        if (!sameSaves(before, modelBefore))
            QFAIL(qPrintable(QStringLiteral("step %1 (%2) changed a copy taken before it").arg(step).arg(what)));

        // Found by id: the first place holding that id, or none.
        for (int probe = 0; probe < 4 && !model.isEmpty(); ++probe) {
            const Save::ID id = model.at(random.bounded(int(model.size()))).id();
            const auto first = std::find_if(model.cbegin(), model.cend(), [&](const Save &s) { return s.id() == id; });
            QCOMPARE(list.indexOf(id), qsizetype(first - model.cbegin()));
        }
        QCOMPARE(list.indexOf(saveID(next + 1)), qsizetype(-1));

        // What the edit changed, as the shelf's tally asks for it.
        QList<qsizetype> places;
        SaveList::diffPlaces(before, list, [&](qsizetype i) { places.append(i); });
        QCOMPARE(places, differentPlaces(modelBefore, model));
        const qsizetype h = SaveList::commonHead(before, list);
        QCOMPARE(h, head(modelBefore, model));
        QCOMPARE(SaveList::commonTail(before, list, h), tail(modelBefore, model, h));
        QCOMPARE(before == list, modelBefore == model);
    }
    for (const auto &[copy, held] : snapshots)
        QVERIFY(sameSaves(copy, held));
    QVERIFY(list == model);
    QVERIFY(list.toList() == model);
}

void TestSaveList::aChangedCopyLeavesTheOriginal_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("at");
    QTest::newRow("one chunk, first") << 10 << 0;
    QTest::newRow("many chunks, a chunk's last") << 2000 << SaveList::chunkSize - 1;
    QTest::newRow("many chunks, a chunk's first") << 2000 << SaveList::chunkSize;
    QTest::newRow("many chunks, the last") << 2000 << 1999;
}

void TestSaveList::aChangedCopyLeavesTheOriginal()
{
    QFETCH(int, size);
    QFETCH(int, at);
    QList<Save> model;
    for (int i = 0; i < size; ++i)
        model.append(saveNumber(i + 1));
    const SaveList original(model);
    const Save other = saveNumber(100000);

    SaveList replaced = original;
    replaced.replace(at, other);
    SaveList inserted = original;
    inserted.insert(at, other);
    SaveList removed = original;
    removed.remove(at);
    SaveList filtered = original;
    filtered.removeIf([&](const Save &s) { return s.sharesDataWith(model.at(at)); });
    SaveList appended = original;
    appended.append(other);

    QVERIFY(sameSaves(original, model));
    QVERIFY(replaced.at(at).sharesDataWith(other));
    QCOMPARE(inserted.size(), size + 1);
    QVERIFY(inserted.at(at).sharesDataWith(other));
    QCOMPARE(removed.size(), size - 1);
    QCOMPARE(filtered.size(), size - 1);
    QVERIFY(removed == filtered);
    QVERIFY(appended.last().sharesDataWith(other));

    // And the other way: a change of the original shows in none of the copies.
    SaveList changed = original;
    const SaveList copy = changed;
    changed.replace(at, other);
    changed.remove(0);
    QVERIFY(sameSaves(copy, model));
}

void TestSaveList::anEditCopiesOneChunk()
{
    QList<Save> model;
    for (int i = 0; i < 20000; ++i)
        model.append(saveNumber(i + 1));
    const SaveList original(model);
    const auto unshared = [&](const SaveList &copy) {
        qsizetype count = 0;
        for (qsizetype k = 0; k < copy.chunkCount(); ++k) {
            bool shared = false;
            for (qsizetype o = 0; o < original.chunkCount() && !shared; ++o)
                shared = copy.chunk(k).constData() == original.chunk(o).constData();
            count += shared ? 0 : 1;
        }
        return count;
    };
    SaveList edited = original;
    edited.replace(12345, saveNumber(0));
    QCOMPARE(unshared(edited), 1);
    SaveList grown = original;
    grown.insert(777, saveNumber(0));
    QCOMPARE(unshared(grown), 1);
    SaveList shrunk = original;
    shrunk.remove(5000);
    QVERIFY(unshared(shrunk) <= 2);
    // The diff of an edit looks at the one chunk that changed.
    QList<qsizetype> places;
    SaveList::diffPlaces(original, edited, [&](qsizetype i) { places.append(i); });
    QCOMPARE(places, QList<qsizetype>{12345});
}

void TestSaveList::equality()
{
    QList<Save> model;
    for (int i = 0; i < 600; ++i)
        model.append(saveNumber(i + 1));
    const SaveList a(model);
    // Equal saves that are not shared compare equal, whatever chunks they lie in.
    SaveList fresh;
    for (int i = 600; i >= 1; --i)
        fresh.insert(0, saveNumber(i));
    QVERIFY(a == fresh);
    QVERIFY(fresh == model);
    SaveList different = fresh;
    different.replace(599, saveNumber(601));
    QVERIFY(!(a == different));
    QVERIFY(!(different == model));
    SaveList shorter = fresh;
    shorter.removeLast();
    QVERIFY(!(a == shorter));
    QCOMPARE(a.indexOf(saveNumber(300)), 299);
    QCOMPARE(a.indexOf(saveNumber(601)), -1);
}

QTEST_GUILESS_MAIN(TestSaveList)
#include "tst_savelist.moc"
