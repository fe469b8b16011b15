// Digit tiles: a thick blue digit on white in a red frame, drawn from strokes rather than a
// font so that the picture does not depend on what is installed.

#include <QPainterPathStroker>

#include "tools/resgen/draw.h"
#include "tools/resgen/pictures.h"

namespace resgen {
namespace {

// Centre lines of the digits in a 24 x 36 box, y downwards.
QPainterPath DigitSkeleton(int digit) {
    QPainterPath p;
    switch (digit) {
        case 0:
            p.addEllipse(QPointF(12, 18), 9, 15);
            break;
        case 1:
            p.moveTo(5.5, 8.5);
            p.lineTo(12.5, 3);
            p.lineTo(12.5, 33);
            p.moveTo(6, 33);
            p.lineTo(19, 33);
            break;
        case 2:
            p.arcMoveTo(3.5, 2.5, 17, 17, 160);
            p.arcTo(3.5, 2.5, 17, 17, 160, -195);
            p.lineTo(3.5, 33);
            p.lineTo(21, 33);
            break;
        case 3:
            p.arcMoveTo(4.5, 3, 15, 14.5, 150);
            p.arcTo(4.5, 3, 15, 14.5, 150, -240);
            p.arcTo(3, 17.5, 17.5, 16, 90, -240);
            break;
        case 4:
            p.moveTo(16, 33);
            p.lineTo(16, 3);
            p.lineTo(3, 24);
            p.lineTo(22, 24);
            break;
        case 5:
            p.moveTo(19.5, 3);
            p.lineTo(6.5, 3);
            p.lineTo(5, 16.5);
            p.arcTo(3, 14, 18, 19, 135, -265);
            break;
        case 6:
            p.moveTo(18.5, 3.5);
            p.cubicTo(9, 4, 3.5, 12, 3.5, 24.5);
            p.addEllipse(QPointF(12, 24.5), 8.5, 8.5);
            break;
        case 7:
            p.moveTo(3, 3);
            p.lineTo(21, 3);
            p.lineTo(10, 33);
            break;
        case 8:
            p.addEllipse(QPointF(12, 10), 7, 7);
            p.addEllipse(QPointF(12, 25), 8.5, 8);
            break;
        default:
            p.addEllipse(QPointF(12, 11.5), 8.5, 8.5);
            p.moveTo(20.5, 11.5);
            p.cubicTo(20.5, 24, 15, 32.5, 5.5, 32.5);
            break;
    }
    return p;
}

}  // namespace

IndexedImage DigitTile(int digit) {
    return Render16(48, 48, kWhite, false, {kWhite, kRed, kDarkRed, kBlue, kNavy},
                    [digit](QPainter& p) {
                        p.setPen(Qt::NoPen);
                        p.setBrush(Colour(kRed));
                        p.drawRect(0, 0, 48, 48);
                        p.setBrush(Colour(kWhite));
                        p.drawRect(4, 4, 40, 40);
                        QPainterPathStroker stroker;
                        stroker.setWidth(6.2);
                        stroker.setCapStyle(Qt::RoundCap);
                        stroker.setJoinStyle(Qt::RoundJoin);
                        // The 24 x 36 box plus the stroke fills the white square.
                        p.translate(24 - 12 * 0.95, 24 - 18 * 0.95);
                        p.scale(0.95, 0.95);
                        p.setBrush(Colour(kBlue));
                        p.drawPath(stroker.createStroke(DigitSkeleton(digit)).simplified());
                    });
}

}  // namespace resgen
