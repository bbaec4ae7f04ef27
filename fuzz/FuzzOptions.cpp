// korvex-cli's --tool, --surface and --serial values: any text is refused or gives a value
// within the limits the generator and the counter rely on.
#include "ncgen/SerialRun.h"
#include "ncgen/Surface.h"
#include "ncgen/Tool.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace korvex::ncgen;

namespace {

void tool(std::string_view text) {
    const TToolReading reading = ParseToolOption(text);
    if (!reading.Problem.Empty()) {
        if (reading.Tool.Kind != TToolKind::None) std::abort(); // refused yet a tool
        return;
    }
    const TTool& t = reading.Tool;
    if (t.Kind == TToolKind::Cone && !(t.Angle >= 1 && t.Angle <= 179 && t.Tip >= 0)) std::abort();
    if (t.Kind == TToolKind::Ball && !(t.Radius > 0)) std::abort();
    if (DescribeTool(t).empty()) std::abort();
}

void surface(std::string_view text) {
    const auto mode = ReadSurfaceMode(text);
    if (mode && ReadSurfaceMode(SurfaceModeName(*mode)) != mode) std::abort();
}

void serial(std::string_view text) {
    const auto range = ReadSerialRange(text);
    if (!range) return;
    if (range->Count < 1 || range->Count > MaxSerialCount || range->Step == 0) std::abort();
    // Every number of the run, the last one included, must fit in 64 bits.
    std::int64_t span = 0, last = 0;
    if (__builtin_mul_overflow(range->Count - 1, range->Step, &span) ||
        __builtin_add_overflow(range->Start, span, &last))
        std::abort();
    // A counter's range also keeps the next value after it within 64 bits, and never goes back.
    if (CheckCounterRange(*range).Empty()) {
        std::int64_t next = 0;
        if (range->Step < 1 || __builtin_mul_overflow(range->Count, range->Step, &span) ||
            __builtin_add_overflow(range->Start, span, &next))
            std::abort();
    }
}

} // namespace

// The first byte chooses the option, the rest is its value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 3) {
    case 0:
        tool(text);
        break;
    case 1:
        surface(text);
        break;
    default:
        serial(text);
        break;
    }
    return 0;
}
