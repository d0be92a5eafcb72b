#pragma once

#include <QString>

#include <string_view>
#include <utility>
#include <vector>

class QTextDocument;

namespace pwm20 {

// The batch box's text as its lines are: paragraphs end in U+2029, as do the frames that pasted
// rich text brings, and U+2028 and no-break spaces stay as typed. Every view of the box reads it
// so, and so numbers its lines alike.
QString boxText(const QTextDocument &document);

// Where each line of the box's text (as UTF-8, split as a batch is) starts and ends in the box.
std::vector<std::pair<int, int>> boxLines(std::string_view text);

} // namespace pwm20
