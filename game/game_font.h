#pragma once
// The one font recipe of the game: a Gothic face at a given cell height.

#include <string>

#include "platform/gdi.h"

inline void CreateGameFont(Font& font, int height, const std::string& face) {
    font.CreateFontA(height, 0, 0, 0, 400, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, FF_SWISS,
                     face.c_str());
}
