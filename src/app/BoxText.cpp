#include "BoxText.h"

#include "batch/BatchLines.h"

#include <QTextDocument>

namespace pwm20 {
namespace {

// The length of UTF-8 text in UTF-16 code units, the box's positions.
int boxLength(std::string_view text)
{
    int length = 0;
    for (const char byte : text)
        length += int((byte & 0xC0) != 0x80) + int((byte & 0xF8) == 0xF0);
    return length;
}

} // namespace

QString boxText(const QTextDocument &document)
{
    return document.toRawText()
        .replace(QChar(0xFDD0), QChar::ParagraphSeparator)
        .replace(QChar(0xFDD1), QChar::ParagraphSeparator);
}

std::vector<std::pair<int, int>> boxLines(std::string_view text)
{
    std::vector<std::pair<int, int>> lines;
    int at = 0;
    for (const TextLine &line : splitLines(text)) {
        lines.emplace_back(at, at + boxLength(line.text));
        at = lines.back().second + boxLength(line.end);
    }
    return lines;
}

} // namespace pwm20
