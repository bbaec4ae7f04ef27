#include "simulation/SimulationNumber.h"

#include "base/LongDoubleChars.h"

#include "simulation/EConvertError.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace korvex::simulation {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

long double ParseSimulationNumber(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    const std::string_view body = text.substr(begin, end - begin);

    std::size_t p = 0;
    bool negative = false;
    if (p < body.size() && (body[p] == '+' || body[p] == '-')) negative = body[p++] == '-';
    std::uint64_t mantissa = 0;
    int significant = 0;
    int scale = 0; // decimal exponent of the last digit taken into the mantissa
    int digits = 0;
    bool dropped = false;
    const auto takeDigit = [&](char c, bool fraction) {
        ++digits;
        if (significant < 19) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            if (mantissa != 0) ++significant;
            if (fraction) --scale;
        } else {
            dropped = true;
            if (!fraction) ++scale;
        }
    };
    while (p < body.size() && isDigit(body[p]))
        takeDigit(body[p++], false);
    if (p < body.size() && body[p] == '.') {
        ++p;
        while (p < body.size() && isDigit(body[p]))
            takeDigit(body[p++], true);
    }
    if (digits == 0) throw EConvertError(text);
    int exponent = 0;
    if (p < body.size() && (body[p] == 'e' || body[p] == 'E')) {
        ++p;
        bool negativeExponent = false;
        if (p < body.size() && (body[p] == '+' || body[p] == '-'))
            negativeExponent = body[p++] == '-';
        if (p == body.size() || !isDigit(body[p])) throw EConvertError(text);
        while (p < body.size() && isDigit(body[p])) {
            if (exponent < 100000) exponent = exponent * 10 + (body[p] - '0');
            ++p;
        }
        if (negativeExponent) exponent = -exponent;
    }
    if (p != body.size()) throw EConvertError(text);

    const int power = scale + exponent;
    long double value;
    if (!dropped && power >= -base::ExactPowersOfTen && power <= base::ExactPowersOfTen) {
        // One correctly rounded operation on exact operands: the usual three-decimal case.
        const auto m = static_cast<long double>(mantissa);
        value = power < 0 ? m / base::ExactPowerOfTen(-power) : m * base::ExactPowerOfTen(power);
    } else {
        const std::string_view unsigned_ = body.substr(body[0] == '+' || body[0] == '-' ? 1 : 0);
        const auto result =
            base::FromChars(unsigned_.data(), unsigned_.data() + unsigned_.size(), value);
        if (result.ec != std::errc() || !std::isfinite(value)) throw EConvertError(text);
    }
    return negative ? -value : value;
}

} // namespace korvex::simulation
