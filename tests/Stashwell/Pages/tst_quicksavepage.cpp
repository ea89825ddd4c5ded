// The quick-save page on the Curator with scripted services: what each showing makes of the
// clipboard, keeping with a truthful confirmation, the collection that holds from save to save,
// only the latest look-up or save deciding, the four newest live saves, the library window opened
// at a save, and answers that arrive after the page has gone.

#include "PageRig.h"
#include "Stashwell/Pages/QuickSave/QuickSavePage.h"
#include "Stashwell/Router/Router.h"
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

QString describe(const QuickSaveState &state)
{
    return std::visit(
        [](const auto &c) -> QString {
            using C = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<C, QuickSaveState::Looking>)
                return QStringLiteral("looking ") + c.link;
            else if constexpr (std::is_same_v<C, QuickSaveState::Found>)
                return QStringLiteral("found ") + c.post.link.url().text();
            else if constexpr (std::is_same_v<C, QuickSaveState::Refused>)
                return QStringLiteral("refused ") + c.message;
            else if constexpr (std::is_same_v<C, QuickSaveState::Saved>)
                return QStringLiteral("saved ") + c.message;
            else
                return QStringLiteral("nothing copied");
        },
        state.value());
}

// The page on the rig, with a clipboard the test writes and a record of the window's showings.
struct Popup {
    explicit Popup(PageRig &rig)
    {
        QuickSavePage::Hooks hooks;
        hooks.copiedLink = [this] { return clipboard; };
        hooks.showLibrary = [this] { shown.append(router.selecting()); };
        page = std::make_unique<QuickSavePage>(rig.core(), router, hooks);
    }
    std::optional<QString> clipboard;
    Router router;
    // Router.selecting at each showing of the library window.
    QList<std::optional<Save::ID>> shown;
    std::unique_ptr<QuickSavePage> page;
};

bool settled(const QuickSavePage &page) { return !std::holds_alternative<QuickSaveState::Looking>(page.state().value()); }

}  // namespace

