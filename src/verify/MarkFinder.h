#pragma once

#include <opencv2/core.hpp>

#include <array>
#include <optional>
#include <string>

namespace korvex::verify {

// A symbol found and decoded in a photo, with the grid it lies on.
struct TFoundMark {
    std::string Bytes;               // what the symbol carries
    std::string SymbologyIdentifier; // "]d1", "]d2" ...
    std::string ContentKind;         // "TEXT", "GS1", "ISO15434-05" ...
    bool Mirrored = false;
    int ClosingRadius = 0; // pixels of the photo; 0 when the dots were read squared up
    double PitchFound = 0; // pixels, the dots' spacing where they were read squared up
    int Cols = 0, Rows = 0;
    cv::Mat ModuleToPhoto; // 3x3 homography: module units (0,0 top left of the L) to pixels
    cv::Mat Normalised;    // the photo divided by its lighting, ground near 200
};

// Evens out the lighting: the photo divided by its ground as seen at a coarse scale.
cv::Mat NormaliseLighting(const cv::Mat& grey);

// Looks for a DataMatrix as a dot-peen reader does: lighting evened out, then closings of
// growing radius (round dots read only once they join), any rotation, mirrored. Nothing when
// no closing reads.
std::optional<TFoundMark> FindMark(const cv::Mat& grey);

} // namespace korvex::verify
