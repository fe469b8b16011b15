#include "records/record_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "platform/sjis.h"

namespace {

constexpr long long kLongestLine = 64 * 1024;
constexpr long long kLargestFile = 1LL << 30;

// Whether `text` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool ValidUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const int length = *p >= 0xF0 ? 4 : *p >= 0xE0 ? 3 : *p >= 0xC2 ? 2 : 0;
        if (length == 0 || *p > 0xF4 || end - p < length) return false;
        for (int i = 1; i < length; ++i)
            if ((p[i] & 0xC0) != 0x80) return false;
        if ((*p == 0xE0 && p[1] < 0xA0) || (*p == 0xED && p[1] > 0x9F) ||
            (*p == 0xF0 && p[1] < 0x90) || (*p == 0xF4 && p[1] > 0x8F))
            return false;
        p += length;
    }
    return true;
}

QString FileLabel(const QString& path) {
    return QFileInfo(path).fileName().isEmpty() ? path : QFileInfo(path).fileName();
}

void CountUnreadable(const QString& path, SkippedRecords* skipped, const char* why) {
    skipped->files.push_back(
        (FileLabel(path) + " (" + QString::fromLocal8Bit(why) + ")").toStdString());
}

// The whole file, read without waiting on anything that is not a plain file (a pipe, a
// device), which could hold the reader for ever.
bool ReadWhole(const QString& path, std::string* bytes, SkippedRecords* skipped) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        CountUnreadable(path, skipped, std::strerror(errno));
        return false;
    }
    struct stat info {};
    const char* why = nullptr;
    if (fstat(fd, &info) != 0)
        why = std::strerror(errno);
    else if (S_ISDIR(info.st_mode))
        why = std::strerror(EISDIR);
    else if (!S_ISREG(info.st_mode))
        why = "not a file";
    else if (info.st_size > kLargestFile)
        why = std::strerror(EFBIG);
    if (!why) {
        bytes->resize(static_cast<std::size_t>(info.st_size));
        std::size_t got = 0;
        while (got < bytes->size()) {
            const ssize_t n = ::read(fd, bytes->data() + got, bytes->size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) why = std::strerror(errno);
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        bytes->resize(got);
    }
    ::close(fd);
    if (why) CountUnreadable(path, skipped, why);
    return !why;
}

}  // namespace

void ReadRecordFile(const QString& path, std::vector<RecordRow>* rows, SkippedRecords* skipped) {
    std::string bytes;
    if (!ReadWhole(path, &bytes, skipped)) return;
    std::string_view text(bytes);
    const bool allUtf8 = ValidUtf8(text);
    long bad = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.ends_with('\r')) line.remove_suffix(1);
        // Two programs that found the file empty at once both begin it: a mark mid-file.
        if (line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
        if (line.empty() || IsRecordHeader(line)) continue;
        std::optional<RecordRow> row;
        if (static_cast<long long>(line.size()) <= kLongestLine) {
            if (allUtf8 || ValidUtf8(line)) {
                row = ParseRecordRow(line);
            } else {
                // A spreadsheet in Japan saves CSV in Shift-JIS.
                const std::string decoded =
                    DecodeShiftJis(line.data(), static_cast<int>(line.size())).toStdString();
                if (IsRecordHeader(decoded)) continue;
                row = ParseRecordRow(decoded);
            }
        }
        if (row)
            rows->push_back(std::move(*row));
        else
            ++bad;
    }
    if (bad == 0) return;
    skipped->rows += bad;
    skipped->files.push_back(FileLabel(path).toStdString());
}

void ReadChildFolder(const QString& folder, std::vector<RecordRow>* rows, SkippedRecords* skipped) {
    const QDir dir(folder);
    for (const QString& file : dir.entryList(
             {"*.csv"}, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name))
        ReadRecordFile(dir.filePath(file), rows, skipped);
}

void ReadRecords(const QString& fileOrFolder, std::vector<RecordRow>* rows,
                 SkippedRecords* skipped) {
    if (QFileInfo(fileOrFolder).isDir())
        ReadChildFolder(fileOrFolder, rows, skipped);
    else if (QFileInfo::exists(fileOrFolder))
        ReadRecordFile(fileOrFolder, rows, skipped);
}
