#include "app/problem_check.h"

#include <QString>
#include <QStringDecoder>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "game/problem_encoding.h"
#include "game/problem_reader.h"

namespace {

using problem_reader::kAnswerLineSize;
using problem_reader::kTextLineSize;

struct Finding {
    int problem;
    std::string text;
};

class Report {
public:
    explicit Report(std::ostream& out) : out_(out) {}
    void Say(const char* japanese, const char* english) {
        out_ << japanese << " / " << english << '\n';
    }
    void Warn(int problem, const std::string& japanese, const std::string& english) {
        ++findings_;
        if (problem == 0) {
            out_ << "  !! " << japanese << "\n     " << english << '\n';
            return;
        }
        out_ << "  !! 問題 " << problem << ": " << japanese << "\n     Problem " << problem << ": "
             << english << '\n';
    }
    std::ostream& Out() { return out_; }
    int Findings() const { return findings_; }

private:
    std::ostream& out_;
    int findings_ = 0;
};

// Text as the game shows it, or nothing when the bytes are not valid in that encoding.
bool Decode(const char* bytes, TextEncoding encoding, QString* text) {
    QStringDecoder decoder(encoding == TextEncoding::Utf8 ? "UTF-8" : "windows-31j",
                           QStringConverter::Flag::Stateless);
    QByteArrayView view(bytes, static_cast<qsizetype>(std::strlen(bytes)));
    *text = decoder.decode(view);
    return !decoder.hasError();
}

std::string Shown(const char* bytes, TextEncoding encoding) {
    QString text;
    Decode(bytes, encoding, &text);
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) text.chop(1);
    return text.toStdString();
}

bool EndsWithLineFeed(const char* line) {
    const std::size_t n = std::strlen(line);
    return n > 0 && line[n - 1] == '\n';
}

void CheckTextLine(Report& report, int problem, int number, const char* line, TextEncoding encoding,
                   bool more) {
    QString ignored;
    if (!Decode(line, encoding, &ignored))
        report.Warn(problem, std::to_string(number) + "行目に文字として読めないバイトがあります。",
                    "line " + std::to_string(number) + " holds bytes that are not valid text.");
    if (std::strlen(line) == kTextLineSize - 1 && !EndsWithLineFeed(line) && more)
        report.Warn(problem,
                    std::to_string(number) +
                        "行目が79バイトで切れています。のこりは次の行として読まれ、"
                        "あとの行がずれます。",
                    "line " + std::to_string(number) +
                        " is cut at 79 bytes; the rest is read as the next line and every "
                        "line after it shifts.");
}

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool StartsLikeANumber(const char* text) {
    while (IsSpace(*text)) ++text;
    if (*text == '+' || *text == '-') ++text;
    return IsDigit(*text);
}

// Something after the number that the game ignores, like "42abc".
bool HasTrailingText(const char* text) {
    while (IsSpace(*text)) ++text;
    if (*text == '+' || *text == '-') ++text;
    while (IsDigit(*text)) ++text;
    while (IsSpace(*text)) ++text;
    return *text != '\0';
}

void CheckAnswerLine(Report& report, int problem, const char* line, TextEncoding encoding,
                     int answer, bool more) {
    if (std::strlen(line) == kAnswerLineSize - 1 && !EndsWithLineFeed(line) && more)
        report.Warn(problem, "答えの行が9文字で切れています。のこりは次の問題の1行目になります。",
                    "the answer line is cut at 9 characters; the rest becomes the first line "
                    "of the next problem.");
    if (!StartsLikeANumber(line))
        report.Warn(problem,
                    "答え「" + Shown(line, encoding) +
                        "」は数字ではないので 0 になります（全角数字は使えません）。",
                    "the answer \"" + Shown(line, encoding) +
                        "\" is not a number, so it reads as 0 (full-width digits do not "
                        "count).");
    else if (HasTrailingText(line))
        report.Warn(
            problem,
            "答えの行の数字のあとは読まれません。答えは " + std::to_string(answer) + " です。",
            "only the number at the start of the answer line is read: the answer is " +
                std::to_string(answer) + ".");
}

bool MoreToRead(std::FILE* file) {
    const int c = problem_reader::ReadByte(file);
    if (c == EOF) return false;
    // Put back what was taken; a CR LF pair came back as one LF.
    std::ungetc(c, file);
    return true;
}

}  // namespace

int CheckProblemFile(const std::string& path, std::ostream& out) {
    Report report(out);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "r"),
                                                         &std::fclose);
    out << "ファイル / File: " << path << '\n';
    // A folder opens as a stream but cannot be read.
    if (!file || (std::fgetc(file.get()) == EOF && std::ferror(file.get()))) {
        report.Say("ファイルをひらけません。", "the file cannot be opened or read.");
        return 1;
    }
    const TextEncoding encoding = DetectProblemEncoding(file.get());
    report.Say(encoding == TextEncoding::Utf8 ? "文字コード: UTF-8" : "文字コード: Shift-JIS",
               encoding == TextEncoding::Utf8 ? "encoding: UTF-8" : "encoding: Shift-JIS");

    char lines[3][kTextLineSize] = {};
    int problems = 0;
    for (;;) {
        char answerLine[kAnswerLineSize] = {};
        int answer = 0;
        int linesRead = 0;
        char fresh[3][kTextLineSize] = {};
        if (!problem_reader::ReadProblem(file.get(), fresh, &answer, &answerLine, &linesRead))
            break;
        std::memcpy(lines, fresh, sizeof lines);
        const int n = ++problems;
        out << "\n問題 " << n << " / Problem " << n << '\n';
        for (int i = 0; i < 3; ++i)
            out << "  " << i + 1 << ": " << Shown(lines[i], encoding) << '\n';
        out << "  答え / Answer: " << answer << '\n';
        const bool more = MoreToRead(file.get());
        for (int i = 0; i < std::min(linesRead, 3); ++i)
            CheckTextLine(report, n, i + 1, lines[i], encoding, more || i + 1 < linesRead);
        if (linesRead == 4) CheckAnswerLine(report, n, answerLine, encoding, answer, more);
        if (linesRead < 4)
            report.Warn(n, "ファイルが問題のとちゅうで終わっています（4行で1問です）。",
                        "the file ends inside this problem (each problem is four lines).");
    }
    out << '\n';
    if (problems == 0)
        report.Warn(0, "問題がひとつもありません。", "the file holds no problem at all.");
    out << "問題の数 / Problems: " << problems << '\n';
    if (report.Findings() == 0) {
        report.Say("問題はありません。このまま使えます。", "no issues found; the file is ready.");
        return 0;
    }
    out << "注意 / Issues: " << report.Findings() << '\n';
    return 1;
}
