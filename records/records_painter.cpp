// Every size on a page is a share of its area and fonts go by pixel size, so that a window,
// a test's image and a 300 dpi PDF page come out alike.
#include "records/records_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>

#include "records/record_files.h"

namespace {

const QColor kInk(0x21, 0x21, 0x21);
const QColor kMuted(0x61, 0x61, 0x61);
const QColor kWarning(0xB7, 0x1C, 0x1C);
const QColor kUnshaded(0xEE, 0xEE, 0xEE);

struct StateLook {
    FactState state;
    QRgb colour;
    const char* meaning;  // as the legend tells a parent
};
// In the order the legend reads: the good news first.
constexpr StateLook kStates[] = {
    {FactState::kKnown, 0x4CAF50,
     "できた: さいごの3回のうち2回、まちがえずに 1けた %1秒・2けた %2秒いないで正解"},
    {FactState::kAlmost, 0xFDD835, "もうすこし: こたえたが、まだ はやくない／ときどき まちがえる"},
    {FactState::kPractice, 0xE53935,
     "れんしゅう中: さいごの3回のうち2回 まちがえた・こたえられなかった"},
    {FactState::kNotYet, 0xD9D9D9, "まだ: まだ でていない"},
};

// Sizes in cells around a grid: the operands' column on the left and row above.
constexpr double kLabelWidth = 0.9, kLabelHeight = 0.8;
// The text beside each row, and the numbers in the cells, by the cell's size.
constexpr double kRowText = 0.4, kRowGap = 0.35, kCellText = 0.36, kLabelText = 0.45;
// Below this the numbers in the cells read smaller than the text under the grids.
constexpr double kMinCellPerText = 2.2;
constexpr double kLineHeight = 1.45, kTitleText = 1.6, kCaptionText = 1.15;
constexpr int kWordFilesShown = 7, kMissedShown = 10, kMissedPerColumn = 5;

QFont Font(double px) {
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(px))));
    // Unhinted, the widths scale with the size and match between screen and PDF.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

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
              const QColor& colour = kInk, Qt::Alignment align = Qt::AlignLeft) {
    const QFont font = Font(px);
    painter.setFont(font);
    painter.setPen(colour);
    const QString shown =
        QFontMetricsF(font, painter.device()).elidedText(text, Qt::ElideRight, rect.width());
    painter.drawText(rect, align | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

// A piece of a page below its grids, sized for the page's text and painted at its top left.
struct Block {
    QSizeF size;
    std::function<void(QPainter&, const QPointF&)> paint;
    bool ownRow = false;  // under all the others, alone
};
using Blocks = std::vector<Block>;

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

QString Seconds(double seconds) {
    return QString::number(std::round(seconds * 10) / 10);
}

Block Legend(const Measure& measure, double px, double fluentSeconds) {
    QStringList lines;
    double width = 0;
    for (const StateLook& look : kStates) {
        lines << QString(look.meaning);
        if (look.state == FactState::kKnown)
            lines.back() = lines.back().arg(Seconds(fluentSeconds), Seconds(2 * fluentSeconds));
        width = std::max(width, measure(lines.back(), px));
    }
    return Lines(measure, px, "いろの みかた", width + 1.6 * px, 4,
                 [=](QPainter& painter, const QRectF& row, int i) {
                     const QRectF swatch(row.left(), row.center().y() - 0.45 * px, 1.1 * px,
                                         0.9 * px);
                     painter.fillRect(swatch, QColor::fromRgb(kStates[i].colour));
                     DrawText(painter, row.adjusted(1.6 * px, 0, 0, 0), lines[i], px);
                 });
}

Block Sessions(const Measure& measure, double px, const std::vector<SessionLine>& sessions) {
    const QStringList heads = {"日付", "もんだい数", "いちどで正解", "まんなかの秒数"};
    std::vector<QStringList> rows;
    for (const SessionLine& s : sessions) {
        if (rows.size() == static_cast<size_t>(kSessionsShown)) break;
        rows.push_back({QString::fromStdString(s.day), QString::number(s.questions),
                        QString::number(s.firstTry), QString::number(s.medianSeconds, 'f', 1)});
    }
    std::vector<double> columns;
    for (const QString& head : heads) columns.push_back(measure(head, px) + px);
    for (const QStringList& row : rows)
        for (int i = 0; i < row.size(); ++i)
            columns[i] = std::max(columns[i], measure(row[i], px) + px);
    double width = 0;
    for (double column : columns) width += column;
    const int lines = rows.empty() ? 1 : 1 + static_cast<int>(rows.size());
    return Lines(measure, px, "さいきんの あそび", width, lines,
                 [=](QPainter& painter, const QRectF& line, int i) {
                     if (rows.empty()) return DrawText(painter, line, "まだ ありません", px);
                     const QStringList& cells = i == 0 ? heads : rows[i - 1];
                     double x = line.left();
                     for (int c = 0; c < cells.size(); ++c) {
                         // Numbers line up on the right, under the end of their heading.
                         const QRectF cell(x, line.top(), columns[c] - px, line.height());
                         DrawText(painter, cell, cells[c], px, i == 0 ? kMuted : kInk,
                                  c == 0 ? Qt::AlignLeft : Qt::AlignRight);
                         x += columns[c];
                     }
                 });
}

Block WordFiles(const Measure& measure, double px, double room,
                const std::vector<WordFileLine>& files) {
    QStringList names, counts;
    for (const WordFileLine& file : files) {
        if (names.size() == kWordFilesShown) break;
        names << QString::fromStdString(file.file);
        counts << QString(": %1もん中 %2もん いちどで正解").arg(file.questions).arg(file.firstTry);
    }
    if (files.size() > static_cast<size_t>(kWordFilesShown)) {
        names << QString("ほか %1ファイル").arg(files.size() - kWordFilesShown);
        counts << QString();
    }
    double width = 0;
    for (int i = 0; i < names.size(); ++i)
        width = std::max(width, measure(names[i] + counts[i], px));
    // A long file name is cut, not the page's other blocks pushed away.
    width = std::min({width, 26 * px, room});
    return Lines(measure, px, "文章題", width, names.size(),
                 [=](QPainter& painter, const QRectF& line, int i) {
                     // The name gives way, not how the child did.
                     const QFontMetricsF metrics(Font(px), painter.device());
                     const double room = line.width() - metrics.horizontalAdvance(counts[i]);
                     const QString name =
                         metrics.elidedText(names[i], Qt::ElideRight, std::max(0.0, room));
                     DrawText(painter, line, name + counts[i], px);
                 });
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

// Where everything on a page goes.
struct Layout {
    double px = 1;  // the text under the grids
    QRectF title;
    QRectF cells[2];
    std::vector<QPointF> blocks;
    double captionHeight = 0;
    double rowCells = 0;  // beside each row, in cells
};

// The largest text that leaves the cells big enough, with the grids side by side or one
// over the other, whichever gives them more room; the blocks flow in rows under them.
Layout Fit(const QRectF& area, double rowCells,
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
        const double side = std::min((width - gap) / (2 * blockWidth),
                                     (gridsHeight - layout.captionHeight) / blockHeight);
        const double stacked = std::min(
            width / blockWidth, (gridsHeight - 2 * layout.captionHeight - gap) / (2 * blockHeight));
        const double cell = std::max({side, stacked, 0.0});
        if ((fits && cell >= kMinCellPerText * px) || px <= 1 || tries == 40) {
            // The grids as a figure, in the middle; the text reads from the left, from the
            // grids' left edge when it fits under them.
            const double groupWidth =
                side >= stacked ? 2 * blockWidth * cell + gap : blockWidth * cell;
            const double groupLeft = area.left() + (width - groupWidth) / 2;
            const double textLeft = extent <= groupWidth ? groupLeft : area.left();
            layout.title = QRectF(textLeft, area.top(), area.right() - textLeft, titleHeight);
            const double left = groupLeft + kLabelWidth * cell,
                         top =
                             area.top() + titleHeight + layout.captionHeight + kLabelHeight * cell;
            const QSizeF size(kOperands * cell, kOperands * cell);
            layout.cells[0] = QRectF(QPointF(left, top), size);
            layout.cells[1] = side >= stacked
                                  ? layout.cells[0].translated(blockWidth * cell + gap, 0)
                                  : layout.cells[0].translated(
                                        0, blockHeight * cell + layout.captionHeight + gap);
            const double blocksTop = layout.cells[1].bottom() + gap;
            for (QPointF& at : layout.blocks) at += QPointF(textLeft, blocksTop);
            return layout;
        }
        layout.px = std::max(1.0, px * 0.92);
    }
}

// What one grid shows.
struct GridLook {
    QString caption, operation;
    std::function<QColor(int, int)> fill;
    std::function<QString(int, int)> number;
    double numberSize = kCellText;        // in cells
    std::function<QString(int)> rowText;  // none on the class's page
};

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
        DrawText(painter, QRectF(left, cells.top() + i * cell, kLabelWidth * cell, cell),
                 QString::number(i), kLabelText * cell, kInk, Qt::AlignHCenter);
    }
    painter.setFont(Font(look.numberSize * cell));
    painter.setPen(kInk);
    for (int a = 0; a < kOperands; ++a)
        for (int b = 0; b < kOperands; ++b) {
            const QRectF rect(cells.left() + b * cell, cells.top() + a * cell, cell, cell);
            painter.fillRect(rect, look.fill(a, b));
            painter.drawText(rect, Qt::AlignCenter, look.number(a, b));
        }
    // White lines between the cells, so that two of one colour still read as two facts.
    painter.setPen(QPen(Qt::white, std::max(1.0, cell / 16)));
    for (int i = 1; i < kOperands; ++i) {
        painter.drawLine(QPointF(cells.left() + i * cell, cells.top()),
                         QPointF(cells.left() + i * cell, cells.bottom()));
        painter.drawLine(QPointF(cells.left(), cells.top() + i * cell),
                         QPointF(cells.right(), cells.top() + i * cell));
    }
    if (!look.rowText) return;
    for (int a = 0; a < kOperands; ++a)
        DrawText(painter,
                 QRectF(cells.right() + kRowGap * cell, cells.top() + a * cell,
                        (layout.rowCells - kRowGap) * cell, cell),
                 look.rowText(a), kRowText * cell);
}

