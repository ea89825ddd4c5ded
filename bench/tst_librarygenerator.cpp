// The generated libraries are real documents: they load through the file archive, read back equal
// to what was generated, and have the shape the benchmarks rely on.

#include "LibraryGenerator.h"

#include "StashKit/Archive.h"
#include "StashKit/FileArchive.h"
#include "Library/Library.h"

#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace sw;

class TestLibraryGenerator : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void documentsLoad_data()
    {
        QTest::addColumn<int>("saves");
        QTest::addColumn<int>("trashed");
        QTest::addColumn<int>("expectedTrashed");
        QTest::newRow("empty") << 0 << -1 << 0;
        QTest::newRow("one save") << 1 << -1 << 0;
        QTest::newRow("usual share in the trash") << 3000 << -1 << 60;
        QTest::newRow("a tenth in the trash") << 2000 << 200 << 200;
        QTest::newRow("everything in the trash") << 40 << 40 << 40;
    }

    void documentsLoad()
    {
        QFETCH(int, saves);
        QFETCH(int, trashed);
        QFETCH(int, expectedTrashed);
        bench::LibraryShape shape;
        shape.saves = saves;
        shape.trashed = trashed;

        const Archive generated = bench::generateArchive(shape);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        FileArchive archive(folder.path());
        QVERIFY(archive.store(generated));
        const auto loaded = archive.load();
        QVERIFY2(loaded.has_value(), loaded ? "" : qPrintable(loaded.error().message));
        QVERIFY(loaded->has_value());
        QVERIFY(**loaded == generated);

        const Library &library = (*loaded)->library;
        QCOMPARE(library.saves.size(), saves);
        QCOMPARE(library.trash().size(), expectedTrashed);
        QCOMPARE(library.collections.size(), shape.collections);
        // Newest first, every id distinct, every filing names a collection of the library.
        QSet<Save::ID> ids;
        QSet<Collection::ID> collections;
        for (const Collection &c : library.collections)
            collections.insert(c.id);
        for (qsizetype i = 0; i < library.saves.size(); ++i) {
            const Save &save = library.saves.at(i);
            QVERIFY(!ids.contains(save.id()));
            ids.insert(save.id());
            if (i > 0)
                QVERIFY(library.saves.at(i - 1).savedAt() >= save.savedAt());
            if (save.collection())
                QVERIFY(collections.contains(*save.collection()));
        }
    }

    // Over a library of a few thousand saves every feature the benchmarks lean on is present in
    // a realistic share.
    void shapeIsRealistic()
    {
        bench::LibraryShape shape;
        shape.saves = 4000;
        const Archive archive = bench::generateArchive(shape);
        const Library &library = archive.library;

        int web = 0, withMedia = 0, videos = 0, tagged = 0, noted = 0, favourites = 0, filed = 0, recent = 0,
            longText = 0, nonAscii = 0;
        for (const Save &save : library.saves) {
            const Post &post = save.post();
            web += post.link.isX() ? 0 : 1;
            withMedia += post.hasMedia() ? 1 : 0;
            videos += post.kind() == Kind::video ? 1 : 0;
            tagged += save.tags().isEmpty() ? 0 : 1;
            noted += save.note().isEmpty() ? 0 : 1;
            favourites += save.isFavourite() ? 1 : 0;
            filed += save.collection() ? 1 : 0;
            recent += shape.now.secondsSince(save.savedAt()) <= Library::recentWindow ? 1 : 0;
            longText += post.text.size() >= 140 ? 1 : 0;
            for (QChar c : post.text) {
                if (c.unicode() >= 0x80) {
                    ++nonAscii;
                    break;
                }
            }
        }
        const auto share = [&](int n) { return double(n) / double(library.saves.size()); };
        QVERIFY(share(web) > 0.08 && share(web) < 0.25);
        QVERIFY(share(withMedia) > 0.4 && share(withMedia) < 0.8);
        QVERIFY(share(videos) > 0.05);
        QVERIFY(share(tagged) > 0.3);
        QVERIFY(share(noted) > 0.08);
        QVERIFY(share(favourites) > 0.05);
        QVERIFY(share(filed) > 0.2);
        QVERIFY(share(longText) > 0.6);
        QVERIFY(share(nonAscii) > 0.1);
        QVERIFY(recent > 10 && recent < 200);
        // About half of the saves have a local copy.
        QVERIFY(share(int(archive.copies.size())) > 0.35 && share(int(archive.copies.size())) < 0.65);
    }

    void sameSeedSameLibrary()
    {
        bench::LibraryShape shape;
        shape.saves = 300;
        QVERIFY(bench::generateArchive(shape).library == bench::generateArchive(shape).library);
        bench::LibraryShape other = shape;
        other.seed += 1;
        QVERIFY(!(bench::generateArchive(other).library == bench::generateArchive(shape).library));
    }
};

QTEST_GUILESS_MAIN(TestLibraryGenerator)
#include "tst_librarygenerator.moc"