class TestQuickSavePage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void showing_data()
    {
        QTest::addColumn<std::optional<QString>>("clipboard");
        QTest::addColumn<QString>("library");   // "empty", "live", "trashed"
        QTest::addColumn<bool>("reachable");
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("asked");

        QTest::newRow("no link copied") << std::optional<QString>() << "empty" << true << "nothing copied" << 0;
        QTest::newRow("a post") << std::optional(kFirst) << "empty" << true << "found " + kFirstLink.url().text() << 1;
        QTest::newRow("already kept") << std::optional(kFirst) << "live" << true
                                      << "saved " + StashwellStrings::quickSaveAlreadyIn() << 0;
        QTest::newRow("in the trash") << std::optional(kFirst) << "trashed" << true << "found " + kFirstLink.url().text() << 1;
        QTest::newRow("unreachable") << std::optional(kFirst) << "empty" << false
                                     << "refused " + StashwellStrings::quickSaveUnreadable() << 1;
    }

    void showing()
    {
        QFETCH(std::optional<QString>, clipboard);
        QFETCH(QString, library);
        QFETCH(bool, reachable);
        QFETCH(QString, state);
        QFETCH(int, asked);
        Library preset;
        if (library != "empty")
            preset.saves.append(makeSave(SaveSpec(1, foundPost(kFirstLink), 700000000)
                                             .trashed(library == "trashed" ? std::optional(750000000.0) : std::nullopt)));
        PageRig rig(preset);
        if (!reachable)
            rig.curator.fetcher->answer = nullptr;
        Popup popup(rig);
        popup.clipboard = clipboard;

        QStringList seen;
        connect(popup.page.get(), &QuickSavePage::stateChanged, this, [&] { seen.append(describe(popup.page->state())); });
        popup.page->appear();
        QVERIFY(settle([&] { return settled(*popup.page); }));
        QCOMPARE(describe(popup.page->state()), state);
        QCOMPARE(rig.curator.fetcher->asked.size(), asked);
        // A link is shown while it is looked up.
        if (clipboard)
            QCOMPARE(seen.first(), "looking " + *clipboard);
        // Save does nothing but in the found state.
        if (!popup.page->state().post()) {
            QVERIFY(finish(popup.page->save()));
            QCOMPARE(rig.core().library().saves.size(), library == "empty" ? 0 : 1);
        }
    }

    void save_data()
    {
        QTest::addColumn<bool>("downloads");
        QTest::addColumn<bool>("media");
        QTest::addColumn<bool>("trashed");
        QTest::addColumn<qint64>("budget");
        QTest::addColumn<QString>("message");

        const QString saved = StashwellStrings::toastSaved();
        const QString downloading = StashwellStrings::toastSavedDownloading();
        QTest::newRow("a post with media") << true << true << false << qint64(CuratorRig::kBudget) << downloading;
        QTest::newRow("downloads off") << false << true << false << qint64(CuratorRig::kBudget) << saved;
        QTest::newRow("no media") << true << false << false << qint64(CuratorRig::kBudget) << saved;
        // No download starts for these, whatever the switch says.
        QTest::newRow("taken back from the trash") << true << true << true << qint64(CuratorRig::kBudget) << saved;
        QTest::newRow("over the disk budget") << true << true << false << qint64(100) << saved;
    }

    void save()
    {
        QFETCH(bool, downloads);
        QFETCH(bool, media);
        QFETCH(bool, trashed);
        QFETCH(qint64, budget);
        QFETCH(QString, message);
        Library preset;
        if (trashed)
            preset.saves.append(makeSave(SaveSpec(1, foundPost(kFirstLink), 700000000).trashed(750000000)));
        PageRig rig(preset);
        rig.core().limitLocalMedia(budget);
        rig.core().setDownloadsOnSave(downloads);
        rig.curator.fetcher->answer = [media](const PostLink &link) {
            return std::expected<Post, FetchError>(foundPost(link, media));
        };
        const auto made = rig.core().makeCollection(QStringLiteral("Reading"));
        Popup popup(rig);
        popup.page->setCollection(made->id);
        // Two saves in a row: the chosen collection holds for both, the page never resets it.
        for (const QString &link : {kFirst, kSecond}) {
            popup.clipboard = link;
            popup.page->appear();
            QVERIFY(settle([&] { return popup.page->state().post(); }));
            QVERIFY(finish(popup.page->save()));
            if (link == kFirst)
                QCOMPARE(describe(popup.page->state()), "saved " + message);
            popup.page->disappear();
        }
        QCOMPARE(rig.core().library().saves.size(), 2);
        for (const Save &save : rig.core().library().saves) {
            QVERIFY(!save.isTrashed());
            QCOMPARE(save.collection(), trashed && save.post().link == kFirstLink ? std::optional<Collection::ID>() : made->id);
        }
    }

    // While shown, a change of the clipboard is looked up; answers come in either order and the
    // latest decides. A save under way when the clipboard changes no longer writes the state.
    void onlyTheLatestDecides_data()
    {
        QTest::addColumn<bool>("olderAnswersLast");
        QTest::newRow("the older answers last") << true;
        QTest::newRow("the older answers first") << false;
    }

    void onlyTheLatestDecides()
    {
        QFETCH(bool, olderAnswersLast);
        PageRig rig;
        rig.curator.fetcher->held = true;
        Popup popup(rig);
        popup.clipboard = kFirst;
        popup.page->appear();
        popup.clipboard = kSecond;
        popup.page->clipboardChanged();
        QCOMPARE(describe(popup.page->state()), "looking " + kSecond);
        const QList<qsizetype> order = olderAnswersLast ? QList<qsizetype>{1, 0} : QList<qsizetype>{0, 1};
        for (qsizetype fetch : order) {
            rig.curator.fetcher->release(fetch);
            QTest::qWait(0);
        }
        QTest::qWait(10);
        QCOMPARE(describe(popup.page->state()), "found " + kSecondLink.url().text());
    }

    void aSaveOvertakenByTheClipboard()
    {
        PageRig rig;
        Popup popup(rig);
        popup.clipboard = kFirst;
        popup.page->appear();
        QVERIFY(settle([&] { return popup.page->state().post(); }));
        rig.curator.fetcher->held = true;
        popup.page->save();
        popup.clipboard = kSecond;
        popup.page->clipboardChanged();
        // The save runs on to the end, and the state stays the new link's.
        QVERIFY(settle([&] { return !popup.page->isSaving(); }));
        QCOMPARE(rig.core().library().saves.size(), 1);
        QCOMPARE(describe(popup.page->state()), "looking " + kSecond);
        // A clipboard change while the popup is not shown is not read.
        popup.page->disappear();
        popup.clipboard = std::nullopt;
        popup.page->clipboardChanged();
        QCOMPARE(describe(popup.page->state()), "looking " + kSecond);
    }

    void recent_data()
    {
        QTest::addColumn<QList<int>>("saves");     // test numbers, newest first; negative: trashed
        QTest::addColumn<QList<int>>("listed");
        QTest::newRow("an empty library") << QList<int>{} << QList<int>{};
        QTest::newRow("fewer than four") << QList<int>{3, 2, 1} << QList<int>{3, 2, 1};
        QTest::newRow("the four newest") << QList<int>{6, 5, 4, 3, 2, 1} << QList<int>{6, 5, 4, 3};
        QTest::newRow("trashed saves never") << QList<int>{-7, 6, -5, 4, 3, -2, 1} << QList<int>{6, 4, 3, 1};
    }

    void recent()
    {
        QFETCH(QList<int>, saves);
        QFETCH(QList<int>, listed);
        Library library;
        double at = 790000000;
        for (int n : saves) {
            const int id = std::abs(n);
            SaveSpec spec(id, postOnX(QStringLiteral("h"), QString::number(id)), at);
            if (n < 0)
                spec.trashed(at + 1);
            library.saves.append(makeSave(spec));
            at -= 10;
        }
        PageRig rig(library);
        QList<Save::ID> ids;
        for (const ShelfItem &item : QuickSavePage::recentItems(rig.core().shelf()))
            ids.append(item.save().id());
        QList<Save::ID> expected;
        for (int n : listed)
            expected.append(saveID(n));
        QCOMPARE(ids, expected);
    }

    void openingTheLibrary()
    {
        PageRig rig;
        Popup popup(rig);
        popup.page->openLibrary();
        popup.page->openSave(saveID(4));
        // The request is there before the window shows.
        QCOMPARE(popup.shown, (QList<std::optional<Save::ID>>{std::nullopt, saveID(4)}));
        QCOMPARE(popup.router.selecting(), std::optional(saveID(4)));
    }

    // The page goes while a look-up or a keep is under way: nothing of it is touched.
    void answersAfterThePageHasGone()
    {
        for (const bool saving : {false, true}) {
            PageRig rig;
            auto popup = std::make_unique<Popup>(rig);
            popup->clipboard = kFirst;
            rig.curator.fetcher->held = !saving;
            popup->page->appear();
            if (saving) {
                QVERIFY(settle([&] { return popup->page->state().post(); }));
                popup->page->save();
            }
            popup.reset();
            if (!saving)
                rig.curator.fetcher->release(0);
            QTest::qWait(20);
            QCOMPARE(rig.core().library().saves.size(), saving ? 1 : 0);
        }
    }
};

QTEST_MAIN(TestQuickSavePage)
#include "tst_quicksavepage.moc"
