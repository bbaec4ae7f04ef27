#include "simulation/TickMarks.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace korvex::simulation {

namespace {
// A few more than realistic ranges give; guards against steps lost in the precision of lo.
constexpr int MAX_TICKS = 1000;
} // namespace

std::vector<long double> TickValues(long double lo, long double hi, int count) {
    std::vector<long double> ticks;
    if (count <= 0 || !(hi > lo) || !std::isfinite(hi - lo)) return ticks;
    const long double e = std::log10((hi - lo) / 8);
    const long double k = e >= 0 ? std::trunc(e) : std::trunc(e) - 1;
    const long double step = std::pow(10.0L, k);
    // A power of ten below one is not exact (10^-2 lies a little above 0.01, so 50 steps land a
    // hair above 0.5): a tick within a millionth of a step of a bound lies on it, not inside.
    const long double slack = step * 1e-6L;

    long double i = std::rint(lo / step);
    for (int guard = 0; i * step <= lo + slack; ++guard) {
        if (guard > 4) return ticks;
        i += 1;
    }
    long double m = std::trunc(std::rint((hi - lo) / step) / count);
    if (m > 500) return ticks;
    // More ticks wanted than steps fit: one step apart instead of never advancing.
    if (m < 1) m = 1;

    long double j = i;
    do {
        ticks.push_back(j * step);
        if (j + m == j || ticks.size() >= MAX_TICKS) break;
        j += m;
    } while (j * step < hi - slack);
    return ticks;
}

std::string FormatTickText(long double value) {
    if (value == 0) return "0";
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 2);
    const std::string text(buffer, result.ptr); // "-d.dde+XX"
    const bool negative = text[0] == '-';
    const std::size_t mantissaStart = negative ? 1 : 0;
    const std::size_t ePos = text.find('e');
    std::string digits;
    for (std::size_t p = mantissaStart; p < ePos; ++p)
        if (text[p] != '.') digits += text[p];
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const int exponent = std::atoi(text.c_str() + ePos + 1);

    std::string out = negative ? "-" : "";
    if (exponent < 3 && std::fabs(value) >= 0.00001L) {
        if (exponent >= 0) {
            const auto intDigits = static_cast<std::size_t>(exponent) + 1;
            while (digits.size() < intDigits)
                digits += '0';
            out += digits.substr(0, intDigits);
            if (digits.size() > intDigits) out += "." + digits.substr(intDigits);
        } else {
            out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
        }
        return out;
    }
    out += digits.substr(0, 1);
    if (digits.size() > 1) out += "." + digits.substr(1);
    std::string exp = std::to_string(std::abs(exponent));
    while (exp.size() < 3)
        exp.insert(exp.begin(), '0');
    out += (exponent < 0 ? "E-" : "E+") + exp;
    return out;
}

} // namespace korvex::simulation
