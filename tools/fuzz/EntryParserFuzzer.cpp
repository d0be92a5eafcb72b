// libFuzzer target for the value-entry parser: whatever is typed, an accepted entry is a slider
// position 0..255 of a number below 256, and nothing crashes.
#include "channels/EntryParser.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    for (std::string_view separator : {".", ",", "\xD9\xAB"}) {
        const auto number = pwm20::parseEntryNumber(text, separator);
        if (number && std::isnan(*number))
            std::abort();
        const auto position = pwm20::sliderPositionForEntry(text, separator);
        if (position && (*position < 0 || *position > 255 || !number || !(*number < 256.0)))
            std::abort();
    }
    return 0;
}
