#include "readback/DotPicture.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// Apart from the decoding, so that a build without the decoders closes pictures alike.
namespace korvex::readback {

namespace {

// out[i] = the darker (or lighter) of out[i] and in[i]. In blocks of a fixed length from
// buffers that do not overlap, which compilers turn into vector instructions even at -O2.
template <bool Darken>
void pickInto(std::uint8_t* __restrict out, const std::uint8_t* __restrict in, std::size_t n) {
    constexpr std::size_t Block = 32;
    std::size_t i = 0;
    for (; i + Block <= n; i += Block)
        for (std::size_t j = 0; j < Block; ++j)
            out[i + j] = Darken ? std::min(out[i + j], in[i + j]) : std::max(out[i + j], in[i + j]);
    for (; i < n; ++i)
        out[i] = Darken ? std::min(out[i], in[i]) : std::max(out[i], in[i]);
}

// A window's minimum (dark grows) or maximum (light grows) of 2 radius + 1 pixels along the
// rows, then across them.
template <bool Darken>
void squareFilter(TDotPicture& p, int radius, std::vector<std::uint8_t>& tmp) {
    const std::size_t w = static_cast<std::size_t>(p.Width);
    const std::size_t h = static_cast<std::size_t>(p.Height);
    const std::size_t reach = static_cast<std::size_t>(radius);
    tmp = p.Pixels;
    for (std::size_t y = 0; y < h; ++y) {
        const std::uint8_t* in = p.Pixels.data() + y * w;
        std::uint8_t* out = tmp.data() + y * w;
        for (std::size_t k = 1; k <= reach && k < w; ++k) {
            pickInto<Darken>(out, in + k, w - k);
            pickInto<Darken>(out + k, in, w - k);
        }
    }
    for (std::size_t y = 0; y < h; ++y) {
        std::uint8_t* out = p.Pixels.data() + y * w;
        const std::size_t from = y >= reach ? y - reach : 0;
        const std::size_t to = std::min(h - 1, y + reach);
        std::copy_n(tmp.data() + from * w, w, out);
        for (std::size_t j = from + 1; j <= to; ++j)
            pickInto<Darken>(out, tmp.data() + j * w, w);
    }
}

} // namespace

void CloseDots(TDotPicture& picture, int radius) {
    if (radius <= 0) return;
    std::vector<std::uint8_t> tmp;
    squareFilter<true>(picture, radius, tmp);
    squareFilter<false>(picture, radius, tmp);
}

} // namespace korvex::readback
