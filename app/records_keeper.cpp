#include "app/records_keeper.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "app/installation_id.h"
#include "records/child_folders.h"
#include "records/fact_state.h"
#include "records/record_reader.h"
#include "records/record_writer.h"

namespace {

const QString kNameKey = QStringLiteral("records/name");
const QString kChildFolderKey = QStringLiteral("records/childFolder");
const QString kFolderKey = QStringLiteral("records/folder");
const QString kFluentKey = QStringLiteral("records/fluentSeconds");

}  // namespace

std::unique_ptr<QSettings> FizmoSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Fizmo"), QStringLiteral("fizmo"));
}

RecordsChoice RememberRecordsChoice(const CommandLine& commandLine) {
    auto settings = FizmoSettings();
    if (commandLine.childName) {
        const QString name = ChildName(QString::fromStdString(*commandLine.childName));
        settings->setValue(kNameKey, name);
        settings->setValue(kChildFolderKey, ChildFolderName(name));
    }
    // Absolute: a start from the launcher is in another working folder.
    if (!commandLine.recordsDir.empty())
        settings->setValue(
            kFolderKey,
            QFileInfo(QFile::decodeName(commandLine.recordsDir.c_str())).absoluteFilePath());
    if (commandLine.fluentSeconds > 0) settings->setValue(kFluentKey, commandLine.fluentSeconds);
    RecordsChoice choice;
    choice.childName = settings->value(kNameKey).toString();
    // Settings from before the folder was kept, or edited by hand, give the name's own.
    choice.childFolder = settings->value(kChildFolderKey).toString();
    if (choice.childFolder.isEmpty() || choice.childFolder.contains('/') ||
        choice.childFolder == "." || choice.childFolder == "..")
        choice.childFolder = ChildFolderName(choice.childName);
    choice.recordsDir = settings->value(kFolderKey, DefaultRecordsDir()).toString();
    choice.fluentSeconds = settings->value(kFluentKey, kDefaultFluentSeconds).toDouble();
    if (choice.fluentSeconds <= 0) choice.fluentSeconds = kDefaultFluentSeconds;
    return choice;
}

RecordsKeeper::RecordsKeeper(const CommandLine& commandLine, Complaint complain)
    : complain_(std::move(complain)),
      resultsFile_(QFile::decodeName(commandLine.resultsFile.c_str())),
      noRecords_(commandLine.noRecords) {
    const RecordsChoice choice = RememberRecordsChoice(commandLine);
    childName_ = choice.childName;
    childFolder_ = choice.childFolder;
    recordsDir_ = choice.recordsDir;
    fluentSeconds_ = choice.fluentSeconds;
    saver_.setMaxThreadCount(1);
    OpenWriter();
}

RecordsKeeper::~RecordsKeeper() = default;

void RecordsKeeper::OpenWriter() {
    if (writer_) closer_.start([old = std::move(writer_)]() mutable { old.reset(); });
    if (!resultsFile_.isEmpty()) {
        writer_ = std::make_shared<RecordWriter>(QFile::encodeName(resultsFile_).toStdString(),
                                                 complain_);
    } else if (!noRecords_) {
        // Made when records are first kept: --no-records and --results leave nothing behind.
        if (installationId_.isEmpty()) installationId_ = InstallationId();
        const QString file = ChildSource() + "/" + ComputerFileName(installationId_);
        // Only this user's own records folder is made: one chosen, a share say, must be there.
        const auto place = recordsDir_ == DefaultRecordsDir()
                               ? RecordWriter::Place::kChildFolderAndRecords
                               : RecordWriter::Place::kChildFolder;
        writer_ =
            std::make_shared<RecordWriter>(QFile::encodeName(file).toStdString(), complain_, place);
    }
}

void RecordsKeeper::Record(const QuestionResult& result) {
    if (writer_) writer_->Record(result);
}

QString RecordsKeeper::ChildSource() const {
    if (!resultsFile_.isEmpty()) return resultsFile_;
    return QDir(recordsDir_).filePath(childFolder_);
}

std::function<ChildSummary()> RecordsKeeper::ChildReader() const {
    return [writer = writer_, source = ChildSource(), name = childName_.toStdString(),
            fluentSeconds = fluentSeconds_] {
        if (writer) writer->Drain();
        std::vector<RecordRow> rows;
        SkippedRecords skipped;
        ReadRecords(source, &rows, &skipped);
        return SummarizeChild(name, std::move(rows), fluentSeconds, std::move(skipped));
    };
}

void RecordsKeeper::SetChild(const QString& name, const QString& folder) {
    const QString childFolder = folder.isEmpty() ? ChildFolderName(name) : folder;
    // Saving the settings waits on the disk; in order, the last name chosen stays.
    saver_.start([name, childFolder] {
        auto settings = FizmoSettings();
        settings->setValue(kNameKey, name);
        settings->setValue(kChildFolderKey, childFolder);
    });
    childName_ = name;
    if (childFolder == childFolder_) return;
    childFolder_ = childFolder;
    if (resultsFile_.isEmpty()) OpenWriter();
}
