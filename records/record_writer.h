#pragma once
// Appends each question's row to a sheet, off the game's thread: a disk or a network share
// that stalls must not stall play. Rows are written in order, each with one write() to a
// file opened for appending and synced to the disk, so two writers of one file leave whole
// rows and a power cut keeps every row written. Nothing ever rewrites or truncates the file.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "game/question_log.h"

class RecordWriter final : public QuestionLog {
public:
    // Told once, on the writer's thread, when the file cannot be opened or written; the game
    // plays on, and the rows not written are tried again with each next row (a share that
    // comes back), up to a bound.
    using Complaint = std::function<void(const std::string&)>;

    enum class Place {
        kNamedFile,              // a sheet the user named: a file, a pipe or a link, as they chose
        kChildFolder,            // a child's file in a records folder that must be there (a share
                                 // not mounted yet is never made in its mount point's place)
        kChildFolderAndRecords,  // the same, the records folder made too when missing
    };
    RecordWriter(std::string path, Complaint complain, Place place = Place::kNamedFile);
    // Writes every row still waiting: a normal close loses none.
    ~RecordWriter() override;
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    void Record(const QuestionResult& result) override;
    // Waits until every row handed over so far is written, or tried.
    void Drain();

private:
    void Run();
    void WriteWaiting();
    bool Open();
    int OpenChildFile(int* error) const;
    bool StartLine();
    bool Write(const std::string& text);
    void GiveUp(int error);

    const std::string path_;
    const Complaint complain_;
    const Place place_;
    int fd_ = -1;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> waiting_;
    std::deque<std::string> unwritten_;  // the writer's thread's own
    bool complained_ = false;
    bool busy_ = false;
    bool closing_ = false;
    std::thread thread_;
};
