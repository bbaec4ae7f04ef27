#pragma once

#include "datamatrix/CodewordBuffer.h"
#include "datamatrix/EncodationMode.h"
#include "datamatrix/SymbolCanvas.h"
#include "datamatrix/TEncoding.h"
#include "datamatrix/TFormat.h"
#include "datamatrix/TIArray.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::datamatrix {

// What the data bytes cannot say themselves. Lead codewords (FNC1, a macro, an ECI) are written
// before the data in ASCII mode; an FNC1 is written before each position of Fnc1Before, also in
// ASCII mode, because readers do not recognise an FNC1 inside C40/TEXT or Base256. Empty marks
// give exactly the codewords of the bytes alone.
struct TCodewordMarks {
    std::vector<std::uint8_t> Lead;
    std::vector<int> Fnc1Before; // ascending, each inside (0, Code.size())

    bool Empty() const { return Lead.empty() && Fnc1Before.empty(); }
    bool operator==(const TCodewordMarks&) const = default;
};

// The DataMatrix ECC 200 symbol encoder component (ISO/IEC 16022, DMRE: ISO/IEC 21471). Set Code,
// Encoding and PreferredFormat, set rebuild, then call paintBarcode (nullptr only rebuilds) and
// read Matrix. A failing rebuild throws ERangeError and keeps the previous symbol.
class TDatamatrix {
  public:
    std::string Code = "This is a test of the barcode DataMatrix"; // Windows-1252 bytes
    TEncoding Encoding = E_ASCII;
    TCodewordMarks Marks;
    TFormat PreferredFormat = AUTO;
    // Lets a too small rectangular PreferredFormat grow into a DMRE size (ISO/IEC 21471).
    bool AllowDmre = false;
    bool rebuild = true;

    int PixelsDot = 4;
    int Margin = 30;
    int offsetX = 0;
    int offsetY = 0;
    std::uint32_t BarColor = 0x000000;  // 0x00BBGGRR
    std::uint32_t BackColor = 0xFFFFFF; // 0x00BBGGRR
    bool AutoFit = true;
    // The component's own area in pixels.
    int Width = 100;
    int Height = 100;

    TFormat CalculatedFormat() const { return calculatedFormat_; }
    int CurrentX() const { return currentX_; }
    int CurrentY() const { return currentY_; }

    // Rebuilds first when rebuild is set; then draws unless canvas is nullptr.
    void paintBarcode(SymbolCanvas* canvas);
    // Draws scaled into the component's own area (0, 0, Width, Height).
    void paintBarcodeAutoSize(SymbolCanvas& canvas);
    // The component painting itself: scaled with AutoFit, else 1:1 through a picture.
    void Paint(SymbolCanvas& canvas);

    TIArray Matrix() const { return matrix_; }
    int MatrixCols() const { return cols_; }
    int MatrixRows() const { return rows_; }

    // The last symbol's data codewords after padding, and its error codewords in the order
    // they stand in the final stream.
    const std::vector<std::uint8_t>& DataCodewords() const { return dataCodewords_; }
    const std::vector<std::uint8_t>& ErrorCodewords() const { return errorCodewords_; }

  private:
    void Rebuild();
    void EncodeField(std::string_view field, CodewordBuffer& codewords);

    TFormat calculatedFormat_ = AUTO;
    int currentX_ = 0;
    int currentY_ = 0;
    TIArray matrix_;
    TIArray spare_; // storage of the symbol before, reused by the next rebuild
    int cols_ = 0;
    int rows_ = 0;
    std::vector<std::uint8_t> dataCodewords_;
    std::vector<std::uint8_t> errorCodewords_;
    EncodationMode mode_ = EncodationMode::Ascii;
    int leftover_ = 0;
};

} // namespace korvex::datamatrix
