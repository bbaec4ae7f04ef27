#pragma once

#include "readback/ModuleGrid.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvex::readback {

// What a camera over the part sees: a grey picture, 0 black, 255 white.
struct TDotPicture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels; // row-major
};

// A fixed-mount DPM reader resolves a cell in about five pixels.
inline constexpr int DotPixelsPerCell = 5;
inline constexpr int DotQuietModules = 2;

// Each dark module as a round dark dot of its fill (diameter in module widths) on a light
// ground with a quiet zone; `centreError` moves each centre by up to that part of a module in
// x and y, the same for the same seed.
TDotPicture RenderDots(const TModuleGrid& grid, float centreError = 0, unsigned seed = 0);

// How far each pixel centre is from the nearest dark module's centre, as far as a dot of
// `largestFill` reaches; with it RenderUniformDots draws the same picture as RenderDots for
// every fill up to that when all dots have one fill, without going over the dots again.
struct TDotDistances {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint16_t> Square; // row-major: four times the squared distance in pixels
    std::uint16_t Far = 0;             // beyond the largest dot's reach
};
TDotDistances DotDistances(const TModuleGrid& grid, float largestFill);
// Every dark module as a dot of `fill`, into `picture` (its buffer is reused).
void RenderUniformDots(const TDotDistances& distances, float fill, TDotPicture& picture);

// The closing a DPM reader applies before it looks for a symbol: dark grows by `radius`
// pixels and shrinks back, so dots that nearly touch join and the gaps of a cell close.
void CloseDots(TDotPicture& picture, int radius);

enum class TDotDecoder { ZXing, Dmtx };

// Whether libdmtx is linked; without it the second opinion is not given.
bool HasDecoder(TDotDecoder decoder);
// libdmtx does not read the largest symbol in the interleave most scanners read.
bool DecoderReadsSize(TDotDecoder decoder, int cols, int rows);

// The bytes the picture carries and whether zxing-cpp saw them mirrored; nothing when it does
// not read.
struct TDotDecode {
    std::string Bytes;
    bool Mirrored = false;
};
std::optional<TDotDecode> DecodeDots(const TDotPicture& picture, TDotDecoder decoder);

} // namespace korvex::readback
