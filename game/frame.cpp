// Composing a frame off-screen, judging hits, and copying the frame to the window.
#include "game/fizmo_view.h"
#include "game/judging.h"
#include "sound/wave_sound.h"

namespace {

constexpr int kBackgroundCutWidth = 640;  // the part of the background stretched over the view
constexpr int kBackgroundCutHeight = 400;
constexpr int kShipSize = 177;
constexpr int kImageSize = 48;  // tiles, marks, explosion and missile
constexpr int kMissileCell = 50;
constexpr int kStageClearScore = 100;

// Every image goes through the one source surface, selected just before its blit.
void Stretch(CFizmoView& v, Surface* dc, Bitmap* image, int x, int y, int size, std::uint32_t rop) {
    v.m_pSrcDC->SelectObject(image);
    dc->StretchBlt(x, y, size, size, v.m_pSrcDC.get(), 0, 0, kImageSize, kImageSize, rop);
}

void Copy(CFizmoView& v, Surface* dc, Bitmap* image, int x, int y, int size, std::uint32_t rop) {
    v.m_pSrcDC->SelectObject(image);
    dc->BitBlt(x, y, size, size, v.m_pSrcDC.get(), 0, 0, rop);
}

// Draws the passes' marks and explosions onto the frame and plays their sounds.
class FrameOutput final : public JudgeOutput {
public:
    FrameOutput(CFizmoView& view, Surface* dc) : v_(view), dc_(dc) {}

    void DrawMark(bool right, int x, int y, int size) override {
        Bitmap* mark = right ? v_.m_pCorrectMark.get() : v_.m_pWrongMark.get();
        Stretch(v_, dc_, mark, x, y, size, SRCCOPY);
    }
    void DrawExplosion(int shipX, int shipY) override {
        Stretch(v_, dc_, v_.m_pExplosionMask.get(), shipX, shipY, kShipSize, SRCAND);
        Stretch(v_, dc_, v_.m_pExplosionBitmap.get(), shipX, shipY, kShipSize, SRCINVERT);
    }
    void Play(Cue cue) override {
        WaveSoundPlay(cue == Cue::kChime ? v_.m_pSndCorrect : v_.m_pSndWrong, 0);
    }

private:
    CFizmoView& v_;
    Surface* dc_;
};

// The source surface holds the background already.
void DrawBackground(CFizmoView& v, Surface* dc) {
    v.m_stretchedBackground.Draw(dc, v.m_pSrcDC.get(), v.m_nScrollX, v.m_nViewWidth,
                                 v.m_nViewHeight, kBackgroundCutWidth, kBackgroundCutHeight);
}

void DrawShip(CFizmoView& v, Surface* dc) {
    Copy(v, dc, v.m_pShipMask.get(), v.m_nShipX, v.m_nShipY, kShipSize, SRCAND);
    Copy(v, dc, v.m_pShipBitmap.get(), v.m_nShipX, v.m_nShipY, kShipSize, SRCINVERT);
}

void DrawTiles(CFizmoView& v, Surface* dc, int n) {
    for (int k = 0; k < kTiles; ++k)
        Stretch(v, dc, v.m_pDigitBitmap[k].get(), v.m_nTargetX[k], v.m_nTargetY[k], n, SRCCOPY);
}

// Parked slots are drawn too, wholly left of the view.
void DrawMissiles(CFizmoView& v, Surface* dc) {
    for (int j = 0; j < kShots; ++j) {
        Copy(v, dc, v.m_pMissileMask.get(), v.m_nShotX[j], v.m_nShotY[j], kMissileCell, SRCAND);
        Copy(v, dc, v.m_pMissileBitmap.get(), v.m_nShotX[j], v.m_nShotY[j], kMissileCell,
             SRCINVERT);
    }
}

// Every pixel of the client area gets a sample of the background's cut whenever the cut
// lies inside the picture, so a fill under it would only be overwritten: at 1920 x 1080 that
// is 8 MB written for nothing in every frame.
bool BackgroundCovers(const CFizmoView& v, const RECT& clip) {
    const SIZE picture = v.m_pBackground->Size();
    const bool cutInside = v.m_pBackground->HasImage() && v.m_nScrollX >= 0 &&
                           v.m_nScrollX + kBackgroundCutWidth <= picture.cx &&
                           kBackgroundCutHeight <= picture.cy;
    return cutInside && clip.left >= 0 && clip.top >= 0 && clip.right <= v.m_nViewWidth &&
           clip.bottom <= v.m_nViewHeight;
}

void StopTimer(CFizmoView& v) {
    if (v.Window()) v.Window()->KillTimer(kTimerId);
}

bool ScoreClearsStage(const CFizmoView& v) {
    return v.m_nScore >= kStageClearScore && v.Kind();
}

}  // namespace

