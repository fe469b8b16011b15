#include "records/sheet_time.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace {

// Up to three numbers parted by `separator`; false on anything else.
bool ReadNumbers(std::string_view text, char separator, std::array<int, 3>* numbers,
                 std::array<std::size_t, 3>* digits, int* count) {
    *count = 0;
    while (*count < 3) {
        int value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        const auto used = static_cast<std::size_t>(end - text.data());
        if (error != std::errc() || used == 0 || used > 4 || text.front() == '-') return false;
        (*numbers)[*count] = value;
        (*digits)[*count] = used;
        ++*count;
        text.remove_prefix(used);
        if (text.empty()) return true;
        if (text.front() != separator) return false;
        text.remove_prefix(1);
    }
    return false;
}

struct Date {
    int year, month, day;
};

std::optional<Date> ReadDate(std::string_view text) {
    const std::size_t mark = text.find_first_of("/-.");
    if (mark == std::string_view::npos) return std::nullopt;
    const char separator = text[mark];
    std::array<int, 3> n{};
    std::array<std::size_t, 3> digits{};
    int count = 0;
    if (!ReadNumbers(text, separator, &n, &digits, &count) || count != 3) return std::nullopt;
    Date date{};
    if (digits[0] == 4)
        date = {n[0], n[1], n[2]};
    else if (separator == '.' || n[0] > 12)
        date = {n[2], n[1], n[0]};
    else
        date = {n[2], n[0], n[1]};
    if (date.year < 100) date.year += 2000;  // a two-digit year, as a short date shows it
    if (date.year < 1970 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > 31)
        return std::nullopt;
    return date;
}

// "17:00", "17:00:05", "5:00 PM".
std::optional<std::array<int, 3>> ReadClock(std::string_view text) {
    int addHours = 0;
    bool twelveHour = false;
    using namespace std::literals;
    for (const auto& [suffix, add] : {std::pair{" AM"sv, 0}, std::pair{" PM"sv, 12}})
        if (text.ends_with(suffix)) {
            text.remove_suffix(suffix.size());
            addHours = add;
            twelveHour = true;
        }
    std::array<int, 3> n{};
    std::array<std::size_t, 3> digits{};
    int count = 0;
    if (!ReadNumbers(text, ':', &n, &digits, &count) || count < 2 || digits[1] != 2 ||
        (count == 3 && digits[2] != 2))
        return std::nullopt;
    if (twelveHour) {
        if (n[0] < 1 || n[0] > 12) return std::nullopt;
        n[0] = n[0] % 12 + addHours;
    }
    if (n[0] > 23 || n[1] > 59 || n[2] > 59) return std::nullopt;
    return n;
}

}  // namespace

std::optional<std::string> ReadSheetTime(std::string_view cell) {
    const std::size_t space = cell.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    const auto date = ReadDate(cell.substr(0, space));
    const auto clock = ReadClock(cell.substr(space + 1));
    if (!date || !clock) return std::nullopt;
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date->year, date->month,
                  date->day, (*clock)[0], (*clock)[1], (*clock)[2]);
    return std::string(text);
}
