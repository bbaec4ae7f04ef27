#include "log/Verification.h"

#include "base/DecimalText.h"

#include <charconv>

namespace korvex::log {

TVerification ReadVerification(const TRow& row, int first) {
    TVerification v;
    v.Mark = row.Int(first);
    v.TimeUtc = CodePage(row.Text(first + 1));
    v.Who = CodePage(row.Text(first + 2));
    v.Grade = CodePage(row.Text(first + 3));
    v.As9132Pass = row.Int(first + 4) != 0;
    v.PhotoSha256 = row.Text(first + 5);
    v.Photo = PathFromUtf8(row.Text(first + 6));
    const std::string size = row.Text(first + 7);
    std::from_chars(size.data(), size.data() + size.size(), v.DotSize);
    return v;
}

std::vector<TValue> VerificationValues(const TVerification& v) {
    return {v.Mark,
            Utf8(v.TimeUtc),
            Utf8(v.Who),
            Utf8(v.Grade),
            std::int64_t{v.As9132Pass ? 1 : 0},
            v.PhotoSha256,
            PathUtf8(v.Photo),
            base::GeneralText(v.DotSize, 6)};
}

std::string DescribeVerification(const TVerification& v) {
    return v.Grade + (v.As9132Pass ? ", AS9132 passes" : ", AS9132 fails") + ", dots " +
           base::FixedText(100.0L * v.DotSize, 0) + " %";
}

} // namespace korvex::log
