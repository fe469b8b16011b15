#include "speech/arithmetic_reading.h"

namespace {

struct SignReading {
    const char* sign;
    const char* word;
};

constexpr SignReading kSignWords[] = {
    {"×", "かける"},
    {"＋", "たす"},
    {"－", "ひく"},
    {"÷", "わる"},
};

// Drill readings: よん and なな, as children learn them for 九九.
constexpr const char* kDigits[] = {"ゼロ", "イチ", "ニ",   "サン", "ヨン",
                                   "ゴ",   "ロク", "ナナ", "ハチ", "キュウ"};
constexpr const char* kTen = "ジュウ";
constexpr int kLargestSpoken = 99;

}  // namespace

std::string SignWord(const std::string& sign) {
    for (const SignReading& entry : kSignWords)
        if (sign == entry.sign) return entry.word;
    return {};
}

std::string SpokenNumber(int n) {
    if (n < 0 || n > kLargestSpoken) return std::to_string(n);
    if (n < 10) return kDigits[n];
    const int tens = n / 10;
    const int ones = n % 10;
    return (tens > 1 ? std::string(kDigits[tens]) : std::string()) + kTen +
           (ones ? kDigits[ones] : "");
}

// Spaces give the child a breath between the parts; は is read わ as the particle it is.
std::string ArithmeticReading(const std::string& sign, int a, int b) {
    return SpokenNumber(a) + " " + SignWord(sign) + " " + SpokenNumber(b) + " は";
}
