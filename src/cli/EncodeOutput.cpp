#include "cli/EncodeOutput.h"

namespace korvex::cli {

namespace {

using datamatrix::TDatamatrix;
using datamatrix::TIArray;

std::string matrixText(const TDatamatrix& dm) {
    const TIArray m = dm.Matrix();
    std::string s;
    s.reserve(static_cast<std::size_t>((dm.MatrixCols() + 1) * dm.MatrixRows()));
    for (int y = 0; y < dm.MatrixRows(); ++y) {
        for (int x = 0; x < dm.MatrixCols(); ++x)
            s += m[x][y] != 0 ? '#' : '.';
        s += '\n';
    }
    return s;
}

std::string codewordLine(const std::vector<std::uint8_t>& codewords) {
    std::string s;
    for (const int c : codewords) {
        if (!s.empty()) s += ' ';
        s += std::to_string(c);
    }
    return s + '\n';
}

std::string codewordsText(const TDatamatrix& dm) {
    return std::string(datamatrix::FormatName(dm.CalculatedFormat())) + '\n' +
           codewordLine(dm.DataCodewords()) + codewordLine(dm.ErrorCodewords());
}

// One path of horizontal runs of dark modules, shifted by the quiet zone.
std::string svgText(const TDatamatrix& dm) {
    const TIArray m = dm.Matrix();
    const int width = dm.MatrixCols() + 2;
    const int height = dm.MatrixRows() + 2;
    const std::string w = std::to_string(width);
    const std::string h = std::to_string(height);
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
                    w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h +
                    "\" shape-rendering=\"crispEdges\">\n"
                    "<rect x=\"0\" y=\"0\" width=\"" +
                    w + "\" height=\"" + h + "\" fill=\"#FFFFFF\"/>\n<path fill=\"#000000\" d=\"";
    for (int y = 0; y < dm.MatrixRows(); ++y) {
        int x = 0;
        while (x < dm.MatrixCols()) {
            if (m[x][y] == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < dm.MatrixCols() && m[x][y] != 0)
                ++x;
            const std::string run = std::to_string(x - start);
            s += "M" + std::to_string(start + 1) + " " + std::to_string(y + 1) + "h" + run +
                 "v1h-" + run + "z";
        }
    }
    s += "\"/>\n</svg>\n";
    return s;
}

// Plain PBM: 1 is black; raster lines kept within 70 characters.
std::string pbmText(const TDatamatrix& dm) {
    const TIArray m = dm.Matrix();
    const int width = dm.MatrixCols() + 2;
    const int height = dm.MatrixRows() + 2;
    std::string s = "P1\n" + std::to_string(width) + " " + std::to_string(height) + "\n";
    for (int y = 0; y < height; ++y) {
        int column = 0;
        for (int x = 0; x < width; ++x) {
            const bool inside = x >= 1 && y >= 1 && x <= dm.MatrixCols() && y <= dm.MatrixRows();
            s += inside && m[x - 1][y - 1] != 0 ? '1' : '0';
            if (++column == 70 && x + 1 < width) {
                s += '\n';
                column = 0;
            }
        }
        s += '\n';
    }
    return s;
}

} // namespace

std::optional<EncodeFormat> EncodeFormatFromName(std::string_view name) {
    if (name == "matrix") return EncodeFormat::Matrix;
    if (name == "codewords") return EncodeFormat::Codewords;
    if (name == "svg") return EncodeFormat::Svg;
    if (name == "pbm") return EncodeFormat::Pbm;
    return std::nullopt;
}

std::string FormatSymbol(const TDatamatrix& dm, EncodeFormat format) {
    switch (format) {
    case EncodeFormat::Codewords:
        return codewordsText(dm);
    case EncodeFormat::Svg:
        return svgText(dm);
    case EncodeFormat::Pbm:
        return pbmText(dm);
    case EncodeFormat::Matrix:
        break;
    }
    return matrixText(dm);
}

} // namespace korvex::cli
