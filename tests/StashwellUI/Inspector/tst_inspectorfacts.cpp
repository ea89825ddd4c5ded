#include "ControlTesting.h"
#include "InspectorFixtures.h"
#include "StashwellUI/Design/Formatting.h"
#include "StashwellUI/Inspector/InspectorFacts.h"

#include "Capture/StringTable.h"
#include "StashwellUI/StashwellUIStrings.h"

#include <QTest>

#include <limits>

using namespace sw;
using namespace sw::inspectorfixtures;
namespace facts = sw::InspectorFacts;

namespace {

const MediaFolder folder(url(QStringLiteral("file:///home/ann/Videos/Stashwell")));

// A video post whose first attachment is the video (or, with `videoSecond`, a picture before it),
// on this computer under the file name given.
ShelfItem videoHere(const QString &fileName, bool videoSecond = false)
{
    std::vector<Attachment> attachments{video(30)};
    if (videoSecond)
        attachments.insert(attachments.begin(), image());
    const Post p = post(xLink(QStringLiteral("ann"), QStringLiteral("77")), attachments);
    QList<LocalFile> files;
    for (std::size_t i = 0; i < attachments.size(); ++i)
        files.append(LocalFile{i == (videoSecond ? 1 : 0) ? fileName : QStringLiteral("p.jpg"), 10});
    return item(save(1, p), LocalCopy::onThisComputer(files));
}

}  // namespace

class TestInspectorFacts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }

    void linkText_data();
    void linkText();
    void savedText_data();
    void savedText();
    void collectionLabel_data();
    void collectionLabel();
    void dayPattern_data();
    void dayPattern();
    void postedFollowsTheInterfaceLanguage_data();
    void postedFollowsTheInterfaceLanguage();
    void playerOrThumbnail_data();
    void playerOrThumbnail();
    void posterPicture_data();
    void posterPicture();
    void revealSkipsUnsafeNames();
    void mediaStatus_data();
    void mediaStatus();
    void fileRows_data();
    void fileRows();
    void folderPath_data();
    void folderPath();
};

void TestInspectorFacts::linkText_data()
{
    QTest::addColumn<PostLink>("link");
    QTest::addColumn<QString>("text");
    QTest::newRow("x link") << xLink(QStringLiteral("Ann"), QStringLiteral("42")) << "x.com/ann/status/42";
    QTest::newRow("https twice") << webLink(QStringLiteral("https://a.example/r?to=https://b.example/"))
                                 << "a.example/r?to=b.example/";
    QTest::newRow("http stays") << webLink(QStringLiteral("http://old.example/page")) << "http://old.example/page";
}

void TestInspectorFacts::linkText()
{
    QFETCH(PostLink, link);
    QFETCH(QString, text);
    QCOMPARE(facts::linkText(link), text);
}

void TestInspectorFacts::savedText_data()
{
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<bool>("justNow");
    QTest::newRow("59 s") << 59.0 << true;
    QTest::newRow("60 s") << 60.0 << false;
    QTest::newRow("a day") << 86400.0 << false;
    QTest::newRow("saved after now") << -30.0 << true;
    QTest::newRow("unreadable") << std::numeric_limits<double>::quiet_NaN() << true;
}

void TestInspectorFacts::savedText()
{
    QFETCH(double, elapsed);
    QFETCH(bool, justNow);
    const Date savedAt{1000};
    const Date now{1000 + elapsed};
    QCOMPARE(facts::savedText(savedAt, now), justNow ? StashwellUIStrings::inspectorJustNow()
                                                     : StashwellUIStrings::inspectorAgo(Formatting::ago(savedAt, now)));
}

void TestInspectorFacts::collectionLabel_data()
{
    QTest::addColumn<std::optional<Collection::ID>>("filedIn");
    QTest::addColumn<QString>("label");
    QTest::newRow("not filed") << std::optional<Collection::ID>() << StashwellUIStrings::collectionNone();
    QTest::newRow("known") << std::optional<Collection::ID>(Collection::ID(fixtures::fixedUuid(2))) << "Reading";
    QTest::newRow("not in the list") << std::optional<Collection::ID>(Collection::ID(fixtures::fixedUuid(9)))
                                     << StashwellUIStrings::collectionNone();
}

