// The shelf page's figures, taken in from its own program (shelfpage-benchmarks,
// ShelfPageBenchmark.cpp), each beside its limit: an arrow key at 100,000 saves moves the
// selection and repaints in under 8 ms; Select All of 100,000 saves in under 50 ms.

#include "Bench.h"

namespace sw::bench {

namespace {

void runShelfPageSuite(Report &report)
{
    static const QHash<QString, Limit> limits{
        {QStringLiteral("shelfpage_arrow_100k"), {8, QStringLiteral("ms")}},
        {QStringLiteral("shelfpage_select_all_100k"), {50, QStringLiteral("ms")}},
    };
    takeInFigures(report, QStringLiteral(STASHWELL_SHELFPAGE_BENCHMARKS), limits, QStringLiteral("shelfpage_arrow_100k"));
}

const Registration registration(70, "shelfpage", &runShelfPageSuite);

}  // namespace

}  // namespace sw::bench
