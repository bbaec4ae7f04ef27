#include "base/LongDoubleChars.h"

#include <algorithm>
#include <cmath>

namespace korvex::base {

long double ExactPowerOfTen(int n) {
    long double p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

#if !defined(__MINGW32__)

std::from_chars_result FromChars(const char* first, const char* last, long double& value) {
    return std::from_chars(first, last, value);
}

#else

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

__extension__ typedef unsigned __int128 TWideInteger;

__float128 quadPowerOfTen(int n) {
    __float128 result = 1;
    __float128 square = 10;
    for (; n > 0; n >>= 1) {
        if (n & 1) result *= square;
        square *= square;
    }
    return result;
}

} // namespace

std::from_chars_result FromChars(const char* first, const char* last, long double& value) {
    const char* p = first;
    const bool negative = p != last && *p == '-';
    if (negative) ++p;
    // Up to 38 significant digits, exactly; what follows is far below the 64 bits kept.
    TWideInteger mantissa = 0;
    int digits = 0;
    long long exponent = 0;
    bool dropped = false; // a digit that is not 0 beyond the 38
    bool any = false;
    const auto take = [&](char c, bool fraction) {
        any = true;
        if (mantissa == 0 && c == '0') {
            if (fraction) --exponent;
            return;
        }
        if (digits < 38) {
            mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
            ++digits;
            if (fraction) --exponent;
        } else {
            if (!fraction) ++exponent;
            dropped = dropped || c != '0';
        }
    };
    for (; p != last && isDigit(*p); ++p)
        take(*p, false);
    if (p != last && *p == '.')
        for (++p; p != last && isDigit(*p); ++p)
            take(*p, true);
    if (!any) return std::from_chars(first, last, value); // "inf", "nan" or no number at all
    if (p != last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        const bool down = q != last && *q == '-';
        if (q != last && (*q == '-' || *q == '+')) ++q;
        if (q != last && isDigit(*q)) {
            long long e = 0;
            for (; q != last && isDigit(*q); ++q)
                if (e < 1000000) e = e * 10 + (*q - '0');
            exponent += down ? -e : e;
            p = q;
        }
    }

    long double result = 0;
    if (mantissa != 0) {
        const auto m = static_cast<long double>(mantissa);
        if (!dropped && digits <= 19 && exponent >= -ExactPowersOfTen &&
            exponent <= ExactPowersOfTen) {
            // One correctly rounded operation on exact operands, as the C library would give.
            result = exponent < 0 ? m / ExactPowerOfTen(static_cast<int>(-exponent))
                                  : m * ExactPowerOfTen(static_cast<int>(exponent));
        } else if (exponent > 6000) {
            result = HUGE_VALL;
        } else if (exponent < -6000) {
            result = 0;
        } else {
            // In quadruple precision (113 bits) first: its few rounding errors lie far below
            // the 64 bits kept, so the final rounding is the one the C library makes.
            __float128 q = mantissa;
            for (long long rest = exponent; rest != 0;) {
                const long long step = rest > 0 ? std::min(rest, 4000LL) : std::max(rest, -4000LL);
                const __float128 scale = quadPowerOfTen(static_cast<int>(step < 0 ? -step : step));
                q = step > 0 ? q * scale : q / scale;
                rest -= step;
            }
            result = static_cast<long double>(q);
        }
        if (!std::isfinite(result) || result == 0) return {p, std::errc::result_out_of_range};
    }
    value = negative ? -result : result;
    return {p, std::errc()};
}

#endif

} // namespace korvex::base
