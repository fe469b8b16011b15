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

}  // namespace

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

PageGrids ClassPageGrids(const QRectF& area, const std::vector<ChildSummary>& children) {
    Blocks blocks;
    const Layout layout = ClassLayout(area, children, &blocks);
    return {{layout.cells[0]}, {layout.cells[1]}};
}
