#pragma once

#include "verify/MarkFinder.h"

#include <optional>
#include <vector>

namespace korvex::verify {

// One dark module's dot as measured on the photo, in module widths of the fitted grid.
struct TMeasuredDot {
    int Col = 0, Row = 0;
    double CentreX = 0, CentreY = 0; // module units; the nominal centre is (Col + 0.5, Row + 0.5)
    double Diameter = 0;             // mean of the edge's distances, twice
    double Major = 0, Minor = 0;     // of the ellipse fitted to the edge
    double Phi = 0;                  // the major axis, radians from +X towards +Y
    double Offset = 0;               // the centre's distance from its nominal place
    bool Found = false;              // no edge: the dot is missing or joined all round
};

struct TMeasuredMark {
    std::vector<TMeasuredDot> Dots;
    cv::Mat Grid;                       // module units to pixels, fitted to the dot centres
    double AngleOfDistortion = 0;       // degrees off 90 between the grid's axes
    double PitchX = 0, PitchY = 0;      // pixels per module along the symbol's axes
    double GridNonuniformity = 0;       // the grid's largest step from an even one, in modules
    double LightMean = 0, DarkMean = 0; // grey of the photo at the module centres
    std::vector<double> Modulation;     // each module's distance from the threshold, 0..1
    std::vector<char> Dark;             // each module as sampled on the fitted grid, row-major
    double Threshold = 0;               // grey of the lighting-evened photo between light and dark
    int PatternDamage = 0;              // finder and clock modules that sample wrong
    std::optional<int> QuietZone;       // clean modules round the symbol, as far as the photo shows
    bool QuietZoneCut = false;          // the photo ends before a dark module was met
};

TMeasuredMark MeasureMark(const TFoundMark& mark, const cv::Mat& grey);

} // namespace korvex::verify
