// Blank definitions as templates carry them: drawn, and fitted against a symbol with heights.
#include "simulation/BlankDrawing.h"
#include "simulation/BlankFit.h"
#include "simulation/RecordingCanvas.h"
#include "simulation/TMathImage.h"
#include "simulation/ViewCommands.h"

#include <cstdint>
#include <string_view>
#include <vector>

using namespace korvex::simulation;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view definition(reinterpret_cast<const char*>(data), size);
    const std::vector<TDot> dots = {{0, 0}, {5, 0}, {0, 5}, {5, 5}, {2.5L, 2.5L}};
    const TBlankFit fit = CheckBlankFit(definition, dots, 0.5L, 30, TMarkingLevels{2, -0.1L});
    (void)BlankFitWarning(fit);
    (void)CheckBlankFit(definition, dots, 0.5L, 0, TMarkingLevels{2, -0.1L}, false);
    TMathImage image(200, 150);
    RecordingCanvas canvas;
    try {
        image.SetWorldBox(-80, -80, -80, 80, 80, 80);
        ApplyViewPreset(image, ViewPreset::XYZ);
        image.SetCanvas(&canvas);
        Drawblank(image, definition, Color(0x808080));
    } catch (const std::exception&) {
        // A projection that fails ends the drawing pass, as in the window.
    }
    return 0;
}
