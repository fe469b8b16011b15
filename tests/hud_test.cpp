// The heads-up display: the digit table it rebuilds every frame and the text it draws.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <cstdlib>
#include <string>

#include "fake_window.h"
#include "game/fizmo_view.h"
#include "game/game_font.h"

namespace {

constexpr QRgb kBlue = 0xFF0000FFu;
constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kQuestionYellow = 0xFFFFC800u;
constexpr QRgb kScoreRed = 0xFFFF0000u;

class Hud : public ::testing::Test {
protected:
    Hud() : view(&window, &random) {
        view.OnSize(0, 640, 480);
        bitmap.CreateCompatibleBitmap(640, 480);
        bitmap.Image().fill(kBlue);  // so the black boxes behind the text show
        surface.CreateCompatibleDC(nullptr);
        surface.SelectObject(&bitmap);
    }
    void Show(int mode, int a, int b) {
        view.m_nQuizMode = mode;
        view.m_nOperandA = a;
        view.m_nOperandB = b;
        view.DrawHud(&surface);
    }
    std::vector<std::string> Digits(int n) const {
        return std::vector<std::string>(view.m_strDigit, view.m_strDigit + n);
    }
    bool Ends(const std::string& tail) const {
        const std::string& q = view.m_strQuestion;
        return q.size() >= tail.size() && q.compare(q.size() - tail.size(), tail.size(), tail) == 0;
    }
    QRgb Pixel(int x, int y) { return bitmap.Image().pixel(x, y); }
    // Pixels of exactly `color` inside the rectangle.
    int Count(QRgb color, int left, int top, int right, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += Pixel(x, y) == color;
        return n;
    }
    // Question-coloured pixels, edges blended into the black box included.
    int CountYellowish(int left, int top, int right, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                const QRgb p = Pixel(x, y);
                n += qRed(p) > 100 && qGreen(p) > qRed(p) / 2 && qBlue(p) == 0;
            }
        return n;
    }
    // Where the score's box ends along its top row.
    int ScoreBoxRight() {
        int x = 0;
        while (x < 640 && Pixel(x, 1) != kBlue) ++x;
        return x;
    }

    FakeWindow window;
    ScriptedRandom random{1};  // construction draws speeds and operands
    CFizmoView view;
    Bitmap bitmap;
    Surface surface;
};

TEST_F(Hud, DigitTableFollowsTheAnswerAndKeepsStaleEntries) {
    Show(1, 7, 8);
    EXPECT_EQ(view.m_strAnswer, "56");
    EXPECT_EQ(Digits(2), (std::vector<std::string>{"5", "6"}));
    EXPECT_EQ(view.m_nDigitCount, 2);
    EXPECT_EQ(view.m_strQuestion, "  7 \x81~ 8 =  ");
    view.m_strEntered = "5";
    Show(1, 7, 8);
    EXPECT_TRUE(Ends("= 5 ")) << view.m_strQuestion;

    Show(1, 3, 3);
    EXPECT_EQ(Digits(2), (std::vector<std::string>{"9", "6"}));
    EXPECT_EQ(view.m_nDigitCount, 1);
    Show(1, 0, 9);
    EXPECT_EQ(view.m_nDigitCount, 1);
    EXPECT_EQ(view.m_strDigit[0], "0");

    view.m_strEntered.clear();
    Show(2, 9, 9);
    EXPECT_EQ(Digits(2), (std::vector<std::string>{"1", "8"}));
    EXPECT_EQ(view.m_strQuestion, "  9 \x81{ 9 =  ");
}

TEST_F(Hud, WordProblemAnswerFillsTheTableSignIncluded) {
    view.m_nWordAnswer = -12;
    Show(3, 7, 8);
    EXPECT_EQ(Digits(3), (std::vector<std::string>{"-", "1", "2"}));
    EXPECT_EQ(view.m_nDigitCount, 3);
    EXPECT_EQ(std::atoi(view.m_strDigit[0].c_str()), 0) << "tile 0 answers the minus sign";

    view.m_nWordAnswer = -999999999;
    Show(3, 7, 8);
    EXPECT_EQ(view.m_nDigitCount, 10);

    const QImage before = bitmap.Image().copy();
    view.m_nWordAnswer = 5;
    Show(4, 7, 8);
    EXPECT_EQ(view.m_nDigitCount, 10) << "an unknown kind leaves the table alone";
    EXPECT_EQ(bitmap.Image(), before) << "and draws nothing";
}

