#pragma once

#include "base/TextMessage.h"
#include "content/ContentKind.h"

#include <vector>

namespace korvex::content {

// MIL-STD-130's limits for an IUID mark (any ISO/IEC 15434 content): a module size of
// 0.19-0.64 mm, at most 25.4 mm on a side, square. Each warning carries the value at fault
// (millimetres, "." decimals, or the symbol's columns x rows). None for other content kinds.
std::vector<base::TTextMessage> IuidMarkingWarnings(TContentKind kind, long double moduleSize,
                                                    int cols, int rows);

} // namespace korvex::content
