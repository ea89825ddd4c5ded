// The library page's answers to one save's requests (its action button and its intents), the title
// of each filter, the acted-on saves and the inspector column, the media folder's text, and the
// text of each refusal.

#include "PageRig.h"

#include "StashwellUI/Design/Formatting.h"

#include <QTest>

using namespace sw;
using namespace sw::app;
using namespace sw::fixtures;
using namespace sw::test;

using S = StashwellStrings;

namespace {

// 1: a video on this computer; 2: an image post on this computer with no files listed; 3: an
// image post with nothing here; 4: a text post; 5: a trashed text post; 6: a failed image post;
// 7: a video whose download is under way.
struct Shelfful {
    Library library = libraryOf({makeSave(1, videoPost(QStringLiteral("1")), 70), makeSave(2, imagePost(QStringLiteral("2")), 60),
                                 makeSave(3, imagePost(QStringLiteral("3")), 50), makeSave(4, textPost(QStringLiteral("4")), 40),
                                 makeSave(SaveSpec(5, textPost(QStringLiteral("5")), 30).trashed(35)),
                                 makeSave(6, imagePost(QStringLiteral("6")), 20), makeSave(7, videoPost(QStringLiteral("7")), 10)},
                                {collection(1, QStringLiteral("Trips"))});
    CopyTable table = copies({{xLink(QStringLiteral("someone"), QStringLiteral("1")),
                               LocalCopy::onThisComputer({LocalFile{QStringLiteral("someone_1.mp4"), 2000}})},
                              {xLink(QStringLiteral("someone"), QStringLiteral("2")), LocalCopy::onThisComputer({})},
                              {xLink(QStringLiteral("someone"), QStringLiteral("6")),
                               LocalCopy::failed(DownloadFailure::unreachable)},
                              {xLink(QStringLiteral("someone"), QStringLiteral("7")), LocalCopy::downloading(10, 2000)}});
};

QUrl canonical(int n) { return xLink(QStringLiteral("someone"), QString::number(n)).url().qurl(); }

// What a request led to.
struct Outcome {
    QList<QUrl> opened;
    std::optional<Save::ID> playing;
    int downloads = 0;
    std::optional<Save::ID> selection;
};

using Request = std::function<void(PageRig &)>;

}  // namespace

Q_DECLARE_METATYPE(Request)

class LibraryPageActions : public QObject {
    Q_OBJECT
private slots:
    void init() { QStandardPaths::setTestModeEnabled(true); }

    void actions_data()
    {
        QTest::addColumn<int>("save");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("opened");   // "canonical", "file", or empty
        QTest::addColumn<bool>("plays");
        QTest::addColumn<int>("downloads");

        QTest::newRow("download") << 3 << Action::download(1000) << QString() << false << 1;
        QTest::newRow("retry") << 6 << Action::retry() << QString() << false << 1;
        QTest::newRow("downloading") << 7 << Action::downloading(0.5) << QString() << false << 0;
        QTest::newRow("play with the video here") << 1 << Action::play() << QString() << true << 0;
        QTest::newRow("play without the video here") << 3 << Action::play() << QStringLiteral("canonical") << false << 0;
        QTest::newRow("open a file here") << 1 << Action::open() << QStringLiteral("file") << false << 0;
        QTest::newRow("open here without files") << 2 << Action::open() << QStringLiteral("canonical") << false << 0;
        QTest::newRow("open with nothing here") << 3 << Action::open() << QStringLiteral("canonical") << false << 0;
        QTest::newRow("open on X") << 4 << Action::openOnX() << QStringLiteral("canonical") << false << 0;
    }

    void actions()
    {
        QFETCH(int, save);
        QFETCH(Action, action);
        QFETCH(QString, opened);
        QFETCH(bool, plays);
        QFETCH(int, downloads);
        Shelfful s;
        PageRig r(s.library, s.table);
        r.page->handle(SaveIntent::action(action), r.item(save));
        QList<QUrl> expected;
        if (opened == QStringLiteral("canonical"))
            expected = {canonical(save)};
        else if (opened == QStringLiteral("file"))
            expected = {r.mediaUrl(QStringLiteral("someone_1.mp4"))};
        QCOMPARE(r.opened, expected);
        QCOMPARE(r.page->player().playing().has_value(), plays);
        if (plays)
            QCOMPARE(*r.page->player().playing(), saveID(save));
        QCOMPARE(int(r.core.downloader->calls.size()), downloads);
        QVERIFY(r.stack.count() == 0);
    }

