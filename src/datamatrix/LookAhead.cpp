#include "datamatrix/LookAhead.h"

#include "datamatrix/AsciiEncoder.h"
#include "datamatrix/C40TextEncoder.h"

#include <array>
#include <cmath>

namespace korvex::datamatrix {

namespace {

enum { ASCII = 0, C40 = 1, TEXT = 2, B256 = 3 };

// Halves upward.
double roundHalfUp(double value) {
    return std::floor(value + 0.5);
}

// The C40 cost of a character: one value 0.66, two 1.33, shifted above 127 2.66. Tables of
// the very doubles the sums always added, so the choices stay exactly the same.
constexpr double c40Cost(unsigned char code) {
    if (code > 127) return 2.66;
    const bool single = code == ' ' || IsDigit(code) || (code >= 'A' && code <= 'Z');
    return single ? 0.66 : 1.33;
}

struct CostTables {
    std::array<double, 256> c40{};
    std::array<double, 256> text{};
};

constexpr CostTables makeCosts() {
    CostTables tables;
    for (int code = 0; code < 256; ++code) {
        tables.c40[code] = c40Cost(static_cast<unsigned char>(code));
        tables.text[code] = c40Cost(ExchangeCase(static_cast<unsigned char>(code)));
    }
    return tables;
}

constexpr CostTables COSTS = makeCosts();

} // namespace

EncodationMode LookAhead(std::string_view data, int p, EncodationMode current) {
    double count[4];
    if (current == EncodationMode::Ascii) {
        count[ASCII] = 0;
        count[C40] = 1;
        count[TEXT] = 1;
        count[B256] = 1.25;
    } else {
        count[ASCII] = 1;
        count[C40] = 2;
        count[TEXT] = 2;
        count[B256] = 2.25;
    }
    count[static_cast<int>(current)] = 0;
    // The ASCII count only ever holds halves: kept in halves as a whole number, rounding up
    // is adding the odd half, with no floating-point rounding on the hot path.
    int asciiHalves = static_cast<int>(count[ASCII]) * 2;

    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    const int end = static_cast<int>(data.size());
    int counted = 0;
    for (int i = p; i < end; ++i) {
        const unsigned char ch = bytes[i];
        if (IsDigit(ch))
            asciiHalves += 1;
        else
            asciiHalves += (asciiHalves & 1) + (ch > 127 ? 4 : 2);
        count[C40] += COSTS.c40[ch];
        count[TEXT] += COSTS.text[ch];
        count[B256] += 1;

        if (++counted < 5) continue;
        const double a = asciiHalves * 0.5, c = count[C40], t = count[TEXT], b = count[B256];
        if (a + 1 <= c && a + 1 <= t && a + 1 <= b) return EncodationMode::Ascii;
        if (b + 1 <= a) return EncodationMode::Base256;
        if (b + 1 < t && b + 1 < c) return EncodationMode::Base256;
        if (t + 1 < a && t + 1 < c && t + 1 < b) return EncodationMode::Text;
        if (c + 1 < a && c + 1 < t && c + 1 < b) return EncodationMode::C40;
    }

    const double a = roundHalfUp(asciiHalves * 0.5), c = roundHalfUp(count[C40]),
                 t = roundHalfUp(count[TEXT]), b = roundHalfUp(count[B256]);
    if (a <= c && a <= t && a <= b) return EncodationMode::Ascii;
    if (t < a && t < c && t < b) return EncodationMode::Text;
    if (b < a && b < c && b < t) return EncodationMode::Base256;
    return EncodationMode::C40;
}

} // namespace korvex::datamatrix
