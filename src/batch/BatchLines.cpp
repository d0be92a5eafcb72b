#include "BatchLines.h"

namespace pwm20 {
namespace {

std::string_view lineEndAt(std::string_view text, std::size_t at)
{
    for (std::string_view end : lineEnds) {
        if (text.substr(at, end.size()) == end)
            return end;
    }
    return {};
}

} // namespace

std::vector<TextLine> splitLines(std::string_view text)
{
    std::vector<TextLine> lines;
    std::size_t start = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        // Every line end starts with one of these bytes; most bytes are none of them.
        const char byte = text[at];
        const std::string_view end = byte == '\n' || byte == '\r' || byte == '\xE2'
                                         ? lineEndAt(text, at)
                                         : std::string_view();
        if (end.empty()) {
            ++at;
            continue;
        }
        lines.push_back({text.substr(start, at - start), end});
        at += end.size();
        start = at;
    }
    lines.push_back({text.substr(start), {}});
    return lines;
}

} // namespace pwm20
