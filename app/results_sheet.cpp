#include "app/results_sheet.h"

#include <unistd.h>

#include <QString>
#include <cerrno>
#include <cstring>

#include "game/fizmo_view.h"
#include "platform/sjis.h"

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kHeader[] =
    "日時,計算の種類,レベル,ステージ,問題,答え,入力した数字,まちがい,秒,結果";

// The menu's own words, so the sheet reads like the game.
const char* KindName(int quizMode) {
    switch (quizMode) {
        case kQuizTimesTable:
            return "九九の計算";
        case kQuizAddition:
            return "一ケタのたしざん";
        default:
            return "文章題";
    }
}

const char* LevelName(int speedLow) {
    return speedLow == 5 ? "かんたん" : speedLow == 10 ? "ふつう" : "むずかしい";
}

const char* EndName(QuestionEnd end) {
    switch (end) {
        case QuestionEnd::kAnswered:
            return "正解";
        case QuestionEnd::kGameOver:
            return "ゲームオーバー";
        case QuestionEnd::kStopped:
            return "ストップ";
        default:
            return "問題ファイルのおわり";
    }
}

// A quoted cell. Text from a problem file that a spreadsheet would take for a formula
// starts with an apostrophe, so opening the sheet never runs it.
std::string Cell(const std::string& text) {
    std::string cell = "\"";
    if (!text.empty() && std::strchr("=+-@", text.front())) cell += '\'';
    for (char c : text) cell += c == '"' ? std::string("\"\"") : std::string(1, c);
    return cell + "\"";
}

std::string Utf8(const QuestionResult& r) {
    const QString text = r.encoding == TextEncoding::Utf8 ? QString::fromUtf8(r.question)
                                                          : DecodeShiftJis(r.question);
    return text.toStdString();
}

std::string LocalTime(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace

std::string ResultsRow(const QuestionResult& r) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", r.seconds);
    return LocalTime(r.when) + "," + KindName(r.quizMode) + "," + LevelName(r.speedLow) + "," +
           std::to_string(r.stage) + "," + Cell(Utf8(r)) + "," + r.answer + "," + Cell(r.entered) +
           "," + std::to_string(r.wrongHits) + "," + seconds + "," + EndName(r.end);
}

ResultsSheet::ResultsSheet(std::string path, Complaint complain)
    : path_(std::move(path)), complain_(std::move(complain)) {
    file_ = std::fopen(path_.c_str(), "ab");
    if (!file_) {
        GiveUp();
        return;
    }
    // Rows of earlier runs stay as they are; a new file gets the mark and the header, and so
    // does a pipe, which cannot seek and only ever carries this run.
    if (std::fseek(file_, 0, SEEK_END) != 0 || std::ftell(file_) == 0)
        Write(std::string(kByteOrderMark) + kHeader + "\r\n");
}

ResultsSheet::~ResultsSheet() {
    if (file_) std::fclose(file_);
}

void ResultsSheet::Record(const QuestionResult& result) {
    if (file_) Write(ResultsRow(result) + "\r\n");
}

// Each row reaches the disk itself, not only the system's cache, so a power cut keeps it. A
// pipe or a terminal has no disk behind it (EINVAL) and is written all the same.
bool ResultsSheet::Write(const std::string& text) {
    if (std::fwrite(text.data(), 1, text.size(), file_) == text.size() && std::fflush(file_) == 0 &&
        (fdatasync(fileno(file_)) == 0 || errno == EINVAL))
        return true;
    GiveUp();
    return false;
}

void ResultsSheet::GiveUp() {
    const std::string reason = std::strerror(errno);
    if (file_) std::fclose(file_);
    file_ = nullptr;
    complain_("cannot write the results to '" + path_ + "': " + reason +
              "; the game goes on without them.\n結果をファイル「" + path_ +
              "」に書けません。結果を残さずにゲームを続けます。");
}
