#pragma once

#include "base/ENumberFormatError.h"

namespace korvex::ncgen {

using base::ENumberFormatError;

} // namespace korvex::ncgen
