// The program's command line: one argument per line of the input.
#include "app/CommandLine.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using korvex::app::ParseCommandLine;
using korvex::app::TCommandLine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            arguments.emplace_back();
        else
            arguments.back() += static_cast<char>(data[i]);
    }
    if (size == 0) arguments.clear();
    const TCommandLine line = ParseCommandLine(arguments);
    // A template or output never keeps the blanks around it.
    for (const std::string* part : {&line.Template, &line.Output}) {
        if (line.Kind == TCommandLine::Form::Batch && !part->empty() &&
            (part->front() == ' ' || part->back() == ' '))
            std::abort();
    }
    return 0;
}