void TestInspectorFacts::collectionLabel()
{
    QFETCH(std::optional<Collection::ID>, filedIn);
    QFETCH(QString, label);
    const QList<Collection> collections{{Collection::ID(fixtures::fixedUuid(1)), QStringLiteral("Cooking"), Swatch::pink},
                                        {Collection::ID(fixtures::fixedUuid(2)), QStringLiteral("Reading"), Swatch::blue}};
    const std::optional<Collection> current = facts::currentCollection(collections, filedIn);
    QCOMPARE(facts::collectionLabel(current), label);
    QCOMPARE(current.has_value(), label == u"Reading");
}

void TestInspectorFacts::dayPattern_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("day");   // 2023-03-05
    QTest::newRow("en_US") << "en_US" << "Mar 5";
    QTest::newRow("de_DE") << "de_DE" << "5. März";
    QTest::newRow("ja_JP") << "ja_JP" << "3月5日";
    QTest::newRow("ko_KR") << "ko_KR" << "3월 5일";
}

void TestInspectorFacts::dayPattern()
{
    QFETCH(QString, locale);
    QFETCH(QString, day);
    const QLocale chosen(locale);
    QCOMPARE(chosen.toString(QDate(2023, 3, 5), facts::dayPattern(chosen)), day);
    const Date posted = Date::fromDateTime(QDateTime(QDate(2023, 3, 5), QTime(12, 0), QTimeZone::utc()));
    QCOMPARE(facts::postedText(posted, chosen, QTimeZone::utc()), StashwellUIStrings::inspectorPosted(day));
}

void TestInspectorFacts::postedFollowsTheInterfaceLanguage_data()
{
    // The language the interface was started in, and the locale whose month names and order the
    // posted day must then follow; the day of 2026-11-14 written out as that locale writes it.
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("follows");
    QTest::addColumn<QString>("day");
    QTest::newRow("ja") << "ja" << "ja" << "11月14日";
    QTest::newRow("ko") << "ko" << "ko" << "11월 14일";
    QTest::newRow("zh-Hans") << "zh-Hans" << "zh_CN" << "11月14日";
    QTest::newRow("en") << "en" << "en" << "Nov 14";
    QTest::newRow("en_GB keeps its day first") << "en_GB" << "en_GB" << "14 Nov";
    QTest::newRow("fr_FR has no tables: English") << "fr_FR" << "en" << "Nov 14";
}

void TestInspectorFacts::postedFollowsTheInterfaceLanguage()
{
    QFETCH(QString, chosen);
    QFETCH(QString, follows);
    QFETCH(QString, day);
    const QDate date(2026, 11, 14);
    const Date posted = Date::fromDateTime(QDateTime(date, QTime(12, 0), QTimeZone::utc()));
    const QLocale expected(follows);
    QCOMPARE(expected.toString(date, facts::dayPattern(expected)), day);

    const QLocale before = StringTable::locale();
    StringTable &table = StashwellUIStrings::table();
    const QString tablesBefore = table.language();
    StringTable::setLocale(QLocale(chosen));
    QVERIFY(table.load(StringTable::locale()));
    const QLocale shown = Formatting::interfaceLocale();
    const QString text = facts::postedText(posted, shown, QTimeZone::utc());
    StringTable::setLocale(before);
    QVERIFY(table.loadLanguage(tablesBefore));

    QCOMPARE(shown.language(), expected.language());
    QCOMPARE(Formatting::dateLocale(QLocale(chosen)).name(), shown.name());
    QVERIFY2(text.contains(day), qPrintable(text));
}

void TestInspectorFacts::playerOrThumbnail_data()
{
    QTest::addColumn<ShelfItem>("item");
    QTest::addColumn<qint64>("page");
    QTest::addColumn<QString>("file");   // empty: the thumbnail
    QTest::newRow("video here, its page") << videoHere("ann_77.mp4") << qint64(0) << "/home/ann/Videos/Stashwell/ann_77.mp4";
    QTest::newRow("video here, another page") << videoHere("ann_77.mp4") << qint64(1) << "";
    QTest::newRow("video second, its page") << videoHere("ann_77_2.mp4", true) << qint64(1)
                                            << "/home/ann/Videos/Stashwell/ann_77_2.mp4";
    QTest::newRow("video second, first page") << videoHere("ann_77_2.mp4", true) << qint64(0) << "";
    QTest::newRow("not here") << itemOf("vL", 1) << qint64(0) << "";
    QTest::newRow("downloading") << itemOf("vD", 1) << qint64(0) << "";
    QTest::newRow("unsafe: parent") << videoHere("..") << qint64(0) << "";
    QTest::newRow("unsafe: here") << videoHere(".") << qint64(0) << "";
    QTest::newRow("unsafe: empty") << videoHere("") << qint64(0) << "";
    QTest::newRow("unsafe: separator") << videoHere("../../.ssh/id.mp4") << qint64(0) << "";
}

