// The library page's figures, taken in from its own program (library-page-benchmarks,
// LibraryPageBenchmark.cpp), each beside its limit: at 100,000 saves a filter change, a search
// keystroke and a selection change each end their refresh (the page, every column and one paint
// of the window) in under 16 ms. The shelf projection of the same run is reported beside them.

#include "Bench.h"

namespace sw::bench {

namespace {

void runLibraryPageSuite(Report &report)
{
    static const QHash<QString, Limit> limits{
        {QStringLiteral("library_filter_change_100k"), {16, QStringLiteral("ms")}},
        {QStringLiteral("library_search_keystroke_100k"), {16, QStringLiteral("ms")}},
        {QStringLiteral("library_selection_change_100k"), {16, QStringLiteral("ms")}},
    };
    takeInFigures(report, QStringLiteral(STASHWELL_LIBRARY_PAGE_BENCHMARKS), limits, QStringLiteral("library_filter_change_100k"));
}

const Registration registration(70, "library page", &runLibraryPageSuite);

}  // namespace

}  // namespace sw::bench
