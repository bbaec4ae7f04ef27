#include "ncgen/DateCodes.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <ctime>

namespace korvex::ncgen {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
long daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

TMoment civilFromDays(long z, const TMoment& time) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    TMoment m = time;
    m.Day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m.Month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    m.Year = static_cast<int>(yoe + era * 400 + (m.Month <= 2));
    return m;
}

int dayOfYear(const TMoment& m) {
    return static_cast<int>(daysFromCivil(m.Year, m.Month, m.Day) - daysFromCivil(m.Year, 1, 1)) +
           1;
}

// 1 Monday ... 7 Sunday; 1970-01-01 was a Thursday.
int isoWeekday(const TMoment& m) {
    const long days = daysFromCivil(m.Year, m.Month, m.Day);
    return static_cast<int>(((days % 7 + 7) % 7 + 3) % 7) + 1;
}

// ISO 8601: the week with the year's first Thursday is week 1.
std::pair<int, int> isoWeek(const TMoment& m) {
    const long days = daysFromCivil(m.Year, m.Month, m.Day);
    const long thursday = days - isoWeekday(m) + 4;
    const TMoment t = civilFromDays(thursday, m);
    return {t.Year, (dayOfYear(t) - 1) / 7 + 1};
}

std::string digits(long value, int width) {
    std::string s(static_cast<std::size_t>(width), '0');
    for (int i = width - 1; i >= 0 && value > 0; --i, value /= 10)
        s[static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
    return s;
}

// Longest token first, so that YYYY is not read as YY YY nor DDD as DD D.
std::string formatted(std::string_view format,
                      const std::array<std::pair<std::string_view, std::string>, 6>& tokens) {
    std::string out;
    std::size_t at = 0;
    while (at < format.size()) {
        bool matched = false;
        for (const auto& [token, value] : tokens) {
            if (!token.empty() && format.substr(at, token.size()) == token) {
                out += value;
                at += token.size();
                matched = true;
                break;
            }
        }
        if (!matched) out += format[at++];
    }
    return out;
}

std::string dateText(std::string_view format, const TMoment& m) {
    // Beside a week the year is the week's: 30 Dec 2024 is "2501", not the "2401" of a year ago.
    const int year = format.find("WW") != format.npos ? isoWeek(m).first : m.Year;
    return formatted(format, {{{"YYYY", digits(year, 4)},
                               {"DDD", digits(dayOfYear(m), 3)},
                               {"YY", digits(year % 100, 2)},
                               {"MM", digits(m.Month, 2)},
                               {"DD", digits(m.Day, 2)},
                               {"WW", digits(isoWeek(m).second, 2)}}});
}

std::string timeText(std::string_view format, const TMoment& m) {
    return formatted(format, {{{"HH", digits(m.Hour, 2)},
                               {"MM", digits(m.Minute, 2)},
                               {"SS", digits(m.Second, 2)},
                               {"", ""},
                               {"", ""},
                               {"", ""}}});
}

std::optional<int> clockMinutes(std::string_view text) {
    if (text.size() != 5 || text[2] != ':') return std::nullopt;
    for (const std::size_t i : {0u, 1u, 3u, 4u})
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    const int hours = (text[0] - '0') * 10 + (text[1] - '0');
    const int minutes = (text[3] - '0') * 10 + (text[4] - '0');
    if (hours > 23 || minutes > 59) return std::nullopt;
    return hours * 60 + minutes;
}

constexpr std::array<std::string_view, 6> RESET_NAMES = {"never", "day",  "week",
                                                         "month", "year", "shift"};

std::optional<TMoment> readMoment(std::string_view text) {
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T') return {};
    const auto number = [&](std::size_t at, std::size_t width) {
        int value = 0;
        for (std::size_t i = at; i < at + width; ++i) {
            if (text[i] < '0' || text[i] > '9') return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const auto time = clockMinutes(text.substr(11, 5));
    const int second = text[16] == ':' ? number(17, 2) : -1;
    const TMoment m{number(0, 4), number(5, 2), number(8, 2), 0, 0, second};
    if (!time || m.Year < 0 || m.Month < 1 || m.Month > 12 || m.Day < 1 || m.Day > 31 ||
        second < 0 || second > 59)
        return {};
    return TMoment{m.Year, m.Month, m.Day, *time / 60, *time % 60, second};
}

// The test clock: the given moment when the process first asked, then the seconds since.
std::optional<TMoment> testNow() {
    using Clock = std::chrono::steady_clock;
    static const Clock::time_point begun = Clock::now();
    static const std::optional<TMoment> given = [] {
        const char* text = std::getenv("KORVEX_TEST_NOW");
        return text ? readMoment(text) : std::nullopt;
    }();
    if (!given) return std::nullopt;
    const long passed = static_cast<long>(
        std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - begun).count());
    const long seconds = given->Hour * 3600L + given->Minute * 60L + given->Second + passed;
    TMoment m = civilFromDays(
        daysFromCivil(given->Year, given->Month, given->Day) + seconds / 86400, TMoment{});
    m.Hour = static_cast<int>(seconds % 86400 / 3600);
    m.Minute = static_cast<int>(seconds % 3600 / 60);
    m.Second = static_cast<int>(seconds % 60);
    return m;
}

} // namespace

TMoment LocalNow() {
    if (const std::optional<TMoment> test = testNow()) return *test;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     std::min(local.tm_sec, 59)};
}

