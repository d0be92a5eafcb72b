// libFuzzer target for the setup reader: whatever the text, nothing crashes; a setup that reads
// without error keeps every home inside its limits, every limit inside 1..255, speeds and
// accelerations none or inside their ranges, names unique, and writing it out reads back the
// same; a refused text leaves the defaults.
#include "setup/SetupText.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using pwm20::ChannelTable;
    const auto reading = pwm20::readSetup({reinterpret_cast<const char *>(data), size});
    if (reading.error) {
        if (!(reading.table == ChannelTable()))
            std::abort();
        return 0;
    }
    for (int number = 1; number <= ChannelTable::channelCount; ++number) {
        const ChannelTable::Channel &channel = reading.table.channel(number);
        if (channel.min < 1 || channel.max > 255 || channel.min > channel.max ||
            channel.home < channel.min || channel.home > channel.max || channel.speed < 0 ||
            channel.speed > ChannelTable::fastestSpeed || channel.accel < 0 ||
            channel.accel > ChannelTable::largestAccel ||
            (!channel.name.empty() && reading.table.channelNamed(channel.name) != number))
            std::abort();
    }
    const auto again = pwm20::readSetup(pwm20::writeSetup(reading.table));
    if (again.error || !(again.table == reading.table))
        std::abort();
    return 0;
}
