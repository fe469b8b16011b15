#pragma once
// The one painting code for a child's records and the class's: the records window, the
// teacher's PDF and the tests' images all draw through here, on any QPainter.

#include <QColor>
#include <QRectF>
#include <vector>

#include "records/child_summary.h"

class QPainter;

// A child's page in `area`: the 九九 and たしざん grids with their legend, how many facts of
// each 段 and addend are できた, the last sessions, the word problems, and a line naming what
// could not be read. Text from the records is drawn as text only.
void PaintChildPage(QPainter& painter, const QRectF& area, const ChildSummary& child,
                    double fluentSeconds);

// The class's page: for each fact the share of the children for whom it is できた, and the
// ten facts missed most.
void PaintClassPage(QPainter& painter, const QRectF& area,
                    const std::vector<ChildSummary>& children);

// A fact's colour on a child's page, in its cell and in the legend.
QColor FactStateColour(FactState state);

// Where a page's two grids lie: a × b (or a ＋ b) is the cell in row a, column b.
struct FactGridCells {
    QRectF cells;  // all 10 × 10 of them
    QRectF Cell(int a, int b) const;
};
struct PageGrids {
    FactGridCells times, addition;
};

// Where PaintChildPage and PaintClassPage put the grids, for callers that point at a cell.
PageGrids ChildPageGrids(const QRectF& area, const ChildSummary& child, double fluentSeconds);
PageGrids ClassPageGrids(const QRectF& area, const std::vector<ChildSummary>& children);
