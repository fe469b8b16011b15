#pragma once
// How the records' pages are laid out and their grids drawn, shared by the child's page and
// the class's. Every size is a share of the page's area and fonts go by pixel size, so that a
// window, a test's image and a 300 dpi PDF page come out alike.

#include <QColor>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>
#include <functional>
#include <vector>

#include "game/practice.h"

class QPainter;

namespace records_page {

inline const QColor kInk(0x21, 0x21, 0x21);
inline const QColor kMuted(0x61, 0x61, 0x61);
inline const QColor kWarning(0xB7, 0x1C, 0x1C);

// Sizes in cells around a grid: the operands' column on the left and row above.
inline constexpr double kLabelWidth = 0.9, kLabelHeight = 0.8;
// The text beside each row, and the numbers in the cells, by the cell's size.
inline constexpr double kRowText = 0.4, kRowGap = 0.35, kCellText = 0.36, kLabelText = 0.45;
// Below this the numbers in the cells read smaller than the text under the grids.
inline constexpr double kMinCellPerText = 2.2;
inline constexpr double kLineHeight = 1.45, kTitleText = 1.6, kCaptionText = 1.15;

QFont Font(double px);

// Widths measured at one size and scaled, with a little room for the rounding of small sizes:
// fitting a page tries many sizes.
class Measure {
public:
    double operator()(const QString& text, double px) const {
        return metrics_.horizontalAdvance(text) * px / kReference * 1.03;
    }

private:
    static constexpr double kReference = 200;
    QFontMetricsF metrics_{Font(kReference)};
};

// Plain text only, cut with an ellipsis where it does not fit its place.
void DrawText(QPainter& painter, const QRectF& rect, const QString& text, double px,
              const QColor& colour = kInk, Qt::Alignment align = Qt::AlignLeft);

// A piece of a page below its grids, sized for the page's text and painted at its top left.
struct Block {
    QSizeF size;
    std::function<void(QPainter&, const QPointF&)> paint;
    bool ownRow = false;  // under all the others, alone
};
using Blocks = std::vector<Block>;

// A caption and lines under it, each line drawn by `line` in its row.
Block Lines(const Measure& measure, double px, const QString& caption, double width, int lines,
            std::function<void(QPainter&, const QRectF&, int)> line);
// One line of its own under the others, as wide as `room` at most.
Block Note(const Measure& measure, double px, double room, const QString& text,
           const QColor& colour);

// Where everything on a page goes.
struct Layout {
    double px = 1;  // the text under the grids
    QRectF title;
    std::vector<QRectF> cells;  // each grid's 10 × 10 cells
    std::vector<QPointF> blocks;
    double captionHeight = 0;
    double rowCells = 0;  // beside each row, in cells
};

// The largest text that leaves the cells big enough, with the `grids` in as many columns as
// gives them the most room; the blocks flow in rows under them.
// `rowCells`: the room beside each grid row, in cells.
Layout Fit(const QRectF& area, int grids, double rowCells,
           const std::function<Blocks(const Measure&, double px, double room)>& blocksAt,
           Blocks* blocks);

// What one grid shows.
struct GridLook {
    QString caption, operation;
    int firstRow = 0;  // rows above it hold no fact
    std::function<QColor(int, int)> fill;
    std::function<QString(int, int)> number;
    double numberSize = kCellText;        // in cells
    std::function<QString(int)> rowText;  // none on the class's page
};

// The caption of a kind's grid: its name, and what its rows and columns are.
QString GridCaption(const FactKind& kind);
// One grid with its caption, its operands above and left, and a line beside each row.
void PaintGrid(QPainter& painter, const QRectF& cells, const Layout& layout, const GridLook& look);
// The room beside each row for text as wide as `widest`, in cells.
double RowTextCells(const QString& widest);
void PaintBlocks(QPainter& painter, const Layout& layout, const Blocks& blocks);

}  // namespace records_page
