#include "app/problem_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "fake_window.h"
#include "game/fizmo_view.h"
#include "game/problem_encoding.h"
#include "platform/sjis.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

// Pixels of the word-problem text colour in a drawn heads-up display.
int HudPixels(CFizmoView& view) {
    Bitmap frame;
    frame.CreateCompatibleBitmap(640, 100);
    frame.Image().fill(Qt::black);
    Surface dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&frame);
    view.OnSize(0, 640, 480);
    view.DrawHud(&dc);
    int n = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 128; x < 640; ++x) n += frame.Image().pixel(x, y) == qRgb(255, 200, 0);
    return n;
}

class ProblemFiles : public ::testing::Test {
protected:
    // A view showing the same problem read from a Shift-JIS file.
    CFizmoView& ShiftJisTwin(const std::string& utf8) {
        twin.m_strProblemFile = Write("sjis.dat", EncodeShiftJis(QString::fromStdString(utf8)));
        twin.m_nQuizMode = 3;
        twin.OpenProblemFile();
        twin.NextQuestion();
        return twin;
    }
    FakeWindow twinWindow;
    CFizmoView twin{&twinWindow};

    std::string Write(const std::string& name, const std::string& bytes) {
        const fs::path path = dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    int Check(const std::string& path) {
        report.str("");
        return CheckProblemFile(path, report);
    }
    bool Says(const std::string& words) const {
        return report.str().find(words) != std::string::npos;
    }

    TempFolder dir;
    std::ostringstream report;
};

TEST_F(ProblemFiles, SampleFileIsCleanAndShiftJis) {
    EXPECT_EQ(Check(FIZMO_SOURCE_DIR "/res/Mondai.dat"), 0) << report.str();
    EXPECT_TRUE(Says("encoding: Shift-JIS"));
    EXPECT_TRUE(Says("Problem 20"));

    std::FILE* file = std::fopen(FIZMO_SOURCE_DIR "/res/Mondai.dat", "r");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(DetectProblemEncoding(file), TextEncoding::ShiftJis);
    EXPECT_EQ(std::ftell(file), 0);
    std::fclose(file);
}

TEST_F(ProblemFiles, EachKindOfMistakeIsReported) {
    struct Case {
        std::string bytes, words;
    };
    const std::string longLine(85, 'a');
    const Case cases[] = {
        {longLine + "\nb\nc\n1\n", "cut at 79 bytes"},
        {"a\nb\nc\n123456789012\n", "cut at 9 characters"},
        // A full-width 5, quoted as written, in either encoding.
        {"a\nb\nc\n\x82\x54\n", "answer \"５\" is not a number"},
        {"a\nb\nc\n５\n", "answer \"５\" is not a number"},
        {"a\nb\nc\nfive\n", "reads as 0"},
        {"a\nb\nc\n42abc\n", "the answer is 42"},
        {"a\nb\nc\n1\nd\ne\n", "ends inside this problem"},
        {"a\x82\nb\nc\n1\n", "not valid text"},
        {"", "holds no problem"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Check(Write("case.dat", c.bytes)), 1) << c.words;
        EXPECT_TRUE(Says(c.words)) << c.words << "\n" << report.str();
    }
    EXPECT_EQ(Check((dir / "missing.dat").string()), 1);
    EXPECT_TRUE(Says("cannot be opened"));
    EXPECT_EQ(Check(dir.Path().string()), 1) << "a folder";
    EXPECT_TRUE(Says("cannot be opened"));
}

TEST_F(ProblemFiles, Utf8FilesAreShownAsUtf8WithTheByteOrderMarkSkipped) {
    const std::string text = "りんごが 3こ あります。\r\nもらいました。\r\nいくつ？\r\n5\r\n";
    for (const std::string& bom : {std::string(), std::string("\xEF\xBB\xBF")}) {
        const std::string path = Write("utf8.dat", bom + text);
        EXPECT_EQ(Check(path), 0) << report.str();
        EXPECT_TRUE(Says("encoding: UTF-8"));
        EXPECT_TRUE(Says("1: りんごが 3こ あります。"));
        EXPECT_TRUE(Says("Answer: 5"));

        FakeWindow window;
        CFizmoView view(&window);
        view.m_strProblemFile = path;
        view.m_nQuizMode = 3;
        view.OpenProblemFile();
        view.NextQuestion();
        EXPECT_EQ(view.m_eProblemEncoding, TextEncoding::Utf8);
        EXPECT_EQ(std::string(view.m_szProblemLine[0]), "りんごが 3こ あります。\n")
            << "the mark is skipped";
        EXPECT_EQ(view.m_nWordAnswer, 5);
        const int drawn = HudPixels(view);
        EXPECT_GT(drawn, 50);
        EXPECT_EQ(drawn, HudPixels(ShiftJisTwin(text)));
    }
    // A device without end is not scanned.
    std::FILE* zero = std::fopen("/dev/zero", "r");
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(DetectProblemEncoding(zero), TextEncoding::ShiftJis);
    std::fclose(zero);
    // Plain ASCII and broken UTF-8 stay Shift-JIS.
    for (const std::string& bytes : {std::string("a\nb\nc\n1\n"), std::string("\xE3\x81\n")}) {
        std::FILE* file = std::fopen(Write("other.dat", bytes).c_str(), "r");
        EXPECT_EQ(DetectProblemEncoding(file), TextEncoding::ShiftJis);
        std::fclose(file);
    }
}

TEST(Utf8Check, RejectsOverlongsSurrogatesAndTruncation) {
    auto valid = [](const std::string& bytes) {
        Utf8Validator v;
        // Fed one byte at a time: sequences cross block boundaries when files are read.
        for (unsigned char c : bytes) v.Feed(&c, 1);
        return v.Valid();
    };
    EXPECT_TRUE(valid("\xE3\x81\x82\xF0\x9F\x98\x80"));
    EXPECT_FALSE(valid("\xC0\xAF"));
    EXPECT_FALSE(valid("\xE0\x80\xAF"));
    EXPECT_FALSE(valid("\xED\xA0\x80"));
    EXPECT_FALSE(valid("\xF4\x90\x80\x80"));
    EXPECT_FALSE(valid("\xE3\x81"));
    EXPECT_FALSE(valid("\x82\xA0"));  // Shift-JIS あ
}

}  // namespace
