// The writer of a sheet, from games played headless: one row per question, as played, in
// every file that can take them, whole even when two writers share a file.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/records_keeper.h"
#include "play_driver.h"
#include "records/child_folders.h"
#include "records/record_reader.h"
#include "records/record_writer.h"

namespace {

QStringList Lines(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
}

TEST(RecordWriterTest, RowsMatchWhatWasPlayedAndLaterRunsAppend) {
    QTemporaryDir dir;
    const QString path = dir.filePath("results.csv");
    for (int run = 0; run < 2; ++run) {
        RecordWriter sheet(path.toStdString(), [](const std::string& text) { FAIL() << text; });
        PlayDriver play(1280, 1000);
        play.view.m_pQuestionLog = &sheet;
        play.view.OnCommand(ID_LEVEL_HARD);
        play.Start(kQuizTimesTable);
        play.Period();
        const int a = play.view.m_nOperandA, b = play.view.m_nOperandB;
        ASSERT_TRUE(play.MissDigit());
        while (play.view.m_nOperandA == a && play.view.m_nOperandB == b && play.AnswerDigit()) {
        }
        play.view.OnCommand(ID_STOP);
        sheet.Drain();
        const QStringList lines = Lines(path);
        ASSERT_EQ(lines.size(), 1 + 2 * (run + 1));
        EXPECT_TRUE(lines[0].startsWith(QString::fromUtf8("\xEF\xBB\xBF日時,")));
        const QStringList answered = lines[lines.size() - 2].split(',');
        const QString question = QString("%1 × %2 =").arg(a).arg(b);
        EXPECT_EQ(answered.mid(1, 6),
                  QStringList({"九九の計算", "むずかしい", "1", '"' + question + '"',
                               QString::number(a * b), '"' + QString::number(a * b) + '"'}));
        EXPECT_EQ(answered[7], "1") << "one wrong hit";
        EXPECT_EQ(answered[9], "正解");
        EXPECT_TRUE(lines.back().endsWith(",ストップ,\"\"")) << lines.back().toStdString();
    }
}

TEST(RecordWriterTest, AWordProblemIsWrittenInUtf8AndTheEndOfItsFileIsARow) {
    QTemporaryDir dir;
    const QString problems = dir.filePath("problems.txt"), path = dir.filePath("r.csv");
    QFile file(problems);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("りんごが 3こ\nみかんが 4こ\nあわせて なんこ\n7\n");
    file.close();
    RecordWriter sheet(path.toStdString(), [](const std::string& text) { FAIL() << text; });
    PlayDriver play(1280, 1000);
    play.view.m_pQuestionLog = &sheet;
    play.view.m_strProblemFile = problems.toStdString();
    play.Start(kQuizWordProblems);
    play.Period();  // the digit table follows the question in a frame
    ASSERT_TRUE(play.AnswerDigit());
    play.Period();
    sheet.Drain();
    const QStringList lines = Lines(path);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].contains(
        ",文章題,かんたん,1,\"りんごが 3こ みかんが 4こ あわせて なんこ\",7,\"7\",0,"))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].contains(",文章題,かんたん,1,\"\",,\"\",0,0.0,問題ファイルのおわり"))
        << lines[2].toStdString();
}

TEST(RecordWriterTest, AFileThatCannotBeWrittenIsSaidOnceAndPlayGoesOn) {
    int complaints = 0;
    RecordWriter("/no/such/folder/results.csv", [&](const std::string&) {
        ++complaints;
    }).Record(QuestionResult{});
    EXPECT_EQ(complaints, 1);
    // A pipe neither seeks nor syncs, and still takes the header and the row.
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    RecordWriter("/dev/fd/" + std::to_string(ends[1]), [&](const std::string&) {
        ++complaints;
    }).Record(QuestionResult{});
    close(ends[1]);
    char text[512];
    const ssize_t got = read(ends[0], text, sizeof text);
    close(ends[0]);
    EXPECT_EQ(complaints, 1);
    EXPECT_EQ(std::count(text, text + std::max<ssize_t>(got, 0), '\n'), 2);
    QuestionResult word;
    word.quizMode = kQuizWordProblems;
    word.encoding = TextEncoding::Utf8;
    for (const char* start : {"=", "+", "-", "@"}) {
        word.question = start + std::string("1+1 \"ね\"");
        EXPECT_NE(RecordRowText(word).find(",\"'" + word.question.substr(0, 4) + " \"\"ね\"\"\","),
                  std::string::npos)
            << "quoted, and never a formula: " << start;
    }
}

// Two programs append to one child's file at once: every row stays whole.
TEST(RecordWriterTest, TwoWritersOfOneFileLeaveWholeRows) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("child/computer.csv").toStdString();
    QuestionResult row;
    row.quizMode = kQuizTimesTable;
    row.question = "6 \x81~ 7 =";  // as the game shows it, in Shift-JIS
    row.answer = "42";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    {
        RecordWriter writer(
            path, [](const std::string& text) { ADD_FAILURE() << text; },
            RecordWriter::Place::kChildFolder);
        for (int i = 0; i < 200; ++i) writer.Record(row);
    }
    if (child == 0) _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    std::vector<RecordRow> rows;
    SkippedRecords skipped;
    ReadRecordFile(QString::fromStdString(path), &rows, &skipped);
    EXPECT_EQ(rows.size(), 400u);
    EXPECT_FALSE(skipped.Any()) << SkippedLine(skipped);
}

// A records folder on a share not mounted yet: nothing is made in its place, one message is
// given, and the rows come when the share does.
TEST(RecordWriterTest, RowsWaitForAShareThatComesBack) {
    QTemporaryDir dir;
    const QString share = dir.filePath("share");
    int complaints = 0;
    QuestionResult row;
    row.quizMode = kQuizTimesTable;
    row.encoding = TextEncoding::Utf8;
    row.question = "2 × 3 =";
    row.answer = "6";
    {
        RecordWriter writer((share + "/child/pc.csv").toStdString(),
                            [&](const std::string&) { ++complaints; },
                            RecordWriter::Place::kChildFolder);
        writer.Record(row);
        writer.Record(row);
        writer.Drain();
        EXPECT_FALSE(QFileInfo::exists(share)) << "the share's mount point was made";
        ASSERT_TRUE(QDir().mkpath(share));
        writer.Record(row);
    }
    EXPECT_EQ(complaints, 1);
    std::vector<RecordRow> rows;
    SkippedRecords skipped;
    ReadChildFolder(share + "/child", &rows, &skipped);
    EXPECT_EQ(rows.size(), 3u);
    EXPECT_FALSE(skipped.Any()) << SkippedLine(skipped);
}

// A records folder given relative is remembered as the folder it named then.
TEST(RecordsChoiceTest, ARelativeRecordsFolderIsRememberedWhole) {
    CommandLine commandLine;
    commandLine.recordsDir = "class/records";
    EXPECT_EQ(RememberRecordsChoice(commandLine).recordsDir,
              QDir::current().absoluteFilePath("class/records"));
    EXPECT_EQ(RememberRecordsChoice({}).recordsDir,
              QDir::current().absoluteFilePath("class/records"));
    commandLine.recordsDir = DefaultRecordsDir().toStdString();
    RememberRecordsChoice(commandLine);
}

}  // namespace
