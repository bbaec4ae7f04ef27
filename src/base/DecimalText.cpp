#include "base/DecimalText.h"

#include "base/ENumberFormatError.h"

#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace korvex::base {
namespace {

constexpr std::array<std::uint64_t, 20> POW10 = {1ULL,
                                                 10ULL,
                                                 100ULL,
                                                 1000ULL,
                                                 10000ULL,
                                                 100000ULL,
                                                 1000000ULL,
                                                 10000000ULL,
                                                 100000000ULL,
                                                 1000000000ULL,
                                                 10000000000ULL,
                                                 100000000000ULL,
                                                 1000000000000ULL,
                                                 10000000000000ULL,
                                                 100000000000000ULL,
                                                 1000000000000000ULL,
                                                 10000000000000000ULL,
                                                 100000000000000000ULL,
                                                 1000000000000000000ULL,
                                                 10000000000000000000ULL};

#if defined(__SIZEOF_INT128__)
__extension__ typedef unsigned __int128 TUInt128;
constexpr bool HasInt128 = LDBL_MANT_DIG <= 64;
#else
using TUInt128 = std::uint64_t; // never used for arithmetic: the fast path is off
constexpr bool HasInt128 = false;
#endif

constexpr int MaxFastScale = 27; // 5^27 still fits in 64 bits

constexpr std::array<std::uint64_t, MaxFastScale + 1> POW5 = [] {
    std::array<std::uint64_t, MaxFastScale + 1> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i) {
        powers[i] = powers[i - 1] * 5;
    }
    return powers;
}();

// value = Digits * 10^Exponent, Digits with exactly `significant` digits.
struct TDecimal {
    std::uint64_t Digits = 0;
    int Exponent = 0;
};

// Exact rounding of a = m * 2^e (64-bit mantissa) with 128-bit integers; false when the value
// lies outside the range this covers.
bool roundFast(long double a, int significant, TDecimal& out) {
    if constexpr (!HasInt128) {
        return false;
    } else {
        int e2 = 0;
        const long double f = std::frexp(a, &e2);
        const auto m = static_cast<std::uint64_t>(std::ldexp(f, 64));
        const int e = e2 - 64;
        // a lies in [2^(e2-1), 2^e2), so this estimate of floor(log10 a) is off by at most one.
        // 78913 / 2^18 is log10(2) to well within the exponent range of the fast path.
        int scale = significant - 1 - (((e2 - 1) * 78913) >> 18);
        const std::uint64_t low = POW10[significant - 1];
        const std::uint64_t high = POW10[significant];
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (scale < 0 || scale > MaxFastScale) {
                return false;
            }
            const TUInt128 v = TUInt128{m} * POW5[static_cast<std::size_t>(scale)];
            const int shift = scale + e;
            TUInt128 q = 0;
            bool roundUp = false;
            if (shift >= 0) {
                if (shift >= 64 || (v >> (127 - shift)) != 0) {
                    return false;
                }
                q = v << shift;
            } else {
                const int right = -shift;
                if (right >= 127) {
                    return false;
                }
                q = v >> right;
                const TUInt128 rest = v & ((TUInt128{1} << right) - 1);
                roundUp = rest >= (TUInt128{1} << (right - 1));
            }
            if (q >= high) {
                --scale;
                continue;
            }
            if (q < low) {
                ++scale;
                continue;
            }
            auto digits = static_cast<std::uint64_t>(q) + (roundUp ? 1 : 0);
            if (digits == high) {
                digits = low;
                --scale;
            }
            out = {digits, -scale};
            return true;
        }
        return false;
    }
}

// General case through the library's exact conversion; 41 digits leave the decision at the
// wanted digit exact for every tie a 64-bit mantissa can hold.
TDecimal roundSlow(long double a, int significant) {
    std::array<char, 128> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), a,
                                      std::chars_format::scientific, 40);
    const char* p = buffer.data();
    std::uint64_t digits = 0;
    int taken = 0;
    bool roundUp = false;
    for (; p != result.ptr && *p != 'e'; ++p) {
        if (*p < '0' || *p > '9') {
            continue;
        }
        if (taken < significant) {
            digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
        } else if (taken == significant) {
            roundUp = *p >= '5';
        }
        ++taken;
    }
    int exponent = 0;
    if (p != result.ptr) {
        ++p;
        const bool negative = *p == '-';
        if (*p == '-' || *p == '+') {
            ++p;
        }
        std::from_chars(p, result.ptr, exponent);
        if (negative) {
            exponent = -exponent;
        }
    }
    int scaleExponent = exponent - (significant - 1);
    if (roundUp && ++digits == POW10[significant]) {
        digits = POW10[significant - 1];
        ++scaleExponent;
    }
    return {digits, scaleExponent};
}

TDecimal roundSignificant(long double a, int significant) {
    TDecimal d;
    if (!roundFast(a, significant, d)) {
        d = roundSlow(a, significant);
    }
    return d;
}

void appendDigits(std::string& text, std::uint64_t value) {
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    text.append(buffer.data(), result.ptr);
}

void requireFinite(long double x) {
    if (!std::isfinite(x)) {
        throw ENumberFormatError();
    }
}

} // namespace

std::string FixedText(long double x, int decimals) {
    requireFinite(x);
    std::string digits;
    if (x != 0) {
        const TDecimal d = roundSignificant(std::fabs(x), 18);
        const int drop = -(d.Exponent + decimals);
        if (drop <= 0) {
            appendDigits(digits, d.Digits);
            digits.append(static_cast<std::size_t>(-drop), '0');
        } else if (drop < static_cast<int>(POW10.size())) {
            const std::uint64_t unit = POW10[drop];
            std::uint64_t whole = d.Digits / unit;
            if (d.Digits % unit >= unit / 2) {
                ++whole;
            }
            appendDigits(digits, whole);
        }
    }
    if (digits.size() < static_cast<std::size_t>(decimals) + 1) {
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    }
    if (decimals > 0) {
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
    }
    if (x < 0) {
        digits.insert(0, 1, '-');
    }
    return digits;
}

std::string GeneralText(long double x, int precision) {
    requireFinite(x);
    if (x == 0) {
        return "0";
    }
    const TDecimal d = roundSignificant(std::fabs(x), precision);
    std::string digits;
    appendDigits(digits, d.Digits);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    const int pointPosition = d.Exponent + precision; // digits before the point
    const auto count = static_cast<int>(digits.size());
    std::string text = x < 0 ? "-" : "";
    if (pointPosition > precision || pointPosition < -3) {
        text += digits[0];
        if (count > 1) {
            text += '.';
            text.append(digits, 1);
        }
        text += 'E';
        const int exponent = pointPosition - 1;
        if (exponent < 0) {
            text += '-';
        }
        appendDigits(text, static_cast<std::uint64_t>(exponent < 0 ? -exponent : exponent));
    } else if (pointPosition <= 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-pointPosition), '0');
        text += digits;
    } else if (count <= pointPosition) {
        text += digits;
        text.append(static_cast<std::size_t>(pointPosition - count), '0');
    } else {
        text.append(digits, 0, static_cast<std::size_t>(pointPosition));
        text += '.';
        text.append(digits, static_cast<std::size_t>(pointPosition));
    }
    return text;
}

} // namespace korvex::base
