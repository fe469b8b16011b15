// A child's page: the two grids of what the child knows, the legend, the last sessions, the
// word problems and what could not be read.
#include "records/records_painter.h"

#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "records/page_layout.h"

namespace {

using namespace records_page;

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

inline constexpr int kWordFilesShown = 7;

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

Layout ChildLayout(const QRectF& area, const ChildSummary& child, double fluentSeconds, int grids,
                   Blocks* blocks) {
    const QString skipped = QString::fromStdString(SkippedLine(child.skipped));
    return Fit(
        area, grids, RowTextCells("9をひく 10/10"),
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

}  // namespace

QColor FactStateColour(FactState state) {
    for (const StateLook& look : kStates)
        if (look.state == state) return QColor::fromRgb(look.colour);
    return Qt::white;
}

QRectF FactGridCells::Cell(int row, int column) const {
    const double size = cells.width() / kOperands;
    return QRectF(cells.left() + column * size, cells.top() + row * size, size, size);
}

ShownKinds AllKinds() {
    ShownKinds kinds;
    for (int k = 0; k < kFactKinds; ++k) kinds.push_back(k);
    return kinds;
}

QString FactText(const FactKind& kind, GridCell cell) {
    if (!InGrid(kind, cell)) return {};
    const Operands fact = kind.factAt(cell);
    return QString("%1 %2 %3 = %4").arg(fact.a).arg(kind.sign).arg(fact.b).arg(kind.answer(fact));
}

void PaintChildPage(QPainter& painter, const QRectF& area, const ChildSummary& child,
                    double fluentSeconds, const ShownKinds& kinds) {
    Blocks blocks;
    const Layout layout =
        ChildLayout(area, child, fluentSeconds, static_cast<int>(kinds.size()), &blocks);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QString name = child.name.empty() ? "なまえなし" : QString::fromStdString(child.name);
    DrawText(painter, layout.title, name, kTitleText * layout.px);
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const FactKind& kind = KindAt(kinds[i]);
        const FactGrid<FactState>& grid = child.states[kind.index];
        PaintGrid(painter, layout.cells[i], layout,
                  {GridCaption(kind), kind.sign, kind.firstRow,
                   [&](int r, int c) { return FactStateColour(grid[r][c]); },
                   [&](int r, int c) {
                       return QString::number(kind.cellNumber(kind.factAt({r, c})));
                   },
                   kCellText,
                   [&](int r) {
                       const RowCount count = KnownInRow(kind, grid, r);
                       return QString(kind.rowName).arg(r) +
                              QString(" %1/%2").arg(count.known).arg(count.of);
                   }});
    }
    PaintBlocks(painter, layout, blocks);
    painter.restore();
}

PageGrids ChildPageGrids(const QRectF& area, const ChildSummary& child, double fluentSeconds,
                         const ShownKinds& kinds) {
    Blocks blocks;
    const Layout layout =
        ChildLayout(area, child, fluentSeconds, static_cast<int>(kinds.size()), &blocks);
    PageGrids grids;
    for (std::size_t i = 0; i < kinds.size(); ++i) grids.push_back({kinds[i], layout.cells[i]});
    return grids;
}
