#include "base/Platform.h"
#include "cli/Commands.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* USAGE =
    "usage: korvex-cli encode [--size S] [--encoding E] [--format matrix|codewords|svg|pbm] TEXT\n"
    "       korvex-cli generate [--config DIR] [--profile N|NAME] [--text TEXT] [-o OUT]\n"
    "                           [--tool TOOL] [--check] [--stats] [--no-log] [--allow-duplicate]\n"
    "                           [--serial START|next[:COUNT[:STEP]] | --texts FILE] JOB.ncm\n"
    "       korvex-cli view [--config DIR] [--profile N|NAME] [--text TEXT] [--view XY|XZ|YZ|XYZ]\n"
    "                       [--width W] [--height H] [-o OUT.svg] JOB.ncm\n"
    "       korvex-cli coupon [--config DIR] [--profile N|NAME] [--tool TOOL] [--pitch P] [-o "
    "OUT]\n"
    "       korvex-cli coupon [...] --measured DEPTH:DIAMETER [--save]\n"
    "       korvex-cli grade [--config DIR] [--profile N|NAME] [--tool TOOL] [--surface S]\n"
    "                        [--text TEXT] [--format text|json] JOB.ncm\n"
    "       korvex-cli log [--config DIR] [--since DATE] [--until DATE] [--text PATTERN]\n"
    "                      [--format table|csv|json] | --verify FILE\n"
    "       korvex-cli verify [--config DIR] [--format text|json] PHOTO   (not on Windows)\n"
    "       korvex-cli --version\n"
    "'korvex-cli COMMAND --help' tells more of each command; man korvex-cli tells all.\n";

} // namespace

int main(int argc, char** argv) {
    korvex::base::UseBinaryStandardStreams();
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args = korvex::base::Utf8Arguments(argc, argv);
    if (args.empty()) {
        std::cerr << USAGE;
        return korvex::cli::ExitUsage;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    try {
        if (command == "encode") return korvex::cli::RunEncode(args, std::cout, std::cerr);
        if (command == "generate") return korvex::cli::RunGenerate(args, std::cout, std::cerr);
        if (command == "view") return korvex::cli::RunView(args, std::cout, std::cerr);
        if (command == "coupon") return korvex::cli::RunCoupon(args, std::cout, std::cerr);
        if (command == "grade") return korvex::cli::RunGrade(args, std::cout, std::cerr);
        if (command == "log") return korvex::cli::RunLog(args, std::cout, std::cerr);
        if (command == "verify") return korvex::cli::RunVerify(args, std::cout, std::cerr);
    } catch (const std::exception& e) {
        // The commands word every outcome a user can cause; anything else is a fault of ours.
        std::cerr << "korvex-cli: internal error, please report: " << e.what() << '\n';
        return korvex::cli::ExitFailure;
    }
    if (command == "--version") {
        std::cout << "korvex-cli " KORVEX_VERSION "\n";
        return korvex::cli::ExitOk;
    }
    if (command == "--help" || command == "-h") {
        std::cout << USAGE;
        return korvex::cli::ExitOk;
    }
    std::cerr << "korvex-cli: unknown command '" << command << "'\n" << USAGE;
    return korvex::cli::ExitUsage;
}
