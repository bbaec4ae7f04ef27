// A full TDatamatrix rebuild beside libzint, libdmtx and zxing-cpp encoding the same text.
// Peers do their own encoding work only: zint encode (no rendering), libdmtx encode with
// 1-pixel modules and no margin (it always renders an image), zxing-cpp's writer with no
// margin at one pixel per module.

#include "content/SymbolContent.h"
#include "datamatrix/TDatamatrix.h"

#include <ZXing/BarcodeFormat.h>
#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>
#include <benchmark/benchmark.h>
#include <dmtx.h>
#include <zint.h>

#include <stdexcept>
#include <string>

namespace {

using korvex::datamatrix::TDatamatrix;

const std::string SHORT_TEXT = "123456";
const std::string SERIAL_TEXT = "SN-2026-000123 PN 4711-AB";
// 3116 digits are 1558 ASCII codewords: every encoder needs 144 x 144 for them.
const std::string FULL_TEXT = [] {
    std::string s;
    for (int i = 0; i < 3116; ++i)
        s += static_cast<char>('0' + (i * 7 + i / 10) % 10);
    return s;
}();

// A UDI: GTIN, expiry, lot and serial, in GS1's human-readable form (zint's GS1 mode reads it
// with its brackets as well).
const std::string GS1_TEXT = "(01)09506000134352(17)261231(10)ABC123(21)7";
constexpr int GS1_INPUT = 3;

const std::string& textFor(int which) {
    return which == 0 ? SHORT_TEXT : which == 1 ? SERIAL_TEXT : which == 2 ? FULL_TEXT : GS1_TEXT;
}

void labelFor(benchmark::State& state) {
    static const char* labels[] = {"123456", "serial", "fills C144X144", "GS1"};
    state.SetLabel(labels[state.range(0)]);
}

void korvexEncode(benchmark::State& state, korvex::datamatrix::TEncoding encoding) {
    const std::string& text = textFor(static_cast<int>(state.range(0)));
    const bool gs1 = state.range(0) == GS1_INPUT;
    TDatamatrix dm;
    dm.Code = text;
    dm.Encoding = encoding;
    for (auto _ : state) {
        // GS1 is parsed and checked on every rebuild, as zint does.
        if (gs1) {
            const korvex::content::TSymbolContent content =
                korvex::content::PrepareContent(korvex::content::TContentKind::Gs1, text);
            korvex::content::ApplyContent(content, dm);
        }
        dm.rebuild = true;
        dm.paintBarcode(nullptr);
        benchmark::DoNotOptimize(dm.MatrixCols());
    }
    labelFor(state);
}

void BM_Korvex(benchmark::State& state) {
    korvexEncode(state, korvex::datamatrix::E_ASCII);
}
void BM_KorvexAuto(benchmark::State& state) {
    korvexEncode(state, korvex::datamatrix::E_AUTO);
}

void BM_Zint(benchmark::State& state) {
    const std::string& text = textFor(static_cast<int>(state.range(0)));
    zint_symbol* symbol = ZBarcode_Create();
    for (auto _ : state) {
        ZBarcode_Clear(symbol);
        symbol->symbology = BARCODE_DATAMATRIX;
        if (state.range(0) == GS1_INPUT) symbol->input_mode = GS1_MODE | GS1PARENS_MODE;
        const int rc = ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char*>(text.data()),
                                       static_cast<int>(text.size()));
        if (rc >= ZINT_ERROR) throw std::runtime_error(symbol->errtxt);
        benchmark::DoNotOptimize(symbol->rows);
    }
    ZBarcode_Delete(symbol);
    labelFor(state);
}

void BM_Dmtx(benchmark::State& state) {
    std::string text = textFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        DmtxEncode* enc = dmtxEncodeCreate();
        dmtxEncodeSetProp(enc, DmtxPropModuleSize, 1);
        dmtxEncodeSetProp(enc, DmtxPropMarginSize, 0);
        if (dmtxEncodeDataMatrix(enc, static_cast<int>(text.size()),
                                 reinterpret_cast<unsigned char*>(text.data())) != DmtxPass)
            throw std::runtime_error("libdmtx failed");
        benchmark::DoNotOptimize(enc->region.symbolRows);
        dmtxEncodeDestroy(&enc);
    }
    labelFor(state);
}

void BM_Zxing(benchmark::State& state) {
    const std::string& text = textFor(static_cast<int>(state.range(0)));
    ZXing::MultiFormatWriter writer(ZXing::BarcodeFormat::DataMatrix);
    writer.setMargin(0);
    for (auto _ : state) {
        const ZXing::BitMatrix matrix = writer.encode(text, 0, 0);
        benchmark::DoNotOptimize(matrix.width());
    }
    labelFor(state);
}

} // namespace

// zxing-cpp's writer and libdmtx take no FNC1, so zint is GS1's only peer.
BENCHMARK(BM_Korvex)->DenseRange(0, 3);
BENCHMARK(BM_KorvexAuto)->DenseRange(0, 3);
BENCHMARK(BM_Zint)->DenseRange(0, 3);
BENCHMARK(BM_Dmtx)->DenseRange(0, 2);
BENCHMARK(BM_Zxing)->DenseRange(0, 2);

BENCHMARK_MAIN();
