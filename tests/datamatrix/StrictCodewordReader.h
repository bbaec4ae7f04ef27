#pragma once

// Test helper: decodes ECC 200 data codewords (ASCII, C40, TEXT, Base256 of ISO/IEC 16022,
// 5.2) and refuses what a lenient reader would let pass: a shift or Upper Shift left without
// its character, an unlatch in ASCII, an unknown codeword.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvex::testing {

namespace strict {

// One C40/TEXT segment from cw[i]; i ends after it. False on a dangling shift.
inline bool readC40Text(const std::vector<std::uint8_t>& cw, std::size_t& i, bool text,
                        std::string& out) {
    int shift = 0;
    bool upper = false;
    // A single codeword at the end of the symbol is ASCII (5.2.5.2).
    while (i + 1 < cw.size() && cw[i] != 254) {
        const int packed = cw[i] * 256 + cw[i + 1] - 1;
        i += 2;
        for (const int v : {packed / 1600, packed / 40 % 40, packed % 40}) {
            int ch = -1;
            if (shift == 0 && v < 3) {
                shift = v + 1;
                continue;
            }
            if (shift == 0) {
                ch = v == 3 ? ' ' : v < 14 ? '0' + v - 4 : (text ? 'a' : 'A') + v - 14;
            } else if (shift == 1) {
                ch = v;
            } else if (shift == 2) {
                if (v == 30 && !upper) {
                    upper = true;
                    shift = 0;
                    continue;
                }
                if (v > 26) return false;
                ch = v <= 14 ? 33 + v : v <= 21 ? 58 + v - 15 : 91 + v - 22;
            } else {
                ch = text ? (v == 0 ? 96 : v <= 26 ? 'A' + v - 1 : 123 + v - 27) : 96 + v;
            }
            shift = 0;
            out += static_cast<char>(upper ? ch + 128 : ch);
            upper = false;
        }
    }
    if (i < cw.size() && cw[i] == 254) ++i;
    // Shift 1 (value 0) is the filler of a last pair; any other open state loses a character.
    return !upper && shift <= 1;
}

} // namespace strict

inline std::optional<std::string> ReadCodewordsStrictly(const std::vector<std::uint8_t>& cw) {
    std::string out;
    std::size_t i = 0;
    bool upper = false;
    while (i < cw.size()) {
        const int c = cw[i++];
        if (c == 129 && !upper) return out; // pads follow
        if (c >= 1 && c <= 128) {
            out += static_cast<char>(upper ? c + 127 : c - 1);
            upper = false;
        } else if (upper) {
            return std::nullopt;
        } else if (c >= 130 && c <= 229) {
            out += static_cast<char>('0' + (c - 130) / 10);
            out += static_cast<char>('0' + (c - 130) % 10);
        } else if (c == 235) {
            upper = true;
        } else if (c == 230 || c == 239) {
            if (!strict::readC40Text(cw, i, c == 239, out)) return std::nullopt;
        } else if (c == 231) {
            // 255-state randomising, stream positions counted from 1 (Annex B).
            const auto byte = [&cw](std::size_t pos) {
                const int r = cw[pos] - (149 * static_cast<int>(pos + 1)) % 255 - 1;
                return r < 0 ? r + 256 : r;
            };
            if (i >= cw.size()) return std::nullopt;
            std::size_t length = byte(i++);
            if (length == 0) {
                length = cw.size() - i;
            } else if (length >= 250) {
                if (i >= cw.size()) return std::nullopt;
                length = (length - 249) * 250 + byte(i++);
            }
            if (i + length > cw.size()) return std::nullopt;
            for (std::size_t k = 0; k < length; ++k)
                out += static_cast<char>(byte(i++));
        } else {
            return std::nullopt;
        }
    }
    if (upper) return std::nullopt;
    return out;
}

} // namespace korvex::testing
