#include "datamatrix/Placement.h"

#include <algorithm>
#include <array>

namespace korvex::datamatrix {

namespace {

// Without a stream an entry is codeword x 10 + bit. With one, the placement writes the module
// value (the bit's value when set, else 0) marked by PLACED, which spares a second pass that
// divides every entry by 10.
constexpr std::uint16_t PLACED = 0x100;

class Mapper {
  public:
    Mapper(int nrow, int ncol, std::uint16_t* entries, const std::uint8_t* stream = nullptr)
        : nrow_(nrow), ncol_(ncol), entries_(entries), stream_(stream) {
        std::fill(entries_, entries_ + nrow * ncol, std::uint16_t{0});
    }

    void run() {
        int row = 4;
        int col = 0;
        int codeword = 1;
        do {
            if (row == nrow_ && col == 0) corner1(codeword++);
            if (row == nrow_ - 2 && col == 0 && ncol_ % 4 != 0) corner2(codeword++);
            if (row == nrow_ - 2 && col == 0 && ncol_ % 8 == 4) corner3(codeword++);
            if (row == nrow_ + 4 && col == 2 && ncol_ % 8 == 0) corner4(codeword++);
            do { // upward diagonal
                if (row < nrow_ && col >= 0 && at(row, col) == 0) standard(row, col, codeword++);
                row -= 2;
                col += 2;
            } while (row >= 0 && col < ncol_);
            row += 1;
            col += 3;
            do { // downward diagonal
                if (row >= 0 && col < ncol_ && at(row, col) == 0) standard(row, col, codeword++);
                row += 2;
                col -= 2;
            } while (row < nrow_ && col >= 0);
            row += 3;
            col += 1;
        } while (row < nrow_ || col < ncol_);
        if (at(nrow_ - 1, ncol_ - 1) == 0) {
            const std::uint16_t fixed = stream_ ? (PLACED | 1) : 1;
            at(nrow_ - 1, ncol_ - 1) = fixed;
            at(nrow_ - 2, ncol_ - 2) = fixed;
        }
    }

  private:
    std::uint16_t& at(int row, int col) { return entries_[row * ncol_ + col]; }

    void module(int row, int col, int codeword, int bit) {
        if (row < 0) {
            row += nrow_;
            col += 4 - ((nrow_ + 4) % 8);
        }
        if (col < 0) {
            col += ncol_;
            row += 4 - ((ncol_ + 4) % 8);
        }
        // Only DMRE widths push a wrapped module below the last row (ISO/IEC 21471, Annex E).
        if (row >= nrow_) row -= nrow_;
        if (stream_)
            at(row, col) = PLACED | (stream_[codeword - 1] & (1 << (8 - bit)));
        else
            at(row, col) = static_cast<std::uint16_t>(codeword * 10 + bit);
    }

    void standard(int row, int col, int cw) {
        module(row - 2, col - 2, cw, 1);
        module(row - 2, col - 1, cw, 2);
        module(row - 1, col - 2, cw, 3);
        module(row - 1, col - 1, cw, 4);
        module(row - 1, col, cw, 5);
        module(row, col - 2, cw, 6);
        module(row, col - 1, cw, 7);
        module(row, col, cw, 8);
    }

    void corner1(int cw) {
        module(nrow_ - 1, 0, cw, 1);
        module(nrow_ - 1, 1, cw, 2);
        module(nrow_ - 1, 2, cw, 3);
        module(0, ncol_ - 2, cw, 4);
        module(0, ncol_ - 1, cw, 5);
        module(1, ncol_ - 1, cw, 6);
        module(2, ncol_ - 1, cw, 7);
        module(3, ncol_ - 1, cw, 8);
    }

    void corner2(int cw) {
        module(nrow_ - 3, 0, cw, 1);
        module(nrow_ - 2, 0, cw, 2);
        module(nrow_ - 1, 0, cw, 3);
        module(0, ncol_ - 4, cw, 4);
        module(0, ncol_ - 3, cw, 5);
        module(0, ncol_ - 2, cw, 6);
        module(0, ncol_ - 1, cw, 7);
        module(1, ncol_ - 1, cw, 8);
    }

    void corner3(int cw) {
        module(nrow_ - 3, 0, cw, 1);
        module(nrow_ - 2, 0, cw, 2);
        module(nrow_ - 1, 0, cw, 3);
        module(0, ncol_ - 2, cw, 4);
        module(0, ncol_ - 1, cw, 5);
        module(1, ncol_ - 1, cw, 6);
        module(2, ncol_ - 1, cw, 7);
        module(3, ncol_ - 1, cw, 8);
    }

    void corner4(int cw) {
        module(nrow_ - 1, 0, cw, 1);
        module(nrow_ - 1, ncol_ - 1, cw, 2);
        module(0, ncol_ - 3, cw, 3);
        module(0, ncol_ - 2, cw, 4);
        module(0, ncol_ - 1, cw, 5);
        module(1, ncol_ - 3, cw, 6);
        module(1, ncol_ - 2, cw, 7);
        module(1, ncol_ - 1, cw, 8);
    }

