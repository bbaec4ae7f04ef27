#include "ncgen/NumberReading.h"

#include "base/LongDoubleChars.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace korvex::ncgen {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

int hexValue(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

TNumberReading ReadNumber(std::string_view text) {
    std::size_t i = 0;
    long double partial = 0.0L;
    const auto digits = [&](bool& any) {
        while (i < text.size() && isDigit(text[i])) {
            partial = partial * 10 + (text[i] - '0');
            any = true;
            ++i;
        }
    };
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    bool mantissaDigits = false;
    const std::size_t integerStart = i;
    digits(mantissaDigits);
    // Where the first significant digit stands, as a power of ten: tells overflow from underflow.
    long long decimalMagnitude = 0;
    const std::size_t firstNonZero = text.find_first_not_of('0', integerStart);
    if (firstNonZero < i) {
        decimalMagnitude = static_cast<long long>(i - firstNonZero);
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        const std::size_t fractionStart = i;
        digits(mantissaDigits);
        if (decimalMagnitude == 0) {
            const std::size_t nonZero = text.find_first_not_of('0', fractionStart);
            decimalMagnitude = -static_cast<long long>(std::min(nonZero, i) - fractionStart);
        }
    }
    bool complete = mantissaDigits;
    if (complete && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negative = text[i] == '-';
            ++i;
        }
        bool exponentDigits = false;
        const std::size_t exponentStart = i;
        digits(exponentDigits);
        complete = exponentDigits;
        if (exponentDigits) {
            // More than 18 digits: far beyond any range, and still no overflow in the sum.
            const std::string_view exponentText = text.substr(exponentStart, i - exponentStart);
            const long long exponent = exponentText.size() > 18
                                           ? 1000000000000000000LL
                                           : std::stoll(std::string(exponentText));
            decimalMagnitude += negative ? -exponent : exponent;
        }
    }
    if (!complete || i != text.size()) {
        return {false, partial};
    }
    // from_chars knows no leading "+".
    std::size_t first = start;
    if (text[first] == '+') {
        ++first;
    }
    long double value = 0.0L;
    const auto result = base::FromChars(text.data() + first, text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (decimalMagnitude <= 0) {
            return {true, text[start] == '-' ? -0.0L : 0.0L}; // underflow: as good as zero
        }
        return {false, partial};
    }
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        return {false, partial};
    }
    return {true, value};
}

std::int64_t ReadWholeNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Wraps modulo 2^64 like a register would; the callers narrow to 8 or 32 bits anyway.
    std::uint64_t base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        i += 1;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = base == 16 ? hexValue(text[i]) : (isDigit(text[i]) ? text[i] - '0' : -1);
        if (digit < 0) {
            break;
        }
        value = value * base + static_cast<std::uint64_t>(digit);
    }
    if (negative) {
        value = ~value + 1;
    }
    return static_cast<std::int64_t>(value);
}

} // namespace korvex::ncgen
