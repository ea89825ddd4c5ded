#include "StashwellUI/SaveLink/SaveLinkSheet.h"
#include "StashwellUI/Controls/CheckToggle.h"
#include "StashwellUI/Controls/StyledText.h"
#include "StashwellUI/SaveLink/SaveLinkOptions.h"
#include "ControlTesting.h"
#include "PresentationFixtures.h"

#include <QTest>

#include <limits>

using namespace sw;
using namespace sw::fixtures;

Q_DECLARE_METATYPE(sw::Post)
Q_DECLARE_METATYPE(sw::Quality)

namespace {

constexpr std::int64_t mebibyte = std::int64_t(1) << 20;

// A video of 50 MiB with a 720-line rendition of 20 MiB and a 360-line one of 5 MiB.
Attachment videoWithRenditions()
{
    std::vector<Rendition> renditions{{url(QStringLiteral("https://video.example.com/720.mp4")), 720, 20 * mebibyte},
                                      {url(QStringLiteral("https://video.example.com/360.mp4")), 360, 5 * mebibyte}};
    return Attachment::Video{url(QStringLiteral("https://video.example.com/v.mp4")), Duration::fromSeconds(30), 50 * mebibyte,
                             renditions};
}

Attachment imageOf(std::int64_t bytes)
{
    return Attachment::Image{url(QStringLiteral("https://pbs.example.com/big.jpg")), bytes};
}

}  // namespace

class TestMediaSummary : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::prepareControls(); }
    void summary_data();
    void summary();
    void followsTheSheetsChoices();
};

void TestMediaSummary::summary_data()
{
    QTest::addColumn<Post>("post");
    QTest::addColumn<bool>("downloads");
    QTest::addColumn<Quality>("quality");
    QTest::addColumn<QString>("expected");

    const Quality original = Quality::original;
    QTest::newRow("text only, downloading") << post(xLink()) << true << original << "Text \u00B7 Link";
    QTest::newRow("text only, not downloading") << post(xLink()) << false << original << "Text \u00B7 Link";
    QTest::newRow("one video") << post(xLink(), {video(30, 5 * 1024)}) << true << original
                               << "Text \u00B7 1 video (~5 KB) \u00B7 Link \u00B7 will download";
    QTest::newRow("two videos") << post(xLink(), {video(30, 5 * 1024), video(10, 5 * 1024)}) << true << original
                                << "Text \u00B7 2 videos (~10 KB) \u00B7 Link \u00B7 will download";
    QTest::newRow("one image, link only") << post(xLink(), {image()}) << false << original
                                          << "Text \u00B7 1 picture (~1 KB) \u00B7 Link \u00B7 link only";
    QTest::newRow("a video and three images")
        << post(xLink(), {video(30, 2048), imageOf(2048), imageOf(2048), imageOf(2048)}) << true << original
        << "Text \u00B7 1 video \u00B7 3 pictures (~8 KB) \u00B7 Link \u00B7 will download";
    // Pages count in neither number, but their size does.
    QTest::newRow("a page alone") << post(webLink(), {page()}) << true << original
                                  << "Text (~1 KB) \u00B7 Link \u00B7 will download";
    QTest::newRow("a video and a page") << post(webLink(), {video(30, 1024), Attachment::Page{url(QStringLiteral("https://a.example/p")), 1024}})
                                        << false << original << "Text \u00B7 1 video (~2 KB) \u00B7 Link \u00B7 link only";
    QTest::newRow("original") << post(xLink(), {videoWithRenditions()}) << true << original
                              << "Text \u00B7 1 video (~50.0 MB) \u00B7 Link \u00B7 will download";
    QTest::newRow("hd") << post(xLink(), {videoWithRenditions()}) << true << Quality(Quality::hd)
                        << "Text \u00B7 1 video (~20.0 MB) \u00B7 Link \u00B7 will download";
    // The size follows the quality also while the quality question is hidden.
    QTest::newRow("small, not downloading") << post(xLink(), {videoWithRenditions()}) << false << Quality(Quality::small)
                                            << "Text \u00B7 1 video (~5.0 MB) \u00B7 Link \u00B7 link only";
    // Sizes from the network can be anything: their sum stays at the top of the range instead of
    // wrapping round to a negative size.
    const std::int64_t most = std::numeric_limits<std::int64_t>::max();
    QTest::newRow("sizes that saturate") << post(xLink(), {imageOf(most), imageOf(most), imageOf(1)}) << true << original
                                         << "Text \u00B7 3 pictures (~8589934592.00 GB) \u00B7 Link \u00B7 will download";
    QTest::newRow("a size below zero") << post(xLink(), {imageOf(-5)}) << true << original
                                       << "Text \u00B7 1 picture (~0 KB) \u00B7 Link \u00B7 will download";
}

void TestMediaSummary::summary()
{
    QFETCH(Post, post);
    QFETCH(bool, downloads);
    QFETCH(Quality, quality);
    QFETCH(QString, expected);
    QCOMPARE(SaveLinkSheet::mediaSummary(post, downloads, quality), expected);
}

void TestMediaSummary::followsTheSheetsChoices()
{
    // The preview's line is told anew when a choice changes, by the user or by the page.
    SaveLinkSheet sheet;
    sheet.setPhase(SaveLinkPhase::found(post(xLink(), {videoWithRenditions()})));
    QCOMPARE(sheet.summaryText()->text(), QStringLiteral("Text \u00B7 1 video (~50.0 MB) \u00B7 Link \u00B7 will download"));
    sheet.setQuality(Quality::small);
    QCOMPARE(sheet.summaryText()->text(), QStringLiteral("Text \u00B7 1 video (~5.0 MB) \u00B7 Link \u00B7 will download"));
    sheet.options()->downloadToggle()->click();
    QCOMPARE(sheet.summaryText()->text(), QStringLiteral("Text \u00B7 1 video (~5.0 MB) \u00B7 Link \u00B7 link only"));
    QVERIFY(!sheet.downloadsMedia());
}

QTEST_MAIN(TestMediaSummary)
#include "tst_mediasummary.moc"
