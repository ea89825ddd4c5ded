// The whole application's figures, taken in from its own program (app-benchmarks,
// ApplicationBenchmark.cpp) over a library of 100,000 saves, each beside its reference of the same
// run: the start to the first painted window within the core's restore of the same folders (the
// window paints first, its counts and home list follow in the next turns);
// a search keystroke, a filter change and a selection change, each to the repainted shelf, under
// 16 ms; a wheel step of the shelf under 8 ms; the running application's resident memory within
// 4 x the document's size after the first paint, and within 3.5 x once the restored saves' search
// words are prepared.

#include "Bench.h"

namespace sw::bench {

namespace {

void runApplicationSuite(Report &report)
{
    static const QHash<QString, Limit> limits{
        {QStringLiteral("app_start_over_restore_100k"), {1.0, QStringLiteral("x")}},
        {QStringLiteral("app_search_keystroke_100k"), {16, QStringLiteral("ms")}},
        {QStringLiteral("app_filter_change_100k"), {16, QStringLiteral("ms")}},
        {QStringLiteral("app_selection_change_100k"), {16, QStringLiteral("ms")}},
        {QStringLiteral("app_scroll_frame_100k"), {8, QStringLiteral("ms")}},
        {QStringLiteral("app_rss_over_document_100k"), {4, QStringLiteral("x")}},
        {QStringLiteral("app_rss_prepared_over_document_100k"), {3.5, QStringLiteral("x")}},
    };
    takeInFigures(report, QStringLiteral(STASHWELL_APP_BENCHMARKS), limits, QStringLiteral("app_start_over_restore_100k"));
}

const Registration registration(80, "application", &runApplicationSuite);

}  // namespace

}  // namespace sw::bench
