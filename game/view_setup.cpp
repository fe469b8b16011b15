// Loading the view's images, surfaces and sounds once, following the window's size, and
// releasing everything again.
#include <algorithm>

#include "game/fizmo_view.h"
#include "game/tile_layout.h"
#include "res/resource_ids.h"
#include "sound/wave_sound.h"

namespace {

struct ImageSlot {
    std::unique_ptr<Bitmap> CFizmoView::*bitmap;
    int id;
};

}  // namespace

void CFizmoView::OnInitialUpdate() {
    if (m_pWnd) m_pWnd->InvalidateRect(m_pWnd->GetClientRect(), true);
    if (m_pSrcDC->HasSurface()) return;  // set up once per view

    Surface* client = m_pWnd ? m_pWnd->GetDC() : nullptr;
    if (client) OnPrepareDC(client);

    static constexpr ImageSlot kImages[] = {
        {&CFizmoView::m_pShipBitmap, IDB_SHIP},
        {&CFizmoView::m_pShipMask, IDB_SHIP_MASK},
        {&CFizmoView::m_pBackground, IDB_STAR_FIELD},
        {&CFizmoView::m_pMissileBitmap, IDB_MISSILE},
        {&CFizmoView::m_pMissileMask, IDB_MISSILE_MASK},
        {&CFizmoView::m_pCorrectMark, IDB_CORRECT_MARK},
        {&CFizmoView::m_pWrongMark, IDB_WRONG_MARK},
        {&CFizmoView::m_pExplosionBitmap, IDB_EXPLOSION},
        {&CFizmoView::m_pExplosionMask, IDB_EXPLOSION_MASK},
    };
    for (const ImageSlot& image : kImages) (this->*image.bitmap)->LoadBitmap(image.id);
    for (int k = 0; k < kTiles; ++k) m_pDigitBitmap[k]->LoadBitmap(IDB_DIGIT[k]);

    m_pSrcDC->CreateCompatibleDC(client);
    m_pSrcDC->SelectObject(m_pBackground.get());
    m_pBackDC->CreateCompatibleDC(client);
    CoverClientArea();
    m_pBackDC->SetMapMode(MM_TEXT);

    OpenSoundDevice(m_pWnd);
    m_pSndCorrect = WaveSoundCreate(g_pDirectSound, WAVE_CORRECT, 1);
    m_pSndBgm = WaveSoundCreate(g_pDirectSound, WAVE_BGM, 1);
    m_pSndBomb = WaveSoundCreate(g_pDirectSound, WAVE_BOMB, 1);
    m_pSndFire = WaveSoundCreate(g_pDirectSound, WAVE_FIRE, 1);
    m_pSndWrong = WaveSoundCreate(g_pDirectSound, WAVE_WRONG, 1);
    m_pSndClear = WaveSoundCreate(g_pDirectSound, WAVE_CLEAR, 1);

    OpenProblemFile();
    if (client) m_pWnd->ReleaseDC(client);
}

void CFizmoView::OnSize(unsigned, int cx, int cy) {
    m_nViewWidth = cx;
    m_nViewHeight = cy;
    CoverClientArea();
    if (m_nStage != 1 && m_nStage != 4) return;  // other stages move tiles vertically
    LayOutRows(*this);
}

void CFizmoView::CoverClientArea() {
    if (!m_pBackDC->HasSurface()) return;  // made at the first showing, at the size then
    const SIZE now = m_pBackBitmap->Size();
    const int width = std::max({kLeastBackBufferWidth, now.cx, m_nViewWidth});
    const int height = std::max({kLeastBackBufferHeight, now.cy, m_nViewHeight});
    // Grown, never shrunk: resizing back and forth allocates nothing more.
    if (width != now.cx || height != now.cy) m_pBackBitmap->CreateCompatibleBitmap(width, height);
}

CFizmoView::~CFizmoView() {
    EndQuestionRecord(QuestionEnd::kStopped);  // the window closed mid-question
    // Surfaces go before the images that may be selected into them.
    m_pSrcDC.reset();
    m_pBackDC.reset();
    for (auto* bitmap :
         {&m_pBackBitmap, &m_pShipBitmap, &m_pShipMask, &m_pBackground, &m_pMissileBitmap,
          &m_pMissileMask, &m_pCorrectMark, &m_pWrongMark, &m_pExplosionBitmap, &m_pExplosionMask})
        bitmap->reset();
    for (auto& digit : m_pDigitBitmap) digit.reset();
    CloseProblemFile();
    for (WaveSound* sound :
         {m_pSndCorrect, m_pSndBgm, m_pSndWrong, m_pSndFire, m_pSndBomb, m_pSndClear})
        WaveSoundDestroy(sound);
}
