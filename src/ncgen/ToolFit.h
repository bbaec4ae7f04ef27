#pragma once

#include "base/TextMessage.h"
#include "ncgen/Tool.h"

#include <optional>
#include <vector>

namespace korvex::ncgen {

// The tool of one kind that best explains dots measured at known depths, fitted to all of them
// by least squares on the diameter: a cone's angle and tip flat (d = T + 2 h tan(a/2) is a
// line in h), a ball's radius.
struct TToolFit {
    TTool Tool;
    long double Residual = 0;              // root mean square of measured minus fitted, mm
    std::optional<long double> IdealDepth; // where the fitted tool leaves 80 % of the pitch
    base::TTextMessage Problem;            // empty when Tool holds
};

TToolFit FitTool(TToolKind kind, const std::vector<long double>& depths,
                 const std::vector<long double>& diameters, long double pitch);

} // namespace korvex::ncgen
