#include "content/Gs1Identifiers.h"

#include <algorithm>

namespace korvex::content {

namespace {

using S = TGs1CharSet;
using D = TGs1Date;

constexpr TGs1Part N(int min, int max, bool check = false, D date = D::None) {
    return {S::Numeric, static_cast<std::uint8_t>(min), static_cast<std::uint8_t>(max), check,
            date};
}
constexpr TGs1Part X(int max) {
    return {S::Set82, 1, static_cast<std::uint8_t>(max), false, D::None};
}
constexpr TGs1Part Xopt(int max) {
    return {S::Set82, 0, static_cast<std::uint8_t>(max), false, D::None};
}
constexpr TGs1Part Nfix(int length, bool check = false) {
    return N(length, length, check);
}
constexpr TGs1Part Date(D date = D::DayMayBeZero) {
    return N(6, 6, false, date);
}

constexpr TGs1Part Xfix(int length) {
    return {S::Set82, static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length), false,
            D::None};
}
constexpr TGs1Part Time(int min = 4) {
    return N(min, 4, false, D::HourMinute);
}

constexpr TGs1Identifier one(std::string_view ai, TGs1Part part, char last = '9') {
    return {ai, {part, {}, {}}, 1, last};
}
constexpr TGs1Identifier two(std::string_view ai, TGs1Part a, TGs1Part b, char last = '9') {
    return {ai, {a, b, {}}, 2, last};
}

// The application identifiers of the GS1 General Specifications, Release 25 (January 2025),
// section 3.2, in the form GS1's Barcode Syntax Dictionary gives them (its 2025 edition: AIs
// 03, 4300-4333, 7011, 7041, 7240-7259, 8009, 8014 and 8030 included). What the dictionary's
// linters check beyond the character set, the length, the check digit, dates and times (country
// and currency codes, percent encoding ...) is left to the reader. Sorted by AI.
constexpr TGs1Identifier TABLE[] = {
    one("00", Nfix(18, true)),
    one("01", Nfix(14, true)),
    one("02", Nfix(14, true)),
    one("03", Nfix(14, true)),
    one("10", X(20)),
    one("11", Date()),
    one("12", Date()),
    one("13", Date()),
    one("15", Date()),
    one("16", Date()),
    one("17", Date()),
    one("20", Nfix(2)),
    one("21", X(20)),
    one("22", X(20)),
    one("235", X(28)),
    one("240", X(30)),
    one("241", X(30)),
    one("242", N(1, 6)),
    one("243", X(20)),
    one("250", X(30)),
    one("251", X(30)),
    two("253", Nfix(13, true), Xopt(17)),
    one("254", X(20)),
    two("255", Nfix(13, true), N(0, 12)),
    one("30", N(1, 8)),
    // 3100-3695: the fourth digit places the decimal point in six digits, 0 to 5 places.
    one("31nn", Nfix(6), '5'),
    one("32nn", Nfix(6), '5'),
    one("33nn", Nfix(6), '5'),
    one("34nn", Nfix(6), '5'),
    one("35nn", Nfix(6), '5'),
    one("36nn", Nfix(6), '5'),
    one("37", N(1, 8)),
    one("390n", N(1, 15)),
    two("391n", Nfix(3), N(1, 15)),
    one("392n", N(1, 15)),
    two("393n", Nfix(3), N(1, 15)),
    one("394n", Nfix(4), '3'),
    one("395n", Nfix(6), '5'),
    one("400", X(30)),
    one("401", X(30)),
    one("402", Nfix(17, true)),
    one("403", X(30)),
    one("410", Nfix(13, true)),
    one("411", Nfix(13, true)),
    one("412", Nfix(13, true)),
    one("413", Nfix(13, true)),
    one("414", Nfix(13, true)),
    one("415", Nfix(13, true)),
    one("416", Nfix(13, true)),
    one("417", Nfix(13, true)),
    one("420", X(20)),
    two("421", Nfix(3), X(9)),
    one("422", Nfix(3)),
    two("423", Nfix(3), N(0, 12)),
    one("424", Nfix(3)),
    two("425", Nfix(3), N(0, 12)),
    one("426", Nfix(3)),
    one("427", X(3)),
    one("4300", X(35)),
    one("4301", X(35)),
    one("4302", X(70)),
    one("4303", X(70)),
    one("4304", X(70)),
    one("4305", X(70)),
    one("4306", X(70)),
    one("4307", Xfix(2)),
    one("4308", X(30)),
    one("4309", Nfix(20)),
    one("4310", X(35)),
    one("4311", X(35)),
    one("4312", X(70)),
    one("4313", X(70)),
    one("4314", X(70)),
    one("4315", X(70)),
    one("4316", X(70)),
    one("4317", Xfix(2)),
    one("4318", X(20)),
    one("4319", X(30)),
    one("4320", X(35)),
    one("4321", {S::YesNo, 1, 1, false, D::None}),
    one("4322", {S::YesNo, 1, 1, false, D::None}),
    one("4323", {S::YesNo, 1, 1, false, D::None}),
    two("4324", Date(), Time()),
    two("4325", Date(), Time()),
    one("4326", Date(D::Exact)),
    two("433n", Nfix(6), {S::Minus, 0, 1, false, D::None}, '3'),
    one("7001", Nfix(13)),
    one("7002", X(30)),
    one("7003", N(10, 10, false, D::WithTime)),
    one("7004", N(1, 4)),
    one("7005", X(12)),
    one("7006", Date(D::Exact)),
    one("7007", N(6, 12, false, D::OneOrTwo)),
    one("7008", X(3)),
    one("7009", X(10)),
    one("7010", X(2)),
    two("7011", Date(D::Exact), Time(0)),
    one("7020", X(20)),
    one("7021", X(20)),
    one("7022", X(20)),
    one("7023", X(30)),
    two("703n", Nfix(3), X(27)),
    two("7040", Nfix(1), Xfix(3)),
    one("7041", X(4)),
    one("71n", X(20), '6'),
    two("723n", Xfix(2), X(28)),
    one("7240", X(20)),
    one("7241", Nfix(2)),
    one("7242", X(25)),
    one("7250", N(8, 8, false, D::FullDate)),
    two("7251", N(8, 8, false, D::FullDate), Time()),
    one("7252", Nfix(1)),
    one("7253", X(40)),
    one("7254", X(40)),
    one("7255", X(10)),
    one("7256", X(90)),
    one("7257", X(70)),
    one("7258", Xfix(3)),
    one("7259", X(40)),
    one("8001", Nfix(14)),
    one("8002", X(20)),
    two("8003", Nfix(14, true), Xopt(16)),
    one("8004", X(30)),
    one("8005", Nfix(6)),
    two("8006", Nfix(14, true), Nfix(4)),
    one("8007", X(34)),
    one("8008", N(8, 12, false, D::DateHour)),
    one("8009", X(50)),
    one("8010", {S::Set39, 1, 30, false, D::None}),
    one("8011", N(1, 12)),
    one("8012", X(20)),
    one("8013", X(25)),
    one("8014", X(25)),
    one("8017", Nfix(18, true)),
    one("8018", Nfix(18, true)),
    one("8019", N(1, 10)),
    one("8020", X(25)),
    two("8026", Nfix(14, true), Nfix(4)),
    one("8030", {S::Set64, 1, 90, false, D::None}),
    one("8110", X(70)),
    one("8111", Nfix(4)),
    one("8112", X(70)),
    one("8200", X(70)),
    one("90", X(30)),
    one("91", X(90)),
    one("92", X(90)),
    one("93", X(90)),
    one("94", X(90)),
    one("95", X(90)),
    one("96", X(90)),
    one("97", X(90)),
    one("98", X(90)),
    one("99", X(90)),
};

bool matches(std::string_view pattern, std::string_view ai) {
    if (pattern.size() != ai.size()) return false;
    for (std::size_t i = 0; i < ai.size(); ++i)
        if (pattern[i] != 'n' && pattern[i] != ai[i]) return false;
    return true;
}

bool lastDigitInRange(const TGs1Identifier& entry, std::string_view ai) {
    return !entry.Ai.ends_with('n') || ai.back() <= entry.LastDigit;
}

// The measures 31nn-36nn: the third digit names the unit, of which 31, 33 and 35 have fewer.
bool measureInRange(std::string_view ai) {
    if (ai.size() != 4 || ai[0] != '3' || ai[1] < '1' || ai[1] > '6') return true;
    static constexpr char LAST_UNIT[] = {'6', '9', '7', '9', '7', '9'};
    return ai[2] <= LAST_UNIT[ai[1] - '1'];
}

} // namespace

const TGs1Identifier* FindGs1Identifier(std::string_view ai) {
    if (ai.empty() ||
        !std::all_of(ai.begin(), ai.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return nullptr;
    for (const TGs1Identifier& entry : TABLE)
        if (matches(entry.Ai, ai))
            return measureInRange(ai) && lastDigitInRange(entry, ai) ? &entry : nullptr;
    return nullptr;
}

bool HasPredefinedLength(std::string_view ai) {
    static constexpr std::string_view PREDEFINED[] = {
        "00", "01", "02", "03", "04", "11", "12", "13", "14", "15", "16",
        "17", "18", "19", "20", "31", "32", "33", "34", "35", "36", "41"};
    const std::string_view head = ai.substr(0, 2);
    return std::find(std::begin(PREDEFINED), std::end(PREDEFINED), head) != std::end(PREDEFINED);
}

int Gs1CheckDigit(std::string_view digits) {
    int sum = 0;
    int weight = 3;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        sum += (*it - '0') * weight;
        weight = 4 - weight;
    }
    return (10 - sum % 10) % 10;
}

} // namespace korvex::content
