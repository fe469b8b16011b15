#pragma once
// The one recipe behind every font the game draws with: only the cell height changes.

#include <string>

#include "platform/gdi.h"

inline void CreateGameFont(Font& font, int height, const std::string& face) {
    font.CreateFontA(height, 0, 0, 0, 400, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, FF_SWISS,
                     face.c_str());
}
