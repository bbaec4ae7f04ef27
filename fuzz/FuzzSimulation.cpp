// Simulation lines, as a hand-edited program or the pick buffer hands them over, drawn on the
// pixel canvas: no crash, whatever the numbers.
#include "simulation/RasterCanvas.h"
#include "simulation/SimulationInterpreter.h"
#include "simulation/TMathImage.h"
#include "simulation/ViewCommands.h"

#include <cstdint>
#include <string_view>

using namespace korvex::simulation;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    TMathImage image(200, 150);
    RasterCanvas canvas(200, 150);
    try {
        image.SetWorldBox(-50, -50, -10, 50, 50, 10);
        ApplyViewPreset(image, ViewPreset::XYZ);
    } catch (...) {
        return 0;
    }
    image.SetCanvas(&canvas);
    SimulationInterpreter interpreter(image);
    bool preview = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        try {
            interpreter.Auswert(line, preview);
        } catch (const std::exception&) {
            // The view's own errors end a drawing pass; the next line starts afresh.
        }
        preview = !preview;
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return 0;
}
