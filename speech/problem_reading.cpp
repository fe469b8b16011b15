#include "speech/problem_reading.h"

#include <string_view>

namespace {

struct Unit {
    std::string_view letters;
    std::string_view reading;
};

// Longest first, so that ｍｍ is not taken for ｍ; full-width and ASCII letters alike.
constexpr Unit kUnits[] = {
    {"ｍｍ", "ミリメートル"}, {"ｃｍ", "センチメートル"},
    {"ｋｍ", "キロメートル"}, {"ｍＬ", "ミリリットル"},
    {"ｄＬ", "デシリットル"}, {"ｋｇ", "キログラム"},
    {"ｍ", "メートル"},       {"ｇ", "グラム"},
    {"Ｌ", "リットル"},       {"mm", "ミリメートル"},
    {"cm", "センチメートル"}, {"km", "キロメートル"},
    {"mL", "ミリリットル"},   {"dL", "デシリットル"},
    {"kg", "キログラム"},     {"m", "メートル"},
    {"g", "グラム"},          {"L", "リットル"},
};

constexpr std::string_view kFullWidthDigits[] = {"０", "１", "２", "３", "４",
                                                 "５", "６", "７", "８", "９"};
constexpr std::string_view kHowMany[] = {"何", "なん"};
constexpr std::string_view kSentenceEnds[] = {"。", "？", "！", "?", "!"};
constexpr std::string_view kSpaces[] = {" ", "　"};

bool EndsWithNumber(std::string_view text) {
    if (!text.empty() && text.back() >= '0' && text.back() <= '9') return true;
    for (std::string_view digit : kFullWidthDigits)
        if (text.ends_with(digit)) return true;
    for (std::string_view word : kHowMany)
        if (text.ends_with(word)) return true;
    return false;
}

}  // namespace

std::string UnitsSpelledOut(const std::string& utf8) {
    std::string out;
    std::string_view rest = utf8;
    while (!rest.empty()) {
        bool spelled = false;
        for (const Unit& unit : kUnits) {
            if (!rest.starts_with(unit.letters) || !EndsWithNumber(out)) continue;
            out += unit.reading;
            rest.remove_prefix(unit.letters.size());
            spelled = true;
            break;
        }
        if (spelled) continue;
        out += rest.front();
        rest.remove_prefix(1);
    }
    return out;
}

std::string SpeakableProblem(std::string utf8) {
    for (char& c : utf8)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return UnitsSpelledOut(utf8);
}

std::vector<std::string> Sentences(const std::string& utf8) {
    std::vector<std::string> sentences(1);
    std::string_view rest = utf8;
    while (!rest.empty()) {
        std::size_t length = 1;
        bool ends = false;
        for (std::string_view mark : kSentenceEnds)
            if (rest.starts_with(mark)) length = mark.size(), ends = true;
        bool space = false;
        for (std::string_view blank : kSpaces)
            if (rest.starts_with(blank)) length = blank.size(), space = true;
        // A sentence starts at its first word.
        if (!(space && sentences.back().empty())) sentences.back() += rest.substr(0, length);
        rest.remove_prefix(length);
        if (ends) sentences.emplace_back();
    }
    if (sentences.back().empty()) sentences.pop_back();
    return sentences;
}
