#include "records/record_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cerrno>
#include <cstring>

#include "records/record_row.h"

RecordWriter::RecordWriter(std::string path, Complaint complain, bool makeFolder)
    : path_(std::move(path)), complain_(std::move(complain)), makeFolder_(makeFolder) {
    thread_ = std::thread([this] { Run(); });
}

RecordWriter::~RecordWriter() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    thread_.join();
    if (fd_ >= 0) ::close(fd_);
}

void RecordWriter::Record(const QuestionResult& result) {
    std::string row = RecordRowText(result) + "\r\n";
    {
        std::lock_guard lock(mutex_);
        waiting_.push_back(std::move(row));
    }
    changed_.notify_all();
}

void RecordWriter::Drain() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return waiting_.empty() && !busy_; });
}

void RecordWriter::Run() {
    std::unique_lock lock(mutex_);
    busy_ = true;
    lock.unlock();
    const bool open = Open();
    lock.lock();
    busy_ = false;
    changed_.notify_all();
    while (true) {
        changed_.wait(lock, [this] { return closing_ || !waiting_.empty(); });
        if (waiting_.empty()) return;
        std::string row = std::move(waiting_.front());
        waiting_.pop_front();
        busy_ = true;
        lock.unlock();
        if (open && fd_ >= 0) Write(row);
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

bool RecordWriter::Open() {
    errno = 0;
    if (makeFolder_ && !QDir().mkpath(QFileInfo(QFile::decodeName(path_.c_str())).path())) {
        GiveUp(errno ? errno : EACCES);
        return false;
    }
    fd_ = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        GiveUp(errno);
        return false;
    }
    // A new file gets the mark and the header; so does a pipe, which only carries this run.
    struct stat info {};
    if (fstat(fd_, &info) == 0 && info.st_size == 0)
        return Write("\xEF\xBB\xBF" + RecordHeader() + "\r\n");
    return true;
}

// One write per row, so a second writer's rows fall between ours, never inside them; then
// the row reaches the disk itself, not only the system's cache. A pipe or a terminal has no
// disk behind it (EINVAL) and is written all the same.
bool RecordWriter::Write(const std::string& text) {
    ssize_t written;
    do {
        written = ::write(fd_, text.data(), text.size());
    } while (written < 0 && errno == EINTR);
    if (written != static_cast<ssize_t>(text.size())) {
        GiveUp(written < 0 ? errno : ENOSPC);
        return false;
    }
    if (fdatasync(fd_) != 0 && errno != EINVAL) {
        GiveUp(errno);
        return false;
    }
    return true;
}

void RecordWriter::GiveUp(int error) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    complain_("cannot keep the records in '" + path_ + "': " + std::strerror(error) +
              "; the game goes on without them.\n記録をファイル「" + path_ +
              "」に書けません。記録を残さずにゲームを続けます。");
}
