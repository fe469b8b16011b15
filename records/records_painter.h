#pragma once
// The one painting code for a child's records and the class's: the records window, the
// teacher's PDF and the tests' images all draw through here, on any QPainter.

#include <QColor>
#include <QRectF>
#include <vector>

#include "records/child_summary.h"

class QPainter;

// Which kinds' grids a page shows, by their index in KindAt.
using ShownKinds = std::vector<int>;
ShownKinds AllKinds();

// A child's page in `area`: the grids of the `kinds` with their legend, how many facts of
// each row are できた, the last sessions, the word problems, and a line naming what could
// not be read. Text from the records is drawn as text only.
void PaintChildPage(QPainter& painter, const QRectF& area, const ChildSummary& child,
                    double fluentSeconds, const ShownKinds& kinds = AllKinds());

// The class's page: for each fact of every kind the share of the children for whom it is
// できた, and the ten facts missed most.
void PaintClassPage(QPainter& painter, const QRectF& area,
                    const std::vector<ChildSummary>& children);

// A fact's colour on a child's page, in its cell and in the legend.
QColor FactStateColour(FactState state);

// Where a page's grid of one kind lies: the fact in row r, column c of the kind's grid is
// Cell(r, c).
struct FactGridCells {
    int kind = 0;
    QRectF cells;  // all 10 × 10 of them
    QRectF Cell(int row, int column) const;
};
using PageGrids = std::vector<FactGridCells>;

// Where PaintChildPage and PaintClassPage put the grids, for callers that point at a cell.
PageGrids ChildPageGrids(const QRectF& area, const ChildSummary& child, double fluentSeconds,
                         const ShownKinds& kinds = AllKinds());
PageGrids ClassPageGrids(const QRectF& area, const std::vector<ChildSummary>& children);

// The whole fact of a grid's cell, as "13 － 5 = 8"; empty where the grid holds none.
QString FactText(const FactKind& kind, GridCell cell);
