// Template files: any bytes load without a crash, and what a load keeps saves and loads again
// to the same file.
#include "ncgen/NCJob.h"
#include "ncgen/TemplateFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace korvex::ncgen;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TLoadOptions options{0, 0, "Ebene 1"};
    TJob first;
    TLoadReport report;
    ReadVorlage(bytes, first, report, options);
    const std::string saved = VorlageText(first);
    TJob second;
    TLoadReport again;
    ReadVorlage(saved, second, again, options);
    if (VorlageText(second) != saved) std::abort();
    if (second.Layers.LayerCount != first.Layers.LayerCount) std::abort();
    for (int n = 1; n <= first.Layers.LayerCount; ++n)
        if (!(second.Layers.Layer(n) == first.Layers.Layer(n))) std::abort();
    return 0;
}
