// The class's page: for each fact the share of the children for whom it is できた, and the
// facts missed most.
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "records/page_layout.h"
#include "records/records_painter.h"

namespace {

using namespace records_page;

const QColor kUnshaded(0xEE, 0xEE, 0xEE);
constexpr int kMissedShown = 10, kMissedPerColumn = 5;

// -times missed, kind, row, column: sorts the most first
using Missed = std::tuple<int, int, int, int>;

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
        lines << FactText(KindAt(kind), {a, b}) + QString("  %1回").arg(-times);
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
    for (int k = 0; k < kFactKinds; ++k)
        for (int r = 0; r < kOperands; ++r)
            for (int c = 0; c < kOperands; ++c) {
                int times = 0;
                for (const ChildSummary& child : children) times += child.missed[k][r][c];
                if (times > 0) missed.emplace_back(-times, k, r, c);
            }
    std::sort(missed.begin(), missed.end());
    if (missed.size() > static_cast<size_t>(kMissedShown)) missed.resize(kMissedShown);
    return Fit(
        area, kFactKinds, 0.2,
        [&](const Measure& measure, double px, double room) {
            Blocks made = {ClassLegend(measure, px), MissedMost(measure, px, missed)};
            if (children.empty())
                made.push_back(Note(measure, px, room, "きろくのある 子どもが いません", kWarning));
            return made;
        },
        blocks);
}

}  // namespace

void PaintClassPage(QPainter& painter, const QRectF& area,
                    const std::vector<ChildSummary>& children) {
    Blocks blocks;
    const Layout layout = ClassLayout(area, children, &blocks);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    DrawText(painter, layout.title, QString("クラスのまとめ（%1人）").arg(children.size()),
             kTitleText * layout.px);
    const auto share = [&children](int kind, int r, int c) {
        if (children.empty()) return -1.0;
        int known = 0;
        for (const ChildSummary& child : children)
            known += child.states[kind][r][c] == FactState::kKnown;
        return static_cast<double>(known) / children.size();
    };
    for (int k = 0; k < kFactKinds; ++k) {
        const FactKind& kind = KindAt(k);
        FactGrid<double> shares;
        for (int r = 0; r < kOperands; ++r)
            for (int c = 0; c < kOperands; ++c) shares[r][c] = share(k, r, c);
        // The share is all a cell tells here: it reads larger.
        PaintGrid(painter, layout.cells[k], layout,
                  {GridCaption(kind), kind.sign, kind.firstRow,
                   [&](int r, int c) { return Shade(std::max(0.0, shares[r][c])); },
                   [&](int r, int c) {
                       return shares[r][c] < 0 ? QString()
                                               : QString::number(std::lround(shares[r][c] * 100));
                   },
                   kLabelText, nullptr});
    }
    PaintBlocks(painter, layout, blocks);
    painter.restore();
}

PageGrids ClassPageGrids(const QRectF& area, const std::vector<ChildSummary>& children) {
    Blocks blocks;
    const Layout layout = ClassLayout(area, children, &blocks);
    PageGrids grids;
    for (int k = 0; k < kFactKinds; ++k) grids.push_back({k, layout.cells[k]});
    return grids;
}
