#include "datamatrix/AsciiEncoder.h"

namespace korvex::datamatrix {

void AppendAsciiChar(unsigned char code, CodewordBuffer& out) {
    if (code < 128) {
        out.push(code + 1);
    } else {
        out.push(CW_UPPER_SHIFT);
        out.push(code - 127);
    }
}

void EncodeAscii(std::string_view data, int begin, int end, CodewordBuffer& out) {
    int p = begin;
    while (p < end && !out.overflowed()) {
        const auto code = static_cast<unsigned char>(data[p]);
        if (p + 1 < end && IsDigit(code) && IsDigit(static_cast<unsigned char>(data[p + 1]))) {
            out.push(130 + 10 * (code - '0') + (data[p + 1] - '0'));
            p += 2;
        } else {
            AppendAsciiChar(code, out);
            ++p;
        }
    }
}

void EncodeNone(std::string_view data, CodewordBuffer& out) {
    for (const char c : data) {
        if (out.overflowed()) return;
        out.push(static_cast<unsigned char>(c));
    }
}

} // namespace korvex::datamatrix
