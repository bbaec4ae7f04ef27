// The NC editor's scanner over any line, with any comment characters: the runs cover the line
// without gaps up to its end or a NUL.
#include "ncgen/NCSyn.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace korvex::ncgen;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    TNCFormat format;
    format.Komstart = std::string(1, static_cast<char>(data[0]));
    format.Komende = std::string(1, static_cast<char>(data[1]));
    const TNCSyn scanner(format);
    const std::string_view line(reinterpret_cast<const char*>(data + 2), size - 2);
    int covered = 0;
    for (const TNCToken& token : scanner.Scan(line)) {
        if (token.Start != covered) std::abort();
        covered += token.Length;
        (void)AttributeOf(token.Kind);
    }
    const std::size_t nul = line.find('\0');
    if (static_cast<std::size_t>(covered) != (nul == std::string_view::npos ? line.size() : nul))
        std::abort();
    return 0;
}
