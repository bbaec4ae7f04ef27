#include "verify/Photo.h"

#include <opencv2/core/utils/logger.hpp>
#include <opencv2/imgcodecs.hpp>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace korvex::verify {

namespace {

std::uint32_t bigEndian(const std::string& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i)
        v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}
std::uint32_t littleEndian(const std::string& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

std::optional<cv::Size> jpegSize(const std::string& b) {
    std::size_t at = 2;
    while (at + 9 < b.size()) {
        if (static_cast<unsigned char>(b[at]) != 0xFF) return std::nullopt;
        const int marker = static_cast<unsigned char>(b[at + 1]);
        // The frame headers SOF0-SOF15 (not DHT C4, JPG C8, DAC CC) carry the size.
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return cv::Size(static_cast<int>(bigEndian(b, at + 7, 2)),
                            static_cast<int>(bigEndian(b, at + 5, 2)));
        at += 2 + bigEndian(b, at + 2, 2);
    }
    return std::nullopt;
}

// The first image's width and length from a TIFF's first directory (tags 256 and 257).
std::optional<cv::Size> tiffSize(const std::string& b) {
    const bool little = b[0] == 'I';
    const auto read = [&](std::size_t at, int n) {
        return little ? littleEndian(b, at, n) : bigEndian(b, at, n);
    };
    const std::size_t directory = read(4, 4);
    if (directory + 2 > b.size()) return std::nullopt;
    const std::size_t entries = read(directory, 2);
    std::uint32_t width = 0, length = 0;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t at = directory + 2 + 12 * i;
        if (at + 12 > b.size()) return std::nullopt;
        const std::uint32_t tag = read(at, 2), type = read(at + 2, 2);
        const std::uint32_t value = type == 3 ? read(at + 8, 2) : read(at + 8, 4);
        if (tag == 256) width = value;
        if (tag == 257) length = value;
    }
    if (!width || !length) return std::nullopt;
    return cv::Size(static_cast<int>(std::min<std::uint32_t>(width, 0x7FFFFFFF)),
                    static_cast<int>(std::min<std::uint32_t>(length, 0x7FFFFFFF)));
}

} // namespace

std::optional<cv::Size> HeaderSize(const std::string& b) {
    if (b.size() >= 24 && b.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0)
        return cv::Size(static_cast<int>(bigEndian(b, 16, 4) & 0x7FFFFFFF),
                        static_cast<int>(bigEndian(b, 20, 4) & 0x7FFFFFFF));
    if (b.size() >= 26 && b.compare(0, 2, "BM") == 0) {
        const auto h = static_cast<std::int32_t>(littleEndian(b, 22, 4));
        return cv::Size(static_cast<int>(littleEndian(b, 18, 4) & 0x7FFFFFFF), h < 0 ? -h : h);
    }
    if (b.size() >= 4 && b.compare(0, 2, "\xFF\xD8") == 0) return jpegSize(b);
    if (b.size() >= 8 && (b.compare(0, 4, "II*\0", 4) == 0 || b.compare(0, 4, "MM\0*", 4) == 0))
        return tiffSize(b);
    return std::nullopt;
}

TPhoto DecodePhoto(const std::string& bytes) {
    // OpenCV's own complaints would go to standard error beside ours.
    cv::utils::logging::setLogLevel(cv::utils::logging::LOG_LEVEL_SILENT);
    TPhoto photo;
    const cv::Mat raw(1, static_cast<int>(bytes.size()), CV_8U, const_cast<char*>(bytes.data()));
    const std::optional<cv::Size> size = HeaderSize(bytes);
    if (size && static_cast<std::uint64_t>(size->width) * size->height > MaxPhotoPixels) {
        photo.Problem = TPhotoProblem::TooLarge;
        return photo;
    }
    const bool png = bytes.size() >= 8 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0;
    const bool jpeg = bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xD8") == 0;
    const bool bmp = bytes.size() >= 2 && bytes.compare(0, 2, "BM") == 0;
    const bool tiff = bytes.size() >= 4 && (bytes.compare(0, 4, "II*\0", 4) == 0 ||
                                            bytes.compare(0, 4, "MM\0*", 4) == 0);
    if (!png && !jpeg && !bmp && !tiff) {
        photo.Problem = TPhotoProblem::NotImage;
        return photo;
    }
    // A JPEG decoder fills a cut-off picture with grey and calls it good; its end marker tells.
    if (jpeg && (bytes.size() < 4 || bytes.compare(bytes.size() - 2, 2, "\xFF\xD9") != 0)) {
        photo.Problem = TPhotoProblem::Damaged;
        return photo;
    }
    try {
        photo.Grey = cv::imdecode(raw, cv::IMREAD_GRAYSCALE);
    } catch (const cv::Exception&) {
        photo.Grey.release();
    }
    if (photo.Grey.empty()) {
        photo.Problem = TPhotoProblem::Damaged;
    } else if (static_cast<std::uint64_t>(photo.Grey.total()) > MaxPhotoPixels) {
        photo.Grey.release();
        photo.Problem = TPhotoProblem::TooLarge;
    }
    return photo;
}

TPhoto LoadPhoto(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return TPhoto{TPhotoProblem::Missing, {}};
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return DecodePhoto(bytes);
}

} // namespace korvex::verify
