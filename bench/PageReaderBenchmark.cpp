// The page reader on hostile pages: 1, 8 and 30 MiB of the same unclosed "<meta <title>" head,
// which readers built on patterns go over again and again. The reading runs off the main thread,
// so this is the time a save of such a page waits for its post, not a freeze of the window; it
// should grow in proportion to the page.
//
//   page_hostile_1mib, page_hostile_8mib, page_hostile_30mib   one reading, in ms
//   page_hostile_per_mib_30mib    the 30 MiB reading per MiB; target: under 50 ms a MiB
//   page_plain_30mib              an ordinary 30 MiB page of text, to compare with

#include "Bench.h"
#include "HostilePage.h"

#include "StashKit/PageReader.h"

namespace sw::bench {

namespace {

constexpr qsizetype kMiB = 1 << 20;

double readingMs(const QString &page, const PostLink &link)
{
    return medianMs(3, [&] { keep(PageReader::post(page, link, Date{0}).text); });
}

void runPageReader(Report &report)
{
    const PostLink link = PostLink::web(*Url::parse(QStringLiteral("https://example.com/hostile")));
    double perMiB = 0;
    for (const int mib : {1, 8, 30}) {
        const QString page = QString::fromLatin1(test::hostilePage(mib * kMiB));
        const double ms = readingMs(page, link);
        report.add(QStringLiteral("page_hostile_%1mib").arg(mib), ms, QStringLiteral("ms"));
        perMiB = ms / mib;
    }
    report.target(QStringLiteral("page_hostile_per_mib_30mib"), perMiB, QStringLiteral("ms"), perMiB < 50);

    QByteArray plain = "<html><head><title>Plain</title></head><body>";
    while (plain.size() < 30 * kMiB)
        plain.append("<p>Nothing but words on an ordinary page, paragraph after paragraph.</p>\n");
    report.add(QStringLiteral("page_plain_30mib"), readingMs(QString::fromLatin1(plain), link), QStringLiteral("ms"));
}

const Registration pageReaderSuite(40, "core.pagereader", &runPageReader);

}  // namespace

}  // namespace sw::bench
