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
    for (std::size_t at = text.find_first_of("\r\n\xE2", start); at != std::string_view::npos;
         at = text.find_first_of("\r\n\xE2", at)) {
        const std::string_view end = lineEndAt(text, at);
        if (end.empty()) {
            ++at;
            continue;
        }
        lines.push_back({text.substr(start, at - start), text.substr(at, end.size())});
        at += end.size();
        start = at;
    }
    lines.push_back({text.substr(start), {}});
    return lines;
}

} // namespace pwm20
