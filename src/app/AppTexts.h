#pragma once

#include "base/TextNumbers.h"

// The window names its texts without the registry's namespace.
namespace korvex::app {
using namespace korvex::text;
} // namespace korvex::app
