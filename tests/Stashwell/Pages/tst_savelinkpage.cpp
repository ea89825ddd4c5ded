// The Save Link page on the Curator with scripted services: the look-up at appearance and its
// phases, only the latest look-up deciding, keeping into a collection with the sheet ending once
// the download is under way, the two preferences, and answers that arrive after the page has gone.

#include "PageRig.h"
#include "Stashwell/Pages/SaveLink/SaveLinkPage.h"
#include "Stashwell/StashwellStrings.h"

#include <QtTest>

using namespace sw;
using namespace sw::app;
using namespace sw::fixtures;
using namespace sw::test;

namespace {

const QString kFirst = QStringLiteral("https://x.com/someone/status/1");
const QString kSecond = QStringLiteral("https://x.com/other/status/2");
const PostLink kFirstLink = xLink(QStringLiteral("someone"), QStringLiteral("1"));
const PostLink kSecondLink = xLink(QStringLiteral("other"), QStringLiteral("2"));

// A page on the rig, recording each onDone.
struct Sheet {
    Sheet(PageRig &rig, const QString &url)
        : page(std::make_unique<SaveLinkPage>(rig.core(), rig.preferences, url,
                                              [this](const std::optional<Save::ID> &id) { done.append(id); }))
    {
    }
    std::unique_ptr<SaveLinkPage> page;
    QList<std::optional<Save::ID>> done;
};

QString describe(const SaveLinkPhase &phase)
{
    if (phase.isFetching())
        return QStringLiteral("fetching");
    if (const Post *post = phase.post())
        return QStringLiteral("found ") + post->link.url().text();
    return QStringLiteral("typing ") + phase.problem().value_or(QStringLiteral("-"));
}

Library withSave(const Post &post, std::optional<double> trashedAt = std::nullopt)
{
    Library library;
    library.saves.append(makeSave(SaveSpec(1, post, 700000000).trashed(trashedAt)));
    return library;
}

}  // namespace

