#pragma once
// The texts the game itself shows, as Shift-JIS bytes (code page 932).
// Written as escapes so the bytes do not depend on the source encoding.

namespace texts {

// Face of every font the game makes: "ＭＳ ゴシック"
inline constexpr char kFontName[] =
    "\x82l\x82r \x83S\x83V\x83"
    "b\x83N";
// Question line of the times tables: "  %d × %d = %s "
inline constexpr char kTimesFormat[] = "  %d \x81~ %d = %s ";
// Question line of the additions: "  %d ＋ %d = %s "
inline constexpr char kAdditionFormat[] = "  %d \x81{ %d = %s ";
// Question line of the subtractions: "  %d － %d = %s "
inline constexpr char kSubtractionFormat[] = "  %d \x81\x7C %d = %s ";
// Question line of the divisions: "  %d ÷ %d = %s "
inline constexpr char kDivisionFormat[] = "  %d \x81\x80 %d = %s ";
// Score: "得点%d"
inline constexpr char kScoreFormat[] = "\x93\xBE\x93_%d";
// A problem file that cannot be opened: "ファイルはひらけませんでした。"
inline constexpr char kFileOpenFailed[] =
    "\x83t\x83@\x83"
    "C\x83\x8B\x82\xCD\x82\xD0\x82\xE7\x82\xAF\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81"
    "B";
// Caption of the program's message boxes: "Fizmo"
inline constexpr char kAppTitle[] = "Fizmo";
// Game over: "ゲームオーバー"
inline constexpr char kGameOver[] = "\x83Q\x81[\x83\x80\x83I\x81[\x83o\x81[";
// The word problems have run out: "CLEAR"
inline constexpr char kProblemsDone[] = "CLEAR";
// A stage from 1 to 5 cleared: "Clear Stage %d"
inline constexpr char kStageClearFormat[] = "Clear Stage %d";
// The sixth stage cleared: "クリア！ よくできました！"
inline constexpr char kAllStagesClear[] =
    "\x83N\x83\x8A\x83"
    "A\x81I \x82\xE6\x82\xAD\x82\xC5\x82\xAB\x82\xDC\x82\xB5\x82\xBD\x81I";

}  // namespace texts
