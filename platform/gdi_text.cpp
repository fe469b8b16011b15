// Fonts and text: the Gothic faces mapped onto the IPA fonts, cell heights, and text drawn
// on an opaque box.
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

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

const QFont& FontOrFallback(const Font* font) {
    static const QFont fallback = [] {
        QFont f(QStringLiteral("IPAGothic"));
        f.setPixelSize(16);
        return f;
    }();
    return font && font->HasFont() ? font->Qt() : fallback;
}

// A run of text laid out from its origin: the opaque box of its character cells, where its
// baseline falls, and what its glyphs may touch.
struct TextLayout {
    QRect box;
    QPoint baseline;
    QRect touched;  // glyphs reach a pixel beyond their cells, and antialiasing one more
};

TextLayout LayOut(const QFont& qfont, int cell, const QString& text) {
    const QFontMetrics metrics(qfont);
    TextLayout layout;
    layout.box = QRect(0, 0, metrics.horizontalAdvance(text), cell);
    layout.baseline = QPoint(0, metrics.ascent() + (cell - metrics.height()) / 2);
    const QRect glyphs = metrics.boundingRect(text).translated(layout.baseline);
    layout.touched = layout.box.united(glyphs.adjusted(-1, -1, 1, 1));
    return layout;
}

void PaintText(QPainter& painter, const QFont& qfont, const TextLayout& layout, const QString& text,
               COLORREF textColor, COLORREF bkColor) {
    painter.fillRect(layout.box, ColorOf(bkColor));
    painter.setFont(qfont);
    painter.setPen(ColorOf(textColor));
    painter.drawText(layout.baseline, text);
}

// The heads-up display draws the same few texts in every frame. A text whose glyphs stay on
// its opaque box looks the same on any ground, so it is drawn once and then copied.
struct TextStamp {
    TextLayout layout;
    QImage box;  // null where glyphs blend with what lies beyond the box
};

// Drawn on a black and on a white ground: any pixel beyond the box that the two agree on
// was touched by a glyph.
QImage StampBox(const QFont& qfont, const TextLayout& layout, const QString& text,
                COLORREF textColor, COLORREF bkColor) {
    const QRect area = layout.touched;
    QImage grounds[2];
    for (int g = 0; g < 2; ++g) {
        grounds[g] = QImage(area.size(), QImage::Format_RGB32);
        grounds[g].fill(g == 0 ? Qt::black : Qt::white);
        QPainter painter(&grounds[g]);
        painter.translate(-area.topLeft());
        PaintText(painter, qfont, layout, text, textColor, bkColor);
    }
    const QRect box = layout.box.translated(-area.topLeft());
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            if (!box.contains(x, y) && grounds[0].pixel(x, y) == grounds[1].pixel(x, y))
                return QImage();
    return grounds[0].copy(box);
}

const TextStamp& StampFor(const QFont& qfont, int cell, const QString& text, COLORREF textColor,
                          COLORREF bkColor) {
    using Key = std::tuple<QString, QString, int, COLORREF, COLORREF>;
    constexpr std::size_t kMostStamps = 256;  // a score or a question each: a handful a stage
    thread_local std::map<Key, TextStamp> stamps;
    Key key{text, qfont.key(), cell, textColor, bkColor};
    if (auto it = stamps.find(key); it != stamps.end()) return it->second;
    if (stamps.size() >= kMostStamps) stamps.clear();
    TextStamp stamp{LayOut(qfont, cell, text), QImage()};
    if (!stamp.layout.box.isEmpty())
        stamp.box = StampBox(qfont, stamp.layout, text, textColor, bkColor);
    return stamps.emplace(std::move(key), std::move(stamp)).first->second;
}

void CopyRows(QImage& target, const QRect& to, const QImage& from, QPoint at) {
    const qsizetype bytes = qsizetype(to.width()) * 4;
    for (int row = 0; row < to.height(); ++row)
        std::memcpy(target.scanLine(to.top() + row) + qsizetype(to.left()) * 4,
                    from.constScanLine(at.y() + row) + qsizetype(at.x()) * 4, bytes);
}

// Text on an opaque box of its character cells, as the default background mode draws it;
// returns the area it may have touched.
QRect DrawOpaqueText(QImage& target, const QRect& clip, const Font* font, int x, int y,
                     const QString& text, COLORREF textColor, COLORREF bkColor) {
    const QFont& qfont = FontOrFallback(font);
    const int cell = font && font->HasFont() ? font->CellHeight() : QFontMetrics(qfont).height();
    const TextStamp& stamp = StampFor(qfont, cell, text, textColor, bkColor);
    const QPoint origin(x, y);
    const QRect touched = stamp.layout.touched.translated(origin).intersected(clip);
    if (!stamp.box.isNull()) {
        const QRect to = stamp.layout.box.translated(origin) & clip & target.rect();
        if (!to.isEmpty()) CopyRows(target, to, stamp.box, to.topLeft() - origin);
        return touched;
    }
    QPainter painter(&target);
    painter.setClipRect(clip);
    painter.translate(origin);
    PaintText(painter, qfont, stamp.layout, text, textColor, bkColor);
    return touched;
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