double RowTextCells(const QString& widest) {
    return Measure()(widest, kRowText) + kRowGap;
}

Layout ChildLayout(const QRectF& area, const ChildSummary& child, double fluentSeconds,
                   Blocks* blocks) {
    const QString skipped = QString::fromStdString(SkippedLine(child.skipped));
    return Fit(
        area, RowTextCells("9のだん 10/10"),
        [&](const Measure& measure, double px, double room) {
            Blocks made = {Legend(measure, px, fluentSeconds),
                           Sessions(measure, px, child.sessions)};
            if (!child.wordFiles.empty())
                made.push_back(WordFiles(measure, px, room, child.wordFiles));
            if (!skipped.isEmpty()) made.push_back(Note(measure, px, room, skipped, kWarning));
            return made;
        },
        blocks);
}

using Missed = std::tuple<int, int, int, int>;  // -times missed, kind, a, b: sorts the most first

QColor Shade(double share) {
    const QColor green = FactStateColour(FactState::kKnown);
    return QColor::fromRgbF(kUnshaded.redF() + (green.redF() - kUnshaded.redF()) * share,
                            kUnshaded.greenF() + (green.greenF() - kUnshaded.greenF()) * share,
                            kUnshaded.blueF() + (green.blueF() - kUnshaded.blueF()) * share);
}

