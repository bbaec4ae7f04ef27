#pragma once

#include "datamatrix/TIArray.h"

#include <string>
#include <vector>

namespace korvex::ncgen::test {

// A module matrix from rows of "#" (dark) and "." (light), top row first.
inline datamatrix::TIArray matrixFromArt(const std::vector<std::string>& rows) {
    const std::size_t cols = rows.empty() ? 0 : rows[0].size();
    datamatrix::TIArray matrix(cols, std::vector<int>(rows.size(), 0));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; x < cols; ++x) {
            matrix[x][y] = rows[y][x] == '#' ? 1 : 0;
        }
    }
    return matrix;
}

// The 10 x 10 symbol of the text "123456" (ASCII encodation).
inline datamatrix::TIArray symbol123456() {
    return matrixFromArt({
        "#.#.#.#.#.",
        "##..#.##.#",
        "##.....#..",
        "##...###.#",
        "##....#...",
        "#.....####",
        "###.##....",
        "####.##..#",
        "#..###.#..",
        "##########",
    });
}

} // namespace korvex::ncgen::test
