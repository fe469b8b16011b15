// The player's mouse and keys. Handlers only change fields; the next frame shows it.
#include "game/fizmo_view.h"
#include "game/geometry.h"
#include "sound/wave_sound.h"

namespace {

constexpr int kShipStep = 30;
constexpr unsigned VK_NUMPAD2 = 0x62;
constexpr unsigned VK_NUMPAD4 = 0x64;
constexpr unsigned VK_NUMPAD6 = 0x66;
constexpr unsigned VK_NUMPAD8 = 0x68;

}  // namespace

void CFizmoView::OnMouseMove(unsigned, int x, int y) {
    m_nShipX = x - kPointerToShip;
    m_nShipY = y - kPointerToShip;
}

void CFizmoView::OnLButtonDown(unsigned, int, int) {
    g_nNextShot += 1;
    if (g_nNextShot == kShots) g_nNextShot = 0;
    // A slot still in flight is simply taken back to the ship.
    const int s = g_nNextShot;
    m_bShotActive[s] = 1;
    m_nShotX[s] = m_nShipX + kMuzzleX;
    m_nShotY[s] = m_nShipY + kMuzzleY;
    WaveSoundPlay(m_pSndFire, 0);
}

void CFizmoView::OnLButtonDblClk(unsigned, int, int) {}

void CFizmoView::OnRButtonDown(unsigned, int, int) {}

void CFizmoView::OnChar(unsigned ch, unsigned, unsigned) {
    switch (ch) {
        case 'z':
        case 'Z':
            m_nScrollSpeed += 10;
            if (m_nScrollSpeed > 50) m_nScrollSpeed = 50;
            break;
        case 'x':
        case 'X':
            m_nScrollSpeed -= 10;
            if (m_nScrollSpeed < 0) m_nScrollSpeed = 0;
            break;
        case ' ':
            ChangeQuestion();
            break;
        case 'r':
        case 'R':
            if (m_question.open) SayQuestion();
            break;
        default:
            break;
    }
}

// The space bar's new operands. In play a changed question ends its own row, and the new one
// is timed from now; a word problem stays on the screen, so its row goes on.
void CFizmoView::ChangeQuestion() {
    const bool recorded = m_question.open && Kind();
    if (recorded) EndQuestionRecord(QuestionEnd::kSkipped);
    ChooseOperands();
    m_nDigitIndex = 0;
    m_strEntered.clear();
    if (!recorded) return;
    BeginQuestionRecord();
    SayQuestion();
}

void CFizmoView::OnKeyDown(unsigned key, unsigned, unsigned) {
    switch (key) {
        case VK_NUMPAD2:
            m_nShipY += kShipStep;
            break;
        case VK_NUMPAD8:
            m_nShipY -= kShipStep;
            break;
        case VK_NUMPAD4:
            m_nShipX -= kShipStep;
            break;
        case VK_NUMPAD6:
            m_nShipX += kShipStep;
            break;
        default:
            break;  // arrows included
    }
}