Block ClassLegend(const Measure& measure, double px) {
    const QString text = "ますの数字: その計算が できた 子どもの わりあい（%）";
    const double swatch = 2.2 * px;
    return Lines(measure, px, "いろと 数字", std::max(measure(text, px), 5 * swatch), 2,
                 [=](QPainter& painter, const QRectF& line, int i) {
                     if (i == 0) return DrawText(painter, line, text, px);
                     for (int step = 0; step <= 4; ++step) {
                         const QRectF box(line.left() + step * swatch, line.top(), swatch,
                                          line.height());
                         painter.fillRect(box, Shade(step / 4.0));
                         DrawText(painter, box, QString::number(25 * step), 0.8 * px, kInk,
                                  Qt::AlignHCenter);
                     }
                 });
}

Block MissedMost(const Measure& measure, double px, const std::vector<Missed>& missed) {
    QStringList lines;
    for (const auto& [times, kind, a, b] : missed)
        lines << QString("%1 %2 %3  %4回").arg(a).arg(kind == 0 ? "×" : "＋").arg(b).arg(-times);
    double column = 0;
    for (const QString& line : lines) column = std::max(column, measure(line, px) + 2 * px);
    const int rows = std::min<int>(lines.size(), kMissedPerColumn);
    if (lines.isEmpty())
        return Lines(measure, px, "よく まちがえた計算", measure("まだ ありません", px), 1,
                     [=](QPainter& painter, const QRectF& line, int) {
                         DrawText(painter, line, "まだ ありません", px);
                     });
    return Lines(measure, px, "よく まちがえた計算", column * ((lines.size() + rows - 1) / rows),
                 rows, [=](QPainter& painter, const QRectF& line, int i) {
                     for (int at = i; at < lines.size(); at += rows)
                         DrawText(painter,
                                  QRectF(line.left() + column * (at / rows), line.top(),
                                         column - px, line.height()),
                                  lines[at], px);
                 });
}

