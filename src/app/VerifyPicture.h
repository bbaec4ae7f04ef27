#pragma once

#include "verify/VerifyPhoto.h"

#include <QColor>
#include <QImage>

namespace korvex::app {

// The photo at most `longest` pixels on its longer side, with the decoder's grid and every
// dark module's dot drawn over it in the colour of the AS9132 criterion it misses.
QImage VerifyPicture(const QImage& photo, const verify::TVerifyReport& report, int longest);

// Green, amber (size), red (offset), violet (ovality), grey (missing).
QColor CriterionColour(int criterion);

} // namespace korvex::app
