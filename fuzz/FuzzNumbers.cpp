// Number reading and writing: any text reads without a crash; a number that reads is written
// by every format the program accepts and reads back as its rounded value.
#include "base/DecimalText.h"
#include "base/ENumberFormatError.h"
#include "ncgen/NCFormat.h"
#include "ncgen/NumberReading.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace korvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    (void)ncgen::ReadWholeNumber(text);
    const ncgen::TNumberReading reading = ncgen::ReadNumber(text);
    if (!reading.ok || !std::isfinite(reading.value) || std::fabs(reading.value) > 1e12L) return 0;
    ncgen::TNCFormat format;
    format.Dezipunkt = true; // read back below through the standard reading
    format.NNullen = data[0] & 1;
    format.VNullen = data[0] & 2;
    format.Vorzeichen = data[0] & 4;
    format.NCpunkt = data[0] & 8;
    format.Nachkommastellen = static_cast<std::uint8_t>(data[1] % 7);
    format.Stellen = static_cast<std::uint8_t>((data[1] >> 3) % 11);
    const std::string written = ncgen::FormatNumber(format, reading.value);
    const ncgen::TNumberReading back = ncgen::ReadNumber(written);
    if (!back.ok) std::abort();
    const long double step = std::pow(10.0L, -format.Nachkommastellen);
    if (std::fabs(back.value - reading.value) > step / 2 * (1 + 1e-9L) + 1e-15L) std::abort();
    if (base::FixedText(back.value, format.Nachkommastellen) !=
        base::FixedText(
            ncgen::ReadNumber(base::FixedText(reading.value, format.Nachkommastellen)).value,
            format.Nachkommastellen))
        std::abort();
    (void)base::GeneralText(reading.value, 1 + data[1] % 18);
    return 0;
}
