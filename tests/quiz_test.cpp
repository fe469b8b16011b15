// Questions and the problem file, seen through the view: real files in a temporary folder.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <random>
#include <string>

#include "fake_window.h"
#include "game/fizmo_view.h"
#include "game/texts.h"

namespace {

class Quiz : public ::testing::Test {
protected:
    Quiz() : view(&window, &random) {
        random.fallback = -1;
        random.calls = 0;
        view.OnSize(0, 640, 480);
    }
    ~Quiz() override { view.CloseProblemFile(); }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // Word-problem play on the given file, opened as the game opens it.
    void PlayWordProblems(const std::string& bytes) {
        view.m_strProblemFile = Write("problems.txt", bytes);
        view.OpenProblemFile();
        ASSERT_NE(view.m_pProblemFile, nullptr);
        view.m_nQuizMode = 3;
    }
    std::string Line(int i) const { return view.m_szProblemLine[i]; }

    QTemporaryDir dir;
    FakeWindow window;
    ScriptedRandom random{1};  // construction draws speeds and operands
    CFizmoView view;
};

// Shift-JIS with half-width katakana: "ﾘﾝｺﾞが3こ", "ﾐｶﾝが4こ", "あわせていくつ？".
const std::string kApples =
    "\xD8\xDD\xBA\xDE\x82\xAA"
    "3\x82\xB1\n";
const std::string kOranges =
    "\xD0\xB6\xDD\x82\xAA"
    "4\x82\xB1\n";
const std::string kHowMany = "\x82\xA0\x82\xED\x82\xB9\x82\xC4\x82\xA2\x82\xAD\x82\xC2\x81H\n";
const std::string kTwoProblems =
    kApples + kOranges + kHowMany + "7\n" + "Line A\nLine B\nLine C\n-12\n";

TEST_F(Quiz, TimesAndAdditionDrawAThenBAndStartAFreshAnswer) {
    for (int mode : {1, 2}) {
        view.m_nQuizMode = mode;
        view.m_nDigitIndex = 1;
        view.m_strEntered = "5";
        random.values = {32767, 12};
        view.NextQuestion();
        EXPECT_EQ(view.m_nOperandA, 7);
        EXPECT_EQ(view.m_nOperandB, 2);
        EXPECT_EQ(view.m_nDigitIndex, 0);
        EXPECT_EQ(view.m_strEntered, "");
    }
    view.m_nQuizMode = 4;
    view.m_nDigitIndex = 1;
    view.NextQuestion();
    EXPECT_EQ(view.m_nDigitIndex, 1) << "an unknown kind does nothing";
    EXPECT_EQ(random.calls, 4);
}

TEST_F(Quiz, EightLinesGiveTwoProblemsThenDoneWithTheLastLinesKept) {
    PlayWordProblems(kTwoProblems);
    view.m_strEntered = "12";
    view.m_nDigitIndex = 2;
    view.NextQuestion();
    EXPECT_EQ(Line(0), kApples);
    EXPECT_EQ(Line(2), kHowMany);
    EXPECT_EQ(view.m_nWordAnswer, 7);
    EXPECT_EQ(view.m_nDigitIndex, 0);
    EXPECT_EQ(view.m_strEntered, "12") << "word problems leave the entered digits alone";
    view.NextQuestion();
    EXPECT_EQ(Line(1), "Line B\n");
    EXPECT_EQ(view.m_nWordAnswer, -12);
    EXPECT_EQ(view.m_bProblemsDone, 0);
    view.NextQuestion();
    EXPECT_EQ(view.m_bProblemsDone, 1);
    EXPECT_EQ(Line(0), "Line A\n");
    EXPECT_EQ(Line(2), "Line C\n");
    EXPECT_NE(view.m_pProblemFile, nullptr) << "the stream stays open at the end";
    EXPECT_EQ(random.calls, 0);
}

TEST_F(Quiz, EmptyFileOrNoStreamEndsAtOnceAndKeepsTheScreen) {
    PlayWordProblems("");
    view.NextQuestion();
    EXPECT_EQ(view.m_bProblemsDone, 1);
    EXPECT_EQ(Line(0), "");

    PlayWordProblems(kTwoProblems);
    view.NextQuestion();
    view.CloseProblemFile();
    view.m_bProblemsDone = 0;
    view.NextQuestion();
    EXPECT_EQ(view.m_bProblemsDone, 1);
    EXPECT_EQ(Line(0), kApples);
    EXPECT_LE(std::to_string(view.m_nWordAnswer).size(), 10u);
}

TEST_F(Quiz, OverlongLinesShiftTheProblemsThatFollow) {
    const std::string text79(79, 'a');
    PlayWordProblems(text79 + "bc\nL2\nL3\n5\nM1\n" + "1234567890\nN2\nN3\n8\n");
    view.NextQuestion();
    EXPECT_EQ(Line(0), text79);
    EXPECT_EQ(Line(1), "bc\n");
    EXPECT_EQ(Line(2), "L2\n");
    EXPECT_EQ(view.m_nWordAnswer, 0) << "\"L3\" is read as the answer";
    view.NextQuestion();
    EXPECT_EQ(Line(0), "5\n");
    EXPECT_EQ(Line(1), "M1\n");
    EXPECT_EQ(Line(2), "1234567890\n");
    EXPECT_EQ(view.m_nWordAnswer, 0) << "\"N2\"";
    view.NextQuestion();
    EXPECT_EQ(Line(0), "N3\n");
    EXPECT_EQ(view.m_nWordAnswer, 0) << "the file ended inside the problem";
    EXPECT_EQ(view.m_bProblemsDone, 0);
}

TEST_F(Quiz, RandomBytesEndInBoundedWorkAndAlwaysDraw) {
    std::mt19937 bytes(20240601);
    Bitmap bitmap;
    bitmap.CreateCompatibleBitmap(640, 480);
    Surface surface;
    surface.CreateCompatibleDC(nullptr);
    surface.SelectObject(&bitmap);
    for (int round = 0; round < 5; ++round) {
        std::string junk(4000, '\0');
        for (char& c : junk) c = static_cast<char>(bytes() % 256);
        if (round == 0) junk[100] = '\x1A';
        PlayWordProblems(junk);
        view.m_bProblemsDone = 0;
        int questions = 0;
        while (!view.m_bProblemsDone && questions < 5000) {
            view.NextQuestion();
            view.DrawHud(&surface);
            ++questions;
            ASSERT_LE(view.m_nDigitCount, 10);
        }
        EXPECT_TRUE(view.m_bProblemsDone);
        EXPECT_LE(questions, 4000 / 4 + 1);
    }
}

TEST_F(Quiz, OpenFailuresShowTheBoxOnceAndLeaveNoStream) {
    const std::string missing = dir.filePath("missing.dat").toStdString();
    for (const std::string& name : {missing, dir.path().toStdString(), std::string()}) {
        window.messages.clear();
        view.m_strProblemFile = Write("good.dat", kTwoProblems);
        view.OpenProblemFile();
        ASSERT_NE(view.m_pProblemFile, nullptr);
        view.m_strProblemFile = name;
        view.OpenProblemFile();
        EXPECT_EQ(view.m_pProblemFile, nullptr) << "'" << name << "'";
        ASSERT_EQ(window.messages.size(), 1u) << "'" << name << "'";
        EXPECT_EQ(window.messages[0].text, texts::kFileOpenFailed);
        EXPECT_EQ(window.messages[0].caption, "Fizmo");
        EXPECT_EQ(window.messages[0].type, MB_OK | MB_ICONEXCLAMATION);
    }
    view.CloseProblemFile();
    view.CloseProblemFile();
    EXPECT_EQ(view.m_pProblemFile, nullptr);
}

TEST_F(Quiz, ChangingTheFileReopensOnOkOnly) {
    PlayWordProblems(kTwoProblems);
    const std::string current = view.m_strProblemFile;
    view.NextQuestion();
    view.NextQuestion();
    view.NextQuestion();
    ASSERT_EQ(view.m_bProblemsDone, 1);

    window.fileNameAnswers = {{true, current}};
    view.OnChangeProblemFile();
    EXPECT_EQ(view.m_bProblemsDone, 1) << "the running game is left alone";
    EXPECT_EQ(view.m_nQuizMode, 3);
    EXPECT_EQ(Line(0), "Line A\n") << "the screen keeps its problem";
    view.NextQuestion();
    EXPECT_EQ(Line(0), kApples) << "reading starts over";

    std::FILE* open = view.m_pProblemFile;
    window.fileNameAnswers = {{false, "ignored"}};
    view.OnChangeProblemFile();
    view.OnChangeProblemFile();  // no answer scripted: cancelled too
    EXPECT_EQ(view.m_pProblemFile, open);
    EXPECT_EQ(view.m_strProblemFile, current);
    EXPECT_TRUE(window.messages.empty());

    window.fileNameAnswers = {{true, ""}};
    view.OnChangeProblemFile();
    EXPECT_EQ(view.m_strProblemFile, "");
    EXPECT_EQ(view.m_pProblemFile, nullptr);
    EXPECT_EQ(window.messages.size(), 1u);
}

TEST_F(Quiz, TheProblemOnScreenKeepsItsEncodingWhenAnotherFileIsChosen) {
    PlayWordProblems("りんご\nみかん\nいくつ？\n5\n");
    view.NextQuestion();
    ASSERT_EQ(view.m_eProblemEncoding, TextEncoding::Utf8);
    const std::string shiftJis = Write("sjis.dat", kTwoProblems);
    window.fileNameAnswers = {{true, "no such file"}, {true, shiftJis}};
    view.OnChangeProblemFile();
    view.OnChangeProblemFile();
    EXPECT_EQ(view.m_eProblemEncoding, TextEncoding::Utf8);
    EXPECT_EQ(Line(0), "りんご\n");
    view.NextQuestion();
    EXPECT_EQ(view.m_eProblemEncoding, TextEncoding::ShiftJis);
    EXPECT_EQ(Line(0), kApples);
}

}  // namespace
