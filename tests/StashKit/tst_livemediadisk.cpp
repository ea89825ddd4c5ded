// The media disk on a real folder: removing files in order, stopping at the first failure, and
// listing a folder's names.

#include "StashKit/LiveMediaDisk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace sw;

namespace {

bool touch(const QString &path, const QByteArray &bytes = "x")
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QSet<QString> set(const QStringList &names) { return QSet<QString>(names.cbegin(), names.cend()); }

}  // namespace

class TestLiveMediaDisk : public QObject {
    Q_OBJECT

private slots:
    void init() { m_dir.emplace(); QVERIFY(m_dir->isValid()); }

    void removesWhatIsThereAndSkipsWhatIsNot_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("nothing asked") << QStringList{"a.jpg"} << QStringList{} << QStringList{"a.jpg"};
        QTest::newRow("all there") << QStringList{"a.jpg", "b.mp4", "c.html"} << QStringList{"a.jpg", "c.html"}
                                   << QStringList{"b.mp4"};
        QTest::newRow("some missing") << QStringList{"b.mp4"} << QStringList{"a.jpg", "b.mp4", "gone.jpg"}
                                      << QStringList{};
        QTest::newRow("none there") << QStringList{"keep.jpg"} << QStringList{"a.jpg", "b.jpg"}
                                    << QStringList{"keep.jpg"};
        QTest::newRow("a name with spaces and accents") << QStringList{"café au lait.jpg", "x.jpg"}
                                                        << QStringList{"café au lait.jpg"} << QStringList{"x.jpg"};
    }

    void removesWhatIsThereAndSkipsWhatIsNot()
    {
        QFETCH(QStringList, present);
        QFETCH(QStringList, removed);
        QFETCH(QStringList, left);
        for (const QString &name : present)
            QVERIFY(touch(m_dir->filePath(name)));
        QList<Url> urls;
        for (const QString &name : removed)
            urls.append(Url::fromLocalFile(m_dir->filePath(name)));

        const auto result = m_disk.remove(urls);

        QVERIFY(result.has_value());
        QCOMPARE(entries(m_dir->path()), left);
    }

    void removesALinkNotItsTarget()
    {
        const QString target = m_dir->filePath(QStringLiteral("target.jpg"));
        QVERIFY(touch(target));
        QVERIFY(QFile::link(target, m_dir->filePath(QStringLiteral("link.jpg"))));
        QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("nowhere")), m_dir->filePath(QStringLiteral("dangling.jpg"))));

        const auto result = m_disk.remove({Url::fromLocalFile(m_dir->filePath(QStringLiteral("link.jpg"))),
                                           Url::fromLocalFile(m_dir->filePath(QStringLiteral("dangling.jpg")))});

        QVERIFY(result.has_value());
        QCOMPARE(entries(m_dir->path()), QStringList{QStringLiteral("target.jpg")});
    }

    void stopsAtTheFirstFailure()
    {
        // A name longer than any file system allows cannot even be looked at: the removal fails
        // there, whoever runs the test.
        const QString tooLong = QString(300, u'n') + QStringLiteral(".jpg");
        QVERIFY(touch(m_dir->filePath(QStringLiteral("first.jpg"))));
        QVERIFY(touch(m_dir->filePath(QStringLiteral("third.jpg"))));

        const auto result = m_disk.remove({Url::fromLocalFile(m_dir->filePath(QStringLiteral("first.jpg"))),
                                           Url::fromLocalFile(m_dir->filePath(tooLong)),
                                           Url::fromLocalFile(m_dir->filePath(QStringLiteral("third.jpg")))});

        QVERIFY(!result.has_value());
        QCOMPARE(result.error().path, m_dir->filePath(tooLong));
        QVERIFY(!result.error().message.isEmpty());
        QCOMPARE(entries(m_dir->path()), QStringList{QStringLiteral("third.jpg")});
    }

    // The system ends a path at its first NUL: a name with one would remove another file, or
    // look at the folder's parent. Such a path is refused as a failure, and nothing is touched.
    void refusesPathsCutByNul_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("thenAnother");   // a plain file follows in the same call
        QTest::newRow("another save's file") << QStringLiteral("other.mp4") + QChar(0) + QStringLiteral("x") << false;
        QTest::newRow("the folder's parent") << QStringLiteral("..") + QChar(0) << false;
        QTest::newRow("the folder itself") << QStringLiteral(".") + QChar(0) + QStringLiteral("/x") << false;
        QTest::newRow("NUL first") << QString(QChar(0)) + QStringLiteral("other.mp4") << false;
        QTest::newRow("then a plain file") << QStringLiteral("other.mp4") + QChar(0) << true;
    }

    void refusesPathsCutByNul()
    {
        QFETCH(QString, name);
        QFETCH(bool, thenAnother);
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("media")));
        const QString media = m_dir->filePath(QStringLiteral("media"));
        QVERIFY(touch(media + QStringLiteral("/other.mp4")));
        QVERIFY(touch(media + QStringLiteral("/plain.jpg")));
        QVERIFY(touch(m_dir->filePath(QStringLiteral("beside.txt"))));
        QList<Url> urls{Url::fromLocalFile(media + u'/' + name)};
        if (thenAnother)
            urls.append(Url::fromLocalFile(media + QStringLiteral("/plain.jpg")));

        const auto result = m_disk.remove(urls);

        QVERIFY(!result.has_value());
        QCOMPARE(result.error().path, media + u'/' + name);
        QCOMPARE(entries(media), (QStringList{QStringLiteral("other.mp4"), QStringLiteral("plain.jpg")}));
        QCOMPARE(entries(m_dir->path()), (QStringList{QStringLiteral("beside.txt"), QStringLiteral("media")}));
        QVERIFY(!m_disk.names(Url::fromLocalFile(media + u'/' + name)).has_value());
    }

    void refusesWhatIsNoLocalFile()
    {
        const auto result = m_disk.remove({*Url::parse(QStringLiteral("https://example.com/a.jpg"))});
        QVERIFY(!result.has_value());
        QVERIFY(!m_disk.names(*Url::parse(QStringLiteral("https://example.com/"))).has_value());
    }

    void listsNamesWithoutDescending()
    {
        QVERIFY(touch(m_dir->filePath(QStringLiteral("a.jpg"))));
        QVERIFY(touch(m_dir->filePath(QStringLiteral(".hidden"))));
        QVERIFY(touch(m_dir->filePath(QStringLiteral("été.mp4"))));
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("sub/deeper")));
        QVERIFY(touch(m_dir->filePath(QStringLiteral("sub/inside.jpg"))));

        const auto names = m_disk.names(Url::fromLocalFile(m_dir->path()));

        QVERIFY(names.has_value());
        QCOMPARE(*names, set({"a.jpg", ".hidden", "été.mp4", "sub"}));
    }

    void listsNothingWhereNoFolderIs_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing folder") << QStringLiteral("missing");
        QTest::newRow("below a missing folder") << QStringLiteral("missing/deeper");
    }

    void listsNothingWhereNoFolderIs()
    {
        QFETCH(QString, path);
        const auto names = m_disk.names(Url::fromLocalFile(m_dir->filePath(path)));
        QVERIFY(names.has_value());
        QVERIFY(names->isEmpty());
        QCOMPARE(entries(m_dir->path()), QStringList{});   // nothing was made
    }

    void listingAFileFails()
    {
        QVERIFY(touch(m_dir->filePath(QStringLiteral("plain"))));
        const auto names = m_disk.names(Url::fromLocalFile(m_dir->filePath(QStringLiteral("plain"))));
        QVERIFY(!names.has_value());
        QCOMPARE(names.error().path, m_dir->filePath(QStringLiteral("plain")));
    }

private:
    std::optional<QTemporaryDir> m_dir;
    LiveMediaDisk m_disk;
};

QTEST_GUILESS_MAIN(TestLiveMediaDisk)
#include "tst_livemediadisk.moc"