void TestInspectorFacts::playerOrThumbnail()
{
    QFETCH(ShelfItem, item);
    QFETCH(qint64, page);
    QFETCH(QString, file);
    const std::optional<QUrl> played = facts::playerFile(item, folder, page);
    QCOMPARE(played.has_value(), !file.isEmpty());
    if (played)
        QCOMPARE(played->toLocalFile(), file);
}

void TestInspectorFacts::posterPicture_data()
{
    QTest::addColumn<ShelfItem>("item");
    QTest::addColumn<qint64>("page");
    QTest::addColumn<QString>("poster");   // empty: none
    const QString cover = QStringLiteral("file:///home/ann/.local/share/Stashwell/Covers/ann_77.jpg");
    const QString frame = QStringLiteral("file:///home/ann/frame.jpg");
    const auto with = [](std::optional<Url> cover, std::optional<Url> page) {
        ShelfItem shown = videoHere("ann_77.mp4");
        shown.setCover(cover);
        shown.setPictures({page});
        return shown;
    };
    QTest::newRow("the page's own picture") << with(url(cover), url(frame)) << qint64(0) << frame;
    QTest::newRow("a page without one: the cover") << with(url(cover), std::nullopt) << qint64(0) << cover;
    QTest::newRow("a page past the end: the cover") << with(url(cover), url(frame)) << qint64(5) << cover;
    QTest::newRow("a negative page: the cover") << with(url(cover), url(frame)) << qint64(-1) << cover;
    QTest::newRow("no picture at all") << with(std::nullopt, std::nullopt) << qint64(0) << "";
    QTest::newRow("empty addresses") << with(Url(), Url()) << qint64(0) << "";
}

void TestInspectorFacts::posterPicture()
{
    QFETCH(ShelfItem, item);
    QFETCH(qint64, page);
    QFETCH(QString, poster);
    const std::optional<Url> found = facts::posterPicture(item, page);
    QCOMPARE(found.has_value(), !poster.isEmpty());
    if (found)
        QCOMPARE(found->text(), poster);
}

void TestInspectorFacts::revealSkipsUnsafeNames()
{
    const LocalCopy copy = LocalCopy::onThisComputer(
        {LocalFile{"a.mp4", 1}, LocalFile{"..", 1}, LocalFile{"x/../../b.jpg", 1}, LocalFile{"", 1}, LocalFile{"c.html", 1}});
    QList<QString> paths;
    for (const Url &file : facts::revealableFiles(copy, folder))
        paths.append(file.toLocalFile());
    QCOMPARE(paths, (QList<QString>{"/home/ann/Videos/Stashwell/a.mp4", "/home/ann/Videos/Stashwell/c.html"}));
    QVERIFY(facts::revealableFiles(LocalCopy::failed(DownloadFailure::couldNotWrite), folder).isEmpty());
}

void TestInspectorFacts::mediaStatus_data()
{
    QTest::addColumn<LocalCopy>("copy");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<int>("tint");
    QTest::addColumn<double>("fraction");   // NaN: no download
    const int accentInk = int(facts::Tint::accentInk);
    const double none = std::numeric_limits<double>::quiet_NaN();
    const std::int64_t max = std::numeric_limits<std::int64_t>::max();
    QTest::newRow("0 %") << LocalCopy::downloading(0, 2048) << "0%" << "arrow.down" << accentInk << 0.0;
    QTest::newRow("25 %") << LocalCopy::downloading(512 * 1024, 2 * 1024 * 1024) << "25%" << "arrow.down" << accentInk << 0.25;
    QTest::newRow("over 100 %") << LocalCopy::downloading(3000, 2000) << "150%" << "arrow.down" << accentInk << 1.5;
    QTest::newRow("of 0") << LocalCopy::downloading(10, 0) << "100%" << "arrow.down" << accentInk << 1.0;
    QTest::newRow("beyond any integer") << LocalCopy::downloading(max, 1) << "2147483647%" << "arrow.down" << accentInk
                                        << double(max);
    QTest::newRow("here") << LocalCopy::onThisComputer({LocalFile{"a.mp4", 1024 * 1024}, LocalFile{"b.jpg", 512 * 1024}})
                          << "1.5 MB" << "checkmark" << int(facts::Tint::ok) << none;
    QTest::newRow("here, sizes saturate") << LocalCopy::onThisComputer({LocalFile{"a.mp4", max}, LocalFile{"b.jpg", max}})
                                          << Formatting::bytes(max) << "checkmark" << int(facts::Tint::ok) << none;
    QTest::newRow("failed") << LocalCopy::failed(DownloadFailure::unreachable) << StashwellUIStrings::mediaFailed()
                            << "exclamationmark.triangle" << int(facts::Tint::danger) << none;
    QTest::newRow("link only") << LocalCopy::linkOnly() << StashwellUIStrings::mediaNotDownloaded() << "icloud"
                               << int(facts::Tint::muted) << none;
}

