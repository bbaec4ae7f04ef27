#include "datamatrix/Base256Encoder.h"

#include "datamatrix/LookAhead.h"

namespace korvex::datamatrix {

int EncodeBase256(std::string_view data, int start, bool automatic, CodewordBuffer& out) {
    const int end = static_cast<int>(data.size());
    int p = start;
    while (p < end) {
        ++p;
        if (automatic && LookAhead(data, p, EncodationMode::Base256) != EncodationMode::Base256)
            break;
    }
    const int length = p - start;

    out.push(CW_LATCH_BASE256);
    auto pushRandomized = [&out](int value) { out.push(Randomize255(value, out.size() + 1)); };
    if (length < 250) {
        pushRandomized(length);
    } else {
        pushRandomized(length / 250 + 249);
        pushRandomized(length % 250);
    }
    for (int i = start; i < p && !out.overflowed(); ++i)
        pushRandomized(static_cast<unsigned char>(data[i]));
    return p;
}

} // namespace korvex::datamatrix
