#include "datamatrix/TDatamatrix.h"

#include "datamatrix/AsciiEncoder.h"
#include "datamatrix/AutoEncoder.h"
#include "datamatrix/Base256Encoder.h"
#include "datamatrix/C40TextEncoder.h"
#include "datamatrix/CodewordBuffer.h"
#include "datamatrix/ERangeError.h"
#include "datamatrix/Placement.h"
#include "datamatrix/ReedSolomon.h"
#include "datamatrix/SizeChoice.h"
#include "datamatrix/SizeTable.h"

namespace korvex::datamatrix {

void TDatamatrix::EncodeField(std::string_view field, CodewordBuffer& codewords) {
    const int end = static_cast<int>(field.size());
    switch (Encoding) {
    case E_ASCII:
        EncodeAscii(field, 0, end, codewords);
        break;
    case E_C40:
    case E_TEXT:
        EncodeC40Text(field, 0, Encoding == E_TEXT, true, false, codewords, leftover_);
        break;
    case E_BASE256:
        EncodeBase256(field, 0, false, codewords);
        break;
    case E_NONE:
        EncodeNone(field, codewords);
        break;
    default: {
        const TAutoResult result = EncodeAuto(field, codewords);
        mode_ = result.finalMode;
        leftover_ = result.leftover;
        break;
    }
    }
}

void TDatamatrix::Rebuild() {
    rebuild = false;
    const std::string_view data = Code;
    if (data.empty()) return;

    if (Encoding != E_AUTO) mode_ = static_cast<EncodationMode>(Encoding);
    // No encodation packs more than two characters into a codeword, so a longer text can
    // never fit; refusing it here keeps the look-ahead's scans short on huge input.
    if (data.size() > 2 * static_cast<std::size_t>(SIZE_TABLE[C144X144].dataCodewords) + 4)
        throw ERangeError();

    CodewordBuffer codewords;
    for (const std::uint8_t codeword : Marks.Lead)
        codewords.push(codeword);
    // Each field ends in ASCII mode (C40/TEXT unlatch, Base256 carries its length), so the
    // FNC1 between fields is an ASCII codeword whatever the encodation.
    std::size_t begin = 0;
    for (const int at : Marks.Fnc1Before) {
        const auto end = static_cast<std::size_t>(at);
        if (end <= begin || end >= data.size()) continue;
        EncodeField(data.substr(begin, end - begin), codewords);
        codewords.push(CW_FNC1);
        begin = end;
    }
    EncodeField(data.substr(begin), codewords);

    const int written = codewords.size();
    const std::optional<TFormat> format =
        ChooseSize(codewords, PreferredFormat, mode_, leftover_, AllowDmre);
    if (!format) throw ERangeError();
    const TSizeInfo& size = SizeInfo(*format);

    // Once the size choice has dropped the unlatch, a final 254 is the low byte of a C40/TEXT
    // pair, which is data and must stay.
    const int n = codewords.size();
    if (IsC40OrText(mode_) && leftover_ == 0 && n == written && n == size.dataCodewords &&
        codewords[n - 1] == CW_UNLATCH)
        codewords.set(n - 1, CW_PAD);
    PadCodewords(codewords, size.dataCodewords);

    std::uint8_t stream[MAX_STREAM];
    BuildStream(codewords.data(), size, stream);
    PlaceModules(stream, size, spare_);

    // Nothing above touched the previous symbol; from here on nothing can fail.
    calculatedFormat_ = *format;
    cols_ = size.symbolCols;
    rows_ = size.symbolRows;
    matrix_.swap(spare_);
    dataCodewords_.assign(codewords.data(), codewords.data() + size.dataCodewords);
    errorCodewords_.assign(stream + size.dataCodewords,
                           stream + size.dataCodewords + size.errorCodewords);
}

void TDatamatrix::paintBarcode(SymbolCanvas* canvas) {
    if (rebuild) Rebuild();
    if (canvas == nullptr) return;

    canvas->fillRect(offsetX, offsetY, Width, Height, BackColor);
    for (int y = 0; y < rows_; ++y)
        for (int x = 0; x < cols_; ++x)
            canvas->fillRect(Margin + offsetX + x * PixelsDot, Margin + offsetY + y * PixelsDot,
                             PixelsDot, PixelsDot, matrix_[x][y] != 0 ? BarColor : BackColor);
    currentX_ = cols_ * PixelsDot + Margin + offsetX;
    currentY_ = rows_ * PixelsDot + Margin + offsetY;
}

void TDatamatrix::paintBarcodeAutoSize(SymbolCanvas& canvas) {
    {
        const auto probe = canvas.createPicture(100, 100);
        paintBarcode(probe.get());
    }
    const auto picture = canvas.createPicture(currentX_ + Margin, currentY_ + Margin);
    paintBarcode(picture.get());
    canvas.fillRect(0, 0, Width, Height, BackColor);
    canvas.drawPicture(*picture, 0, 0, Width, Height);
}

void TDatamatrix::Paint(SymbolCanvas& canvas) {
    if (AutoFit) {
        paintBarcodeAutoSize(canvas);
        return;
    }
    const auto picture = canvas.createPicture(Width, Height);
    paintBarcode(picture.get());
    canvas.drawPicture(*picture, 0, 0, Width, Height);
}

} // namespace korvex::datamatrix