void TestInspectorFacts::mediaStatus()
{
    QFETCH(LocalCopy, copy);
    QFETCH(QString, text);
    QFETCH(QString, symbol);
    QFETCH(int, tint);
    QFETCH(double, fraction);
    QCOMPARE(facts::mediaStatus(copy), (facts::MediaStatus{text, symbol, facts::Tint(tint)}));
    if (const LocalCopy::Downloading *running = copy.asDownloading()) {
        QCOMPARE(facts::downloadFraction(running->received, running->of), fraction);
        QCOMPARE(facts::downloadingText(running->received, running->of),
                 StashwellUIStrings::inspectorDownloading(Formatting::bytes(running->received), Formatting::bytes(running->of)));
    }
}

void TestInspectorFacts::fileRows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QString>("detail");
    const QString size = Formatting::bytes(2048);
    QTest::newRow("video") << "ann_1.mp4" << 0 << "play.rectangle" << StashwellUIStrings::inspectorFileVideo("1:15", size);
    QTest::newRow("picture") << "ann_1_2.jpg" << 1 << "photo" << StashwellUIStrings::inspectorFileImage(size);
    QTest::newRow("page") << "ann_1_3.html" << 2 << "globe" << StashwellUIStrings::inspectorFilePage(size);
    QTest::newRow("beyond the attachments") << "extra.jpg" << 3 << "photo" << size;
    QTest::newRow("capital extension") << "ann_1.MP4" << 0 << "globe" << StashwellUIStrings::inspectorFileVideo("1:15", size);
    QTest::newRow("no extension") << "mp4" << 3 << "globe" << size;
}

void TestInspectorFacts::fileRows()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    QFETCH(QString, symbol);
    QFETCH(QString, detail);
    const Post p = post(xLink(), {video(75.4), image(), page()});
    QCOMPARE(facts::fileSymbol(name), symbol);
    QCOMPARE(facts::fileDetail(LocalFile{name, 2048}, p, std::size_t(index)), detail);
}

void TestInspectorFacts::folderPath_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("shown");
    QTest::newRow("under home") << "file:///home/ann/Videos/Stashwell" << "/home/ann" << "~/Videos/Stashwell";
    QTest::newRow("home with a trailing slash") << "file:///home/ann/Videos" << "/home/ann/" << "~/Videos";
    QTest::newRow("home itself") << "file:///home/ann" << "/home/ann" << "~";
    QTest::newRow("home only at the start") << "file:///srv/home/ann/media" << "/home/ann" << "/srv/home/ann/media";
    QTest::newRow("home inside again") << "file:///home/ann/x/home/ann" << "/home/ann" << "~/x/home/ann";
    QTest::newRow("a longer name is not home") << "file:///home/ann2/media" << "/home/ann" << "/home/ann2/media";
    QTest::newRow("decoded") << "file:///home/ann/My%20Videos" << "/home/ann" << "~/My Videos";
    QTest::newRow("home is the root") << "file:///media" << "/" << "/media";
}

void TestInspectorFacts::folderPath()
{
    QFETCH(QString, root);
    QFETCH(QString, home);
    QFETCH(QString, shown);
    QCOMPARE(facts::folderPath(url(root), home), shown);
}

QTEST_MAIN(TestInspectorFacts)
#include "tst_inspectorfacts.moc"
