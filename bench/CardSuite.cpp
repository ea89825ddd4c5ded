// The save card grid's figures. Painting needs a GUI application, which this runner does not make,
// so the grid runs in its own program (card-benchmarks, CardGridBenchmark.cpp) and its lines are
// taken in here. Target: one frame of scrolling the grid of 5,000 cards by one row paints in
// under 8 ms.

#include "Bench.h"

namespace sw::bench {

namespace {

void runCardSuite(Report &report)
{
    static const QHash<QString, Limit> limits{
        {QStringLiteral("card_grid_scroll_frame_5k"), {8, QStringLiteral("ms")}},
    };
    takeInFigures(report, QStringLiteral(STASHWELL_CARD_BENCHMARKS), limits, QStringLiteral("card_grid_scroll_frame_5k"));
}

const Registration registration(50, "cards", &runCardSuite);

}  // namespace

}  // namespace sw::bench
