#include "records/page_layout.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace records_page {

QFont Font(double px) {
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(px))));
    // Unhinted, the widths scale with the size and match between screen and PDF.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Plain text only, cut with an ellipsis where it does not fit its place.
void DrawText(QPainter& painter, const QRectF& rect, const QString& text, double px,
              const QColor& colour, Qt::Alignment align) {
    const QFont font = Font(px);
    painter.setFont(font);
    painter.setPen(colour);
    const QString shown =
        QFontMetricsF(font, painter.device()).elidedText(text, Qt::ElideRight, rect.width());
    painter.drawText(rect, align | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

// A caption and lines under it, each line drawn by `line` in its row.
Block Lines(const Measure& measure, double px, const QString& caption, double width, int lines,
            std::function<void(QPainter&, const QRectF&, int)> line) {
    const double height = kLineHeight * px;
    width = std::max(width, measure(caption, kCaptionText * px));
    return {QSizeF(width, height * (1 + lines)), [=](QPainter& painter, const QPointF& at) {
                DrawText(painter, QRectF(at, QSizeF(width, height)), caption, kCaptionText * px);
                for (int i = 0; i < lines; ++i)
                    line(painter, QRectF(at.x(), at.y() + height * (i + 1), width, height), i);
            }};
}

Block Note(const Measure& measure, double px, double room, const QString& text,
           const QColor& colour) {
    const QSizeF size(std::min(measure(text, px), room), kLineHeight * px);
    return {size,
            [=](QPainter& painter, const QPointF& at) {
                DrawText(painter, QRectF(at, size), text, px, colour);
            },
            true};
}

// The largest text that leaves the cells big enough, with the grids side by side or one
// over the other, whichever gives them more room; the blocks flow in rows under them.
Layout Fit(const QRectF& area, int grids, double rowCells,
           const std::function<Blocks(const Measure&, double px, double room)>& blocksAt,
           Blocks* blocks) {
    const Measure measure;
    const double width = area.width(), height = area.height();
    const double blockWidth = kLabelWidth + kOperands + rowCells,
                 blockHeight = kLabelHeight + kOperands;
    Layout layout;
    layout.rowCells = rowCells;
    layout.px = std::max(1.0, std::min(width / 48, height / 28));
    for (int tries = 0;; ++tries) {
        const double px = layout.px, gap = 1.2 * px;
        *blocks = blocksAt(measure, px, width);
        // The blocks in rows: left to right, a new row when one does not fit.
        bool fits = true;
        double x = 0, y = 0, rowHeight = 0, extent = 0;
        layout.blocks.clear();
        for (const Block& block : *blocks) {
            fits = fits && block.size.width() <= width;
            if (x > 0 && (block.ownRow || x + block.size.width() > width)) {
                y += rowHeight + gap;
                x = rowHeight = 0;
            }
            layout.blocks.emplace_back(x, y);
            extent = std::max(extent, x + block.size.width());
            x += block.size.width() + 2 * gap;
            rowHeight = std::max(rowHeight, block.size.height());
        }
        const double below = blocks->empty() ? 0 : y + rowHeight + gap;
        const double titleHeight = kLineHeight * kTitleText * px;
        layout.captionHeight = kLineHeight * kCaptionText * px;
        const double gridsHeight = height - titleHeight - below - gap;
        int columns = 1;
        double cell = 0;
        for (int c = grids; c >= 1; --c) {
            const int rows = (grids + c - 1) / c;
            const double room =
                std::min((width - (c - 1) * gap) / (c * blockWidth),
                         (gridsHeight - rows * layout.captionHeight - (rows - 1) * gap) /
                             (rows * blockHeight));
            if (room > cell) {
                cell = room;
                columns = c;
            }
        }
        if ((fits && cell >= kMinCellPerText * px) || px <= 1 || tries == 40) {
            // The grids as a figure, in the middle; the text reads from the left, from the
            // grids' left edge when it fits under them.
            const double groupWidth = columns * blockWidth * cell + (columns - 1) * gap;
            const double groupLeft = area.left() + (width - groupWidth) / 2;
            const double textLeft = extent <= groupWidth ? groupLeft : area.left();
            layout.title = QRectF(textLeft, area.top(), area.right() - textLeft, titleHeight);
            const double left = groupLeft + kLabelWidth * cell,
                         top =
                             area.top() + titleHeight + layout.captionHeight + kLabelHeight * cell;
            const QSizeF size(kOperands * cell, kOperands * cell);
            layout.cells.clear();
            for (int i = 0; i < grids; ++i)
                layout.cells.emplace_back(
                    QPointF(
                        left + (i % columns) * (blockWidth * cell + gap),
                        top + (i / columns) * (blockHeight * cell + layout.captionHeight + gap)),
                    size);
            const double blocksTop = layout.cells.back().bottom() + gap;
            for (QPointF& at : layout.blocks) at += QPointF(textLeft, blocksTop);
            return layout;
        }
        layout.px = std::max(1.0, px * 0.92);
    }
}

// One grid with its caption, its operands above and left, and a line beside each row.
void PaintGrid(QPainter& painter, const QRectF& cells, const Layout& layout, const GridLook& look) {
    const double cell = cells.width() / kOperands;
    const double labelTop = cells.top() - kLabelHeight * cell;
    const double left = cells.left() - kLabelWidth * cell;
    DrawText(painter,
             QRectF(left, labelTop - layout.captionHeight, (kLabelWidth + kOperands) * cell,
                    layout.captionHeight),
             look.caption, kCaptionText * layout.px);
    const QRectF corner(left, labelTop, kLabelWidth * cell, kLabelHeight * cell);
    DrawText(painter, corner, look.operation, kLabelText * cell, kMuted, Qt::AlignHCenter);
    for (int i = 0; i < kOperands; ++i) {
        DrawText(painter, corner.translated(kLabelWidth * cell + i * cell, 0), QString::number(i),
                 kLabelText * cell, kInk, Qt::AlignHCenter);
        if (i < look.firstRow) continue;
        DrawText(painter, QRectF(left, cells.top() + i * cell, kLabelWidth * cell, cell),
                 QString::number(i), kLabelText * cell, kInk, Qt::AlignHCenter);
    }
    painter.setFont(Font(look.numberSize * cell));
    painter.setPen(kInk);
    for (int a = look.firstRow; a < kOperands; ++a)
        for (int b = 0; b < kOperands; ++b) {
            const QRectF rect(cells.left() + b * cell, cells.top() + a * cell, cell, cell);
            painter.fillRect(rect, look.fill(a, b));
            painter.drawText(rect, Qt::AlignCenter, look.number(a, b));
        }
    // White lines between the cells, so that two of one colour still read as two facts.
    painter.setPen(QPen(Qt::white, std::max(1.0, cell / 16)));
    for (int i = 1; i < kOperands; ++i) {
        painter.drawLine(QPointF(cells.left() + i * cell, cells.top() + look.firstRow * cell),
                         QPointF(cells.left() + i * cell, cells.bottom()));
        painter.drawLine(QPointF(cells.left(), cells.top() + i * cell),
                         QPointF(cells.right(), cells.top() + i * cell));
    }
    if (!look.rowText) return;
    for (int a = look.firstRow; a < kOperands; ++a)
        DrawText(painter,
                 QRectF(cells.right() + kRowGap * cell, cells.top() + a * cell,
                        (layout.rowCells - kRowGap) * cell, cell),
                 look.rowText(a), kRowText * cell);
}

QString GridCaption(const FactKind& kind) {
    return QString("%1　たて: %2　よこ: %3")
        .arg(kind.gridName, kind.rowHeading, kind.columnHeading);
}

double RowTextCells(const QString& widest) {
    return Measure()(widest, kRowText) + kRowGap;
}

void PaintBlocks(QPainter& painter, const Layout& layout, const Blocks& blocks) {
    for (size_t i = 0; i < blocks.size(); ++i) blocks[i].paint(painter, layout.blocks[i]);
}

}  // namespace records_page
