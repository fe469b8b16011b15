#include "platform/gdi.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>

#include "platform/sjis.h"

namespace {

// A memory surface with a fresh image of its own selected.
struct Canvas {
    Canvas(int w, int h, QRgb fill) {
        bitmap.CreateCompatibleBitmap(w, h);
        bitmap.Image().fill(fill);
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
    }
    QRgb At(int x, int y) const { return bitmap.Image().pixel(x, y); }
    int CountOf(QRgb colour) const {
        int n = 0;
        for (int y = 0; y < bitmap.Image().height(); ++y)
            for (int x = 0; x < bitmap.Image().width(); ++x) n += At(x, y) == colour;
        return n;
    }
    Bitmap bitmap;
    Surface dc;
};

TEST(Blit, AndAndXorWorkBitwiseOnColourBits) {
    Canvas dst(4, 1, qRgb(0xF0, 0x0F, 0xAA));
    Canvas src(4, 1, qRgb(0x3C, 0xFF, 0x0F));
    dst.dc.BitBlt(0, 0, 2, 1, &src.dc, 0, 0, SRCAND);
    EXPECT_EQ(dst.At(0, 0), qRgb(0x30, 0x0F, 0x0A));
    dst.dc.BitBlt(1, 0, 2, 1, &src.dc, 0, 0, SRCINVERT);
    EXPECT_EQ(dst.At(1, 0), qRgb(0x30 ^ 0x3C, 0x0F ^ 0xFF, 0x0A ^ 0x0F));
    EXPECT_EQ(dst.At(2, 0), qRgb(0xF0 ^ 0x3C, 0x0F ^ 0xFF, 0xAA ^ 0x0F));
    EXPECT_EQ(qAlpha(dst.At(2, 0)), 255) << "XOR must keep the pixel opaque";
    EXPECT_EQ(dst.At(3, 0), qRgb(0xF0, 0x0F, 0xAA));
}

TEST(Blit, MaskThenSpriteLeavesBackgroundWhereMaskIsWhite) {
    Canvas frame(3, 1, qRgb(10, 200, 30));
    Canvas mask(3, 1, qRgb(255, 255, 255));
    Canvas sprite(3, 1, qRgb(0, 0, 0));
    mask.bitmap.Image().setPixel(1, 0, qRgb(0, 0, 0));
    sprite.bitmap.Image().setPixel(1, 0, qRgb(250, 40, 5));
    frame.dc.BitBlt(0, 0, 3, 1, &mask.dc, 0, 0, SRCAND);
    frame.dc.BitBlt(0, 0, 3, 1, &sprite.dc, 0, 0, SRCINVERT);
    EXPECT_EQ(frame.At(0, 0), qRgb(10, 200, 30));
    EXPECT_EQ(frame.At(1, 0), qRgb(250, 40, 5));
    EXPECT_EQ(frame.At(2, 0), qRgb(10, 200, 30));
}

TEST(Blit, ClippingAndEdgesConfineEveryOperation) {
    Canvas dst(10, 10, qRgb(0, 0, 0));
    Canvas src(4, 4, qRgb(255, 0, 0));
    dst.dc.IntersectClipRect(2, 2, 5, 5);
    dst.dc.BitBlt(0, 0, 10, 10, &src.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.CountOf(qRgb(255, 0, 0)), 4) << "clip (2..4) meets source (0..3)";
    dst.dc.SelectClipRgn(nullptr);
    const RECT box = dst.dc.GetClipBox();
    EXPECT_EQ(box.right, 10);
    EXPECT_EQ(box.bottom, 10);

    // Off the image, negative and zero sizes: nothing drawn, no crash.
    dst.bitmap.Image().fill(qRgb(0, 0, 0));
    dst.dc.BitBlt(-50, -50, 10, 10, &src.dc, 0, 0, SRCCOPY);
    dst.dc.StretchBlt(8, 8, -5, 20, &src.dc, 0, 0, 4, 4, SRCCOPY);
    dst.dc.StretchBlt(0, 0, 0, 0, &src.dc, 0, 0, 4, 4, SRCCOPY);
    dst.dc.StretchBlt(0, 0, 10, 10, &src.dc, 0, 0, 0, 4, SRCCOPY);
    dst.dc.PatBlt(3, 3, -2, 2, PATCOPY);
    EXPECT_EQ(dst.CountOf(qRgb(0, 0, 0)), 100);

    // A source window reaching past the image (a 48-pixel sprite copied as 50) adds nothing.
    dst.dc.BitBlt(0, 0, 6, 6, &src.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.CountOf(qRgb(255, 0, 0)), 16);
}

TEST(Blit, StretchIsNearestNeighbour) {
    Canvas src(2, 1, qRgb(0, 0, 0));
    src.bitmap.Image().setPixel(1, 0, qRgb(0, 0, 255));
    Canvas dst(6, 3, qRgb(9, 9, 9));
    dst.dc.StretchBlt(0, 0, 6, 3, &src.dc, 0, 0, 2, 1, SRCCOPY);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(dst.At(x, y), x < 3 ? qRgb(0, 0, 0) : qRgb(0, 0, 255)) << x << "," << y;
    }
    // Shrinking a window of a wide image: a 640-wide window from x = 640 of a 1280 image.
    Canvas wide(1280, 2, qRgb(0, 0, 0));
    for (int x = 640; x < 1280; ++x) wide.bitmap.Image().setPixel(x, 0, qRgb(200, 0, 0));
    Canvas small(320, 1, qRgb(9, 9, 9));
    small.dc.StretchBlt(0, 0, 320, 1, &wide.dc, 640, 0, 640, 1, SRCCOPY);
    EXPECT_EQ(small.CountOf(qRgb(200, 0, 0)), 320);
}

