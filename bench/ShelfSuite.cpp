// The painted shelf's figures, taken in from its own program (shelf-benchmarks,
// ShelfSurfaceBenchmark.cpp), each beside its limit:
//   scrolling 100,000 saves by one viewport, grid and list: median frame under 8 ms, 95th
//   percentile under 16 ms; the grid's columns from 4 to 3 laid out again in under 16 ms; one
//   save's change compared in under 1 ms and repainting no more than its own cell. The resident
//   memory of the surface's state is reported. With the frost in both scroll edges the median
//   frame stays under 10 ms and within 1.5 times the same frames without it.

#include "Bench.h"

namespace sw::bench {

namespace {

void runShelfSuite(Report &report)
{
    static const QHash<QString, Limit> limits{
        {QStringLiteral("shelf_grid_scroll_frame_100k"), {8, QStringLiteral("ms")}},
        {QStringLiteral("shelf_grid_scroll_frame_p95_100k"), {16, QStringLiteral("ms")}},
        {QStringLiteral("shelf_list_scroll_frame_100k"), {8, QStringLiteral("ms")}},
        {QStringLiteral("shelf_list_scroll_frame_p95_100k"), {16, QStringLiteral("ms")}},
        {QStringLiteral("shelf_relayout_columns_100k"), {16, QStringLiteral("ms")}},
        {QStringLiteral("shelf_grid_scroll_frame_frost_100k"), {10, QStringLiteral("ms")}},
        {QStringLiteral("shelf_frost_frame_ratio_100k"), {1.5, QStringLiteral("x")}},
        {QStringLiteral("shelf_item_change_100k"), {1, QStringLiteral("ms")}},
        // The repainted area, in item cells: one cell and its lifted card's extra line.
        {QStringLiteral("shelf_item_change_repaint_100k"), {1.05, QStringLiteral("cells")}},
    };
    takeInFigures(report, QStringLiteral(STASHWELL_SHELF_BENCHMARKS), limits, QStringLiteral("shelf_grid_scroll_frame_100k"));
}

const Registration registration(60, "shelf", &runShelfSuite);

}  // namespace

}  // namespace sw::bench
