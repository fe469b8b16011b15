// Practice a grown-up chooses: a 段 in order through the space bar as through answers, and
// the facts a child's sheet says were missed, asked more. The game's own draw is what every
// other test of the drill plays.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <fstream>
#include <map>
#include <set>

#include "app/command_ids.h"
#include "app/practice_keeper.h"
#include "app/records_keeper.h"
#include "app/records_window.h"
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

// The facts asked in `quizMode` as the space bar skips question after question.
std::vector<Operands> Skip(PlayDriver& play, int quizMode, int questions) {
    play.Start(quizMode);
    std::vector<Operands> asked;
    for (int q = 0; q < questions; ++q) {
        asked.push_back({play.view.m_nOperandA, play.view.m_nOperandB});
        play.view.OnChar(' ', 1, 0);
    }
    return asked;
}

TEST(AppPracticeTest, SubtractionsAndDivisionsAskEveryFactOfTheirsAndNothingElse) {
    PlayDriver play(1280, 1000);
    std::map<std::pair<int, int>, int> differences, quotients;
    for (const Operands& f : Skip(play, kQuizSubtraction, 2000)) {
        ASSERT_TRUE(f.a >= 0 && f.a <= 18 && f.b >= 0 && f.b <= 9 && f.a - f.b >= 0 &&
                    f.a - f.b <= 9)
            << f.a << " - " << f.b;
        ++differences[{f.a, f.b}];
    }
    for (const Operands& f : Skip(play, kQuizDivision, 1800)) {
        ASSERT_TRUE(f.b >= 1 && f.b <= 9 && f.a % f.b == 0 && f.a / f.b <= 9)
            << f.a << " / " << f.b;
        ++quotients[{f.a, f.b}];
    }
    // Each fact equally likely: 20 draws each on average.
    for (const auto* facts : {&differences, &quotients})
        for (const auto& [fact, times] : *facts) EXPECT_TRUE(times >= 6 && times <= 40);
    EXPECT_EQ(differences.size(), 100u);
    EXPECT_EQ(quotients.size(), 90u);
}

