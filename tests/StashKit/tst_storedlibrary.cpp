// A library document that the application wrote and a user keeps on disk (data/stored-library.json):
// every kind of local copy, collections, tags, notes and the trash. Whatever the code calls its
// parts, reading it and writing it back must give the same bytes, and the saves it holds must
// land on the shelf where they did when it was written.

#include "StashKit/Archive.h"
#include "StashKit/FileArchive.h"
#include "Shelf/Shelf.h"
#include "LibraryFixtures.h"
#include "PostFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <expected>
#include <string>

using namespace sw;
using namespace sw::fixtures;

Q_DECLARE_METATYPE(sw::PostLink)
Q_DECLARE_METATYPE(sw::LocalCopy)
Q_DECLARE_METATYPE(sw::Filter)

namespace {

const QString kDocument = QStringLiteral(STASHWELL_TEST_DATA "/stored-library.json");

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The stored document decoded, or why it could not be.
std::expected<Archive, QString> storedArchive()
{
    const QByteArray bytes = bytesOf(kDocument);
    if (bytes.isEmpty())
        return std::unexpected(QStringLiteral("missing: ") + kDocument);
    try {
        return Archive::fromJson(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    } catch (const JsonError &e) {
        return std::unexpected(e.message());
    }
}

QString whyNot(const std::expected<Archive, QString> &archive) { return archive ? QString() : archive.error(); }

enum class Road { text, fileArchive };

}  // namespace

Q_DECLARE_METATYPE(Road)

class TestStoredLibrary : public QObject {
    Q_OBJECT

private slots:
    void writtenBackByteForByte_data();
    void writtenBackByteForByte();
    void copiesKeepTheirState_data();
    void copiesKeepTheirState();
    void shelfSortsTheStoredSaves_data();
    void shelfSortsTheStoredSaves();
};

void TestStoredLibrary::writtenBackByteForByte_data()
{
    QTest::addColumn<Road>("road");
    QTest::newRow("decoded from its text and encoded") << Road::text;
    QTest::newRow("loaded and stored by the file archive") << Road::fileArchive;
}

void TestStoredLibrary::writtenBackByteForByte()
{
    QFETCH(Road, road);
    const QByteArray stored = bytesOf(kDocument);
    QVERIFY(!stored.isEmpty());

    QByteArray written;
    if (road == Road::text) {
        const auto archive = storedArchive();
        QVERIFY2(archive, qPrintable(whyNot(archive)));
        written = QByteArray::fromStdString(archive->json());
    } else {
        QTemporaryDir from, to;
        QVERIFY(from.isValid() && to.isValid());
        QVERIFY(QFile::copy(kDocument, QDir(from.path()).filePath(QString::fromLatin1(FileArchive::documentName))));
        const auto loaded = FileArchive(from.path()).load();
        QVERIFY2(loaded.has_value(), qPrintable(loaded ? QString() : loaded.error().message));
        QVERIFY(loaded->has_value());
        QVERIFY(FileArchive(to.path()).store(**loaded).has_value());
        written = bytesOf(QDir(to.path()).filePath(QString::fromLatin1(FileArchive::documentName)));
    }
    QCOMPARE(written, stored);
}

void TestStoredLibrary::copiesKeepTheirState_data()
{
    QTest::addColumn<PostLink>("link");
    QTest::addColumn<LocalCopy>("expected");
    QTest::newRow("on this computer, a video and a picture")
        << xLink(QStringLiteral("ann"), QStringLiteral("101"))
        << LocalCopy::onThisComputer({LocalFile{QStringLiteral("ann_101.mp4"), 1048576}, LocalFile{QStringLiteral("ann_101_2.jpg"), 2048}});
    QTest::newRow("on this computer, no files") << xLink(QStringLiteral("bo"), QStringLiteral("202")) << LocalCopy::onThisComputer({});
    QTest::newRow("downloading part way") << xLink(QStringLiteral("cy"), QStringLiteral("303")) << LocalCopy::downloading(3000, 9000);
    QTest::newRow("downloading nothing") << xLink(QStringLiteral("di"), QStringLiteral("404")) << LocalCopy::downloading(0, 0);
    QTest::newRow("failed, unreachable")
        << xLink(QStringLiteral("ed"), QStringLiteral("505")) << LocalCopy::failed(DownloadFailure::unreachable);
    QTest::newRow("failed, could not write")
        << xLink(QStringLiteral("fi"), QStringLiteral("606")) << LocalCopy::failed(DownloadFailure::couldNotWrite);
    QTest::newRow("link only, stored") << xLink(QStringLiteral("gus"), QStringLiteral("707")) << LocalCopy::linkOnly();
    QTest::newRow("on this computer, a web page")
        << webLink(QStringLiteral("https://cook.example.com/pie?id=8"))
        << LocalCopy::onThisComputer({LocalFile{QStringLiteral("cook.example.com_pie_0badf00d.html"), 5120}});
    // The first name is stored decomposed, the others composed; each is read as it was written.
    QTest::newRow("on this computer, names in both forms")
        << xLink(QStringLiteral("Zo\u00e9"), QStringLiteral("1010"))
        << LocalCopy::onThisComputer({LocalFile{QStringLiteral("Zoe\u0301_1010.jpg"), 10}, LocalFile{QStringLiteral("Zo\u00e9_1010_2.jpg"), 20},
                                 LocalFile{QStringLiteral("Zo\u00e9_1010_3.jpg"), 30}});
}

void TestStoredLibrary::copiesKeepTheirState()
{
    QFETCH(PostLink, link);
    QFETCH(LocalCopy, expected);
    const auto archive = storedArchive();
    QVERIFY2(archive, qPrintable(whyNot(archive)));
    const LocalCopy *copy = archive->copies.find(link);
    QVERIFY(copy);
    QCOMPARE(*copy, expected);
    QCOMPARE(copy->bytesOnDisk(), expected.bytesOnDisk());
    QCOMPARE(archive->copies.size(), qsizetype(9));
}

void TestStoredLibrary::shelfSortsTheStoredSaves_data()
{
    QTest::addColumn<Filter>("filter");
    QTest::addColumn<QList<Save::ID>>("expected");
    QTest::newRow("on this computer: live saves with their files") << Filter::onThisComputer() << saveIDs({1, 2, 10});
    QTest::newRow("link only: failed copies, not text, not downloading") << Filter::linkOnly() << saveIDs({5, 6});
    QTest::newRow("trash: the page on this computer and the bare page") << Filter::trash() << saveIDs({8, 9});
    QTest::newRow("favourites") << Filter::favourites() << saveIDs({1, 4, 10});
    QTest::newRow("a collection, its trashed save left out") << Filter::collection(collectionID(2)) << saveIDs({2});
    QTest::newRow("an empty collection") << Filter::collection(collectionID(3)) << saveIDs({});
}

void TestStoredLibrary::shelfSortsTheStoredSaves()
{
    QFETCH(Filter, filter);
    QFETCH(QList<Save::ID>, expected);
    const auto archive = storedArchive();
    QVERIFY2(archive, qPrintable(whyNot(archive)));
    LocalMedia media(MediaFolder(Url::fromLocalFile(QDir::tempPath())), DiskBudget{std::int64_t(1) << 40});
    media.setCopies(archive->copies);
    const Shelf shelf(archive->library, media, std::nullopt, Date{786400000}, Quality::original);
    QList<Save::ID> ids;
    for (const ShelfItem &item : shelf.items(filter))
        ids.append(item.save().id());
    QCOMPARE(ids, expected);
}

QTEST_GUILESS_MAIN(TestStoredLibrary)
#include "tst_storedlibrary.moc"
