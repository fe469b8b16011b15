// The rules of the child's records that a game played end to end cannot reach: which tries
// make a fact known, how rows read back, names as folders, and the rows the game hands over.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QSet>

#include "app/name_dialog.h"
#include "play_driver.h"
#include "records/child_folders.h"
#include "records/child_summary.h"
#include "records/sheet_time.h"

namespace {

RecordRow Try(int a, int b, int wrong, double seconds, QuestionEnd end = QuestionEnd::kAnswered,
              const char* when = "2026-12-01 17:00:00") {
    RecordRow row;
    row.when = when;
    row.quizMode = kQuizTimesTable;
    row.operandA = a;
    row.operandB = b;
    row.answer = std::to_string(a * b);
    row.wrongHits = wrong;
    row.seconds = seconds;
    row.end = end;
    return row;
}

TEST(FactStateTest, AFactIsKnownMissedOrAlmostByItsLastThreeTries) {
    const double fluent = 10;
    const auto state = [&](std::vector<RecordRow> rows) {
        return SummarizeChild("", std::move(rows), fluent).states[0][7][8];
    };
    EXPECT_EQ(state({}), FactState::kNotYet);
    EXPECT_EQ(state({Try(7, 8, 0, 3)}), FactState::kAlmost) << "one try is not yet two of three";
    EXPECT_EQ(state({Try(7, 8, 0, 3), Try(7, 8, 1, 3), Try(7, 8, 0, 19.5)}), FactState::kKnown)
        << "56 has two digits: twice the time";
    EXPECT_EQ(state({Try(7, 8, 0, 3), Try(7, 8, 0, 21)}), FactState::kAlmost) << "slow";
    EXPECT_EQ(state({Try(7, 8, 0, 3), Try(7, 8, 0, 0, QuestionEnd::kSkipped),
                     Try(7, 8, 0, 0, QuestionEnd::kGameOver)}),
              FactState::kPractice);
    EXPECT_EQ(state({Try(7, 8, 0, 3, QuestionEnd::kAnswered, "2026-11-01 09:00:00"),
                     Try(7, 8, 0, 3, QuestionEnd::kAnswered, "2026-11-02 09:00:00"),
                     Try(7, 8, 1, 3, QuestionEnd::kAnswered, "2026-11-03 09:00:00"),
                     Try(7, 8, 1, 3, QuestionEnd::kAnswered, "2026-11-04 09:00:00")}),
              FactState::kPractice)
        << "the fourth-oldest try no longer counts";
    // Only the last three count, in the order played whatever the order of the files.
    std::vector<RecordRow> rows = {Try(7, 8, 2, 3, QuestionEnd::kAnswered, "2026-12-03 09:00:00"),
                                   Try(7, 8, 0, 3, QuestionEnd::kAnswered, "2026-12-04 09:00:00"),
                                   Try(7, 8, 0, 3), Try(7, 8, 0, 4),
                                   Try(7, 8, 0, 4, QuestionEnd::kAnswered, "2026-12-05 09:00:00")};
    EXPECT_EQ(state(rows), FactState::kKnown);
    rows.push_back(Try(7, 8, 1, 3, QuestionEnd::kAnswered, "2026-12-06 09:00:00"));
    rows.push_back(Try(7, 8, 0, 1, QuestionEnd::kStopped, "2026-12-07 09:00:00"));
    EXPECT_EQ(state(rows), FactState::kKnown) << "a stop before any hit is no try";
    const ChildSummary child = SummarizeChild("", rows, fluent);
    EXPECT_EQ(child.missed[0][7][8], 2);
    EXPECT_EQ(KnownInRow(KindAt(0), child.states[0], 7).known, 1);
    ASSERT_EQ(child.sessions.size(), 6u);
    EXPECT_EQ(child.sessions.front().day, "2026-12-07") << "the newest first";
    EXPECT_EQ(child.sessions.back().questions, 2);
    EXPECT_EQ(child.sessions.back().medianSeconds, 3.5);
}

TEST(RecordRowTest, RowsReadBackAsWrittenAndDamagedOnesAreSkipped) {
    QuestionResult written;
    written.when = 1764576000;
    written.quizMode = kQuizAddition;
    written.speedLow = 10;
    written.stage = 2;
    written.answer = "15";
    written.entered = "15";
    written.seconds = 6.3;
    written.encoding = TextEncoding::Utf8;
    written.question = "7 ＋ 8 =";
    const auto row = ParseRecordRow(RecordRowText(written));
    ASSERT_TRUE(row);
    EXPECT_EQ(std::tie(row->quizMode, row->speedLow, row->stage, row->operandA, row->operandB),
              std::make_tuple(kQuizAddition, 10, 2, 7, 8));
    EXPECT_EQ(row->seconds, 6.3);
    // The new kinds as the game shows them, each in its own cell: by what is taken away (or
    // divided by) and the answer. A 段 counts × 1 to × 9, as its practice asks.
    std::vector<RecordRow> rows;
    for (const auto& [mode, question, answer] :
         {std::tuple(kQuizSubtraction, "13 \x81\x7C 5 =", "8"),
          std::tuple(kQuizDivision, "56 \x81\x80 7 =", "8"),
          std::tuple(kQuizDivision, "0 \x81\x80 7 =", "0")}) {
        QuestionResult shown = written;
        std::tie(shown.quizMode, shown.question, shown.answer) = std::tie(mode, question, answer);
        shown.encoding = TextEncoding::ShiftJis;
        const std::string text = RecordRowText(shown);
        EXPECT_NE(text.find(mode == kQuizDivision ? ",わりざん," : ",ひきざん,"),
                  std::string::npos);
        const auto read = ParseRecordRow(text);
        ASSERT_TRUE(read) << text;
        rows.push_back(*read);
    }
    const ChildSummary child = SummarizeChild("", rows, 10);
    EXPECT_EQ(child.states[2][5][8], FactState::kAlmost);
    EXPECT_EQ(child.states[3][7][8], FactState::kAlmost);
    EXPECT_EQ(child.states[3][7][0], FactState::kAlmost);
    EXPECT_EQ(KnownInRow(KindAt(3), child.states[3], 7).of, 9);
    EXPECT_EQ(KnownInRow(KindAt(2), child.states[2], 5).of, 10);
    written.quizMode = kQuizWordProblems;
    written.problemFile = "/home/a/year2.txt";
    written.question = "=1+1, \"ね\"";
    const auto word = ParseRecordRow(RecordRowText(written));
    ASSERT_TRUE(word);
    EXPECT_EQ(word->question, "=1+1, \"ね\"");
    EXPECT_EQ(word->problemFile, "year2.txt");
    // A problem set named in Shift-JIS, with a negative answer, as the problem reader takes.
    written.problemFile = "/media/usb/\x96\xe2\x91\xe8.txt";
    written.answer = "-5";
    const auto sjis = ParseRecordRow(RecordRowText(written));
    ASSERT_TRUE(sjis);
    EXPECT_EQ(std::tie(sjis->problemFile, sjis->answer), std::make_tuple("問題.txt", "-5"));
    written.question = "q";
    const std::string good = RecordRowText(written);
    for (const std::string& bad : {good.substr(0, good.size() - 3), good + ",x",
                                   std::string("2026-12-01 17:00:00,九九の計算,"
                                               "ふつう,1,\"7 × 3 =\",22,\"\",0,1.0,正解"),
                                   std::string("2026-12-01 17:00:00,わりざん,"
                                               "ふつう,1,\"8 ÷ 0 =\",0,\"\",0,1.0,正解"),
                                   std::string("2026-12-01 17:00:00,ひきざん,"
                                               "ふつう,1,\"19 － 9 =\",10,\"\",0,1.0,正解"),
                                   std::string("\xFF\xFE,\"")})
        EXPECT_FALSE(ParseRecordRow(bad)) << bad;
    // Seconds once written with a decimal comma: a cell too many, with and without the file.
    for (const char* comma :
         {"2026-12-01 17:00:00,九九の計算,ふつう,1,\"7 × 3 =\",21,\"21\",0,19,5,正解,\"\"",
          "2026-12-01 17:00:00,九九の計算,ふつう,1,\"7 × 3 =\",21,\"21\",0,19,5,正解"}) {
        const auto read = ParseRecordRow(comma);
        ASSERT_TRUE(read) << comma;
        EXPECT_EQ(read->seconds, 19.5);
    }
    EXPECT_FALSE(ParseRecordRow(
        "2026-12-01 17:00:00,九九の計算,ふつう,1,\"7 × 3 =\",21,\"21\",0,19,55,正解"))
        << "only one digit of tenths was ever written";
}

// What reads as a formula never reaches a spreadsheet as one; what could not be read is one
// short line however many files it was.
TEST(RecordRowTest, FormulasStayTextAndTheSkippedLineStaysShort) {
    QuestionResult word;
    word.quizMode = kQuizWordProblems;
    word.encoding = TextEncoding::Utf8;
    for (const std::string start : {"=", "+", "-", "@", "\t=", "\r="}) {
        word.question = start + "1+1";
        EXPECT_NE(RecordRowText(word).find(",\"'" + word.question + "\","), std::string::npos)
            << RecordRowText(word);
        EXPECT_EQ(ParseRecordRow(RecordRowText(word))->question, word.question);
    }
    SkippedRecords skipped{5, {"a.csv", "b.csv", "c.csv", "d.csv", "e.csv"}};
    const std::string line = SkippedLine(skipped);
    EXPECT_NE(line.find("c.csv …ほか 2 ファイル"), std::string::npos) << line;
    EXPECT_EQ(line.find("d.csv"), std::string::npos) << line;
}

// The 日時 a spreadsheet writes back when it saves the sheet.
TEST(RecordRowTest, ATimeThatASpreadsheetSavedReadsAsTheGameWroteIt) {
    for (const char* saved :
         {"2026-12-01 17:05:00", "2026/12/1 17:05", "2026/12/01 17:05:00", "12/1/2026 17:05",
          "12/1/26 5:05 PM", "01.12.2026 17:05:00", "13/12/2026 17:05"}) {
        const auto when = ReadSheetTime(saved);
        ASSERT_TRUE(when) << saved;
        EXPECT_EQ(when->substr(0, 7), "2026-12") << saved;
        EXPECT_EQ(when->substr(10), " 17:05:00") << saved;
    }
    EXPECT_EQ(ReadSheetTime("2026/12/1 17:00"), "2026-12-01 17:00:00");
    EXPECT_EQ(ReadSheetTime("12/1/26 12:30 AM"), "2026-12-01 00:30:00");
    EXPECT_EQ(ReadSheetTime("13/12/2026 17:05"), "2026-12-13 17:05:00") << "only a day is 13";
    for (const char* bad : {"2026-12-01", "2026-13-01 17:00", "2026/12/1 24:00", "2026/12/1 17:5",
                            "2026/12/-1 17:00", "x 17:00", "2026/12/1/2 17:00"})
        EXPECT_FALSE(ReadSheetTime(bad)) << bad;
}

// Where a comma is the decimal mark, a spreadsheet parts cells with semicolons: it saves the
// columns so, or, opening the sheet without asking, saves each row as one quoted cell.
TEST(RecordRowTest, ASheetSavedWithSemicolonsReads) {
    EXPECT_TRUE(IsRecordHeader("日時;計算の種類;レベル;ステージ;問題;答え;入力した数字"));
    for (const char* saved :
         {"01.12.2026 17:05;九九の計算;ふつう;2;7 × 3 =;21;21;1;19,5;正解;",
          "\"2026-12-01 17:05:00,九九の計算,ふつう,2,\"\"7 × 3 =\"\",21,\"\"21\"\",1,19.5,正解,"
          "\"\"\"\"\""}) {
        const auto row = ParseRecordRow(saved);
        ASSERT_TRUE(row) << saved;
        EXPECT_EQ(std::tie(row->when, row->operandA, row->operandB, row->wrongHits, row->seconds),
                  std::make_tuple(std::string("2026-12-01 17:05:00"), 7, 3, 1, 19.5));
    }
    EXPECT_FALSE(ParseRecordRow("01.12.2026 17:05;九九の計算;ふつう;2;7 × 3 =;21;21;1;19,5;0;正解"))
        << "a cell too many";
}

TEST(ChildFolderTest, AnyNameIsOneFolderInsideTheRecordsAndNamesStayApart) {
    const QString longName(200, QChar(u'あ'));
    QSet<QString> folders;
    for (const QString& name :
         {QString("../x"), QString("a/b"), QString(".."), QString("."), QString("a\nb"),
          QString("%2E%2E"), QString("_unnamed"), longName, longName + "い", QString(),
          QString("はなこ"), QString("Ken Sato")}) {
        const QString folder = ChildFolderName(name);
        EXPECT_FALSE(folder.contains('/') || folder == "." || folder == ".." || folder.isEmpty())
            << folder.toStdString();
        EXPECT_LE(folder.toUtf8().size(), 200);
        folders.insert(folder);
        if (!name.startsWith(longName)) {
            EXPECT_EQ(ChildNameOfFolder(folder), ChildName(name)) << folder.toStdString();
        }
    }
    EXPECT_EQ(folders.size(), 12);
    EXPECT_EQ(ChildFolderName("はなこ"), "はなこ") << "a parent can find the folder";
    // One child, one folder, however the input method typed the name.
    for (const char* alike : {"はな\u3000こ", " はな  こ "})
        EXPECT_EQ(ChildFolderName(QString::fromUtf8(alike)), ChildFolderName("はな こ")) << alike;
    EXPECT_EQ(ChildFolderName(QString::fromUtf8("か\u3099")), ChildFolderName("が"));
    EXPECT_EQ(ChildFolderName(QString::fromUtf8("\uFF8A\uFF85\uFF7A")), ChildFolderName("ハナコ"));
    // A name cut for length, chosen again from the list, continues its own folder.
    const QString cut = ChildFolderName(longName + "い");
    NameDialog dialog({cut, ChildFolderName("_unnamed"), "_unnamed"}, "");
    auto* names = dialog.findChild<QComboBox*>();
    ASSERT_EQ(names->count(), 2) << "the unnamed record is no name in the list";
    names->setCurrentIndex(0);
    EXPECT_EQ(dialog.ChosenFolder(), cut);
    names->setEditText("はな\u3000こ");
    EXPECT_EQ(std::make_tuple(dialog.ChosenName(), dialog.ChosenFolder()),
              std::make_tuple(QString("はな こ"), QString()));
}

// The space bar ends the question on the screen as a row of its own; the new one is timed
// and counted from then.
TEST(QuestionRowTest, AChangedQuestionIsARowOfItsOwn) {
    struct Rows final : QuestionLog {
        std::vector<QuestionResult> rows;
        void Record(const QuestionResult& r) override { rows.push_back(r); }
    } log;
    PlayDriver play(1280, 1000);
    play.view.m_pQuestionLog = &log;
    play.Start(kQuizTimesTable);
    play.Period();
    ASSERT_TRUE(play.MissDigit());
    play.view.OnChar(' ', 1, 0);
    play.window.AdvanceMs(1500);
    play.view.OnCommand(ID_STOP);
    ASSERT_EQ(log.rows.size(), 2u);
    EXPECT_EQ(log.rows[0].end, QuestionEnd::kSkipped);
    EXPECT_EQ(log.rows[0].wrongHits, 1);
    EXPECT_EQ(std::tie(log.rows[1].end, log.rows[1].wrongHits, log.rows[1].seconds),
              std::make_tuple(QuestionEnd::kStopped, 0, 1.5));
}

}  // namespace