class TestSaveLinkPage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // The sheet comes up with the request's text: a text is looked up at once, an empty one not.
    void lookUp_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("library");   // "empty", "live", "trashed"
        QTest::addColumn<bool>("reachable");
        QTest::addColumn<QString>("phase");
        QTest::addColumn<int>("asked");

        const QString found = QStringLiteral("found ") + kFirstLink.url().text();
        const QString notALink = "typing " + StashwellStrings::refusalNotALink();
        QTest::newRow("no text: nothing happens") << QString() << "empty" << true << "typing -" << 0;
        // The text is not trimmed for that test; the Curator then finds no link in it.
        QTest::newRow("spaces are looked up") << "   " << "empty" << true << notALink << 0;
        QTest::newRow("a post is found") << kFirst << "empty" << true << found << 1;
        QTest::newRow("text that is no link") << "a sentence" << "empty" << true << notALink << 0;
        QTest::newRow("a link that names no post") << "https://x.com/someone/Status/1" << "empty" << true
                                                   << "typing " + StashwellStrings::refusalNotAPost() << 0;
        QTest::newRow("the fetch fails") << kFirst << "empty" << false
                                         << "typing " + StashwellStrings::refusalUnreachable() << 1;
        // The phase stays where the look-up left it; the sheet ends on the existing save.
        QTest::newRow("a link already kept") << kFirst << "live" << true << "fetching" << 0;
        QTest::newRow("a link whose save is in the trash") << kFirst << "trashed" << true << found << 1;
    }

    void lookUp()
    {
        QFETCH(QString, text);
        QFETCH(QString, library);
        QFETCH(bool, reachable);
        QFETCH(QString, phase);
        QFETCH(int, asked);

        const Post kept = foundPost(kFirstLink);
        PageRig rig(library == "empty" ? Library() : withSave(kept, library == "trashed" ? std::optional(750000000.0) : std::nullopt));
        if (!reachable)
            rig.curator.fetcher->answer = nullptr;
        Sheet sheet(rig, text);
        sheet.page->appear();
        QVERIFY(settle([&] { return !sheet.page->phase().isFetching() || !sheet.done.isEmpty(); }));

        QCOMPARE(describe(sheet.page->phase()), phase);
        const bool endsOnTheSave = library == "live";
        QCOMPARE(sheet.done, endsOnTheSave ? QList<std::optional<Save::ID>>{saveID(1)} : QList<std::optional<Save::ID>>{});
        QCOMPARE(rig.curator.fetcher->asked.size(), asked);
        QCOMPARE(rig.core().library().saves.size(), library == "empty" ? 0 : 1);
        // Save does nothing but in the found phase.
        if (!sheet.page->phase().isFound()) {
            QVERIFY(finish(sheet.page->save()));
            QCOMPARE(rig.core().library().saves.size(), library == "empty" ? 0 : 1);
        }
    }

    // Two look-ups one after the other, answered in either order: the second decides, and the
    // phase never shows the first one's answer once the second has started.
    void onlyTheLatestLookUpDecides_data()
    {
        QTest::addColumn<bool>("olderAnswersLast");
        QTest::newRow("the older answers last") << true;
        QTest::newRow("the older answers first") << false;
    }

    void onlyTheLatestLookUpDecides()
    {
        QFETCH(bool, olderAnswersLast);
        PageRig rig;
        rig.curator.fetcher->held = true;
        Sheet sheet(rig, kFirst);
        sheet.page->appear();
        sheet.page->setUrl(kSecond);
        sheet.page->fetch();
        QCOMPARE(rig.curator.fetcher->asked, (QList<PostLink>{kFirstLink, kSecondLink}));

        QStringList seen;
        connect(sheet.page.get(), &SaveLinkPage::phaseChanged, this, [&] { seen.append(describe(sheet.page->phase())); });
        const QList<qsizetype> order = olderAnswersLast ? QList<qsizetype>{1, 0} : QList<qsizetype>{0, 1};
        for (qsizetype fetch : order) {
            rig.curator.fetcher->release(fetch);
            QTest::qWait(0);
        }
        QVERIFY(settle([&] { return !sheet.page->phase().isFetching(); }));
        QTest::qWait(0);
        QCOMPARE(seen, QStringList{"found " + kSecondLink.url().text()});

        // Save keeps the second post, the one the field names.
        QVERIFY(finish(sheet.page->save()));
        QCOMPARE(sheet.done.size(), 1);
        const auto save = rig.core().library().save(*sheet.done.first());
        QVERIFY(save);
        QCOMPARE(save->post().link, kSecondLink);
    }

    // Save keeps the found post, and the sheet ends as soon as the save is in the library and its
    // download is under way (the clip's transfer still waits for the test). A field edited to
    // name another link is looked up instead.
    void save_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("inCollection");
        QTest::addColumn<bool>("downloads");
        QTest::addColumn<bool>("trashed");
        QTest::addColumn<QString>("outcome");   // "downloading", "kept", "looked up"
        QTest::newRow("no collection") << kFirst << false << true << false << "downloading";
        QTest::newRow("into a collection") << kFirst << true << true << false << "downloading";
        QTest::newRow("downloads off") << kFirst << true << false << false << "kept";
        QTest::newRow("taken back from the trash") << kFirst << false << true << true << "kept";
        QTest::newRow("the link written otherwise") << "  https://twitter.com/SOMEONE/status/1?s=20\n" << false << true
                                                    << false << "downloading";
        QTest::newRow("the field names another link") << kSecond << false << true << false << "looked up";
    }

    void save()
    {
        QFETCH(QString, field);
        QFETCH(bool, inCollection);
        QFETCH(bool, downloads);
        QFETCH(bool, trashed);
        QFETCH(QString, outcome);
        PageRig rig(trashed ? withSave(foundPost(kFirstLink), 750000000) : Library());
        const auto made = rig.core().makeCollection(QStringLiteral("Reading"));
        rig.core().setDownloadsOnSave(downloads);
        Sheet sheet(rig, kFirst);
        QVERIFY(finish(sheet.page->fetch()));
        sheet.page->setUrl(field);
        if (inCollection)
            sheet.page->setCollection(made->id);

        QVERIFY(finish(sheet.page->save()));
        if (outcome == "looked up") {
            QVERIFY(sheet.done.isEmpty());
            QVERIFY(rig.core().library().saves.isEmpty());
            QCOMPARE(describe(sheet.page->phase()), "found " + kSecondLink.url().text());
            return;
        }
        QCOMPARE(sheet.done.size(), 1);
        const auto save = rig.core().library().save(sheet.done.first().value());
        QVERIFY(save);
        QCOMPARE(rig.core().library().saves.size(), 1);
        QCOMPARE(save->post().link, kFirstLink);
        QVERIFY(!save->isTrashed());
        QCOMPARE(save->collection(), inCollection ? made->id : std::optional<Collection::ID>());
        QCOMPARE(rig.curator.copy(kFirstLink).asDownloading() != nullptr, outcome == "downloading");
        // The phase is not changed by a save.
        QVERIFY(sheet.page->phase().isFound());
    }

    // While the sheet is shown each change of the Curator's switch or quality is written; an
    // unchanged value writes nothing, and nothing is written once the sheet has gone.
    void preferences_data()
    {
        QTest::addColumn<QString>("when");   // "shown", "after"
        QTest::addColumn<QStringList>("writes");
        QTest::newRow("shown") << "shown" << QStringList{"downloadsOnSave false", "downloadsOnSave true", "quality hd"};
        QTest::newRow("gone") << "after" << QStringList{};
    }

    void preferences()
    {
        QFETCH(QString, when);
        QFETCH(QStringList, writes);
        PageRig rig;
        Sheet sheet(rig, QString());
        sheet.page->appear();
        if (when == "after")
            sheet.page->disappear();

        QStringList seen;
        connect(&rig.preferences, &Preferences::valueChanged, this, [&](const QString &key) {
            seen.append(key + ' ' + rig.preferences.value(key).toString());
        });
        sheet.page->setDownloadsMedia(false);
        sheet.page->setDownloadsMedia(false);
        sheet.page->setDownloadsMedia(true);
        sheet.page->setQuality(Quality::original);   // already in force
        sheet.page->setQuality(Quality::hd);
        QCOMPARE(seen, writes);
        QCOMPARE(rig.core().quality(), Quality(Quality::hd));
        if (when == "shown") {
            // Stored with their kinds, as start-up reads them back.
            QCOMPARE(rig.stored(Preferences::downloadsOnSave), QVariant(true));
            QCOMPARE(rig.stored(Preferences::quality), QVariant(QStringLiteral("hd")));
        } else {
            QVERIFY(!rig.stored(Preferences::quality).isValid());
        }
    }

    // The page goes while the look-up or the keep is under way: a look-up says nothing; a save
    // still reports its save, which exists.
    void answersAfterThePageHasGone()
    {
        for (const bool saving : {false, true}) {
            PageRig rig;
            rig.curator.fetcher->held = !saving;
            QList<std::optional<Save::ID>> done;
            auto page = std::make_unique<SaveLinkPage>(rig.core(), rig.preferences, kFirst,
                                                       [&done](const std::optional<Save::ID> &id) { done.append(id); });
            if (saving) {
                QVERIFY(finish(page->fetch()));
                page->save();
            } else {
                page->fetch();
            }
            page.reset();
            if (saving) {
                QVERIFY(settle([&] { return !done.isEmpty(); }));
                QCOMPARE(done.first(), rig.core().library().saves.first().id());
            } else {
                rig.curator.fetcher->release(0);
                QTest::qWait(10);
                QVERIFY(done.isEmpty());
            }
        }
    }
};

QTEST_MAIN(TestSaveLinkPage)
#include "tst_savelinkpage.moc"
