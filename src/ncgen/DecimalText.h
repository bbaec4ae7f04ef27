#pragma once

// The formatter lives in base, so the layers below ncgen write numbers with it too; ncgen and
// the code above it keep calling it by its ncgen name.
#include "base/DecimalText.h"

namespace korvex::ncgen {

using base::FixedText;
using base::GeneralText;

} // namespace korvex::ncgen