std::optional<std::vector<TShift>> ReadShiftTable(std::string_view text) {
    std::vector<TShift> shifts;
    std::size_t at = 0;
    while (at <= text.size() && !text.empty()) {
        const std::size_t end = std::min(text.find(';', at), text.size());
        const std::string_view entry = text.substr(at, end - at);
        const std::size_t equals = entry.find('=');
        if (equals == 0 || equals == entry.npos) return std::nullopt;
        const std::string_view name = entry.substr(0, equals);
        if (name.find_first_of("{}") != name.npos) return std::nullopt;
        const auto start = clockMinutes(entry.substr(equals + 1));
        if (!start) return std::nullopt;
        for (const TShift& shift : shifts)
            if (shift.Start == *start) return std::nullopt;
        shifts.push_back({std::string(name), *start});
        at = end + 1;
    }
    std::sort(shifts.begin(), shifts.end(),
              [](const TShift& a, const TShift& b) { return a.Start < b.Start; });
    return shifts;
}

TShiftEntry ReadShiftEntry(std::string_view entry) {
    const std::size_t blank = entry.find_last_of(' ');
    TShiftEntry read;
    const std::string_view name = entry.substr(0, blank == entry.npos ? 0 : blank);
    read.Shift.Name = std::string(name.substr(0, name.find_last_not_of(' ') + 1));
    const auto start = clockMinutes(entry.substr(blank == entry.npos ? 0 : blank + 1));
    read.Shift.Start = start.value_or(0);
    if (read.Shift.Name.empty())
        read.Problem = TShiftProblem::NoName;
    else if (read.Shift.Name.find_first_of("{}") != std::string::npos)
        read.Problem = TShiftProblem::BraceInName;
    else if (!start)
        read.Problem = TShiftProblem::BadStart;
    return read;
}

bool UsesShift(std::string_view pattern) {
    return pattern.find("{shift}") != pattern.npos;
}

std::optional<TShiftAt> ShiftAt(const TMoment& now, const std::vector<TShift>& shifts) {
    if (shifts.empty()) return std::nullopt;
    const int minute = now.Hour * 60 + now.Minute;
    const TShift* running = nullptr;
    for (const TShift& shift : shifts)
        if (shift.Start <= minute && (!running || shift.Start > running->Start)) running = &shift;
    long day = daysFromCivil(now.Year, now.Month, now.Day);
    if (!running) {
        running =
            &*std::max_element(shifts.begin(), shifts.end(),
                               [](const TShift& a, const TShift& b) { return a.Start < b.Start; });
        --day;
    }
    TMoment began = civilFromDays(day, TMoment{});
    began.Hour = running->Start / 60;
    began.Minute = running->Start % 60;
    return TShiftAt{running->Name, began};
}

std::string ExpandDateCodes(std::string_view pattern, const TMoment& now,
                            const std::vector<TShift>& shifts) {
    std::string out;
    std::size_t at = 0;
    while (at < pattern.size()) {
        const std::size_t open = pattern.find('{', at);
        const std::size_t close = open == pattern.npos ? open : pattern.find('}', open);
        if (close == pattern.npos) break;
        out.append(pattern.substr(at, open - at));
        const std::string_view inner = pattern.substr(open + 1, close - open - 1);
        const std::optional<TShiftAt> shift =
            inner == "shift" ? ShiftAt(now, shifts) : std::nullopt;
        if (inner.starts_with("date:"))
            out += dateText(inner.substr(5), now);
        else if (inner.starts_with("time:"))
            out += timeText(inner.substr(5), now);
        else if (shift)
            out += shift->Name;
        else
            out.append(pattern.substr(open, close - open + 1));
        at = close + 1;
    }
    out.append(pattern.substr(std::min(at, pattern.size())));
    return out;
}

std::optional<TCounterReset> ReadCounterReset(std::string_view name) {
    for (std::size_t i = 0; i < RESET_NAMES.size(); ++i)
        if (RESET_NAMES[i] == name) return static_cast<TCounterReset>(i);
    return std::nullopt;
}

std::string_view CounterResetName(TCounterReset reset) {
    return RESET_NAMES[static_cast<std::size_t>(reset)];
}

std::string ResetPeriod(TCounterReset reset, const TMoment& now,
                        const std::vector<TShift>& shifts) {
    switch (reset) {
    case TCounterReset::Day:
        return dateText("YYYY-MM-DD", now);
    case TCounterReset::Week: {
        const auto [year, week] = isoWeek(now);
        return digits(year, 4) + "-W" + digits(week, 2);
    }
    case TCounterReset::Month:
        return dateText("YYYY-MM", now);
    case TCounterReset::Year:
        return dateText("YYYY", now);
    case TCounterReset::Shift: {
        const std::optional<TShiftAt> shift = ShiftAt(now, shifts);
        // Without a shift table the day is the shift.
        if (!shift) return dateText("YYYY-MM-DD", now);
        return dateText("YYYY-MM-DD", shift->Began) + " " + timeText("HH:MM", shift->Began) + " " +
               shift->Name;
    }
    case TCounterReset::Never:
        break;
    }
    return {};
}

} // namespace korvex::ncgen
