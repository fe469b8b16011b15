#pragma once
// The 日時 cell of a row: as the game writes it, or as a spreadsheet saved it again. Plain C++.

#include <optional>
#include <string>
#include <string_view>

// "YYYY-MM-DD HH:MM:SS" for the cell's time, which then sorts as it reads. Besides that form,
// reads what LibreOffice and Excel write back: "2026/12/1 17:00", "12/1/26 5:00 PM",
// "01.12.2026 17:00:00" and the like (year first; a dot for day first; otherwise month first
// unless the first number can only be a day). Nothing for anything else.
std::optional<std::string> ReadSheetTime(std::string_view cell);
