#include "ncgen/LayerText.h"

namespace korvex::ncgen {

bool TextEndsWithLineBreak(std::string_view code) {
    return !code.empty() && (code.back() == '\n' || code.back() == '\r');
}

} // namespace korvex::ncgen
