#pragma once

#include "datamatrix/TIArray.h"

#include <QColor>
#include <QImage>
#include <QSize>

namespace korvex::app {

// One cell of the symbol pictures: 25 x 25 pixels at natural size.
inline constexpr int CellPixels = 25;

// How one symbol picture looks: the disc of a dark and of a light module on a background.
struct TDiscStyle {
    QColor Background;
    QColor Dark;
    QColor Light;
    bool LightRing = false; // the dialog's light modules are rings, the window's discs
};

// Where a picture of natural size `natural` goes in a panel of height `panelHeight`: its natural
// size when the panel is high enough, else a square of the panel's height.
QSize FittedSide(int natural, int panelHeight);

// Draws a grid of discs (columns x rows) into a square picture of `side` pixels whose natural
// size is columns x 25; the rows start at the top, a rectangular symbol leaves the bottom empty.
// Drawing at the shown size keeps a 144 x 144 symbol inside one frame.
QImage DrawDiscs(const datamatrix::TIArray& matrix, int columns, int rows, int side,
                 const TDiscStyle& style);

} // namespace korvex::app
