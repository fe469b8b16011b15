// Fonts and text: the Gothic faces mapped onto the IPA fonts, cell heights, and text drawn
// on an opaque box.
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <map>

#include "platform/gdi.h"
#include "platform/sjis.h"

namespace {

// Pixel size whose line height equals the wanted cell height, per face.
int PixelSizeForCell(const QString& family, int cellHeight) {
    static std::map<std::pair<QString, int>, int> cache;
    const auto key = std::make_pair(family, cellHeight);
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    QFont probe(family);
    probe.setPixelSize(std::max(1, cellHeight));
    const int measured = QFontMetrics(probe).height();
    int size = cellHeight;
    if (measured > 0 && measured != cellHeight)
        size = std::max(1, cellHeight * cellHeight / measured);
    cache[key] = size;
    return size;
}

void RegisterFontSubstitutes() {
    static const bool done = [] {
        // fontconfig knows no Windows Gothic faces; the IPA faces have their metrics, the
        // proportional one for the proportional face (the dialogs' text).
        for (const char* face : {"ＭＳ ゴシック", "MS Gothic"})
            QFont::insertSubstitution(QString::fromUtf8(face), QStringLiteral("IPAGothic"));
        for (const char* face : {"ＭＳ Ｐゴシック", "MS PGothic"})
            QFont::insertSubstitution(QString::fromUtf8(face), QStringLiteral("IPAPGothic"));
        return true;
    }();
    (void)done;
}

QString Printable(const char* text, int length, TextEncoding encoding = TextEncoding::ShiftJis) {
    QString s = encoding == TextEncoding::Utf8 ? QString::fromUtf8(text, length)
                                               : DecodeShiftJis(text, length);
    s.removeIf([](QChar c) { return c.unicode() < 0x20; });
    return s;
}

// Text on an opaque box of its character cells, as the default background mode draws it;
// returns the area it may have touched.
QRect DrawOpaqueText(QImage& target, const QRect& clip, const Font* font, int x, int y,
                     const QString& text, COLORREF textColor, COLORREF bkColor) {
    static const QFont fallback = [] {
        QFont f(QStringLiteral("IPAGothic"));
        f.setPixelSize(16);
        return f;
    }();
    const QFont& qfont = font && font->HasFont() ? font->Qt() : fallback;
    const QFontMetrics metrics(qfont);
    const int cell = font && font->HasFont() ? font->CellHeight() : metrics.height();
    const QRect box(x, y, metrics.horizontalAdvance(text), cell);
    const QPoint baseline(x, y + metrics.ascent() + (cell - metrics.height()) / 2);
    QPainter painter(&target);
    painter.setClipRect(clip);
    painter.fillRect(box, ColorOf(bkColor));
    painter.setFont(qfont);
    painter.setPen(ColorOf(textColor));
    painter.drawText(baseline, text);
    // Glyphs may reach a pixel beyond their cells, and antialiasing one more.
    const QRect glyphs = metrics.boundingRect(text).translated(baseline).adjusted(-1, -1, 1, 1);
    return box.united(glyphs).intersected(clip);
}

}  // namespace

void RegisterGothicSubstitutes() {
    RegisterFontSubstitutes();
}

bool Font::CreateFontA(int height, int, int, int, int weight, int italic, int underline,
                       int strikeOut, int, int, int, int, int, const char* faceSjis) {
    RegisterFontSubstitutes();
    const QString family = DecodeShiftJis(faceSjis, faceSjis ? int(std::strlen(faceSjis)) : 0);
    cellHeight_ = height < 0 ? -height : height;
    font_ = QFont(family);
    font_.setPixelSize(PixelSizeForCell(family, cellHeight_));
    font_.setWeight(weight >= 700 ? QFont::Bold : QFont::Normal);
    font_.setItalic(italic != 0);
    font_.setUnderline(underline != 0);
    font_.setStrikeOut(strikeOut != 0);
    created_ = true;
    return true;
}

bool Surface::TextOut(int x, int y, const char* text, int length, TextEncoding encoding) {
    QImage* dst = Target();
    if (!dst || !text || length <= 0) return false;
    const QRect clip = ClipRect();
    if (clip.isEmpty()) return true;
    drawn_ = drawn_.united(DrawOpaqueText(*dst, clip, font_, x, y,
                                          Printable(text, length, encoding), textColor_, bkColor_));
    return true;
}

int Surface::DrawText(const char* textSjis, int length, RECT* rect, unsigned format) {
    QImage* dst = Target();
    if (!dst || !textSjis || !rect) return 0;
    if (length < 0) length = static_cast<int>(std::strlen(textSjis));
    const QString text = Printable(textSjis, length);
    const QFont qfont = font_ && font_->HasFont() ? font_->Qt() : QFont();
    const QFontMetrics metrics(qfont);
    const int cell = font_ && font_->HasFont() ? font_->CellHeight() : metrics.height();
    int x = rect->left;
    int y = rect->top;
    if (format & DT_CENTER) x += (rect->right - rect->left - metrics.horizontalAdvance(text)) / 2;
    if ((format & DT_VCENTER) && (format & DT_SINGLELINE))
        y += (rect->bottom - rect->top - cell) / 2;
    const QRect clip = ClipRect();
    if (!clip.isEmpty())
        drawn_ = drawn_.united(DrawOpaqueText(*dst, clip, font_, x, y, text, textColor_, bkColor_));
    return cell;
}
