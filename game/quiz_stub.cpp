// Placeholder until the quiz lands.
#include "game/fizmo_view.h"

void CFizmoView::NextQuestion() {}
void CFizmoView::DrawHud(Surface*) {}
void CFizmoView::OnChangeProblemFile() {}
