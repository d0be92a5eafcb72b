#pragma once

#include <QString>

class QFontMetrics;

namespace pwm20 {

// Breaks a message into lines no wider than `width`, and only where a reader expects a break:
// at a blank, after punctuation, or before an opening bracket or quote. A Chinese message has no
// blanks between its words, and a toolkit would break it between any two characters, splitting
// words such as "串口"; here a piece with no break in it stays whole, on a line of its own if need
// be. Line breaks already in the text are kept.
QString breakMessageLines(const QString &text, const QFontMetrics &metrics, int width);

} // namespace pwm20
