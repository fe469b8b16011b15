#include "speech/arithmetic_reading.h"

namespace {

struct SignWord {
    SpokenSign sign;
    const char* word;
};

constexpr SignWord kSignWords[] = {
    {SpokenSign::kTimes, "かける"},
    {SpokenSign::kPlus, "たす"},
};

// Drill readings: よん and なな, as children learn them for 九九.
constexpr const char* kDigits[] = {"ゼロ", "イチ", "ニ",   "サン", "ヨン",
                                   "ゴ",   "ロク", "ナナ", "ハチ", "キュウ"};
constexpr const char* kTen = "ジュウ";
constexpr int kLargestSpoken = 99;

const char* SignWordOf(SpokenSign sign) {
    for (const SignWord& entry : kSignWords)
        if (entry.sign == sign) return entry.word;
    return "";
}

}  // namespace

std::string SpokenNumber(int n) {
    if (n < 0 || n > kLargestSpoken) return std::to_string(n);
    if (n < 10) return kDigits[n];
    const int tens = n / 10;
    const int ones = n % 10;
    return (tens > 1 ? std::string(kDigits[tens]) : std::string()) + kTen +
           (ones ? kDigits[ones] : "");
}

// Spaces give the child a breath between the parts; は is read わ as the particle it is.
std::string ArithmeticReading(SpokenSign sign, int a, int b) {
    return SpokenNumber(a) + " " + SignWordOf(sign) + " " + SpokenNumber(b) + " は";
}
