#include "grade/GradeReport.h"
#include "grade/MarkPicture.h"

#ifdef KORVEX_GRADE_DMTX
#include <dmtx.h>
#endif

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

namespace korvex::grade {
namespace {

#ifdef KORVEX_GRADE_DMTX
// libdmtx on the picture shrunk to about five pixels a cell and given 150 ms: it either finds a
// clean symbol quickly or searches the whole picture until the limit.
std::optional<std::string> readDmtx(const readback::TDotPicture& picture, int pixelsPerCell) {
    std::vector<unsigned char> pixels(picture.Pixels.begin(), picture.Pixels.end());
    DmtxImage* image = dmtxImageCreate(pixels.data(), picture.Width, picture.Height, DmtxPack8bppK);
    if (!image) return std::nullopt;
    std::optional<std::string> decoded;
    const int shrink = std::max(1, pixelsPerCell / 5);
    if (DmtxDecode* dec = dmtxDecodeCreate(image, shrink)) {
        DmtxTime timeout = dmtxTimeAdd(dmtxTimeNow(), 150);
        if (DmtxRegion* region = dmtxRegionFindNext(dec, &timeout)) {
            if (DmtxMessage* message = dmtxDecodeMatrixRegion(dec, region, DmtxUndefined)) {
                decoded =
                    std::string(reinterpret_cast<const char*>(message->output), message->outputIdx);
                dmtxMessageDestroy(&message);
            }
            dmtxRegionDestroy(&region);
        }
        dmtxDecodeDestroy(&dec);
    }
    dmtxImageDestroy(&image);
    return decoded;
}
#endif

} // namespace

bool VerdictAvailable() {
    return KORVEX_READBACK != 0;
}

TVerdictResult ReadVerdict(const TPredictedMark& mark, std::string_view bytes) {
    TVerdictResult result;
#if KORVEX_READBACK
    using readback::TDotDecoder;
    int reads = 0;
    for (const int pixels : {5, 10, 15})
        for (const bool worn : {false, true}) {
            const readback::TDotPicture raw = RenderMark(mark, pixels, worn);
            std::vector<readback::TDotPicture> closed;
            for (const double closing : {0.5, 0.8}) {
                closed.push_back(raw);
                CloseMark(closed.back(), static_cast<int>(std::lround(closing / 2 * pixels)));
            }
            for (const TDotDecoder decoder : {TDotDecoder::ZXing, TDotDecoder::Dmtx}) {
                if (!readback::DecoderReadsSize(decoder, mark.Grid.Cols, mark.Grid.Rows)) continue;
                // A reader that fails with one aperture tries the next.
                bool read = false;
                for (const readback::TDotPicture& picture : closed) {
                    if (decoder == TDotDecoder::ZXing) {
                        const auto decoded = readback::DecodeDots(picture, decoder);
                        read = decoded && decoded->Bytes == bytes;
                    } else {
#ifdef KORVEX_GRADE_DMTX
                        const auto decoded = readDmtx(picture, pixels);
                        read = decoded && *decoded == bytes;
#endif
                    }
                    if (read) break;
                }
                result.Readings.push_back({pixels, worn, decoder == TDotDecoder::Dmtx, read});
                reads += read;
            }
        }
    const int tried = static_cast<int>(result.Readings.size());
    result.Verdict = reads == tried && tried > 0 ? TVerdict::Reads
                     : reads > 0                 ? TVerdict::ReadsNarrowly
                                                 : TVerdict::DoesNotRead;
#else
    static_cast<void>(mark), static_cast<void>(bytes);
#endif
    return result;
}

} // namespace korvex::grade
