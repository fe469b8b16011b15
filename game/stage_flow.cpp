// Stage clear, game over and the end of the word problems, with their pauses.
#include "game/fizmo_view.h"

void CFizmoView::ShowGameOver(Surface*) {}
void CFizmoView::ShowProblemsDone(Surface*) {}
void CFizmoView::ShowStageClear() {}
void CFizmoView::SetUpStage() {}
void CFizmoView::WaitSeconds(int) {}
