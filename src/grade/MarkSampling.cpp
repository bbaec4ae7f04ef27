#include "grade/MarkSampling.h"

#include "datamatrix/Placement.h"
#include "datamatrix/ReedSolomon.h"
#include "grade/MarkPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace korvex::grade {
namespace {

constexpr int SamplePixels = 10;

// Each module's place in the mapping matrix (ISO/IEC 16022, 5.8: the data regions without
// their frames, side by side); -1 for a frame module.
struct TModuleCell {
    int Codeword = -1; // from 0
    int Bit = 0;       // value of the bit
};

std::vector<TModuleCell> cellsOf(const datamatrix::TSizeInfo& size) {
    const std::vector<int> mapping = datamatrix::MappingArray(size.mappingRows, size.mappingCols);
    std::vector<TModuleCell> cells(static_cast<std::size_t>(size.symbolCols) * size.symbolRows);
    for (int r = 0; r < size.symbolRows; ++r)
        for (int c = 0; c < size.symbolCols; ++c) {
            const int ir = r % (size.regionRows + 2), ic = c % (size.regionCols + 2);
            if (ir == 0 || ir == size.regionRows + 1 || ic == 0 || ic == size.regionCols + 1)
                continue;
            const int mr = r / (size.regionRows + 2) * size.regionRows + ir - 1;
            const int mc = c / (size.regionCols + 2) * size.regionCols + ic - 1;
            const int entry = mapping[static_cast<std::size_t>(mr) * size.mappingCols + mc];
            if (entry < 10) continue;
            cells[static_cast<std::size_t>(r) * size.symbolCols + c] = {entry / 10 - 1,
                                                                        1 << (8 - entry % 10)};
        }
    return cells;
}

std::vector<std::uint8_t> codewordsOf(const std::vector<char>& dark,
                                      const std::vector<TModuleCell>& cells, std::size_t count) {
    std::vector<std::uint8_t> words(count, 0);
    for (std::size_t i = 0; i < cells.size(); ++i)
        if (cells[i].Codeword >= 0 && dark[i] &&
            static_cast<std::size_t>(cells[i].Codeword) < count)
            words[static_cast<std::size_t>(cells[i].Codeword)] |=
                static_cast<std::uint8_t>(cells[i].Bit);
    return words;
}

// 1 - 2t/d of the worst block (no erasures: a reader sees every module).
double unusedCorrection(const std::vector<std::uint8_t>& read,
                        const std::vector<std::uint8_t>& right, const datamatrix::TSizeInfo& size) {
    std::vector<int> errors(static_cast<std::size_t>(size.blockCount), 0);
    for (std::size_t k = 0; k < right.size(); ++k) {
        if (read[k] == right[k]) continue;
        const std::size_t offset =
            k < static_cast<std::size_t>(size.dataCodewords) ? k : k - size.dataCodewords;
        ++errors[offset % errors.size()];
    }
    double worst = 1;
    for (const int t : errors)
        worst = std::min(worst, std::max(0.0, 1.0 - 2.0 * t / size.errorPerBlock));
    return worst;
}

} // namespace

TSampling SampleMark(const TPredictedMark& mark, const TReaderGrid& grid) {
    const datamatrix::TSizeInfo& size = *mark.Size;
    const int cols = mark.Grid.Cols, rows = mark.Grid.Rows;
    const std::vector<TModuleCell> cells = cellsOf(size);
    const std::size_t total = static_cast<std::size_t>(size.dataCodewords + size.errorCodewords);
    const std::vector<std::uint8_t> programWords = codewordsOf(mark.Grid.Dark, cells, total);
    std::vector<std::uint8_t> right = datamatrix::BuildStream(programWords.data(), size);
    const readback::TDotPicture clean = RenderMark(mark, SamplePixels, false);
    const int quiet = PictureQuietModules * SamplePixels;
    TSampling best;
    bool first = true;
    for (const double closing : {0.5, 0.8}) {
        readback::TDotPicture p = clean;
        CloseMark(p, static_cast<int>(std::lround(closing / 2 * SamplePixels)));
        const auto darkAt = [&](int c, int r) {
            const int x =
                quiet + static_cast<int>(std::floor((grid.X0 + c * grid.PitchX) * SamplePixels));
            const int y =
                quiet + static_cast<int>(std::floor((grid.Y0 + r * grid.PitchY) * SamplePixels));
            int sum = 0, n = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int px = std::clamp(x + dx, 0, p.Width - 1);
                    const int py = std::clamp(y + dy, 0, p.Height - 1);
                    sum += p.Pixels[static_cast<std::size_t>(py) * p.Width + px], ++n;
                }
            return sum < 128 * n;
        };
        std::vector<char> seen(mark.Grid.Dark.size(), 0);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                seen[static_cast<std::size_t>(r) * cols + c] = darkAt(c, r);
        TSampling s;
        s.UnusedErrorCorrection = unusedCorrection(codewordsOf(seen, cells, total), right, size);
        // The finder's legs, the quiet zone beside them and every frame's clock track.
        int legLeft = 0, legBottom = 0, quietLeft = 0, quietBottom = 0, tracks = 0;
        for (int r = 0; r < rows; ++r) {
            legLeft += !darkAt(0, r);
            quietLeft += darkAt(-1, r);
        }
        for (int c = 0; c < cols; ++c) {
            legBottom += !darkAt(c, rows - 1);
            quietBottom += darkAt(c, rows);
        }
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                const std::size_t i = static_cast<std::size_t>(r) * cols + c;
                const bool frame = cells[i].Codeword < 0 && c != 0 && r != rows - 1;
                tracks += frame && seen[i] != mark.Grid.Dark[i];
            }
        s.WorstSegmentDamage = std::max({legLeft, legBottom, quietLeft, quietBottom, tracks});
        s.PatternDamage = legLeft + legBottom + quietLeft + quietBottom + tracks;
        if (first || s.UnusedErrorCorrection > best.UnusedErrorCorrection ||
            (s.UnusedErrorCorrection == best.UnusedErrorCorrection &&
             s.PatternDamage < best.PatternDamage))
            best = s;
        first = false;
    }
    return best;
}

} // namespace korvex::grade
