// Content kinds: any text of any kind is refused with a reason or encoded into a symbol that
// zxing-cpp reads back as exactly the bytes, identifier and type the content promised.
#include "content/SymbolContent.h"
#include "datamatrix/TDatamatrix.h"

#include <ZXing/ReadBarcode.h>

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string_view>
#include <vector>

using namespace korvex;

namespace {

constexpr int Scale = 3;
constexpr int Quiet = 2;

ZXing::Result read(const datamatrix::TDatamatrix& dm) {
    const datamatrix::TIArray m = dm.Matrix();
    const int cols = dm.MatrixCols(), rows = dm.MatrixRows();
    const int width = (cols + 2 * Quiet) * Scale, height = (rows + 2 * Quiet) * Scale;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height, 255);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x)
            if (m[x][y] != 0)
                for (int dy = 0; dy < Scale; ++dy)
                    for (int dx = 0; dx < Scale; ++dx)
                        pixels[static_cast<std::size_t>((y + Quiet) * Scale + dy) * width +
                               (x + Quiet) * Scale + dx] = 0;
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::DataMatrix);
    hints.setIsPure(true);
    return ZXing::ReadBarcode({pixels.data(), width, height, ZXing::ImageFormat::Lum}, hints);
}

ZXing::ContentType expectedType(content::TReaderContentType type) {
    switch (type) {
    case content::TReaderContentType::Gs1:
        return ZXing::ContentType::GS1;
    case content::TReaderContentType::Iso15434:
        return ZXing::ContentType::ISO15434;
    case content::TReaderContentType::Text:
        break;
    }
    return ZXing::ContentType::Text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto kind = static_cast<content::TContentKind>(data[0] % content::CONTENT_KIND_COUNT);
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    // A layer without text is never encoded: the generator refuses it first.
    if (text.empty()) return 0;
    const content::TSymbolContent prepared = content::PrepareContent(kind, text);
    if (!prepared.Ok()) return 0;
    datamatrix::TDatamatrix dm;
    content::ApplyContent(prepared, dm);
    try {
        dm.paintBarcode(nullptr);
    } catch (const std::exception&) {
        return 0; // too long for the largest symbol: refused with the range error
    }
    const ZXing::Result result = read(dm);
    if (!result.isValid()) std::abort();
    const std::string bytes(result.bytes().begin(), result.bytes().end());
    // With ECI the reader reports the bytes after its designator its own way: the read itself
    // counts.
    if (!prepared.Eci && bytes != prepared.ReaderBytes) std::abort();
    if (prepared.Eci) return 0;
    if (result.symbologyIdentifier().substr(0, 3) != prepared.SymbologyIdentifier) std::abort();
    // zxing-cpp calls a text with control characters binary: only the envelopes are promised.
    const bool envelope = result.contentType() == ZXing::ContentType::GS1 ||
                          result.contentType() == ZXing::ContentType::ISO15434;
    if (prepared.ReaderType == content::TReaderContentType::Text
            ? envelope
            : result.contentType() != expectedType(prepared.ReaderType))
        std::abort();
    return 0;
}
