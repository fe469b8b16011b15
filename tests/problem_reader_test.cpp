#include "game/problem_reader.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace problem_reader;

// A problem file written to disk, opened as the game opens it.
class ProblemReader : public ::testing::Test {
protected:
    std::FILE* Open(const std::string& bytes) {
        const std::string path = dir.filePath(QString::number(files.size())).toStdString();
        std::ofstream(path, std::ios::binary) << bytes;
        files.push_back(std::fopen(path.c_str(), "r"));
        return files.back();
    }
    ~ProblemReader() override {
        for (std::FILE* f : files) std::fclose(f);
    }
    // Every line of the file, read `size` bytes at most each time, until the first failure.
    std::vector<std::string> Lines(const std::string& bytes, int size = kTextLineSize) {
        std::FILE* f = Open(bytes);
        std::vector<std::string> lines;
        std::vector<char> buffer(static_cast<std::size_t>(size));
        while (ReadLine(f, buffer.data(), size) && lines.size() < 1000)
            lines.emplace_back(buffer.data());
        return lines;
    }

    QTemporaryDir dir;
    std::vector<std::FILE*> files;
};

using Strings = std::vector<std::string>;

TEST_F(ProblemReader, LineEndsReadLikeATextModeStream) {
    EXPECT_EQ(Lines("a\r\nb\r\n"), Lines("a\nb\n"));
    EXPECT_EQ(Lines("a\r\nb\r\n"), (Strings{"a\n", "b\n"}));
    EXPECT_EQ(Lines("a\rb\r\r\n\r"), (Strings{"a\rb\r\n", "\r"})) << "a lone CR is kept";
    EXPECT_EQ(Lines("last line"), (Strings{"last line"}));
    EXPECT_EQ(Lines(""), Strings{});
}

TEST_F(ProblemReader, ControlZEndsTheFileForGood) {
    std::FILE* f = Open("one\ntw\x1Ao\nthree\n");
    char line[kTextLineSize] = "unchanged";
    ASSERT_TRUE(ReadLine(f, line, kTextLineSize));
    EXPECT_STREQ(line, "one\n");
    ASSERT_TRUE(ReadLine(f, line, kTextLineSize));
    EXPECT_STREQ(line, "tw");
    std::strcpy(line, "unchanged");
    EXPECT_FALSE(ReadLine(f, line, kTextLineSize));
    EXPECT_FALSE(ReadLine(f, line, kTextLineSize));
    EXPECT_STREQ(line, "unchanged") << "a read at the end leaves its destination alone";
    EXPECT_EQ(Lines("x\r\x1A\n"), (Strings{"x\r"}));
}

TEST_F(ProblemReader, LongLinesAreCutAndTheRestReadsAsTheNextLine) {
    const std::string text79(79, 'a');
    EXPECT_EQ(Lines(text79 + "bc\n"), (Strings{text79, "bc\n"}));
    EXPECT_EQ(Lines(text79 + "\n"), (Strings{text79, "\n"}));
    const std::string text78(78, 'a');
    EXPECT_EQ(Lines(text78 + "\r\n"), (Strings{text78 + "\n"})) << "the dropped CR costs nothing";
    // A double-byte character cut in half stays cut, bytes as read.
    const std::string kana = "\x82\xA0";
    std::string odd(77, 'x');
    EXPECT_EQ(Lines(odd + kana + "\n"), (Strings{odd + "\x82\xA0", "\n"}));
    EXPECT_EQ(Lines(odd + "y" + kana + "\n"), (Strings{odd + "y\x82", "\xA0\n"}));
    EXPECT_EQ(Lines("123456789012\n", kAnswerLineSize), (Strings{"123456789", "012\n"}));
}

TEST(ProblemAnswer, ReadsLikeAtoi) {
    const std::pair<const char*, int> cases[] = {
        {"  42abc\n", 42},
        {"+7", 7},
        {"007", 7},
        {"-12\n", -12},
        {"", 0},
        {"\n", 0},
        {"\x82\x53\x82\x51", 0},  // full-width 42
        {" \t\v\f\r\n5", 5},
        {"+-3", 0},
        {"- 3", 0},
        {"--3", 0},
        {"12 34", 12},
        {"-0", 0},
        {"\xA1"
         "5",
         0},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseAnswer(text), value) << text;
    EXPECT_EQ(ParseAnswer("123456789012345678901234567890"), 999999999);
    EXPECT_EQ(ParseAnswer("-99999999999"), -999999999);
}

TEST_F(ProblemReader, ProblemsAreFourLinesAndEndAtAMissingFirstLine) {
    std::FILE* f = Open("q1\nq2\nq3\n12\nr1\nr2\n");
    ProblemLines lines = {"x", "y", "z"};
    int answer = -1;
    ASSERT_TRUE(ReadProblem(f, lines, &answer));
    EXPECT_STREQ(lines[0], "q1\n");
    EXPECT_STREQ(lines[2], "q3\n");
    EXPECT_EQ(answer, 12);
    // Cut short inside a problem: the missing lines keep the last problem's text.
    ASSERT_TRUE(ReadProblem(f, lines, &answer));
    EXPECT_STREQ(lines[0], "r1\n");
    EXPECT_STREQ(lines[1], "r2\n");
    EXPECT_STREQ(lines[2], "q3\n");
    EXPECT_EQ(answer, 0);
    EXPECT_FALSE(ReadProblem(f, lines, &answer));
    EXPECT_STREQ(lines[1], "r2\n");
    EXPECT_FALSE(ReadProblem(nullptr, lines, &answer));
    EXPECT_STREQ(lines[0], "r1\n");
}

}  // namespace
