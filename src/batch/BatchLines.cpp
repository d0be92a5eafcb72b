#include "BatchLines.h"

#include <algorithm>

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

// ASCII blanks, the no-break space and the ideographic space a Chinese input method types. A CR
// is never one: it ends a line.
constexpr std::array<std::string_view, 5> blanks{" ", "\t", "\v", "\xC2\xA0", "\xE3\x80\x80"};

std::size_t blankAt(std::string_view text, std::size_t at)
{
    for (std::string_view blank : blanks) {
        if (text.substr(at).starts_with(blank))
            return blank.size();
    }
    return 0;
}

} // namespace

std::vector<std::string_view> splitWords(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t start = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        if (const std::size_t blank = blankAt(text, at)) {
            if (at > start)
                words.push_back(text.substr(start, at - start));
            at += blank;
            start = at;
        } else {
            ++at;
        }
    }
    if (at > start)
        words.push_back(text.substr(start));
    return words;
}

bool sameWord(std::string_view word, std::string_view keyword)
{
    return std::ranges::equal(word, keyword, [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? char(a - 'A' + 'a') : a) == b;
    });
}

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
