#pragma once
// Where the child's rows go: the child's records (kept by default, in the desktop's data
// folder or a class's shared folder), the results sheet named on the command line, or
// nowhere. The name, the folder and the fluency time are remembered for the next start.

#include <QString>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "game/question_log.h"
#include "records/child_summary.h"

class RecordWriter;

// The records' settings: those given on the command line are remembered, the others are as
// remembered from before.
struct RecordsChoice {
    QString childName;
    QString childFolder;  // in recordsDir: a name cut for length is found only by its folder
    QString recordsDir;
    double fluentSeconds = 0;
};
RecordsChoice RememberRecordsChoice(const CommandLine& commandLine);

class RecordsKeeper final : public QuestionLog {
public:
    // Said once per file that cannot be written, possibly from the writer's thread.
    using Complaint = std::function<void(const std::string&)>;

    RecordsKeeper(const CommandLine& commandLine, Complaint complain);
    ~RecordsKeeper() override;

    void Record(const QuestionResult& result) override;

    QString ChildName() const { return childName_; }
    // Rows from now on go to `name`'s records, in `folder` when it was found in the records
    // folder, else in the folder of the name; remembered for the next start.
    void SetChild(const QString& name, const QString& folder = {});
    QString RecordsDir() const { return recordsDir_; }
    double FluentSeconds() const { return fluentSeconds_; }
    // The sheet named with --results, read instead of the records; empty when none.
    QString ResultsFile() const { return resultsFile_; }
    // Where the child's rows are read from: the sheet named with --results, or their folder.
    QString ChildSource() const;
    // Reads every row of the child's so far, with what could not be read, once the rows
    // handed over are written. For a thread other than the game's: it waits on the disk.
    std::function<ChildSummary()> ChildReader() const;

private:
    void OpenWriter();

    Complaint complain_;
    QString childName_;
    QString childFolder_;
    QString recordsDir_;
    QString resultsFile_;
    QString installationId_;
    double fluentSeconds_;
    bool noRecords_;
    std::shared_ptr<RecordWriter> writer_;  // shared with a reader waiting for its rows
    QThreadPool closer_;  // a child's writer is closed here: its last rows may wait on a share
    QThreadPool saver_;   // the settings, saved in order off the game's thread
};

// The settings the program remembers, where the desktop keeps them.
class QSettings;
std::unique_ptr<QSettings> FizmoSettings();
