#include "base/Windows1252.h"

#include <array>
#include <cstdint>
#include <utility>

namespace korvex::base {

namespace {

// Code points of 0x80-0x9F; the rest of the page equals Latin-1.
constexpr std::array<char32_t, 32> HIGH_CONTROLS = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::optional<unsigned char> toByte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
    for (std::size_t i = 0; i < HIGH_CONTROLS.size(); ++i)
        if (HIGH_CONTROLS[i] == cp) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

// Characters a reader of a message cannot see: blanks, controls, joiners and other format
// characters, variation selectors, combining marks and private-use characters.
bool invisible(char32_t cp) {
    static constexpr std::pair<char32_t, char32_t> RANGES[] = {
        {0x0000, 0x0020}, {0x007F, 0x00A0}, {0x00AD, 0x00AD}, {0x0300, 0x036F},
        {0x061C, 0x061C}, {0x115F, 0x1160}, {0x1680, 0x1680}, {0x17B4, 0x17B5},
        {0x180B, 0x180F}, {0x2000, 0x200F}, {0x2028, 0x202F}, {0x205F, 0x206F},
        {0x3000, 0x3000}, {0x3164, 0x3164}, {0xE000, 0xF8FF}, {0xFE00, 0xFE0F},
        {0xFEFF, 0xFEFF}, {0xFFA0, 0xFFA0}, {0xFFF0, 0xFFFB}, {0xE0000, 0x10FFFF}};
    for (const auto& [first, last] : RANGES)
        if (cp >= first && cp <= last) return true;
    return false;
}

// The character as a message names it: itself, or "U+2009" when it cannot be seen.
std::string shown(char32_t cp, std::string_view utf8) {
    if (!invisible(cp)) return std::string(utf8);
    static constexpr char HEX[] = "0123456789ABCDEF";
    std::string digits;
    for (char32_t rest = cp; rest != 0 || digits.size() < 4; rest >>= 4)
        digits.insert(digits.begin(), HEX[rest & 0xF]);
    return "U+" + digits;
}

} // namespace

TCodePageResult Utf8ToWindows1252(std::string_view utf8) {
    TCodePageResult result;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        int length = 0;
        char32_t cp = 0;
        if (lead < 0x80) {
            length = 1;
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            cp = lead & 0x07;
        }
        bool valid = length > 0 && i + length <= utf8.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        // Overlong forms would smuggle in codes that look different from what was typed.
        static constexpr char32_t MIN_FOR_LENGTH[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && cp < MIN_FOR_LENGTH[length]) valid = false;
        if (!valid) {
            result.offending = std::string(utf8.substr(i, 1));
            result.text.clear();
            return result;
        }
        const auto byte = toByte(cp);
        if (!byte) {
            result.offending = shown(cp, utf8.substr(i, length));
            result.text.clear();
            return result;
        }
        result.text += static_cast<char>(*byte);
        i += length;
    }
    result.ok = true;
    return result;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        const char32_t cp = (b >= 0x80 && b < 0xA0) ? HIGH_CONTROLS[b - 0x80] : b;
        appendUtf8(out, cp);
    }
    return out;
}

bool ValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int more = lead < 0x80                   ? 0
                         : lead >= 0xC2 && lead < 0xE0 ? 1
                         : lead >= 0xE0 && lead < 0xF0 ? 2
                         : lead >= 0xF0 && lead < 0xF5 ? 3
                                                       : -1;
        if (more < 0 || i + more >= bytes.size()) return false;
        for (int k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        i += 1 + more;
    }
    return true;
}

} // namespace korvex::base
