#pragma once

#include "verify/VerifyPhoto.h"

#include <opencv2/core.hpp>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace korvex::verify {

// Why a photo is refused before any symbol is looked for.
enum class TPhotoProblem { None, Missing, NotImage, TooLarge, Damaged };

struct TPhoto {
    TPhotoProblem Problem = TPhotoProblem::None;
    cv::Mat Grey; // 8 bit, one channel
};

// The size a PNG, JPEG, BMP or TIFF header states, read without decoding; nothing for other files.
std::optional<cv::Size> HeaderSize(const std::string& bytes);

// Reads a PNG, JPEG, TIFF or BMP file as grey. A file that OpenCV does not recognise is not an
// image; one it recognises but cannot decode completely (cut off, damaged) is damaged.
TPhoto LoadPhoto(const std::filesystem::path& file);
TPhoto DecodePhoto(const std::string& bytes);

} // namespace korvex::verify