Layout ClassLayout(const QRectF& area, const std::vector<ChildSummary>& children, Blocks* blocks) {
    std::vector<Missed> missed;
    for (int a = 0; a < kOperands; ++a)
        for (int b = 0; b < kOperands; ++b) {
            int times = 0, addition = 0;
            for (const ChildSummary& child : children) {
                times += child.timesMissed[a][b];
                addition += child.additionMissed[a][b];
            }
            if (times > 0) missed.emplace_back(-times, 0, a, b);
            if (addition > 0) missed.emplace_back(-addition, 1, a, b);
        }
    std::sort(missed.begin(), missed.end());
    if (missed.size() > static_cast<size_t>(kMissedShown)) missed.resize(kMissedShown);
    return Fit(
        area, 0.2,
        [&](const Measure& measure, double px, double room) {
            Blocks made = {ClassLegend(measure, px), MissedMost(measure, px, missed)};
            if (children.empty())
                made.push_back(Note(measure, px, room, "きろくのある 子どもが いません", kWarning));
            return made;
        },
        blocks);
}

void PaintBlocks(QPainter& painter, const Layout& layout, const Blocks& blocks) {
    for (size_t i = 0; i < blocks.size(); ++i) blocks[i].paint(painter, layout.blocks[i]);
}

}  // namespace

QColor FactStateColour(FactState state) {
    for (const StateLook& look : kStates)
        if (look.state == state) return QColor::fromRgb(look.colour);
    return Qt::white;
}

QRectF FactGridCells::Cell(int a, int b) const {
    const double size = cells.width() / kOperands;
    return QRectF(cells.left() + b * size, cells.top() + a * size, size, size);
}

void PaintChildPage(QPainter& painter, const QRectF& area, const ChildSummary& child,
                    double fluentSeconds) {
    Blocks blocks;
    const Layout layout = ChildLayout(area, child, fluentSeconds, &blocks);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QString name = child.name.empty() ? "なまえなし" : QString::fromStdString(child.name);
    DrawText(painter, layout.title, name, kTitleText * layout.px);
    const auto fill = [](const FactGrid<FactState>& grid) {
        return [&grid](int a, int b) { return FactStateColour(grid[a][b]); };
    };
    const auto row = [](const FactGrid<FactState>& grid, const char* format) {
        return [&grid, format](int a) { return QString(format).arg(a).arg(KnownInRow(grid, a)); };
    };
    PaintGrid(painter, layout.cells[0], layout,
              {"九九", "×", fill(child.times), [](int a, int b) { return QString::number(a * b); },
               kCellText, row(child.times, "%1のだん %2/10")});
    PaintGrid(painter, layout.cells[1], layout,
              {"たしざん", "＋", fill(child.addition),
               [](int a, int b) { return QString::number(a + b); }, kCellText,
               row(child.addition, "%1をたす %2/10")});
    PaintBlocks(painter, layout, blocks);
    painter.restore();
}

void PaintClassPage(QPainter& painter, const QRectF& area,
                    const std::vector<ChildSummary>& children) {
    Blocks blocks;
    const Layout layout = ClassLayout(area, children, &blocks);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    DrawText(painter, layout.title, QString("クラスのまとめ（%1人）").arg(children.size()),
             kTitleText * layout.px);
    const auto share = [&children](FactGrid<FactState> ChildSummary::*grid, int a, int b) {
        if (children.empty()) return -1.0;
        int known = 0;
        for (const ChildSummary& child : children)
            known += (child.*grid)[a][b] == FactState::kKnown;
        return static_cast<double>(known) / children.size();
    };
    for (const auto& [index, grid, caption, operation] :
         {std::tuple(0, &ChildSummary::times, "九九", "×"),
          std::tuple(1, &ChildSummary::addition, "たしざん", "＋")}) {
        FactGrid<double> shares;
        for (int a = 0; a < kOperands; ++a)
            for (int b = 0; b < kOperands; ++b) shares[a][b] = share(grid, a, b);
        // The share is all a cell tells here: it reads larger.
        PaintGrid(
            painter, layout.cells[index], layout,
            {caption, operation, [&](int a, int b) { return Shade(std::max(0.0, shares[a][b])); },
             [&](int a, int b) {
                 return shares[a][b] < 0 ? QString()
                                         : QString::number(std::lround(shares[a][b] * 100));
             },
             kLabelText, nullptr});
    }
    PaintBlocks(painter, layout, blocks);
    painter.restore();
}

PageGrids ChildPageGrids(const QRectF& area, const ChildSummary& child, double fluentSeconds) {
    Blocks blocks;
    const Layout layout = ChildLayout(area, child, fluentSeconds, &blocks);
    return {{layout.cells[0]}, {layout.cells[1]}};
}

PageGrids ClassPageGrids(const QRectF& area, const std::vector<ChildSummary>& children) {
    Blocks blocks;
    const Layout layout = ClassLayout(area, children, &blocks);
    return {{layout.cells[0]}, {layout.cells[1]}};
}
