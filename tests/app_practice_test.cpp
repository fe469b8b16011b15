// Practice a grown-up chooses: a 段 in order through the space bar as through answers, and
// the facts a child's sheet says were missed, asked more. The game's own draw is what every
// other test of the drill plays.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "app/command_ids.h"
#include "app/practice_keeper.h"
#include "app/records_keeper.h"
#include "play_driver.h"

namespace {

CommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "fizmo");
    return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

// The 段's facts the space bar walks through, from the first question of a game on.
std::vector<int> Walk(PlayDriver& play, int questions) {
    play.Start(kQuizTimesTable);
    std::vector<int> seconds;
    for (int q = 0; q < questions; ++q) {
        EXPECT_EQ(play.view.m_nOperandA, 7);
        seconds.push_back(play.view.m_nOperandB);
        play.view.OnChar(' ', 1, 0);
    }
    return seconds;
}

TEST(AppPracticeTest, ATableIsAskedInTheOrderChosenAndTheChoiceIsRemembered) {
    const auto ignore = [](const std::string&) {};
    RecordsKeeper records(Parse({"--no-records"}), ignore);
    PlayDriver play(1280, 1000);
    PracticeKeeper up(Parse({"--table=7", "--order=up"}), &records);
    up.Attach(&play.view);
    EXPECT_EQ(Walk(play, 10), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 1}));
    PracticeKeeper down(Parse({"--order=down"}), &records);  // the 段 as remembered
    down.Attach(&play.view);
    EXPECT_EQ(Walk(play, 9), (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 1}));
    ASSERT_TRUE(down.OnCommand(ID_ORDER_SHUFFLE));
    std::vector<int> shuffled = Walk(play, 18);
    for (auto half : {shuffled.begin(), shuffled.begin() + 9}) {
        std::vector<int> facts(half, half + 9);
        std::sort(facts.begin(), facts.end());
        EXPECT_EQ(facts, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9})) << "each fact once";
    }
    ASSERT_TRUE(down.OnCommand(ID_TABLE_ALL));
    EXPECT_EQ(play.view.m_pChooser, nullptr) << "ぜんぶ is the game's own draw";
}

// A sheet in which 6 × 7 was missed three times, and the rest of the 6のだん is known.
TEST(AppPracticeTest, AFactMissedComesBackOftenWhileTheChildKeepsSucceeding) {
    QTemporaryDir dir;
    const std::string sheet = dir.filePath("sheet.csv").toStdString();
    std::ofstream out(sheet);
    for (int day = 1; day <= 3; ++day)
        for (int b = 1; b <= 9; ++b)
            out << "2026-12-0" << day << " 17:00:0" << b << ",九九の計算,ふつう,1,\"6 × " << b
                << " =\"," << 6 * b << ",\"\"," << (b == 7 ? 2 : 0) << ",3.0,正解\r\n";
    out.close();
    RecordsKeeper records(Parse({("--results=" + sheet).c_str()}), [](const std::string&) {});
    PracticeKeeper weak(Parse({"--table=6", "--practice-weak"}), &records);
    PlayDriver play(1280, 1000);
    weak.Attach(&play.view);
    weak.Begin();
    int sixSevens = 0;
    for (int q = 0; q < 40; ++q) {
        const Operands fact = weak.Next(kQuizTimesTable, play.random);
        EXPECT_EQ(fact.a, 6);
        sixSevens += fact.b == 7;
        weak.Ended(kQuizTimesTable, fact, false);
    }
    EXPECT_GE(sixSevens, 4);
    EXPECT_LE(sixSevens, 20) << "most questions are facts the child knows";
}

}  // namespace
