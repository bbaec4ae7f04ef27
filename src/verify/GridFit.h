#pragma once

#include <opencv2/core.hpp>

#include <vector>

namespace korvex::verify {

// Grey of an 8-bit picture between its pixels; -1 outside.
float SampleGrey(const cv::Mat& img, cv::Point2f p);

// Module units (u, v) through the 3x3 homography `h` to pixels.
cv::Point2d ApplyGrid(const cv::Mat& h, double u, double v);

// Least squares homography (u, v) -> (x, y) with h33 = 1.
cv::Mat FitHomography(const std::vector<cv::Point2f>& from, const std::vector<cv::Point2f>& to);

// Fits, leaves out the points farther than a fifth of a module, fits again: the moved dots
// must not pull the grid.
cv::Mat RobustHomography(std::vector<cv::Point2f> from, std::vector<cv::Point2f> to, double pitch);

// The grid moved onto the dots: each dark module's centre of darkness, the grid fitted to
// them, twice. A decoder's corners may lie half a module off under perspective.
cv::Mat RefineGrid(const cv::Mat& img, const cv::Mat& grid, int cols, int rows);

// The grid fitted to the dots' centres (photo pixels) that lie near a module centre, three
// times: the dots decide where the modules are, not the decoder's corners.
cv::Mat SnapGrid(const std::vector<cv::Point2f>& centres, const cv::Mat& grid, int cols, int rows);

} // namespace korvex::verify