TEST(Blit, PatBltFillsWithTheSelectedBrush) {
    Canvas dst(4, 4, qRgb(0, 0, 0));
    Brush brush;
    brush.CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    Brush* old = dst.dc.SelectObject(&brush);
    dst.dc.IntersectClipRect(0, 0, 2, 4);
    dst.dc.PatBlt(0, 0, 4, 4, PATCOPY);
    EXPECT_EQ(dst.CountOf(qRgb(255, 255, 255)), 8);
    EXPECT_NE(old, nullptr);
    EXPECT_EQ(dst.dc.SelectObject(old), &brush);
}

TEST(Surface, SelectingABitmapGivesBackTheOneReplaced) {
    Surface dc;
    EXPECT_FALSE(dc.HasSurface());
    dc.CreateCompatibleDC(nullptr);
    Bitmap a, b;
    a.CreateCompatibleBitmap(2, 2);
    b.CreateCompatibleBitmap(3, 3);
    Bitmap* initial = dc.SelectObject(&a);
    ASSERT_NE(initial, nullptr);
    EXPECT_EQ(dc.SelectObject(&b), &a);
    EXPECT_EQ(dc.SelectObject(initial), &b);
    EXPECT_EQ(dc.Target()->width(), 1);
}

class Text : public ::testing::Test {
protected:
    Text() : canvas(400, 60, qRgb(0, 0, 255)) {
        font.CreateFontA(30, 0, 0, 0, 400, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, FF_SWISS,
                         "\x82l\x82r \x83S\x83V\x83"
                         "b\x83N");
        canvas.dc.SelectObject(&font);
        canvas.dc.SetBkColor(RGB(0, 0, 0));
        canvas.dc.SetTextColor(RGB(255, 0, 0));
    }
    int Draw(const char* bytes) {
        canvas.bitmap.Image().fill(qRgb(0, 0, 255));
        canvas.dc.TextOut(5, 5, bytes, static_cast<int>(strlen(bytes)));
        return canvas.CountOf(qRgb(255, 0, 0));
    }
    Canvas canvas;
    Font font;
};

TEST_F(Text, ShiftJisDrawsGlyphsOnAnOpaqueBox) {
    const int score = Draw("\x93\xBE\x93_-5");  // 得点-5
    EXPECT_GT(score, 50);
    EXPECT_EQ(canvas.At(5, 5), qRgb(0, 0, 0)) << "cell background is opaque";
    EXPECT_EQ(canvas.At(4, 5), qRgb(0, 0, 255)) << "nothing left of the point";
    EXPECT_EQ(canvas.At(5, 36), qRgb(0, 0, 255)) << "box is one cell high";
    EXPECT_GT(Draw("7 \x81~ 8"), 20);         // the times sign
    EXPECT_GT(Draw("\xB6\xDD\xC0\xDD"), 20);  // half-width katakana
    EXPECT_GT(Draw("\x93\xBE\x93"), 10);      // cut inside a double-byte character
    EXPECT_EQ(Draw(""), 0);
}

// The same text drawn again, on any ground and under any clip, is what Qt draws in one go,
// whether its glyphs stay on their box (copied) or slant beyond it (drawn each time).
TEST(TextDrawnAgain, MatchesTheTextQtDrawsInOneGo) {
    for (const int italic : {0, 1}) {
        Font font;
        font.CreateFontA(30, 0, 0, 0, 400, italic, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, FF_SWISS,
                         "IPAGothic");
        for (const char* text : {"7 x 8 = 56", "WfW"}) {
            for (const QRect clip : {QRect(0, 0, 200, 60), QRect(30, 12, 40, 20)}) {
                Canvas canvas(200, 60, 0);
                QImage& image = canvas.bitmap.Image();
                for (int y = 0; y < 60; ++y)
                    for (int x = 0; x < 200; ++x) image.setPixel(x, y, qRgb(x, y * 4, 90));
                const QImage ground = image.copy();
                canvas.dc.SelectObject(&font);
                canvas.dc.SetBkColor(RGB(0, 0, 0));
                canvas.dc.SetTextColor(RGB(255, 255, 0));
                canvas.dc.IntersectClipRect(clip.left(), clip.top(), clip.right() + 1,
                                            clip.bottom() + 1);
                for (int round = 0; round < 2; ++round) {
                    image = ground.copy();
                    canvas.dc.TextOut(20, 10, text, static_cast<int>(strlen(text)));
                }
                QImage expected = ground.copy();
                QPainter painter(&expected);
                painter.setClipRect(clip);
                const QFontMetrics metrics(font.Qt());
                painter.fillRect(20, 10, metrics.horizontalAdvance(text), 30, Qt::black);
                painter.setFont(font.Qt());
                painter.setPen(Qt::yellow);
                painter.drawText(20, 10 + metrics.ascent() + (30 - metrics.height()) / 2, text);
                painter.end();
                EXPECT_EQ(image, expected) << text << (italic ? " italic" : "") << " in "
                                           << clip.width() << "x" << clip.height();
            }
        }
    }
}

TEST(ShiftJis, DecodesCodePage932) {
    EXPECT_EQ(DecodeShiftJis(std::string("\x81~")), QString(QChar(0x00D7)));
    EXPECT_EQ(DecodeShiftJis(std::string("\x81{")), QString(QChar(0xFF0B)));
    EXPECT_EQ(DecodeShiftJis(std::string("\xB6")), QString(QChar(0xFF76)));
    EXPECT_EQ(DecodeShiftJis(std::string("\\")), QStringLiteral("\\"));
    EXPECT_EQ(EncodeShiftJis(QString::fromUtf8("得点")), std::string("\x93\xBE\x93_"));
}

}  // namespace