void CFizmoView::OnPrepareDC(Surface* dc) {
    dc->SetMapMode(MM_TEXT);
}

// The window's invalid area, composed on the back buffer by `draw` and copied to the window.
static void Compose(CFizmoView& v, void (CFizmoView::*draw)(Surface*)) {
    WindowServices* window = v.Window();
    if (!window) return;
    Surface* paint = window->BeginPaint();
    // Nothing to compose on before the view was first shown.
    if (!paint || !v.m_pBackDC->HasSurface()) {
        window->EndPaint(paint);
        return;
    }
    v.OnPrepareDC(paint);
    const RECT clip = paint->GetClipBox();
    const int width = clip.right - clip.left;
    const int height = clip.bottom - clip.top;

    Bitmap* previousBitmap = v.m_pBackDC->SelectObject(v.m_pBackBitmap.get());
    v.m_pBackDC->SelectClipRgn(nullptr);
    v.m_pBackDC->IntersectClipRect(clip.left, clip.top, clip.right, clip.bottom);
    Brush windowColour;
    windowColour.CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    Brush* previousBrush = v.m_pBackDC->SelectObject(&windowColour);
    if (!BackgroundCovers(v, clip))
        v.m_pBackDC->PatBlt(clip.left, clip.top, width, height, PATCOPY);

    (v.*draw)(v.m_pBackDC.get());

    paint->BitBlt(clip.left, clip.top, width, height, v.m_pBackDC.get(), clip.left, clip.top,
                  SRCCOPY);
    v.m_pBackDC->SelectObject(previousBitmap);
    v.m_pBackDC->SelectObject(previousBrush);
    window->EndPaint(paint);
}

void CFizmoView::OnPaint() {
    Compose(*this, &CFizmoView::OnDraw);
}

void CFizmoView::OnPaintStill() {
    Compose(*this, &CFizmoView::DrawStill);
}

void CFizmoView::DrawStill(Surface* dc) {
    Bitmap* previousSource = m_pSrcDC->SelectObject(m_pBackground.get());
    DrawBackground(*this, dc);
    DrawShip(*this, dc);
    DrawEndOfPlayLine(dc);
    DrawTiles(*this, dc, TileSize(m_nViewHeight));
    DrawMissiles(*this, dc);
    DrawHud(dc);
    m_pSrcDC->SelectObject(previousSource);
}

void CFizmoView::OnDraw(Surface* dc) {
    Bitmap* previousSource = m_pSrcDC->SelectObject(m_pBackground.get());
    DrawBackground(*this, dc);
    DrawShip(*this, dc);
    const int n = TileSize(m_nViewHeight);
    if (m_bGameOver) {
        StopTimer(*this);
        ShowGameOver(dc);
    }
    if (m_bProblemsDone) {
        StopTimer(*this);
        ShowProblemsDone(dc);
    }
    DrawTiles(*this, dc, n);
    FrameOutput output(*this, dc);
    RunHitPass(*this, output);
    RunCollisionPass(*this, output);
    DrawMissiles(*this, dc);
    DrawHud(dc);
    m_pSrcDC->SelectObject(previousSource);
    if (m_bStageClear) ShowStageClear();
    // Raised at the very end, so the sequence runs in the next frame.
    if (ScoreClearsStage(*this)) m_bStageClear = 1;
}