    void intents_data()
    {
        QTest::addColumn<int>("save");
        QTest::addColumn<SaveIntent>("intent");
        QTest::addColumn<QList<QUrl>>("opened");
        QTest::addColumn<QList<QUrl>>("revealed");
        QTest::addColumn<QStringList>("copied");
        QTest::addColumn<QString>("toast");
        QTest::addColumn<bool>("undoes");

        const QList<QUrl> none;
        QTest::newRow("action") << 4 << SaveIntent::action(Action::openOnX()) << QList<QUrl>{canonical(4)} << none
                                << QStringList() << QString() << false;
        QTest::newRow("copy link") << 4 << SaveIntent::copyLink() << none << none
                                   << QStringList{canonical(4).toString(QUrl::FullyEncoded)} << S::toastLinkCopied()
                                   << false;
        QTest::newRow("open original") << 1 << SaveIntent::openOriginal() << QList<QUrl>{canonical(1)} << none
                                       << QStringList() << QString() << false;
        QTest::newRow("reveal files here") << 1 << SaveIntent::reveal() << none
                                           << QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("MEDIA/someone_1.mp4"))}
                                           << QStringList() << QString() << false;
        QTest::newRow("reveal while downloading") << 7 << SaveIntent::reveal() << none << none << QStringList()
                                                  << QString() << false;
        QTest::newRow("reveal a failed copy") << 6 << SaveIntent::reveal() << none << none << QStringList() << QString()
                                              << false;
        QTest::newRow("reveal with nothing here") << 3 << SaveIntent::reveal() << none << none << QStringList()
                                                  << QString() << false;
        QTest::newRow("remove the local copy") << 1 << SaveIntent::removeLocalCopy() << none << none << QStringList()
                                               << S::toastLocalCopyRemoved() << false;
        QTest::newRow("trash") << 3 << SaveIntent::trash() << none << none << QStringList() << S::toastMovedToTrash()
                               << true;
        QTest::newRow("file") << 3 << SaveIntent::file(collectionID(1)) << none << none << QStringList()
                              << S::toastFiledIn(QStringLiteral("Trips")) << true;
    }

    void intents()
    {
        QFETCH(int, save);
        QFETCH(SaveIntent, intent);
        QFETCH(QList<QUrl>, opened);
        QFETCH(QList<QUrl>, revealed);
        QFETCH(QStringList, copied);
        QFETCH(QString, toast);
        QFETCH(bool, undoes);
        Shelfful s;
        PageRig r(s.library, s.table);
        for (QUrl &url : revealed)
            url = r.mediaUrl(url.fileName());
        r.page->handle(intent, r.item(save));
        QCOMPARE(r.opened, opened);
        QCOMPARE(r.revealed, revealed.isEmpty() ? QList<QList<QUrl>>() : QList<QList<QUrl>>{revealed});
        QCOMPARE(r.copied, copied);
        QCOMPARE(r.page->toast().message().value_or(QString()), toast);
        QCOMPARE(r.page->toast().offersUndo(), undoes);
    }

    void intentsOnTheSelection()
    {
        Shelfful s;
        PageRig r(s.library, s.table);
        r.page->selection().setCurrent(saveID(3));
        r.page->handle(SaveIntent::close(), r.item(3));
        QVERIFY(!r.page->selection().current());

        // Trashing the selected save clears the selection, even when nothing was recorded.
        r.page->selection().setCurrent(saveID(5));
        r.page->handle(SaveIntent::trash(), r.item(5));
        QCOMPARE(r.stack.count(), 0);
        QVERIFY(!r.page->selection().current());

        r.page->handle(SaveIntent::note(QStringLiteral("look again")), r.item(4));
        QCOMPARE(r.save(4).note(), QStringLiteral("look again"));
    }

    void preview_data()
    {
        QTest::addColumn<int>("save");
        QTest::addColumn<bool>("plays");
        QTest::newRow("a video here plays") << 1 << true;
        QTest::newRow("a video downloading is selected") << 7 << false;
        QTest::newRow("an image post is selected") << 3 << false;
    }

    void preview()
    {
        QFETCH(int, save);
        QFETCH(bool, plays);
        Shelfful s;
        PageRig r(s.library, s.table);
        r.page->handle(SaveIntent::preview(), r.item(save));
        QCOMPARE(r.page->player().playing() == saveID(save), plays);
        QCOMPARE(r.page->selection().current() == saveID(save), !plays);
    }

    void thePlayer()
    {
        Shelfful s;
        PageRig r(s.library, s.table);
        r.page->handle(SaveIntent::action(Action::play()), r.item(1));
        const std::optional<LibraryPlayer::Content> player = r.page->player().content();
        QVERIFY(player);
        QCOMPARE(player->url, r.mediaUrl(QStringLiteral("someone_1.mp4")));
        QCOMPARE(player->item.save().id(), saveID(1));
        // The video's file gone: the sheet has nothing to show.
        r.curator().removeLocalCopy(saveID(1));
        QVERIFY(!r.page->player().content());
        r.page->player().close();
        QVERIFY(!r.page->player().playing());
    }

    void titles_data()
    {
        QTest::addColumn<Filter>("filter");
        QTest::addColumn<QString>("title");
        QTest::newRow("collection") << Filter::collection(collectionID(1)) << QStringLiteral("Trips");
        QTest::newRow("collection gone") << Filter::collection(collectionID(9)) << S::titleCollection();
        QTest::newRow("videos") << Filter::kind(Kind::video) << S::titleVideos();
        QTest::newRow("images") << Filter::kind(Kind::images) << S::titleImages();
        QTest::newRow("text posts") << Filter::kind(Kind::text) << S::titleTextPosts();
        QTest::newRow("pages") << Filter::kind(Kind::page) << S::titleLinks();
        QTest::newRow("X") << Filter::source(Source::x) << QStringLiteral("X");
        QTest::newRow("web") << Filter::source(Source::web) << S::titleWeb();
        QTest::newRow("author, any case") << Filter::author(Handle{QStringLiteral("WRITER")}) << QStringLiteral("Ann Writer");
        QTest::newRow("author only in the trash")
            << Filter::author(Handle{QStringLiteral("gone")}) << QStringLiteral("gone");
        QTest::newRow("all") << Filter::all() << S::titleAllSaves();
        QTest::newRow("recently added") << Filter::recentlyAdded() << S::titleRecentlyAdded();
        QTest::newRow("favourites") << Filter::favourites() << S::titleFavourites();
        QTest::newRow("trash") << Filter::trash() << S::titleTrash();
        QTest::newRow("on this computer") << Filter::onThisComputer() << S::titleOnThisComputer();
        QTest::newRow("link only") << Filter::linkOnly() << S::titleLinkOnly();
    }

    void titles()
    {
        QFETCH(Filter, filter);
        QFETCH(QString, title);
        const Library library = libraryOf(
            {makeSave(1, postOnX(QStringLiteral("writer"), QStringLiteral("1"), QStringLiteral("a"), QStringLiteral("Ann Writer")), 2),
             makeSave(SaveSpec(2, postOnX(QStringLiteral("gone"), QStringLiteral("2"), QStringLiteral("b"), QStringLiteral("Gone")), 1)
                          .trashed(3))},
            {collection(1, QStringLiteral("Trips"))});
        PageRig r(library);
        r.page->setFilter(filter);
        QCOMPARE(r.page->title(r.page->shelf()), title);
        QCOMPARE(r.page->windowTitle(), title);
    }

    void actedOn_data()
    {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<int>("selection");   // 0: none
        QTest::addColumn<QList<int>>("acted");
        const auto row = [](const char *name, const char *chosen, int selection, const char *acted) {
            QTest::newRow(name) << numbers(chosen) << selection << numbers(acted);
        };
        row("three chosen and another selected", "1 2 3", 4, "1 2 3");
        row("one chosen and a selection", "1", 4, "4");
        row("only a selection", "", 2, "2");
        row("nothing", "", 0, "");
        row("one chosen, no selection", "1", 0, "");
    }

    void actedOn()
    {
        QFETCH(QList<int>, chosen);
        QFETCH(int, selection);
        QFETCH(QList<int>, acted);
        PageRig r(libraryOf({makeSave(1, textPost(QStringLiteral("1")), 4), makeSave(2, textPost(QStringLiteral("2")), 3),
                             makeSave(3, textPost(QStringLiteral("3")), 2), makeSave(4, textPost(QStringLiteral("4")), 1)}));
        QSet<Save::ID> set;
        for (int n : chosen)
            set.insert(saveID(n));
        // The chosen set first: a selection outside it would empty it.
        if (selection)
            r.page->selection().setCurrent(saveID(selection));
        r.page->selection().setChosen(set);
        QList<Save::ID> got = r.page->selection().actedOn();
        std::sort(got.begin(), got.end(), [](const Save::ID &a, const Save::ID &b) { return a.text() < b.text(); });
        QList<Save::ID> want;
        for (int n : acted)
            want.append(saveID(n));
        QCOMPARE(got, want);
    }

    void inspectorShown()
    {
        PageRig r(libraryOf({makeSave(SaveSpec(1, postOnX(QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("kite")), 3).favourite()),
                             makeSave(2, postOnX(QStringLiteral("a"), QStringLiteral("2"), QStringLiteral("fox")), 2)}));
        QVERIFY(!r.page->selection().inspectorShown());
        // Two chosen saves show the bulk panel without any selection.
        r.page->selection().setChosen({saveID(1), saveID(2)});
        QVERIFY(r.page->selection().inspectorShown());
        r.page->selection().setInspectorShown(true);
        QCOMPARE(r.page->selection().chosen().size(), qsizetype(2));
        r.page->selection().setInspectorShown(false);
        QVERIFY(r.page->selection().chosen().isEmpty());
        QVERIFY(!r.page->selection().current());

        r.page->selection().setCurrent(saveID(1));
        QVERIFY(r.page->selection().inspectorShown());
        // Hidden by the search only: the column stays.
        r.page->setQuery(QStringLiteral("fox"));
        QVERIFY(r.page->selection().inspectorShown());
        QCOMPARE(r.page->selection().currentItem()->save().id(), saveID(1));
        // Outside the filter: the column goes, the selection stays.
        r.page->setFilter(Filter::favourites());
        r.page->selection().setCurrent(saveID(2));
        QVERIFY(!r.page->selection().inspectorShown());
        QCOMPARE(r.page->selection().current(), saveID(2));
        // The selected save gone from the library.
        r.page->setFilter(Filter::all());
        QVERIFY(r.page->selection().inspectorShown());
        r.page->trash(saveID(2));
        QVERIFY(!r.page->selection().inspectorShown());
    }

    void folderText_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("text");
        QTest::newRow("inside home") << "/home/al/Videos/Stashwell" << "/home/al" << "~/Videos/Stashwell";
        QTest::newRow("trailing slash") << "/home/al/Videos/Stashwell/" << "/home/al" << "~/Videos/Stashwell";
        QTest::newRow("home itself") << "/home/al" << "/home/al" << "~";
        QTest::newRow("home itself with a slash") << "/home/al/" << "/home/al" << "~";
        QTest::newRow("home given with a slash") << "/home/al/Videos" << "/home/al/" << "~/Videos";
        QTest::newRow("a longer name beside home") << "/home/alice/Videos" << "/home/al" << "/home/alice/Videos";
        QTest::newRow("home further in") << "/mnt/home/al/Videos" << "/home/al" << "/mnt/home/al/Videos";
        QTest::newRow("outside home keeps its slash") << "/mnt/media/Stashwell/" << "/home/al" << "/mnt/media/Stashwell";
        QTest::newRow("home twice") << "/home/al/home/al" << "/home/al" << "~/home/al";
        QTest::newRow("root as home changes nothing") << "/media" << "/" << "/media";
        QTest::newRow("the root") << "/" << "/home/al" << "/";
        QTest::newRow("no home") << "/home/al/x" << "" << "/home/al/x";
    }

    void folderText()
    {
        QFETCH(QString, path);
        QFETCH(QString, home);
        QFETCH(QString, text);
        QCOMPARE(LibraryPage::folderText(path, home), text);
    }

};

QTEST_MAIN(LibraryPageActions)
#include "tst_librarypageactions.moc"
