#include "datamatrix/C40TextEncoder.h"

#include "datamatrix/AsciiEncoder.h"

namespace korvex::datamatrix {

namespace {

constexpr C40Row basicRow(int code) {
    if (code < 32) return {0, static_cast<std::int8_t>(code), -1, -1};
    if (code == 32) return {3, -1, -1, -1};
    if (code >= 48 && code <= 57) return {static_cast<std::int8_t>(code - 44), -1, -1, -1};
    if (code >= 65 && code <= 90) return {static_cast<std::int8_t>(code - 51), -1, -1, -1};
    if (code <= 47) return {1, static_cast<std::int8_t>(code - 33), -1, -1};
    if (code <= 64) return {1, static_cast<std::int8_t>(code - 43), -1, -1};
    if (code <= 95) return {1, static_cast<std::int8_t>(code - 69), -1, -1};
    return {2, static_cast<std::int8_t>(code - 96), -1, -1};
}

constexpr std::array<C40Row, 256> makeTable() {
    std::array<C40Row, 256> table{};
    for (int code = 0; code < 128; ++code) {
        table[code] = basicRow(code);
        // Shift 2, Upper Shift, then the values of code - 128.
        const C40Row low = basicRow(code);
        table[code + 128] = {1, 30, low[0], low[1]};
    }
    return table;
}

constexpr std::array<C40Row, 256> C40_TABLE = makeTable();

void pack(int a, int b, int c, CodewordBuffer& out) {
    const int value = 1600 * a + 40 * b + c + 1;
    out.push(value / 256);
    out.push(value % 256);
}

} // namespace

const C40Row& C40Values(unsigned char code) {
    return C40_TABLE[code];
}

int C40ValueCount(unsigned char code) {
    const C40Row& row = C40_TABLE[code];
    int count = 0;
    while (count < 4 && row[count] >= 0)
        ++count;
    return count;
}

int EncodeC40Text(std::string_view data, int start, bool text, bool latch, bool stepwise,
                  CodewordBuffer& out, int& leftover) {
    const int end = static_cast<int>(data.size());
    const int latchAt = out.size();
    if (latch) out.push(text ? CW_LATCH_TEXT : CW_LATCH_C40);

    int pending[3] = {0, 0, 0};
    int pendingCount = 0;
    // The latest character before which zero or two values were pending: a single value left
    // over at the end is resolved from there (see below).
    int restorePos = start;
    int restoreOut = out.size();
    int restorePending[2] = {0, 0};
    int restoreCount = 0;

    for (int p = start; p < end; ++p) {
        if (out.overflowed()) break;
        if (pendingCount != 1) {
            restorePos = p;
            restoreOut = out.size();
            restoreCount = pendingCount;
            restorePending[0] = pending[0];
            restorePending[1] = pending[1];
        }
        auto code = static_cast<unsigned char>(data[p]);
        if (text) code = ExchangeCase(code);
        for (const std::int8_t value : C40_TABLE[code]) {
            if (value < 0) break;
            pending[pendingCount++] = value;
            if (pendingCount == 3) {
                pack(pending[0], pending[1], pending[2], out);
                pendingCount = 0;
            }
        }
        if (stepwise && pendingCount == 0) {
            leftover = 0;
            if (p + 1 == end) out.push(CW_UNLATCH);
            return p + 1;
        }
    }

    leftover = pendingCount;
    if (pendingCount == 0) {
        out.push(CW_UNLATCH);
    } else if (pendingCount == 2) {
        pack(pending[0], pending[1], 0, out); // Shift 1 completes the last triple
        out.push(CW_UNLATCH);
    } else {
        // ISO/IEC 16022, 5.2.5.2: one value left over is written after the unlatch in ASCII.
        // That is sound only when it is the single value of the last character; otherwise a
        // shift would be left without its character. Going back to the latest character
        // boundary with zero or two values pending covers both cases alike.
        out.truncate(restoreOut);
        if (restoreCount == 2) {
            pack(restorePending[0], restorePending[1], 0, out);
        } else if (latch && restoreOut == latchAt + 1) {
            // Not one pair before the unlatch: a latch directly followed by its unlatch is valid
            // but misread by common decoders (libdmtx takes the 254 as data). The whole run
            // goes in ASCII instead, as if C40/TEXT had never been entered.
            out.truncate(latchAt);
            leftover = 0;
            EncodeAscii(data, restorePos, end, out);
            return end;
        }
        out.push(CW_UNLATCH);
        EncodeAscii(data, restorePos, end, out);
    }
    return end;
}

} // namespace korvex::datamatrix
