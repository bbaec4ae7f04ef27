#pragma once

// Test support: photos of dot-peen marks as a camera sees them, with their truth known. The
// symbol's modules come from the encoder (the matrix is the truth); the picture is drawn here,
// apart from the verification's code.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace korvex::phototest {

struct TPhotoScene {
    std::string Text = "KORVEX 4711";
    int SizeFormat = 0; // datamatrix::TFormat; 0 lets the encoder choose
    double Fill = 0.8;  // dot diameter over the cell
    double PixelsPerCell = 12;
    double AngleDegrees = 0; // the symbol turned counter-clockwise as seen
    bool Mirrored = false;   // seen through a mirror or from behind
    double TiltDegrees = 0;  // the part's face tilted from square to the camera
    double TiltAxisDegrees = 30;
    double CylinderRadiusCells = 0; // > 0: marked along a shaft, its axis along the rows
    double MovedShare = 0;          // share of the dark modules whose dot is off its place
    double MovedBy = 0.25;          // of the cell
    double MarginCells = 5;         // bare metal round the symbol
    double Noise = 0.025;           // grey noise, of full white
    double Gradient = 0.35;         // light falls off by this share across the photo
    double BlurPixels = 0.8;
    unsigned Seed = 1;
};

struct TPhotoTruth {
    int Cols = 0, Rows = 0;
    std::vector<char> Dark;                 // row-major, rows from the top, as a reader sees it
    std::vector<std::pair<int, int>> Moved; // (col, row) of the dots put off their place
    double WorstOvality = 0;                // (major - minor) / major as the camera sees it
    std::string Bytes;
};

struct TRenderedPhoto {
    int Width = 0, Height = 0;
    std::vector<std::uint8_t> Grey; // row-major
    TPhotoTruth Truth;
};

TRenderedPhoto RenderPhoto(const TPhotoScene& scene);

// The photo as a file of the type the extension names (".png", ".jpg", ".tif", ".bmp").
std::string EncodePhoto(const TRenderedPhoto& photo, const std::string& extension,
                        int jpegQuality = 92);

// A bare metal picture of width x height, no symbol on it, as a file.
std::string EncodeBlank(int width, int height, const std::string& extension);

} // namespace korvex::phototest
