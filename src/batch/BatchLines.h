#pragma once

#include <array>
#include <string_view>
#include <vector>

namespace pwm20 {

// What ends a line: LF, CR LF, a lone CR, U+2028 or U+2029, wherever the text comes from (a file,
// standard input or the batch box, whose paragraphs end in U+2029 and whose Shift+Enter types
// U+2028), so that line numbers agree everywhere. CR LF comes before CR: it is one end.
inline constexpr std::array<std::string_view, 5> lineEnds{"\r\n", "\n", "\r", "\xE2\x80\xA8",
                                                          "\xE2\x80\xA9"};
inline constexpr std::string_view lineSeparator = lineEnds[3];

// One line of a batch text (UTF-8) and the line end after it, empty for the last line.
struct TextLine
{
    std::string_view text;
    std::string_view end;
};

// The words of a line: split at ASCII blanks, the no-break space and the ideographic space.
std::vector<std::string_view> splitWords(std::string_view text);
// A word the same as a keyword (written in lower case) but for ASCII case.
bool sameWord(std::string_view word, std::string_view keyword);

// The lines of a batch text, at least one.
std::vector<TextLine> splitLines(std::string_view text);

} // namespace pwm20
