#include "cli/Commands.h"

#include <ostream>

namespace korvex::cli {

int RunEncode(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
    err << "korvex-cli: encode is not built yet\n";
    return ExitUsage;
}

} // namespace korvex::cli
