// libFuzzer target for the batch reader: whatever the text, nothing crashes, and a batch that
// reads without error only holds what can be sent: channels 1..20, values 0..255, its lines in
// order, every repeat paired with its end.
#include "batch/BatchScript.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using pwm20::BatchStep;
    const auto script = pwm20::parseBatch({reinterpret_cast<const char *>(data), size});
    if (script.error && (!script.steps.empty() || script.error->line < 1))
        std::abort();
    int lastLine = 0;
    for (std::size_t index = 0; index < script.steps.size(); ++index) {
        const BatchStep &step = script.steps[index];
        bool sound = step.line > lastLine;
        for (const auto &frame : step.frames)
            sound = sound && frame.channel >= 1 && frame.channel <= 20 && frame.value >= 0 &&
                    frame.value <= 255;
        if (step.kind == BatchStep::Kind::Repeat)
            sound = sound && step.partner > index && script.steps[step.partner].partner == index;
        if (!sound)
            std::abort();
        lastLine = step.line;
    }
    return 0;
}
