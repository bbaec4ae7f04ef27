#include "datamatrix/LookAhead.h"

#include "datamatrix/AsciiEncoder.h"
#include "datamatrix/C40TextEncoder.h"

#include <cmath>

namespace korvex::datamatrix {

namespace {

enum { ASCII = 0, C40 = 1, TEXT = 2, B256 = 3 };

// Halves upward.
double roundHalfUp(double value) {
    return std::floor(value + 0.5);
}

double c40Cost(unsigned char code) {
    if (C40ValueCount(code) == 1) return 0.66;
    return code > 127 ? 2.66 : 1.33;
}

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

    const int end = static_cast<int>(data.size());
    int counted = 0;
    for (int i = p; i < end; ++i) {
        const auto ch = static_cast<unsigned char>(data[i]);
        if (IsDigit(ch))
            count[ASCII] += 0.5;
        else if (ch > 127)
            count[ASCII] = roundHalfUp(count[ASCII]) + 2;
        else
            count[ASCII] = roundHalfUp(count[ASCII]) + 1;
        count[C40] += c40Cost(ch);
        count[TEXT] += c40Cost(ExchangeCase(ch));
        count[B256] += 1;

        if (++counted < 5) continue;
        const double a = count[ASCII], c = count[C40], t = count[TEXT], b = count[B256];
        if (a + 1 <= c && a + 1 <= t && a + 1 <= b) return EncodationMode::Ascii;
        if (b + 1 <= a) return EncodationMode::Base256;
        if (b + 1 < t && b + 1 < c) return EncodationMode::Base256;
        if (t + 1 < a && t + 1 < c && t + 1 < b) return EncodationMode::Text;
        if (c + 1 < a && c + 1 < t && c + 1 < b) return EncodationMode::C40;
    }

    const double a = roundHalfUp(count[ASCII]), c = roundHalfUp(count[C40]),
                 t = roundHalfUp(count[TEXT]), b = roundHalfUp(count[B256]);
    if (a <= c && a <= t && a <= b) return EncodationMode::Ascii;
    if (t < a && t < c && t < b) return EncodationMode::Text;
    if (b < a && b < c && b < t) return EncodationMode::Base256;
    return EncodationMode::C40;
}

} // namespace korvex::datamatrix
