#include "cli/Commands.h"

#include <ostream>

namespace korvex::cli {

int RunView(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
    err << "korvex-cli: view is not built yet\n";
    return ExitUsage;
}

} // namespace korvex::cli
