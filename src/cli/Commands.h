#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvex::cli {

// Exit statuses shared by every command.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;     // the job could not be done (message on stderr)
inline constexpr int ExitUsage = 2;       // bad options or arguments
inline constexpr int ExitCheckFailed = 3; // generate --check: the program does not read as its
                                          // text; verify: no readable symbol on the photo

// Each command gets the arguments after its own name. Texts on the command line are UTF-8.
int RunEncode(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunGenerate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunView(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunCoupon(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunGrade(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunLog(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// Without OpenCV (the Windows build) it says that verification is not part of the build.
int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace korvex::cli
