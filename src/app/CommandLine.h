#pragma once

#include <string>
#include <vector>

namespace korvex::app {

// What the arguments of the program ask for. Plain strings (UTF-8), so the rule is tested and
// fuzzed without a window.
struct TCommandLine {
    enum class Form {
        None,          // no arguments
        Batch,         // "/V template /D output"
        BatchNoOutput, // "/V ..." without "/D": the program goes on interactively
        Open,          // a template file, maybe an empty text and an output file
    };
    Form Kind = Form::None;
    std::string Template;
    std::string Output;     // Batch, and Open with three or more arguments
    bool ClearText = false; // Open with two or more arguments
    bool HasOutput = false;
};

// Splits the arguments as the program's command line reads them. "/V": the template runs up to an
// argument that is "/D" alone and the output is what follows it; without one, all arguments are
// joined with blanks and cut at the first "/D", dropping the character after it. Batch with an
// empty Output: nothing followed "/D".
TCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

} // namespace korvex::app