TEST_F(Hud, QuestionAndScoreLandAtTheirPointsInTheirColours) {
    Show(1, 7, 8);
    const int third = 640 / 3;
    EXPECT_GT(Count(kQuestionYellow, third, 0, 640, 50), 50);
    EXPECT_EQ(Count(kQuestionYellow, 0, 0, third, 480), 0);
    EXPECT_GT(Count(kScoreRed, 0, 0, third, 50), 50);
    EXPECT_EQ(Pixel(third + 2, 25), kBlack) << "the leading spaces stand on black";
    EXPECT_EQ(Pixel(third + 2, 49), kBlack) << "cell height 50";
    EXPECT_EQ(Pixel(third - 1, 25), kBlue);
    EXPECT_EQ(Pixel(third + 2, 50), kBlue);
    EXPECT_EQ(Count(kBlue, 0, 50, 640, 480), 640 * 430) << "nothing below the text row";
    EXPECT_NE(Pixel(1, 25), kBlue);

    const int positiveScore = ScoreBoxRight();
    view.m_nScore = -5;
    bitmap.Image().fill(kBlue);
    Show(1, 7, 8);
    EXPECT_GT(ScoreBoxRight(), positiveScore) << "a negative score shows its sign";
}

TEST_F(Hud, WordProblemLinesStackInTwentyPixelRows) {
    std::snprintf(view.m_szProblemLine[0], 80, "%s", "first line\n");
    std::snprintf(view.m_szProblemLine[1], 80, "%s", "\x82\xA0\x82\xA2\n");  // "あい"
    std::snprintf(view.m_szProblemLine[2], 80, "%s", "third \x82");          // cut in a character
    Show(3, 7, 8);
    const int fifth = 640 / 5;
    for (int row : {0, 20, 40}) EXPECT_GT(CountYellowish(fifth, row, 640, row + 20), 20);
    EXPECT_EQ(CountYellowish(0, 0, fifth, 480), 0);
    EXPECT_EQ(Pixel(fifth + 1, 59), kBlack);
    EXPECT_EQ(Pixel(fifth + 1, 60), kBlue);
    EXPECT_GT(Count(kScoreRed, 0, 0, fifth, 30), 20);
    EXPECT_EQ(Pixel(1, 30), kBlue) << "the score's cell height is 30";
    EXPECT_NE(Pixel(1, 29), kBlue);
}

TEST_F(Hud, GameFontIsTheGothicFace) {
    Font font;
    CreateGameFont(font, 20, view.m_strFontName);
    EXPECT_EQ(QFontInfo(font.Qt()).family(), "IPAGothic");
    EXPECT_EQ(font.CellHeight(), 20);
    // The dialogs' proportional face stays proportional once the game has drawn.
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("ＭＳ Ｐゴシック"))).family(), "IPAPGothic");
}

// Shift-JIS lines mixing half-width kana, kanji and digits draw as wide as their letters: a
// wrong decoding (Latin-1, or UTF-8 with replacement marks) gives other widths.
// Lines: "ﾘﾝｺﾞが3こ、ﾐｶﾝが4こ" (19 half widths), "ぜんぶで何個ですか？" (20),
// "答えは 0123 です" (16).
TEST_F(Hud, JapaneseLinesDrawAsWideAsTheirLetters) {
    std::snprintf(view.m_szProblemLine[0], 80, "%s",
                  "\xD8\xDD\xBA\xDE\x82\xAA"
                  "3\x82\xB1\x81"
                  "A\xD0\xB6\xDD\x82\xAA"
                  "4\x82\xB1\n");
    std::snprintf(
        view.m_szProblemLine[1], 80, "%s",
        "\x82\xBA\x82\xF1\x82\xD4\x82\xC5\x89\xBD\x8C\xC2\x82\xC5\x82\xB7\x82\xA9\x81H\n");
    std::snprintf(view.m_szProblemLine[2], 80, "%s",
                  "\x93\x9A\x82\xA6\x82\xCD 0123 \x82\xC5\x82\xB7\n");
    Show(3, 7, 8);
    const int fifth = 640 / 5;
    // Each line's black box ends where its last letter does.
    auto boxWidth = [&](int row) {
        int right = fifth;
        while (right < 640 && Pixel(right, row * 20 + 10) != kBlue) ++right;
        return right - fifth;
    };
    const double half = boxWidth(1) / 20.0;
    ASSERT_GT(half, 5.0);
    EXPECT_NEAR(boxWidth(0) / half, 19, 1);
    EXPECT_NEAR(boxWidth(2) / half, 16, 1);
    for (int row : {0, 1, 2}) EXPECT_GT(CountYellowish(fifth, row * 20, 640, row * 20 + 20), 40);
}

}  // namespace
