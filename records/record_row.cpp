#include "records/record_row.h"

#include <QStringDecoder>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <limits>
#include <vector>

#include "game/fizmo_view.h"
#include "platform/sjis.h"
#include "records/sheet_time.h"

namespace {

constexpr int kCellsBefore = 10;  // rows written before the problem file was kept
constexpr int kCells = 11;
constexpr int kSecondsCell = 8;
constexpr char kSheetSeparator = ';';  // a spreadsheet's, where a comma is the decimal mark

struct Named {
    int value;
    const char* name;
};
// The menu's own words, so the sheet reads like the game; the others are in their FactKind.
constexpr char kWordProblems[] = "文章題";
constexpr Named kLevels[] = {{5, "かんたん"}, {10, "ふつう"}, {30, "むずかしい"}};
constexpr Named kEnds[] = {{static_cast<int>(QuestionEnd::kAnswered), "正解"},
                           {static_cast<int>(QuestionEnd::kGameOver), "ゲームオーバー"},
                           {static_cast<int>(QuestionEnd::kStopped), "ストップ"},
                           {static_cast<int>(QuestionEnd::kFileDone), "問題ファイルのおわり"},
                           {static_cast<int>(QuestionEnd::kSkipped), "スキップ"}};
constexpr std::string_view kHeader =
    "日時,計算の種類,レベル,ステージ,問題,答え,入力した数字,まちがい,秒,結果,問題ファイル";
// A spreadsheet takes a cell that starts with one of these for a formula (a tab or a carriage
// return can stand before the formula).
constexpr std::string_view kFormulaStarts = "=+-@\t\r";

template <std::size_t N>
const char* NameOf(const Named (&table)[N], int value, const char* otherwise) {
    for (const Named& entry : table)
        if (entry.value == value) return entry.name;
    return otherwise;
}

template <std::size_t N>
std::optional<int> ValueOf(const Named (&table)[N], std::string_view name) {
    for (const Named& entry : table)
        if (name == entry.name) return entry.value;
    return std::nullopt;
}

bool StartsFormula(std::string_view text) {
    return !text.empty() && kFormulaStarts.find(text.front()) != std::string_view::npos;
}

// A quoted cell. Text from a problem file that a spreadsheet would take for a formula
// starts with an apostrophe, so opening the sheet never runs it.
std::string Cell(const std::string& text) {
    std::string cell = "\"";
    if (StartsFormula(text)) cell += '\'';
    for (char c : text) cell += c == '"' ? std::string("\"\"") : std::string(1, c);
    return cell + "\"";
}

std::string LocalTime(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

// A file's name as text: the file system's bytes may be Shift-JIS, as a problem set copied
// from a Japanese computer is named, and a row must stay UTF-8 to be read back.
std::string NameText(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(QByteArrayView(name));
    return (utf8.hasError() ? DecodeShiftJis(name) : text).toStdString();
}

// The cells of one line, parted by `separator`; false when a quote is left open or stray
// text follows one.
bool SplitCells(std::string_view line, char separator, std::vector<std::string>* cells) {
    std::size_t i = 0;
    while (true) {
        std::string cell;
        if (i < line.size() && line[i] == '"') {
            for (++i;; ++i) {
                if (i >= line.size()) return false;
                if (line[i] != '"') {
                    cell += line[i];
                } else if (i + 1 < line.size() && line[i + 1] == '"') {
                    cell += '"';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
            if (i < line.size() && line[i] != separator) return false;
        } else {
            const std::size_t end = std::min(line.find(separator, i), line.size());
            cell.assign(line.substr(i, end - i));
            i = end;
        }
        cells->push_back(std::move(cell));
        if (cells->size() > kCells + 1) return false;  // one more for split seconds
        if (i >= line.size()) return true;
        ++i;  // the separator
    }
}

bool AllDigits(std::string_view text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

// Under a locale with a decimal comma the seconds were once written "19,0", unquoted: two
// cells, the whole seconds and one digit of tenths, just before the row's end.
void JoinSplitSeconds(std::vector<std::string>* cells) {
    std::vector<std::string>& c = *cells;
    if (c.size() != kCells + 1 && c.size() != kCellsBefore + 1) return;
    const std::string& whole = c[kSecondsCell];
    const std::string& tenths = c[kSecondsCell + 1];
    if (whole.empty() || !AllDigits(whole) || tenths.size() != 1 || !AllDigits(tenths) ||
        !ValueOf(kEnds, c[kSecondsCell + 2]))
        return;
    c[kSecondsCell] += '.' + tenths;
    c.erase(c.begin() + kSecondsCell + 1);
}

// An answer as the game writes it: a problem file's answer may be negative. Empty on the row
// that ends a problem file.
bool IsAnswer(std::string_view text) {
    const bool negative = text.starts_with('-');
    if (negative) text.remove_prefix(1);
    return AllDigits(text) && text.size() <= 9 && !(negative && text.empty());
}

const char* KindName(int quizMode) {
    const FactKind* kind = KindOf(quizMode);
    return kind ? kind->name : kWordProblems;
}

std::optional<int> KindValue(std::string_view name) {
    if (name == kWordProblems) return kQuizWordProblems;
    for (int i = 0; i < kFactKinds; ++i)
        if (name == KindAt(i).name) return KindAt(i).quizMode;
    return std::nullopt;
}

// A number as the game writes it: no sign, no leading zero.
std::optional<int> Written(std::string_view text) {
    const auto n = Number(text);
    if (!n || !AllDigits(text) || std::to_string(*n) != text) return std::nullopt;
    return n;
}

// "a × b =", "13 － 5 =" and the like: a fact of the row's kind that gives the row's answer.
bool ReadOperands(RecordRow* row) {
    const FactKind& kind = *KindOf(row->quizMode);
    const std::string_view q = row->question;
    const std::string middle = std::string(" ") + kind.sign + " ";
    const auto at = q.find(middle);
    const auto from = at + middle.size();
    if (at == std::string_view::npos || !q.ends_with(" =") || from + 2 > q.size()) return false;
    const auto a = Written(q.substr(0, at)), b = Written(q.substr(from, q.size() - 2 - from));
    if (!a || !b || !kind.valid({*a, *b})) return false;
    if (row->answer != std::to_string(kind.answer({*a, *b}))) return false;
    row->operandA = *a;
    row->operandB = *b;
    return true;
}

// The row that a line's cells hold, if they make one.
std::optional<RecordRow> RowOf(const std::vector<std::string>& cells) {
    if (cells.size() != kCells && cells.size() != kCellsBefore) return std::nullopt;
    RecordRow row;
    const auto kind = KindValue(cells[1]);
    const auto level = ValueOf(kLevels, cells[2]);
    const auto stage = Number(cells[3]);
    const auto wrong = Number(cells[7]);
    const auto end = ValueOf(kEnds, cells[9]);
    const auto when = ReadSheetTime(cells[0]);
    if (!when || !kind || !level || !stage || !wrong || !end || !IsAnswer(cells[5]) ||
        !AllDigits(cells[6]))
        return std::nullopt;
    const std::string& secondsCell = cells[kSecondsCell];
    const char* secondsEnd = secondsCell.data() + secondsCell.size();
    double seconds = 0;
    const auto [last, error] = std::from_chars(secondsCell.data(), secondsEnd, seconds);
    if (error != std::errc() || last != secondsEnd || !std::isfinite(seconds) || seconds < 0)
        return std::nullopt;
    row.when = *when;
    row.quizMode = *kind;
    row.speedLow = *level;
    row.stage = *stage;
    row.question = cells[4];
    if (row.question.starts_with('\'') && StartsFormula(std::string_view(row.question).substr(1)))
        row.question.erase(0, 1);
    row.answer = cells[5];
    row.entered = cells[6];
    row.wrongHits = *wrong;
    row.seconds = seconds;
    row.end = static_cast<QuestionEnd>(*end);
    if (cells.size() == kCells) row.problemFile = cells[10];
    const bool operands = row.quizMode != kQuizWordProblems && row.end != QuestionEnd::kFileDone;
    if (operands && !ReadOperands(&row)) return std::nullopt;
    return row;
}

}  // namespace

std::string RecordHeader() {
    return std::string(kHeader);
}

bool IsRecordHeader(std::string_view line) {
    // The first two cells: older sheets have fewer cells after them.
    static const std::string commas(
        kHeader.substr(0, kHeader.find(',', kHeader.find(',') + 1) + 1));
    static const std::string semicolons = [] {
        std::string start = commas;
        std::replace(start.begin(), start.end(), ',', kSheetSeparator);
        return start;
    }();
    return line.starts_with(commas) || line.starts_with(semicolons);
}

std::string RecordRowText(const QuestionResult& r) {
    const std::string questionUtf8 =
        r.encoding == TextEncoding::Utf8 ? r.question : DecodeShiftJis(r.question).toStdString();
    // Never the locale's decimal comma, which would split the cell in two.
    char seconds[std::numeric_limits<double>::max_exponent10 + 8];
    const auto written =
        std::to_chars(seconds, seconds + sizeof seconds, r.seconds, std::chars_format::fixed, 1);
    const bool word = r.quizMode == kQuizWordProblems;
    return LocalTime(r.when) + "," + KindName(r.quizMode) + "," +
           NameOf(kLevels, r.speedLow, "むずかしい") + "," + std::to_string(r.stage) + "," +
           Cell(questionUtf8) + "," + r.answer + "," + Cell(r.entered) + "," +
           std::to_string(r.wrongHits) + "," + std::string(seconds, written.ptr) + "," +
           NameOf(kEnds, static_cast<int>(r.end), "ストップ") + "," +
           Cell(word ? NameText(r.problemFile) : std::string());
}

std::optional<RecordRow> ParseRecordRow(std::string_view line) {
    std::vector<std::string> cells;
    cells.reserve(kCells + 1);
    if (SplitCells(line, ',', &cells)) {
        // A spreadsheet that parts cells with semicolons took the whole row for one cell,
        // and quoted it when it saved.
        if (cells.size() == 1 && line.starts_with('"')) return ParseRecordRow(cells[0]);
        JoinSplitSeconds(&cells);
        if (auto row = RowOf(cells)) return row;
    }
    // Saved by a spreadsheet whose locale writes a decimal comma: semicolons part the cells,
    // and the seconds have a comma.
    cells.clear();
    if (line.find(kSheetSeparator) == std::string_view::npos ||
        !SplitCells(line, kSheetSeparator, &cells) || cells.size() <= kSecondsCell)
        return std::nullopt;
    std::replace(cells[kSecondsCell].begin(), cells[kSecondsCell].end(), ',', '.');
    return RowOf(cells);
}
