// Language files: any bytes load, and every lookup answers without a crash.
#include "config/LanguageTexts.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvex::config::TLanguageTexts texts;
    texts.SetContent(std::string_view(reinterpret_cast<const char*>(data), size));
    for (int number : {0, 1, 1001, 3301, 5007, 9008, 9017, 9160, 9300, 99999})
        (void)texts.Message(number, "detail");
    return 0;
}