TEST(AppPracticeTest, DivisionsByTableAndSumsByCarryingAsChosen) {
    const auto ignore = [](const std::string&) {};
    RecordsKeeper records(Parse({"--no-records"}), ignore);
    PlayDriver play(1280, 1000);
    PracticeKeeper table(Parse({"--table=7", "--order=up", "--carry=only"}), &records);
    table.Attach(&play.view);
    std::vector<int> dividends;
    for (const Operands& f : Skip(play, kQuizDivision, 10)) {
        EXPECT_EQ(f.b, 7);
        dividends.push_back(f.a);
    }
    EXPECT_EQ(dividends, (std::vector<int>{7, 14, 21, 28, 35, 42, 49, 56, 63, 7}));
    std::set<std::pair<int, int>> sums, differences;
    for (const Operands& f : Skip(play, kQuizAddition, 400)) sums.insert({f.a, f.b});
    for (const Operands& f : Skip(play, kQuizSubtraction, 400)) differences.insert({f.a, f.b});
    for (const auto& [a, b] : sums) EXPECT_GE(a + b, 10) << a << " + " << b;
    for (const auto& [a, b] : differences) EXPECT_GE(a, 10) << a << " - " << b;
    EXPECT_EQ(sums.size(), 45u) << "every sum of 10 or more";
    EXPECT_EQ(differences.size(), 45u);
    ASSERT_TRUE(table.OnCommand(ID_CARRY_NONE));
    for (const Operands& f : Skip(play, kQuizAddition, 100)) EXPECT_LT(f.a + f.b, 10);
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
    while (weak.Reading()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
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

// にがて for a child who skips every question: the records' weak fact and the rest keep their
// share, and a kind never played is spread over its facts.
TEST(AppPracticeTest, WeakFactsSpreadWhenEveryQuestionIsSkipped) {
    QTemporaryDir dir;
    const std::string sheet = dir.filePath("sheet.csv").toStdString();
    std::ofstream out(sheet);
    for (int day = 1; day <= 3; ++day)
        out << "2026-12-0" << day
            << " 17:00:00,九九の計算,ふつう,1,\"6 × 7 =\",42,\"\",2,3.0,正解\r\n";
    for (int n = 0; n < 20; ++n)
        for (int day = 1; day <= 2; ++day)
            out << "2026-12-0" << day << " 17:01:00,九九の計算,ふつう,1,\"" << 2 + n / 9 << " × "
                << n % 9 + 1 << " =\"," << (2 + n / 9) * (n % 9 + 1) << ",\"\",0,3.0,正解\r\n";
    out.close();
    RecordsKeeper records(Parse({("--results=" + sheet).c_str()}), [](const std::string&) {});
    PracticeKeeper weak(Parse({"--table=all", "--practice-weak"}), &records);
    PlayDriver play(1280, 1000);
    weak.Attach(&play.view);
    while (weak.Reading()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    std::map<std::pair<int, int>, int> times, sums;
    for (const Operands& f : Skip(play, kQuizTimesTable, 40)) ++times[{f.a, f.b}];
    for (const Operands& f : Skip(play, kQuizAddition, 40)) ++sums[{f.a, f.b}];
    EXPECT_GE((times[{6, 7}]), 4);
    EXPECT_GE(times.size(), 8u) << "today's misses do not push the rest out";
    EXPECT_GE(sums.size(), 10u) << "no たしざん in the records";
    for (const auto* facts : {&times, &sums})
        for (const auto& [fact, asked] : *facts) EXPECT_LE(asked, 10);
}

// Under にがて a fact missed in this game is asked again a few questions later, and only a
// few times however often it is missed.
TEST(AppPracticeTest, AMissedFactComesBackSoonAndABoundedNumberOfTimes) {
    PracticeChooser chooser(PracticeSettings{0, TableOrder::kUp, true});
    KindStates known{};
    for (auto& row : known[0]) row.fill(FactState::kKnown);
    chooser.SetStates(known, true);
    chooser.Begin();
    CopyableRandom random(3);
    const Operands missed{6, 7};
    chooser.Ended(kQuizTimesTable, missed, true);
    std::vector<int> back;
    for (int q = 1; q <= 60; ++q) {
        const Operands fact = chooser.Next(kQuizTimesTable, random);
        if (fact == missed) back.push_back(q);
        chooser.Ended(kQuizTimesTable, fact, fact == missed);
    }
    ASSERT_FALSE(back.empty());
    EXPECT_LE(back.front(), 6) << "back within a few questions";
    for (std::size_t i = 1; i < back.size(); ++i) EXPECT_LE(back[i] - back[i - 1], 7);
    EXPECT_LE(back.size(), 3u) << "missed each time, still not asked over and over";
}

// What the child practises is what きろく opens on; word problems leave the grown-up's choice.
TEST(AppPracticeTest, RecordsOpenOnTheGridsOfTheKindPlayed) {
    RecordsKeeper records(Parse({"--no-records"}), [](const std::string&) {});
    RecordsWindow window(&records, nullptr);
    QComboBox* kinds = nullptr;
    for (QComboBox* box : window.findChildren<QComboBox*>())
        if (box->findText("ぜんぶ") >= 0) kinds = box;
    ASSERT_TRUE(kinds);
    for (const auto& [mode, shown] : {std::pair(kQuizDivision, "ひきざん・わりざん"),
                                      std::pair(kQuizWordProblems, "ひきざん・わりざん"),
                                      std::pair(kQuizAddition, "九九・たしざん")}) {
        window.ChooseKindsOf(mode);
        EXPECT_EQ(kinds->currentText(), QString::fromUtf8(shown)) << mode;
    }
}

}  // namespace
