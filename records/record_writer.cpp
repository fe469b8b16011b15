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
#include <utility>

#include "records/record_row.h"

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr int kNotPlainFile = -1;
constexpr std::size_t kMostUnwritten =
    10'000;  // days of play  // not an errno: a link or a special file where rows go

std::string Reason(int error) {
    return error == kNotPlainFile ? "it is a link or not a plain file" : std::strerror(error);
}

}  // namespace

RecordWriter::RecordWriter(std::string path, Complaint complain, Place place)
    : path_(std::move(path)), complain_(std::move(complain)), place_(place) {
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
    std::string row = RecordRowText(result) + kLineEnd;
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
    Open();  // now: a new file begins with its header, and a fault is told at once
    lock.lock();
    busy_ = false;
    changed_.notify_all();
    while (true) {
        changed_.wait(lock, [this] { return closing_ || !waiting_.empty(); });
        if (waiting_.empty()) return;
        for (std::string& row : waiting_) unwritten_.push_back(std::move(row));
        waiting_.clear();
        busy_ = true;
        lock.unlock();
        WriteWaiting();
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

// The rows not written yet, oldest first; what a share that stays away leaves unwritten past
// the bound is dropped, oldest first.
void RecordWriter::WriteWaiting() {
    while (unwritten_.size() > kMostUnwritten) unwritten_.pop_front();
    if (fd_ < 0 && !Open()) return;
    while (!unwritten_.empty() && Write(unwritten_.front())) unwritten_.pop_front();
}

// In a folder that others share, a link or a special file planted at the child's file must
// neither lead the rows elsewhere nor hold the game: neither the folder nor the file is
// followed when a link, and only a plain file is taken (a FIFO is opened without waiting).
int RecordWriter::OpenChildFile(int* error) const {
    const QString path = QFile::decodeName(path_.c_str());
    const QByteArray folder = QFile::encodeName(QFileInfo(path).path());
    const QByteArray name = QFile::encodeName(QFileInfo(path).fileName());
    errno = 0;
    if (place_ == Place::kChildFolderAndRecords &&
        !QDir().mkpath(QFileInfo(QFile::decodeName(folder)).path())) {
        *error = errno ? errno : EACCES;
        return -1;
    }
    // Others of a class sharing the folder may add their files and rows, as the umask allows.
    if (::mkdir(folder.constData(), 0777) != 0 && errno != EEXIST) {
        *error = errno;
        return -1;
    }
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    int fd = dir < 0 ? -1
                     : ::openat(dir, name.constData(),
                                O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK,
                                0666);
    *error = errno;
    if (dir >= 0) ::close(dir);
    struct stat info {};
    if (fd >= 0 && (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        fd = -1;
        *error = kNotPlainFile;
    }
    // A link (ELOOP, or ENOTDIR for the folder) or a FIFO that nobody reads (ENXIO).
    if (fd < 0 && (*error == ELOOP || *error == ENXIO || *error == ENOTDIR)) *error = kNotPlainFile;
    if (fd >= 0) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool RecordWriter::Open() {
    errno = 0;
    int error = 0;
    if (place_ != Place::kNamedFile) {
        fd_ = OpenChildFile(&error);
    } else {
        fd_ = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        error = errno;
    }
    if (fd_ < 0) {
        GiveUp(error);
        return false;
    }
    // A new file gets the mark and the header; so does a pipe, which only carries this run.
    struct stat info {};
    if (fstat(fd_, &info) == 0 && info.st_size == 0)
        return Write("\xEF\xBB\xBF" + RecordHeader() + kLineEnd);
    return !S_ISREG(info.st_mode) || StartLine();
}

// A sheet cut off by a power cut or a full disk ends inside a row: this run's rows begin on
// a line of their own, so the first is not joined to that piece and lost with it. Unsure
// whether it ends a line, a line end is written: a blank line is read as nothing.
bool RecordWriter::StartLine() {
    const int follow = place_ == Place::kNamedFile ? 0 : O_NOFOLLOW;
    const int reader = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | follow);
    struct stat info {};
    char last = 0;
    const bool ended = reader >= 0 && fstat(reader, &info) == 0 && S_ISREG(info.st_mode) &&
                       info.st_size > 0 && pread(reader, &last, 1, info.st_size - 1) == 1 &&
                       last == '\n';
    if (reader >= 0) ::close(reader);
    return ended || Write(kLineEnd);
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
    // The row is with the system, if maybe not on its disk: written again, it could be twice.
    if (fdatasync(fd_) != 0 && errno != EINVAL) GiveUp(errno);
    return true;
}

void RecordWriter::GiveUp(int error) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (std::exchange(complained_, true)) return;
    complain_("cannot keep the records in '" + path_ + "': " + Reason(error) +
              "; the game goes on without them.\n記録をファイル「" + path_ +
              "」に書けません。記録を残さずにゲームを続けます。");
}
