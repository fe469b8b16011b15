// The command line, and how keys become the game's key codes and characters.
#include <gtest/gtest.h>

#include <QString>

#include "app/command_line.h"
#include "app/key_codes.h"
#include "game/fizmo_view.h"

namespace {

CommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "fizmo");
    return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(AppCommandLineTest, NoArgumentsRunsTheGameAndDemoRunsTheAttractMode) {
    EXPECT_EQ(Parse({}).action, CommandLine::Action::Run);
    EXPECT_FALSE(Parse({}).demo);
    EXPECT_EQ(Parse({"--demo"}).action, CommandLine::Action::Run);
    EXPECT_TRUE(Parse({"--demo"}).demo);
}

TEST(AppCommandLineTest, HelpAndVersionAnswerInBothLanguages) {
    EXPECT_EQ(Parse({"--help"}).action, CommandLine::Action::Help);
    EXPECT_EQ(Parse({"-h"}).action, CommandLine::Action::Help);
    EXPECT_EQ(Parse({"--demo", "--version"}).action, CommandLine::Action::Version);
    EXPECT_NE(HelpText().find("--demo"), std::string::npos);
    EXPECT_NE(HelpText().find("使い方"), std::string::npos);
    EXPECT_NE(VersionText().find("2.0"), std::string::npos);
}

TEST(AppCommandLineTest, CheckProblemsTakesTheFileThatFollows) {
    const CommandLine check = Parse({"--check-problems", "Mondai.dat"});
    EXPECT_EQ(check.action, CommandLine::Action::CheckProblems);
    EXPECT_EQ(check.problemFile, "Mondai.dat");
    EXPECT_EQ(Parse({"--check-problems"}).action, CommandLine::Action::Error);
}

TEST(AppCommandLineTest, AnythingElseIsAnErrorThatSaysWhat) {
    for (const char* wrong : {"--demo=1", "-x", "--bogus=2", "Mondai.dat", "--level=extreme",
                              "--level", "--results=", "--word-problems=", "--additions"}) {
        const CommandLine result = Parse({"--times-tables", wrong});
        EXPECT_EQ(result.action, CommandLine::Action::Error) << wrong;
        const std::string said = std::string(wrong).substr(0, std::string(wrong).find('='));
        EXPECT_NE(ErrorText(result).find(said), std::string::npos) << ErrorText(result);
    }
}

TEST(AppCommandLineTest, StartOptionsChooseWhatTheMenuChooses) {
    const CommandLine hard = Parse({"--times-tables", "--level=hard", "--start"});
    EXPECT_EQ(hard.quizCommand, ID_MODE_TIMES_TABLE);
    EXPECT_EQ(hard.levelCommand, ID_LEVEL_HARD);
    EXPECT_TRUE(hard.start);
    const std::string file = FIZMO_SOURCE_DIR "/res/problems/year1.txt";
    const CommandLine words = Parse({"--word-problems=" FIZMO_SOURCE_DIR "/res/problems/year1.txt",
                                     "--level", "easy", "--results", "r.csv"});
    EXPECT_EQ(words.quizCommand, ID_MODE_WORD_PROBLEMS);
    EXPECT_EQ(words.wordProblemFile, file);
    EXPECT_EQ(words.levelCommand, ID_LEVEL_EASY);
    EXPECT_EQ(words.resultsFile, "r.csv");
    EXPECT_TRUE(Parse({"--word-problems"}).wordProblemFile.empty()) << "the menu's file stays";
    EXPECT_EQ(Parse({"--word-problems=/no/such/file"}).action, CommandLine::Action::Error);
}

TEST(AppCommandLineTest, QtsOwnOptionsAreLeftToQt) {
    const CommandLine run = Parse({"-platform", "xcb", "--display", ":1", "-style=Fusion",
                                   "-reverse", "-qwindowgeometry", "800x600", "--demo"});
    EXPECT_EQ(run.action, CommandLine::Action::Run);
    EXPECT_TRUE(run.demo);
    EXPECT_EQ(Parse({"-style", "--version"}).action, CommandLine::Action::Run)
        << "a value is taken as it stands";
    const CommandLine missing = Parse({"-platform"});
    EXPECT_EQ(missing.action, CommandLine::Action::Error);
    EXPECT_NE(ErrorText(missing).find("-platform"), std::string::npos);
}

TEST(AppKeyCodesTest, KeypadDigitsAreNumpadKeysAndOtherKeysTheirVirtualKeys) {
    EXPECT_EQ(VirtualKeyOf(Qt::Key_2, Qt::KeypadModifier), 0x62u);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_8, Qt::KeypadModifier), 0x68u);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_4, Qt::KeypadModifier), 0x64u);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_6, Qt::KeypadModifier | Qt::ShiftModifier), 0x66u);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_2, Qt::NoModifier), 0x32u);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Z, Qt::NoModifier), 0x5Au);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Down, Qt::KeypadModifier), 0x28u);  // Num Lock off
    EXPECT_EQ(VirtualKeyOf(Qt::Key_F6, Qt::NoModifier), 0x75u);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Space, Qt::NoModifier), 0x20u);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Slash, Qt::NoModifier), 0u);
}

TEST(AppKeyCodesTest, CharactersAreTypedOnlyWithoutCtrlOrAlt) {
    EXPECT_EQ(CharactersOf("z", Qt::NoModifier), std::vector<unsigned>{'z'});
    EXPECT_EQ(CharactersOf("Z", Qt::ShiftModifier), std::vector<unsigned>{'Z'});
    EXPECT_TRUE(CharactersOf("\x1a", Qt::ControlModifier).empty());
    EXPECT_TRUE(CharactersOf("x", Qt::AltModifier).empty());
    EXPECT_TRUE(CharactersOf("\x7f", Qt::NoModifier).empty());
}

}  // namespace
