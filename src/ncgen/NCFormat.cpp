#include "ncgen/NCFormat.h"

#include "base/DecimalText.h"

#include <algorithm>

namespace korvex::ncgen {

std::string FormatNumber(const TNCFormat& format, long double x) {
    const int decimals = format.Nachkommastellen;
    std::string text;
    if (x == 0) {
        // Also for a negative zero: no sign.
        text = "0.";
        text.append(static_cast<std::size_t>(decimals), '0');
    } else {
        text = base::FixedText(x, decimals);
    }
    std::erase(text, ' ');
    if (const auto minus = text.find('-'); minus != std::string::npos) {
        text.erase(minus, 1);
    }
    const bool hasPoint = text.find('.') != std::string::npos;
    if ((format.NCpunkt || format.Dezipunkt) && !hasPoint) {
        text += '.';
    }
    if (!format.Dezipunkt) {
        std::erase(text, '.');
    }
    if (!format.NNullen) {
        while (!text.empty() && text.back() == '0') {
            text.pop_back();
        }
        // Without point and trailing zeros an all-zero value would vanish; a controller needs a
        // digit.
        if (text.empty()) {
            text = "0";
        }
    }
    if (format.VNullen) {
        const std::size_t width = format.Stellen + (text.find('.') != std::string::npos ? 1U : 0U);
        if (text.size() < width) {
            text.insert(0, width - text.size(), '0');
        }
    }
    if (x < 0) {
        text.insert(0, 1, '-');
    } else if (format.Vorzeichen) {
        text.insert(0, 1, '+');
    }
    if (!format.NCpunkt && !text.empty() && text.back() == '.') {
        text.pop_back();
    }
    return text;
}

} // namespace korvex::ncgen