    int nrow_;
    int ncol_;
    std::uint16_t* entries_;
    const std::uint8_t* stream_;
};

// Finder lines left and bottom, clock tracks top and right (ISO/IEC 16022, 5.3.3.1).
void drawFrame(TIArray& m, int x0, int y0, int w, int h) {
    for (int i = 0; i < w; ++i) {
        m[x0 + i][y0 + h - 1] = 1;
        m[x0 + i][y0] = i % 2 == 0 ? 1 : 0;
    }
    for (int i = 0; i < h; ++i) {
        m[x0][y0 + i] = 1;
        m[x0 + w - 1][y0 + i] = i % 2 == 1 ? 1 : 0;
    }
}

// Where each module of a mapping takes its value from, column by column: 0 nothing, FIXED the
// dark corner, else 1 + (codeword index x 8 + shift of the bit). The same for every symbol
// of a size, so it is worked out once per size instead of on every rebuild.
constexpr std::uint16_t FIXED = 0xFFFF;

std::vector<std::uint16_t> sourceTable(int nrow, int ncol) {
    std::vector<std::uint16_t> entries(static_cast<std::size_t>(nrow * ncol));
    Mapper(nrow, ncol, entries.data()).run();
    std::vector<std::uint16_t> sources(entries.size());
    for (int c = 0; c < ncol; ++c)
        for (int r = 0; r < nrow; ++r) {
            const int entry = entries[static_cast<std::size_t>(r * ncol + c)];
            std::uint16_t& source = sources[static_cast<std::size_t>(c * nrow + r)];
            if (entry == 0)
                source = 0;
            else if (entry == 1)
                source = FIXED;
            else
                source = static_cast<std::uint16_t>(1 + (entry / 10 - 1) * 8 + (8 - entry % 10));
        }
    return sources;
}

const std::vector<std::uint16_t>& sourcesFor(const TSizeInfo& size) {
    static const std::array<std::vector<std::uint16_t>, FORMAT_COUNT> tables = [] {
        std::array<std::vector<std::uint16_t>, FORMAT_COUNT> all;
        for (int f = 0; f < FORMAT_COUNT; ++f)
            if (SIZE_TABLE[f].mappingRows > 0)
                all[f] = sourceTable(SIZE_TABLE[f].mappingRows, SIZE_TABLE[f].mappingCols);
        return all;
    }();
    for (int f = 0; f < FORMAT_COUNT; ++f)
        if (SIZE_TABLE[f].mappingRows == size.mappingRows &&
            SIZE_TABLE[f].mappingCols == size.mappingCols)
            return tables[f];
    static const std::vector<std::uint16_t> none;
    return none;
}

} // namespace

std::vector<int> MappingArray(int nrow, int ncol) {
    std::vector<std::uint16_t> entries(static_cast<std::size_t>(nrow * ncol));
    Mapper(nrow, ncol, entries.data()).run();
    return {entries.begin(), entries.end()};
}

TIArray PlaceModules(const std::vector<std::uint8_t>& stream, const TSizeInfo& size) {
    TIArray m;
    PlaceModules(stream.data(), size, m);
    return m;
}

void PlaceModules(const std::uint8_t* stream, const TSizeInfo& size, TIArray& m) {
    m.resize(size.symbolCols);
    for (auto& column : m)
        column.assign(size.symbolRows, 0);
    const int rr = size.regionRows;
    const int rc = size.regionCols;
    // Regions fill the symbol in a grid: 1, 2 x 2, 4 x 4 or 6 x 6 in squares, one row of 2, 4
    // or 6 in rectangles.
    const int across = size.symbolCols / (rc + 2);
    const int down = size.symbolRows / (rr + 2);
    for (int c = 0; c < across; ++c)
        for (int d = 0; d < down; ++d)
            drawFrame(m, c * (rc + 2), d * (rr + 2), rc + 2, rr + 2);

    const int nrow = size.mappingRows;
    const int ncol = size.mappingCols;
    // Symbol rows skip the two frame rows between regions, symbol columns likewise.
    std::array<int, 132> symbolRow;
    for (int r = 0; r < nrow; ++r)
        symbolRow[r] = r + 1 + 2 * (r / rr);
    const std::vector<std::uint16_t>& sources = sourcesFor(size);
    if (sources.size() == static_cast<std::size_t>(nrow * ncol)) {
        const std::uint16_t* source = sources.data();
        for (int c = 0; c < ncol; ++c) {
            int* column = m[c + 1 + 2 * (c / rc)].data();
            for (int r = 0; r < nrow; ++r, ++source) {
                const std::uint16_t from = *source;
                if (from == 0) continue;
                const int bit = (from - 1) & 7;
                column[symbolRow[r]] = from == FIXED ? 1 : stream[(from - 1) >> 3] & (1 << bit);
            }
        }
        return;
    }
    // A size outside the table (none today): the placement itself.
    std::vector<std::uint16_t> mapping(static_cast<std::size_t>(nrow * ncol));
    Mapper(nrow, ncol, mapping.data(), stream).run();
    for (int c = 0; c < ncol; ++c) {
        int* column = m[c + 1 + 2 * (c / rc)].data();
        const std::uint16_t* entry = mapping.data() + c;
        for (int r = 0; r < nrow; ++r, entry += ncol)
            column[symbolRow[r]] = *entry & 0xFF;
    }
}

} // namespace korvex::datamatrix
