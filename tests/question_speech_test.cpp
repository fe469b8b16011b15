// The game asks for each question to be read as it appears, again on R, and for quiet when
// play stops; it never reads a file or starts anything itself for it.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "play_driver.h"

namespace {

struct HeardSpeech final : QuestionSpeech {
    void Say(const SpokenQuestion& question) override { said.push_back(question); }
    void Hush() override { ++hushed; }
    std::vector<SpokenQuestion> said;
    int hushed = 0;
};

}  // namespace

TEST(QuestionSpeechSeam, EachQuestionIsSaidAsItAppearsAgainOnRAndHushedOnStop) {
    SoundDeviceRelease soundDevice;
    PlayDriver play(1280, 1024);
    HeardSpeech speech;
    play.view.m_pSpeech = &speech;
    play.Start(kQuizTimesTable);
    ASSERT_EQ(speech.said.size(), 1u);
    EXPECT_EQ(speech.said[0].quizMode, kQuizTimesTable);
    EXPECT_EQ(speech.said[0].operands, (Operands{play.view.m_nOperandA, play.view.m_nOperandB}));
    play.view.OnChar(' ', 1, 0);  // a new question appears
    play.view.OnChar('R', 1, 0);
    play.view.OnChar('z', 1, 0);
    ASSERT_EQ(speech.said.size(), 3u);
    EXPECT_EQ(speech.said[1].operands, (Operands{play.view.m_nOperandA, play.view.m_nOperandB}));
    EXPECT_EQ(speech.said[2].operands, speech.said[1].operands);
    EXPECT_EQ(speech.hushed, 0);
    play.view.OnCommand(ID_STOP);
    EXPECT_EQ(speech.hushed, 1);
    play.view.OnChar('r', 1, 0);  // nothing is asked once play stopped
    EXPECT_EQ(speech.said.size(), 3u);
}

TEST(QuestionSpeechSeam, AWordProblemIsSaidWholeWithItsFileAndTheNextOneAfterIt) {
    SoundDeviceRelease soundDevice;
    QTemporaryDir folder;
    const std::string file = folder.filePath("problems.txt").toStdString();
    std::ofstream(file) << "あかい  \r\nりんご\r\n\r\n3\r\nつぎの\r\nもんだい\r\nです\r\n4\r\n";
    PlayDriver play(1280, 1024);
    HeardSpeech speech;
    play.view.m_pSpeech = &speech;
    play.view.m_strProblemFile = file;
    play.Start(kQuizWordProblems);
    ASSERT_EQ(speech.said.size(), 1u);
    EXPECT_EQ(speech.said[0].text, "あかい りんご");
    EXPECT_EQ(speech.said[0].encoding, TextEncoding::Utf8);
    EXPECT_EQ(speech.said[0].problemFile, file);
    play.view.OnChar(' ', 1, 0);  // the problem stays: nothing new to say
    EXPECT_EQ(speech.said.size(), 1u);
    play.view.EndQuestionRecord(QuestionEnd::kAnswered);
    play.view.NextQuestion();
    ASSERT_EQ(speech.said.size(), 2u);
    EXPECT_EQ(speech.said[1].text, "つぎの もんだい です");
    play.view.EndQuestionRecord(QuestionEnd::kAnswered);
    play.view.NextQuestion();  // the file has run out: nothing is said
    EXPECT_EQ(speech.said.size(), 2u);
}
