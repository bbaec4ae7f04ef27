#include "datamatrix/AutoEncoder.h"

#include "datamatrix/AsciiEncoder.h"
#include "datamatrix/Base256Encoder.h"
#include "datamatrix/C40TextEncoder.h"
#include "datamatrix/LookAhead.h"

namespace korvex::datamatrix {

TAutoResult EncodeAuto(std::string_view data, CodewordBuffer& out) {
    const int end = static_cast<int>(data.size());
    TAutoResult result;
    EncodationMode mode = EncodationMode::Ascii;
    // The mode of the last codeword written: C40 and TEXT need an unlatch before anything else.
    EncodationMode written = EncodationMode::Ascii;
    auto leaveC40Text = [&] {
        if (IsC40OrText(written)) {
            out.push(CW_UNLATCH);
            written = EncodationMode::Ascii;
        }
    };

    int p = 0;
    while (p < end && !out.overflowed()) {
        while (mode == EncodationMode::Ascii && p < end && !out.overflowed()) {
            const auto ch = static_cast<unsigned char>(data[p]);
            if (p + 1 < end && (IsDigit(ch) || IsDigit(static_cast<unsigned char>(data[p + 1])))) {
                leaveC40Text();
                EncodeAscii(data, p, p + 2, out);
                p += 2;
                continue;
            }
            const EncodationMode next = LookAhead(data, p, EncodationMode::Ascii);
            if (next != EncodationMode::Ascii) {
                mode = next;
                break;
            }
            leaveC40Text();
            AppendAsciiChar(ch, out);
            ++p;
        }
        while (IsC40OrText(mode) && p < end && !out.overflowed()) {
            if (IsC40OrText(written) && written != mode) leaveC40Text();
            p = EncodeC40Text(data, p, mode == EncodationMode::Text, written != mode, true, out,
                              result.leftover);
            written = mode;
            mode = LookAhead(data, p, mode);
        }
        if (mode == EncodationMode::Base256 && p < end && !out.overflowed()) {
            leaveC40Text();
            p = EncodeBase256(data, p, true, out);
            written = EncodationMode::Base256;
            mode = LookAhead(data, p, EncodationMode::Base256);
        }
    }
    result.finalMode = mode;
    return result;
}

} // namespace korvex::datamatrix
